#include "swfplayer/main/swfplayer_as_classes/as_object_methods.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/display/character_def.h"
#include "swfplayer/main/script/as_environment.h"
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
    base_string name = fn.arg(0).to_base_string();
    character* target = fn.env ? cast_to_character(fn.env->get_target()) : nullptr;
    character_def* def = target ? target->find_exported_resource(name) : nullptr;
    if (def == nullptr) {
        log_error("can't find exported resource '%s'\n", name.c_str());
        return;
    }
    as_value class_function = fn.arg(1);
    if (!class_function.is_function()) {
        return;
    }
    if (get_verbose_action()) {
        log_msg("registerClass '%s'\n", name.c_str());
    }
    def->set_registered_class_constructor(class_function);
    fn.result->set_bool(true);
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
