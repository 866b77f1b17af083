#pragma once

#include "swfplayer/main/common/matrix.h"
#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

struct fn_call;

// flash.geom.Matrix: a 2x3 matrix that script changes only through its methods (translate,
// rotate, scale, concat, clone, invert, transformPoint); the six values are no members.
class as_matrix : public as_object {
public:
    as_matrix(player* owner, const matrix& value);

    bool is(int class_id) const override { return class_id == AS_MATRIX || as_object::is(class_id); }

    matrix m_matrix;
};

// new flash.geom.Matrix(a, b, c, d, tx, ty): the identity with the first arguments (up to six)
// stored in that order as row 0 column 0, row 0 column 1, row 1 column 0, row 1 column 1, row 0
// column 2, row 1 column 2. Values outside the float range (NaN included) are stored as 0.
void as_global_matrix_ctor(const fn_call& fn);

}  // namespace swfplayer
