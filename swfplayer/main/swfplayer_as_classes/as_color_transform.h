#pragma once

#include "swfplayer/main/common/cxform.h"
#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

struct fn_call;

// flash.geom.ColorTransform: a colour transform whose multipliers ("redMultiplier" ...
// "alphaMultiplier") and offsets ("redOffset" ... "alphaOffset", colour units 0..255) are
// members answered before ordinary ones. Writing "rgb" turns it into a plain colour (offsets
// from 0xRRGGBB, alpha offset 255, multipliers 0); reading "rgb" gives undefined. Values
// outside the float range (NaN included) are stored as 0.
class as_color_transform : public as_object {
public:
    as_color_transform(player* owner, const cxform& value);

    bool is(int class_id) const override { return class_id == AS_COLOR_TRANSFORM || as_object::is(class_id); }
    bool get_member(const base_stringi& name, as_value* value) override;
    bool set_member(const base_stringi& name, const as_value& value) override;

    cxform m_cxform;

private:
    // The cxform entry a member name stands for, or null.
    float* find_entry(const base_stringi& name);
};

// new flash.geom.ColorTransform(redMultiplier, greenMultiplier, blueMultiplier,
// alphaMultiplier, redOffset, greenOffset, blueOffset, alphaOffset): the identity with the
// first n arguments stored in that order; no arguments, or more than 8, leave the identity.
void as_global_color_transform_ctor(const fn_call& fn);

}  // namespace swfplayer
