#include "swfplayer/main/swfplayer_as_classes/as_transform.h"

#include "swfplayer/main/display/character.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/swfplayer_as_classes/as_color_transform.h"

namespace swfplayer {

namespace {

// Members a Transform answers but does not support: undefined to read, writes ignored.
bool is_unsupported_member(const base_stringi& name) {
    return name == "concatenatedColorTransform" || name == "matrix" || name == "concatenatedMatrix" ||
           name == "pixelBounds";
}

}  // namespace

as_transform::as_transform(player* owner, character* target) : as_object(owner), m_target(target) {}

bool as_transform::get_member(const base_stringi& name, as_value* value) {
    if (name == "colorTransform") {
        value->set_as_object(m_color_transform.get_ptr());
        return true;
    }
    if (is_unsupported_member(name)) {
        value->set_undefined();
        return true;
    }
    return as_object::get_member(name, value);
}

bool as_transform::set_member(const base_stringi& name, const as_value& value) {
    if (name == "colorTransform") {
        as_object* object = value.to_object();
        m_color_transform =
            object && object->is(AS_COLOR_TRANSFORM) ? static_cast<as_color_transform*>(object) : nullptr;
        character* target = m_target.get_ptr();
        if (m_color_transform && target) {
            target->set_cxform(m_color_transform->m_cxform);
        }
        return true;
    }
    if (is_unsupported_member(name)) {
        return true;
    }
    return as_object::set_member(name, value);
}

void as_global_transform_ctor(const fn_call& fn) {
    fn.result->set_null();
    as_object* target = fn.nargs == 1 ? fn.arg(0).to_object() : nullptr;
    if (target && target->is(AS_CHARACTER)) {
        fn.result->set_as_object(new as_transform(fn.get_player(), static_cast<character*>(target)));
    }
}

}  // namespace swfplayer
