#pragma once

#include "swfplayer/main/common/point.h"
#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

struct fn_call;

// flash.geom.Point: "x", "y" (read and written as numbers, stored as floats) and the read-only
// "length", answered before ordinary members; methods add, subtract, normalize.
class as_point : public as_object {
public:
    as_point(player* owner, const point& value);

    bool is(int class_id) const override { return class_id == AS_POINT || as_object::is(class_id); }
    bool get_member(const base_stringi& name, as_value* value) override;
    bool set_member(const base_stringi& name, const as_value& value) override;

    point m_point;
};

// new flash.geom.Point(x, y): (0, 0) unless exactly two arguments are given.
void as_global_point_ctor(const fn_call& fn);

}  // namespace swfplayer
