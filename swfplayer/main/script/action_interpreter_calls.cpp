#include "swfplayer/base/log.h"
#include "swfplayer/main/script/action_interpreter.h"
#include "swfplayer/main/script/as_s_function.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/extension_modules.h"
#include "swfplayer/main/script/player.h"

namespace swfplayer {

namespace {

// The hidden member that holds an object's constructor, made once.
const base_stringi& constructor_name() {
    static const base_stringi name("__constructor__");
    return name;
}

bool is_native(const as_value& value) {
    as_function* function = value.to_function();
    return function && function->is(AS_C_FUNCTION);
}

bool is_script(const as_value& value) {
    as_function* function = value.to_function();
    return function && function->is(AS_S_FUNCTION);
}

}  // namespace

void action_interpreter::call_function() {
    as_value callee = pop();
    int count = clamp_count(pop().to_int());
    as_value function;
    if (!callee.is_string()) {
        function = static_cast<as_value&&>(callee);
    } else {
        function = m_env->get_variable(callee.to_base_string(), m_with_stack);
        as_value constructor;
        as_object* object = function.to_object();
        if (object && object->get_member(constructor_name(), &constructor)) {
            function = constructor;
        }
        if (!function.is_function()) {
            log_error("error in call_function: '%s' is not a function\n", callee.to_string());
            function.set_undefined();
        }
    }
    as_value result = call_method(function, m_env, as_value(0), count, m_env->get_top_index());
    m_env->drop(count);
    push(result);
}

void action_interpreter::call_method_op() {
    as_value name = pop();
    as_value holder = pop();
    int count = clamp_count(pop().to_int());
    int first_arg = m_env->get_top_index();
    as_value method;
    as_value result;
    const base_string& method_name = name.to_base_string();
    if (holder.get_member(m_env->get_player(), name.to_base_stringi(), &method)) {
        if (method.is_property()) {
            as_value current;
            method.get_property_value(holder, &current);
            method = current;
        }
        result = call_method(method, m_env, holder, count, first_arg);
    } else if (method_name.size() == 0 || method_name == "undefined") {
        // A call of the object itself: the super constructor runs on the super object.
        as_object* object = holder.to_object();
        if (object && object->get_player()) {
            as_value constructor;
            if (object->get_member(constructor_name(), &constructor)) {
                smart_ptr<as_object> hold = object->get_ref_count() > 0 ? object : nullptr;
                object->make_prototype(constructor);
                result = call_method(constructor, m_env, holder, count, first_arg);
            }
        } else {
            log_error("error: call_method can't call constructor 0x%p.%s\n", static_cast<void*>(object),
                      method_name.c_str());
        }
    } else {
        log_error("error: can't find method %s\n", method_name.c_str());
    }
    m_env->drop(count);
    push(result);
}

void action_interpreter::new_object() {
    as_value name = pop();
    if (m_verbose) {
        log_msg("-------------- new object: %s\n", name.to_string());
    }
    int count = clamp_count(pop().to_int());
    as_value constructor = m_env->get_variable(name.to_base_string(), m_with_stack);
    as_value value;
    if (is_native(constructor)) {
        value = call_method(constructor, m_env, as_value(), count, m_env->get_top_index());
    } else if (is_script(constructor)) {
        smart_ptr<as_object> object = new as_object(m_env->get_player());
        object->make_prototype(constructor);
        call_method(constructor, m_env, as_value(object.get_ptr()), count, m_env->get_top_index());
        object->store_constructor(constructor);
        value = as_value(object.get_ptr());
    } else {
        array<as_value> args;
        for (int i = 0; i < count; i++) {
            args.push_back(m_env->top(i));
        }
        value = as_value(create_extension_object(m_env->get_player(), name.to_base_string(), args));
        if (value.is_null()) {
            log_error("can't create object with unknown class '%s'\n", name.to_string());
            value.set_undefined();
        }
    }
    register_with_heap(value.to_object());
    m_env->drop(count);
    push(value);
}

void action_interpreter::new_method() {
    as_value method = pop();
    as_value holder = pop();
    int count = clamp_count(pop().to_int());
    as_object* object = holder.to_object();
    as_value constructor = method;
    if (!is_native(method) && !is_script(method)) {
        constructor.set_undefined();
        if (object) {
            object->get_member(method.to_base_stringi(), &constructor);
            constructor = resolved(constructor);
        }
    }
    smart_ptr<as_object> made;
    if (is_native(constructor)) {
        made = call_method(constructor, m_env, as_value(), count, m_env->get_top_index()).to_object();
    } else if (is_script(constructor)) {
        made = new as_object(m_env->get_player());
        made->make_prototype(constructor);
        call_method(constructor, m_env, as_value(made.get_ptr()), count, m_env->get_top_index());
    }
    register_with_heap(made.get_ptr());
    m_env->drop(count);
    push(as_value(made.get_ptr()));
}

void action_interpreter::define_function(bool function2) {
    int pc = m_pc + 3;
    int end = m_next_pc;
    base_string name = string_at(&pc, end);
    // The body follows the record; its size closes the record.
    int body_size = end - 2 >= pc ? u16_at(end - 2) : 0;
    as_object* target = m_env->get_target();
    if (name.size() > 0 && target) {
        as_value existing;
        if (target->get_member(base_stringi(name), &existing) && is_script(existing)) {
            const as_s_function* defined = static_cast<const as_s_function*>(existing.to_function());
            if (defined->get_action_buffer().shares_bytes_with(m_buffer) && defined->get_start_pc() == m_next_pc) {
                m_next_pc += body_size;  // the same definition run again: the function stays
                return;
            }
        }
    }
    smart_ptr<as_s_function> function = new as_s_function(m_env, m_buffer, m_next_pc, m_with_stack);
    int arg_count = u16_at(pc);
    pc += 2;
    if (function2) {
        function->set_is_function2(true);
        function->set_local_register_count(static_cast<uint8_t>(u8_at(pc)));
        function->set_function2_flags(static_cast<uint16_t>(u16_at(pc + 1)));
        pc += 3;
    }
    // Parameters stop where the record's payload does, whatever count it declared.
    for (int i = 0; i < arg_count && pc < end - 2; i++) {
        int reg = function2 ? u8_at(pc++) : 0;
        base_string arg = string_at(&pc, end - 2);
        function->add_arg(reg, arg.c_str());
    }
    function->set_length(body_size);
    m_next_pc += body_size;
    register_with_heap(function.get_ptr());
    if (name.size() == 0) {
        push(as_value(function.get_ptr()));
    } else if (target) {
        target->set_member(base_stringi(name), as_value(function.get_ptr()));
    } else {
        m_env->set_variable(name, as_value(function.get_ptr()), m_with_stack);
    }
}

}  // namespace swfplayer
