#pragma once

#include "swfplayer/main/script/as_value.h"

namespace swfplayer {

class as_environment;
class as_object;
class movie_root;
class player;

// The argument block of every native function. The arguments lie on the environment's operand
// stack, pushed last to first, so argument n is the stack entry at first_arg_bottom_index - n.
struct fn_call {
    fn_call(as_value* result, const as_value& this_value, as_environment* env, int nargs, int first_arg_bottom_index);

    // A copy of argument n: undefined for n outside 0..nargs-1 or a slot outside the stack.
    // Copies stay valid when a nested call grows the stack.
    as_value arg(int n) const;
    // The environment's player; null once it is gone.
    player* get_player() const;
    // The player's root; null when there is none.
    movie_root* get_root() const;

    as_value* result;            // where the callee writes its result
    as_object* this_ptr;         // the object of the "this" value, or null
    const as_value* this_value;  // the "this" value of the call
    as_environment* env;         // holds the arguments on its stack
    int nargs;
    int first_arg_bottom_index;
};

}  // namespace swfplayer
