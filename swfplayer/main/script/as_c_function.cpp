#include "swfplayer/main/script/as_c_function.h"

#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/instruction_budget.h"

#include <cstdio>

namespace swfplayer {

namespace {

// Instructions a function object made costs the frame: with its member table and its prototype
// it holds about 1.6 KB, and a frame that makes and keeps them (every built-in object makes one
// for each of its methods) spent as long on each as on this many plain instructions. The same
// figure charges those bytes as a string's are charged.
constexpr int64_t function_object_cost = 96;

}  // namespace

as_c_function::as_c_function(player* owner, as_c_function_ptr function) : as_function(owner), m_function(function) {
    instruction_budget::charge(function_object_cost);
    builtin_member("prototype", as_value(new as_object(owner)));
}

const char* as_c_function::to_string() {
    static char buffer[50];
    std::snprintf(buffer, sizeof(buffer), "<function 0x%p>", static_cast<void*>(this));
    return buffer;
}

void as_c_function::call(const fn_call& fn) {
    if (m_function) {
        m_function(fn);
    }
}

}  // namespace swfplayer
