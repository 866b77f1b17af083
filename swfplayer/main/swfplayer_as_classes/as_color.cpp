#include "swfplayer/main/swfplayer_as_classes/as_color.h"

#include "swfplayer/main/common/finite_float.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/fn_call.h"

#include <cmath>

namespace swfplayer {

namespace {

constexpr int channel_count = 4;  // red, green, blue, alpha
// getTransform's members, per channel: the percentage, then the channel value.
const char* const percent_names[channel_count] = {"ra", "ga", "ba", "aa"};
const char* const value_names[channel_count] = {"rb", "gb", "bb", "ab"};

// The clip of a Color call, or null when "this" is no Color or its clip is gone.
character* target_of(const fn_call& fn) {
    return fn.this_ptr && fn.this_ptr->is(AS_COLOR) ? static_cast<as_color*>(fn.this_ptr)->get_target() : nullptr;
}

// The channel value 0..255 a multiplier stands for: the low 8 bits of ceil(multiplier * 255).
// The product is taken in float, so that every c / 255 stored by setRGB gives c back.
int channel_value(float multiplier) {
    return static_cast<int>(static_cast<int64_t>(finite_or_zero(std::ceil(multiplier * 255.0f))) & 255);
}

void color_get_rgb(const fn_call& fn) {
    if (character* target = target_of(fn)) {
        const cxform& cx = target->get_cxform();
        fn.result->set_int((channel_value(cx.m[0][0]) << 16) | (channel_value(cx.m[1][0]) << 8) |
                           channel_value(cx.m[2][0]));
    }
}

void color_set_rgb(const fn_call& fn) {
    character* target = target_of(fn);
    if (target == nullptr || fn.nargs < 1) {
        return;
    }
    int rgb = fn.arg(0).to_int();
    cxform cx = target->get_cxform();
    cx.m[0][0] = ((rgb >> 16) & 255) / 255.0f;
    cx.m[1][0] = ((rgb >> 8) & 255) / 255.0f;
    cx.m[2][0] = (rgb & 255) / 255.0f;
    target->set_cxform(cx);
}

void color_get_transform(const fn_call& fn) {
    character* target = target_of(fn);
    if (target == nullptr) {
        return;
    }
    smart_ptr<as_object> transform = new as_object(fn.get_player());
    for (int channel = 0; channel < channel_count; channel++) {
        int value = channel_value(target->get_cxform().m[channel][0]);
        transform->set_member(percent_names[channel], as_value(value / 255.0f * 100.0f));
        transform->set_member(value_names[channel], as_value(value));
    }
    fn.result->set_as_object(transform.get_ptr());
}

void color_set_transform(const fn_call& fn) {
    character* target = target_of(fn);
    as_object* transform = fn.arg(0).to_object();
    if (target == nullptr || transform == nullptr) {
        return;
    }
    cxform cx = target->get_cxform();
    for (int channel = 0; channel < channel_count; channel++) {
        as_value value;
        if (transform->get_member(percent_names[channel], &value)) {
            scale_finite_or_zero(&cx.m[channel][0], value.to_float() / 100.0f);
        } else if (transform->get_member(value_names[channel], &value)) {
            cx.m[channel][0] = finite_or_zero(value.to_number() / 255.0);
        }
    }
    target->set_cxform(cx);
}

}  // namespace

as_color::as_color(player* owner, character* target) : as_object(owner), m_target(target) {
    builtin_member("getRGB", as_value(owner, color_get_rgb));
    builtin_member("setRGB", as_value(owner, color_set_rgb));
    builtin_member("getTransform", as_value(owner, color_get_transform));
    builtin_member("setTransform", as_value(owner, color_set_transform));
}

void as_global_color_ctor(const fn_call& fn) {
    if (fn.nargs != 1 || fn.env == nullptr) {
        return;
    }
    as_value path = fn.arg(0);
    as_object* target = path.is_string() ? fn.env->find_target(path) : path.to_object();
    if (target == nullptr || !target->is(AS_CHARACTER)) {
        return;
    }
    smart_ptr<as_color> color = new as_color(fn.get_player(), static_cast<character*>(target));
    color->store_global_constructor("Color");
    fn.result->set_as_object(color.get_ptr());
}

}  // namespace swfplayer
