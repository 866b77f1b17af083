#include "swfplayer/main/script/call_method.h"

#include "swfplayer/base/log.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/as_function.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/script/player.h"

#include <exception>

namespace swfplayer {

namespace {

// Instructions a call costs besides the callee's own: it copies its receiver and arguments,
// counts its depth, and a native call converts its arguments and makes its result; a loop of
// calls took as long as this many plain instructions a call.
constexpr int64_t call_cost = 48;

// Counts one nested call for as long as it runs.
class call_depth_guard {
public:
    explicit call_depth_guard(int& depth) : m_depth(depth) { m_depth++; }
    ~call_depth_guard() { m_depth--; }
    call_depth_guard(const call_depth_guard&) = delete;
    call_depth_guard& operator=(const call_depth_guard&) = delete;

private:
    int& m_depth;
};

}  // namespace

as_value call_method(const as_value& method, as_environment* env, const as_value& this_value, int nargs,
                     int first_arg_bottom_index) {
    as_value result;
    // The function and "this" stay alive for the whole call, whatever the callee overwrites.
    smart_ptr<as_function> function = method.to_function();
    if (!function) {
        if (get_verbose_action()) {
            log_msg("error in call_method(): method is not a function\n");
        }
        return result;
    }
    if (env == nullptr) {
        return result;
    }
    instruction_budget::charge(call_cost);
    as_value this_copy = this_value;
    // Arguments are only what lies on the stack at and below the first argument index.
    if (first_arg_bottom_index < 0 || first_arg_bottom_index >= env->get_stack_size()) {
        nargs = 0;
    } else if (nargs > first_arg_bottom_index + 1) {
        nargs = first_arg_bottom_index + 1;
    }
    if (nargs < 0) {
        nargs = 0;
    }
    player* owner = env->get_player();
    // The player outlives the call when somebody owns it (one made on the stack is not counted).
    smart_ptr<player> keep_player = owner && owner->get_ref_count() > 0 ? owner : nullptr;
    int& depth = nesting_of(owner).m_call_depth;
    if (depth >= max_call_depth) {
        log_error("error: call_method(): script calls nested more than %d deep\n", max_call_depth);
        return result;
    }
    call_depth_guard guard(depth);
    fn_call fn(&result, this_copy, env, nargs, first_arg_bottom_index);
    // A native function that runs out of memory stops the frame's scripts, not the program.
    try {
        function->call(fn);
    } catch (const std::exception& error) {
        instruction_budget::stop_all(error.what());
    }
    return result;
}

}  // namespace swfplayer
