#include "swfplayer/main/script/as_s_function.h"

#include "swfplayer/main/script/as_c_function.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/function_call_frame.h"
#include "swfplayer/main/script/player.h"

#include <cassert>

namespace swfplayer {

as_s_function::as_s_function(as_environment* env, const action_buffer& buffer, int start_pc,
                             const array<with_stack_entry>& with_stack)
    : as_function(env ? env->get_player() : nullptr),
      m_action_buffer(buffer),
      m_with_stack(with_stack),
      m_start_pc(start_pc) {
    assert(env);
    m_target = env->get_target();
    set_this_ptr(this);
    builtin_member("prototype", as_value(new as_object(get_player())));
    builtin_member("call", as_value(new as_c_function(get_player(), as_s_function_call)));
}

void as_s_function::clear_refs(as_object_set* visited, as_object* target) {
    if (visited->find_index(this) != -1) {
        return;
    }
    as_function::clear_refs(visited, target);
    for (with_stack_entry& entry : m_with_stack) {
        clear_object_ref(&entry.m_object, visited, target);
    }
}

void as_s_function::this_alive(player* marker) {
    as_function::this_alive(marker);
    for (const with_stack_entry& entry : m_with_stack) {
        marker->mark_alive(entry.m_object.get_ptr());
    }
}

void as_s_function::add_arg(int register_number, const char* name) {
    arg_entry entry;
    entry.m_register = register_number;
    entry.m_name = name;
    m_args.push_back(entry);
}

void as_s_function::call(const fn_call& fn) {
    assert(fn.env);
    // The frame keeps the function's own fields stable: hold the function for the call.
    smart_ptr<as_s_function> keep = get_ref_count() > 0 ? this : nullptr;
    function_call_frame frame(*this, fn);
    m_action_buffer.execute(frame.get_environment(), m_start_pc, m_length, fn.result, m_with_stack, m_is_function2);
}

void as_s_function_call(const fn_call& fn) {
    as_object* function = fn.this_ptr;
    if (function == nullptr || fn.nargs < 1 || fn.env == nullptr) {
        return;
    }
    as_environment env(fn.get_player());
    int nargs = 0;
    if (fn.nargs >= 2) {
        env.push(fn.arg(1));
        nargs = 1;
    }
    *fn.result = call_method(as_value(function), &env, as_value(fn.arg(0).to_object()), nargs, env.get_top_index());
}

}  // namespace swfplayer
