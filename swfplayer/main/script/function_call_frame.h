#pragma once

#include "swfplayer/base/smart_ptr.h"

namespace swfplayer {

class as_environment;
class as_object;
class as_s_function;
struct fn_call;

// The frame one script-function call builds: it picks the environment and the "this" object,
// opens the call's locals behind a barrier, passes the arguments, and for DefineFunction2
// opens a register frame with the preloads its flags ask for. The destructor cuts the stack,
// the locals and the registers back to what they were, however the body left them.
class function_call_frame {
public:
    function_call_frame(const as_s_function& function, const fn_call& fn);
    ~function_call_frame();
    function_call_frame(const function_call_frame&) = delete;
    function_call_frame& operator=(const function_call_frame&) = delete;

    // The environment the body runs in.
    as_environment* get_environment() const { return m_env; }
    // The "this" object of the call (may be null).
    as_object* get_this() const { return m_this_object; }

private:
    void pass_plain_args(const as_s_function& function, const fn_call& fn);
    void pass_function2_args(const as_s_function& function, const fn_call& fn);

    as_environment* m_env;
    // Keeps alive the object whose environment the call runs in.
    smart_ptr<as_object> m_env_owner;
    as_object* m_this_object;
    smart_ptr<as_object> m_this_hold;
    int m_stack_size;
    int m_stack_floor;
    int m_local_frame_count;
    bool m_register_frame;
};

}  // namespace swfplayer
