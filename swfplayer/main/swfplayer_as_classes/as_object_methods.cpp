#include "swfplayer/main/swfplayer_as_classes/as_object_methods.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/fn_call.h"

namespace swfplayer {

void as_global_object_ctor(const fn_call& fn) {
    fn.result->set_as_object(new as_object(fn.get_player()));
}

void as_object_addproperty(const fn_call& fn) {
    if (fn.this_ptr == nullptr || fn.nargs != 3) {
        fn.result->set_bool(false);
        return;
    }
    fn.this_ptr->builtin_member(fn.arg(0).to_base_stringi(), as_value(fn.arg(1), fn.arg(2)));
    fn.result->set_bool(true);
}

void as_object_registerclass(const fn_call& fn) {
    fn.result->set_bool(false);
    if (fn.nargs != 2) {
        return;
    }
    // Exported clips are found through the target movie's definition, which the display side
    // provides; until it does, no name is found.
    log_error("can't find exported resource '%s'\n", fn.arg(0).to_string());
}

void as_object_hasownproperty(const fn_call& fn) {
    fn.result->set_bool(fn.this_ptr != nullptr && fn.nargs == 1 &&
                        fn.this_ptr->has_own_member(fn.arg(0).to_base_stringi()));
}

void as_object_watch(const fn_call& fn) {
    if (fn.this_ptr == nullptr || fn.nargs < 2) {
        fn.result->set_bool(false);
        return;
    }
    as_value user_data = fn.nargs > 2 ? fn.arg(2) : as_value();
    fn.result->set_bool(fn.this_ptr->watch(fn.arg(0).to_base_string(), fn.arg(1).to_function(), user_data));
}

void as_object_unwatch(const fn_call& fn) {
    if (fn.this_ptr == nullptr || fn.nargs != 1) {
        fn.result->set_bool(false);
        return;
    }
    fn.result->set_bool(fn.this_ptr->unwatch(fn.arg(0).to_base_string()));
}

void as_object_addeventlistener(const fn_call& /*fn*/) {
    // Mouse events reach clips through their handlers; listeners added here are never called.
}

}  // namespace swfplayer
