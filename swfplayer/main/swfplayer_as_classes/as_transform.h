#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

class as_color_transform;
class character;
struct fn_call;

// flash.geom.Transform: the colour transform of one clip. Writing "colorTransform" with a
// ColorTransform copies its eight values into the clip at once (later changes to that object
// reach the clip only when it is assigned again); anything else stores null. Reading gives the
// stored object or null. "concatenatedColorTransform", "matrix", "concatenatedMatrix" and
// "pixelBounds" read as undefined and ignore writes. The clip is held weakly: once it is gone,
// assignments reach nothing.
class as_transform : public as_object {
public:
    as_transform(player* owner, character* target);

    bool is(int class_id) const override { return class_id == AS_TRANSFORM || as_object::is(class_id); }
    bool get_member(const base_stringi& name, as_value* value) override;
    bool set_member(const base_stringi& name, const as_value& value) override;

private:
    smart_ptr<as_color_transform> m_color_transform;
    weak_ptr<character> m_target;
};

// new flash.geom.Transform(clip): a Transform on the one argument when it is a clip, else the
// null object.
void as_global_transform_ctor(const fn_call& fn);

}  // namespace swfplayer
