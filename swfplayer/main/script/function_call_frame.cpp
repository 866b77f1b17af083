#include "swfplayer/main/script/function_call_frame.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/as_s_function.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/script/static_names.h"

#include <cstdint>

namespace swfplayer {

namespace {

// A counted hold on an object that already has an owner (one with none is not ours to count).
as_object* owned_or_null(as_object* object) {
    return object && object->get_ref_count() > 0 ? object : nullptr;
}

}  // namespace

function_call_frame::function_call_frame(const as_s_function& function, const fn_call& fn)
    : m_env(fn.env), m_this_object(nullptr), m_register_frame(false) {
    // A character called as "this" runs the body in its own environment.
    if (fn.this_ptr && fn.this_ptr->get_environment()) {
        m_env = fn.this_ptr->get_environment();
        m_env_owner = owned_or_null(fn.this_ptr);
    }
    as_object* this_object = fn.this_ptr;
    if (this_object) {
        if (as_object* redirected = this_object->get_this_ptr()) {
            this_object = redirected;
        }
    } else {
        this_object = m_env->get_target();
    }
    m_this_object = this_object;
    m_this_hold = owned_or_null(this_object);
    // A function defined on a clip that is still on the stage runs in that clip's environment.
    as_object* defining_target = function.get_target();
    if (defining_target && defining_target->is(AS_CHARACTER) && defining_target->is_active() &&
        defining_target->get_environment()) {
        m_env = defining_target->get_environment();
        m_env_owner = owned_or_null(defining_target);
    }

    m_local_frame_count = m_env->get_local_frame_count();
    m_stack_size = m_env->get_stack_size();
    m_env->push_barrier();
    m_stack_floor = m_env->set_stack_floor(m_stack_size);

    if (function.is_function2()) {
        pass_function2_args(function, fn);
    } else {
        pass_plain_args(function, fn);
    }
}

function_call_frame::~function_call_frame() {
    m_env->truncate_stack(m_stack_size);
    m_env->set_stack_floor(m_stack_floor);
    m_env->truncate_local_frames(m_local_frame_count);
    if (m_register_frame) {
        m_env->pop_register_frame();
    }
}

void function_call_frame::pass_plain_args(const as_s_function& function, const fn_call& fn) {
    const array<as_s_function::arg_entry>& args = function.get_args();
    for (int i = 0; i < fn.nargs && i < args.size(); i++) {
        // An empty name would read as a call barrier.
        if (args[i].m_name.size() > 0) {
            m_env->add_local(args[i].m_name, fn.arg(i));
        }
    }
    m_env->add_local(static_names::call_local_name(static_names::LOCAL_THIS), as_value(m_this_object));
    if (fn.this_ptr) {
        m_env->add_local(static_names::call_local_name(static_names::LOCAL_SUPER), as_value(fn.this_ptr->get_proto()));
    }
}

void function_call_frame::pass_function2_args(const as_s_function& function, const fn_call& fn) {
    m_env->push_register_frame(1 + function.get_local_register_count());
    m_register_frame = true;
    const array<as_s_function::arg_entry>& args = function.get_args();
    for (int i = 0; i < fn.nargs && i < args.size(); i++) {
        if (args[i].m_register == 0) {
            if (args[i].m_name.size() > 0) {
                m_env->add_local(args[i].m_name, fn.arg(i));
            }
        } else {
            m_env->set_register(args[i].m_register, fn.arg(i));
        }
    }

    uint16_t flags = function.get_function2_flags();
    as_object* this_object = m_this_object;
    as_object* super_object = fn.this_ptr ? fn.this_ptr->get_proto() : nullptr;
    bool verbose = get_verbose_action();
    int r = 1;
    if (flags & PRELOAD_THIS) {
        m_env->set_register(r, as_value(this_object));
        if (verbose) {
            log_msg("-------------- preload this=%p to register %d\n", address_of(this_object), r);
        }
        r++;
    }
    if (!(flags & SUPPRESS_THIS)) {
        m_env->add_local(static_names::call_local_name(static_names::LOCAL_THIS), as_value(this_object));
    }
    const base_string& arguments_name = static_names::call_local_name(static_names::LOCAL_ARGUMENTS);
    if (flags & PRELOAD_ARGUMENTS) {
        // The register and the local share one array.
        smart_ptr<as_object> arguments = make_arguments_array(m_env->get_player(), fn);
        m_env->set_register(r, as_value(arguments.get_ptr()));
        r++;
        if (!(flags & SUPPRESS_ARGUMENTS)) {
            m_env->add_local(arguments_name, as_value(arguments.get_ptr()));
        }
    } else if (!(flags & SUPPRESS_ARGUMENTS)) {
        // Most bodies never read it: the array is made on the first read.
        m_env->add_arguments_local(arguments_name, fn);
    }
    if (flags & PRELOAD_SUPER) {
        m_env->set_register(r, as_value(super_object));
        if (verbose) {
            log_msg("-------------- preload super=%p to register %d\n", address_of(super_object), r);
        }
        r++;
    }
    if (!(flags & SUPPRESS_SUPER)) {
        m_env->add_local(static_names::call_local_name(static_names::LOCAL_SUPER), as_value(super_object));
    }
    if (flags & PRELOAD_ROOT) {
        player* owner = m_env->get_player();
        m_env->set_register(r, as_value(owner ? owner->get_root_movie() : nullptr));
        r++;
    }
    if (flags & PRELOAD_PARENT) {
        as_object* parent = m_env->find_target(as_value("_parent"));
        m_env->set_register(r, as_value(parent));
        if (verbose) {
            log_msg("-------------- preload _parent=%p to register %d\n", address_of(parent), r);
        }
        r++;
    }
    if (flags & PRELOAD_GLOBAL) {
        as_object* global = function.get_global();
        m_env->set_register(r, as_value(global));
        if (verbose) {
            log_msg("-------------- preload _global=%p to register %d\n", address_of(global), r);
        }
    }
}

}  // namespace swfplayer
