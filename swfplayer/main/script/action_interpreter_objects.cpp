#include "swfplayer/base/log.h"
#include "swfplayer/main/script/action_interpreter.h"
#include "swfplayer/main/script/as_function.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/script/player.h"

namespace swfplayer {

namespace {

// Instructions one name pushed by an enumeration costs (a new string each), and one element or
// member of a literal (a name made and a table entry stored).
constexpr int64_t enumerated_name_cost = 16;
constexpr int64_t literal_member_cost = 16;

}  // namespace

void action_interpreter::store_register(int r) {
    const as_value* top = m_env->top_slot(0);
    if (m_is_function2 && top && !m_verbose) {
        if (as_value* slot = m_env->register_slot(r)) {
            *slot = *top;  // registers live apart from the stack
        }
        return;
    }
    as_value value = m_env->top(0);
    if (m_is_function2) {
        m_env->set_register(r, value);
        if (m_verbose) {
            log_msg("-------------- local register[%d] = '%s'\n", r, value.to_string());
        }
    } else if (r < 4) {
        m_env->set_global_register(r, value);
        if (m_verbose) {
            log_msg("-------------- global register[%d] = '%s'\n", r, value.to_string());
        }
    } else {
        log_error("store_register[%d] -- register out of bounds!\n", r);
    }
}

void action_interpreter::delete_member() {
    as_value name = pop();
    as_value holder = pop();
    as_object* object = holder.to_object();
    bool deleted = false;
    as_value found;
    if (object && object->get_member(name.to_base_stringi(), &found)) {
        object->set_member(name.to_base_stringi(), as_value());
        deleted = true;
    }
    push(as_value(deleted));
}

void action_interpreter::delete_variable() {
    as_value name_value = pop();
    const base_string& name = name_value.to_base_string();
    bool deleted = false;
    if (!m_env->get_variable_raw(name, m_with_stack).is_undefined()) {
        as_value found;
        as_object* target = m_env->get_target();
        if (m_env->find_local(name, true) >= 0) {
            // With no with-blocks the store goes to that newest local.
            m_env->set_variable_raw(name, as_value(), array<with_stack_entry>());
            deleted = true;
        } else if (target && target->get_member(name_value.to_base_stringi(), &found)) {
            target->set_member(name_value.to_base_stringi(), as_value());
            deleted = true;
        }
    }
    push(as_value(deleted));
}

void action_interpreter::get_member() {
    // The common case in place: a plain member of an object, with no tracing.
    as_value* holder_slot = m_env->top_slot(1);
    as_object* holder_object = holder_slot ? holder_slot->to_object() : nullptr;
    if (holder_object && !m_verbose) {
        // The name leaves the stack; the holder stays on it, which keeps the object alive.
        as_value member_name = pop();
        int size = m_env->get_stack_size();
        as_value found;
        if (holder_object->get_member(member_name.to_base_stringi(), &found) && !found.is_property() &&
            m_env->get_stack_size() == size) {
            *m_env->top_slot(0) = static_cast<as_value&&>(found);
            return;
        }
        push(member_name);
    }
    as_value name = pop();
    as_value holder = pop();
    as_object* object = holder.to_object();
    as_value value;
    if (object == nullptr) {
        holder.get_member(m_env->get_player(), name.to_base_stringi(), &value);
        if (value.is_property()) {
            as_value current;
            value.get_property_value(holder, &current);
            value = current;
        }
    } else if (!object->get_member(name.to_base_stringi(), &value)) {
        as_value resolver;
        if (object->get_member("__resolve", &resolver) && resolver.is_function()) {
            push(name);
            value = call_method(resolver, m_env, holder, 1, m_env->get_top_index());
            m_env->drop(1);
        }
    }
    value = resolved(value);
    if (m_verbose) {
        if (value.is_object()) {
            log_msg("-------------- get_member %s=%s at %p\n", name.to_string(), value.to_string(),
                    static_cast<void*>(value.to_object()));
        } else {
            log_msg("-------------- get_member %s=%s\n", name.to_string(), value.to_string());
        }
    }
    push(static_cast<as_value&&>(value));
}

void action_interpreter::set_member() {
    as_value value = pop();
    as_value name_value = pop();
    const base_stringi& name = name_value.to_base_stringi();
    as_value holder = pop();
    as_object* object = holder.to_object();
    if (object) {
        object->set_member(name, value);
        if (m_verbose) {
            log_msg("-------------- set_member [%p].%s=%s\n", static_cast<void*>(object), name.c_str(),
                    value.to_string());
        }
    } else if (m_verbose) {
        log_msg("-------------- set_member %s.%s=%s on invalid object!\n", holder.to_string(), name.c_str(),
                value.to_string());
    }
}

void action_interpreter::init_object() {
    // Each member takes two values: its name below its value.
    int count = pop().to_int();
    int available = m_env->get_stack_depth() / 2;
    count = count < 0 ? 0 : (count > available ? available : count);
    instruction_budget::charge(count * literal_member_cost);
    smart_ptr<as_object> object = new as_object(m_env->get_player());
    for (int i = 0; i < count; i++) {
        as_value value = pop();
        as_value name = pop();
        object->builtin_member(name.to_base_stringi(), value);
    }
    register_with_heap(object.get_ptr());
    push(as_value(object.get_ptr()));
}

void action_interpreter::init_array() {
    // The global Array constructor in its literal form pops the count and the elements itself.
    player* owner = m_env->get_player();
    as_object* global = owner ? owner->get_global() : nullptr;
    as_value constructor;
    if (global) {
        global->get_member("Array", &constructor);
    }
    as_function* function = constructor.to_function();
    as_value result;
    if (function && function->is(AS_C_FUNCTION)) {
        smart_ptr<as_function> hold = function;
        fn_call fn(&result, as_value(), m_env, -1, -1);
        function->call(fn);
    } else {
        // Without the class the literal's values are still consumed.
        m_env->drop(clamp_count(pop().to_int()));
    }
    register_with_heap(result.to_object());
    push(static_cast<as_value&&>(result));
}

void action_interpreter::enumerate(as_object* object) {
    // The object stays alive while it pushes its names.
    smart_ptr<as_object> hold = object && object->get_ref_count() > 0 ? object : nullptr;
    push(as_value(static_cast<as_object*>(nullptr)));
    if (m_verbose) {
        log_msg("-------------- enumerate - push: NULL\n");
    }
    if (object) {
        const int before = m_env->get_stack_size();
        object->enumerate(m_env);
        instruction_budget::charge(int64_t{m_env->get_stack_size() - before} * enumerated_name_cost);
    }
}

void action_interpreter::instance_of() {
    as_value constructor = pop();
    as_value object = pop();
    push(as_value(object.is_instance_of(constructor.to_function())));
}

void action_interpreter::cast_object() {
    as_value object = pop();
    as_value constructor = pop();
    as_object* o = object.to_object();
    bool fits = o && o->is_instance_of(constructor.to_function());
    push(fits ? object : as_value(static_cast<as_object*>(nullptr)));
}

void action_interpreter::extends() {
    as_value super_class = pop();
    as_value sub_class = pop();
    as_object* sub = sub_class.to_object();
    as_function* super_function = super_class.to_function();
    if (sub == nullptr || super_function == nullptr) {
        return;  // not a class pair: nothing to link
    }
    as_value super_proto;
    super_function->get_member("prototype", &super_proto);
    smart_ptr<as_object> proto = new as_object(m_env->get_player());
    proto->set_proto(resolved(super_proto).to_object());
    proto->store_constructor(super_class);
    sub->set_member("prototype", as_value(proto.get_ptr()));
}

}  // namespace swfplayer
