#include "swfplayer/main/script/fn_call.h"

#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/player.h"

namespace swfplayer {

fn_call::fn_call(as_value* result, const as_value& this_value, as_environment* env, int nargs,
                 int first_arg_bottom_index)
    : result(result),
      this_ptr(this_value.to_object()),
      this_value(&this_value),
      env(env),
      nargs(nargs),
      first_arg_bottom_index(first_arg_bottom_index) {}

as_value fn_call::arg(int n) const {
    if (env == nullptr || n < 0 || n >= nargs) {
        return as_value();
    }
    return env->bottom(first_arg_bottom_index - n);
}

player* fn_call::get_player() const {
    return env ? env->get_player() : nullptr;
}

movie_root* fn_call::get_root() const {
    return env ? env->get_root() : nullptr;
}

}  // namespace swfplayer
