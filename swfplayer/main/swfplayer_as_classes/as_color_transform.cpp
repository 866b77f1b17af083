#include "swfplayer/main/swfplayer_as_classes/as_color_transform.h"

#include "swfplayer/main/common/finite_float.h"
#include "swfplayer/main/script/fn_call.h"

namespace swfplayer {

namespace {

// Constructor argument order and member names: the four multipliers, then the four offsets.
const char* const entry_names[8] = {"redMultiplier", "greenMultiplier", "blueMultiplier", "alphaMultiplier",
                                    "redOffset",     "greenOffset",     "blueOffset",     "alphaOffset"};

float* entry(cxform& value, int index) {
    return &value.m[index % 4][index / 4];
}

}  // namespace

as_color_transform::as_color_transform(player* owner, const cxform& value) : as_object(owner), m_cxform(value) {}

float* as_color_transform::find_entry(const base_stringi& name) {
    for (int i = 0; i < 8; i++) {
        if (name == entry_names[i]) {
            return entry(m_cxform, i);
        }
    }
    return nullptr;
}

bool as_color_transform::get_member(const base_stringi& name, as_value* value) {
    if (float* found = find_entry(name)) {
        value->set_double(*found);
        return true;
    }
    if (name == "rgb") {
        value->set_undefined();
        return true;
    }
    return as_object::get_member(name, value);
}

bool as_color_transform::set_member(const base_stringi& name, const as_value& value) {
    if (float* found = find_entry(name)) {
        *found = finite_or_zero(value.to_number());
        return true;
    }
    if (name == "rgb") {
        int rgb = value.to_int();
        const int channel_values[4] = {(rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255, 255};
        for (int channel = 0; channel < 4; channel++) {
            m_cxform.m[channel][0] = 0.0f;
            m_cxform.m[channel][1] = static_cast<float>(channel_values[channel]);
        }
        return true;
    }
    return as_object::set_member(name, value);
}

void as_global_color_transform_ctor(const fn_call& fn) {
    cxform value;
    if (fn.nargs <= 8) {
        for (int i = 0; i < fn.nargs; i++) {
            *entry(value, i) = finite_or_zero(fn.arg(i).to_number());
        }
    }
    fn.result->set_as_object(new as_color_transform(fn.get_player(), value));
}

}  // namespace swfplayer
