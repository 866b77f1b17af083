#pragma once

#include "swfplayer/main/script/as_value.h"

namespace swfplayer {

class as_environment;

// Nested calls into script allowed at once per player (calls, getters, setters, watches,
// events, listeners); deeper calls are refused so self-recursion cannot exhaust the stack.
constexpr int max_call_depth = 256;

// Calls a script or native function with this_value as "this" and the nargs values from
// first_arg_bottom_index downward on env's stack as arguments. A value that is not a function,
// a null environment or a call past the depth limit gives undefined. The argument count is cut to the values
// really on the stack.
as_value call_method(const as_value& method, as_environment* env, const as_value& this_value, int nargs,
                     int first_arg_bottom_index);

}  // namespace swfplayer
