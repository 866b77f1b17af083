#include "swfplayer/main/script/as_property.h"

#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/as_function.h"
#include "swfplayer/main/script/call_method.h"

namespace swfplayer {

as_property::as_property(const as_value& getter, const as_value& setter)
    : m_getter(getter.to_function()), m_setter(setter.to_function()) {}

as_property::~as_property() = default;

void as_property::get(as_object* target, const as_value& this_value, as_value* out) const {
    // Local references: the getter may replace the member that holds this property.
    smart_ptr<as_function> getter = m_getter;
    if (!getter) {
        return;
    }
    as_environment env(target ? target->get_player() : nullptr);
    *out = call_method(as_value(getter.get_ptr()), &env, this_value, 0, env.get_top_index());
}

void as_property::set(as_object* target, const as_value& value) const {
    smart_ptr<as_function> setter = m_setter;
    if (!setter || !target) {
        return;
    }
    smart_ptr<as_object> keep_target = target;
    as_environment env(target->get_player());
    env.push(value);
    call_method(as_value(setter.get_ptr()), &env, as_value(target), 1, env.get_top_index());
}

}  // namespace swfplayer
