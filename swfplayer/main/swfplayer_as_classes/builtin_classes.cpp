#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"

#include "swfplayer/main/script/builtin_registry.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/swfplayer_as_classes/action_init.h"
#include "swfplayer/main/swfplayer_as_classes/as_array.h"
#include "swfplayer/main/swfplayer_as_classes/as_boolean.h"
#include "swfplayer/main/swfplayer_as_classes/as_movieclip.h"
#include "swfplayer/main/swfplayer_as_classes/as_number.h"
#include "swfplayer/main/swfplayer_as_classes/as_object_methods.h"
#include "swfplayer/main/swfplayer_as_classes/as_string.h"

namespace swfplayer {

namespace {

smart_ptr<as_object> make_arguments(player* owner, const fn_call& fn) {
    smart_ptr<as_array> arguments = new as_array(owner);
    for (int i = 0; i < fn.nargs; i++) {
        arguments->push(fn.arg(i));
    }
    return arguments.get_ptr();
}

void register_methods() {
    register_builtin_method(BUILTIN_OBJECT, "addProperty", as_object_addproperty);
    register_builtin_method(BUILTIN_OBJECT, "registerClass", as_object_registerclass);
    register_builtin_method(BUILTIN_OBJECT, "hasOwnProperty", as_object_hasownproperty);
    register_builtin_method(BUILTIN_OBJECT, "watch", as_object_watch);
    register_builtin_method(BUILTIN_OBJECT, "unwatch", as_object_unwatch);
    register_builtin_method(BUILTIN_OBJECT, "addEventListener", as_object_addeventlistener);

    register_builtin_method(BUILTIN_NUMBER, "toString", as_number_tostring);
    register_builtin_method(BUILTIN_NUMBER, "valueOf", as_number_valueof);

    register_builtin_method(BUILTIN_BOOLEAN, "toString", as_boolean_tostring);
    register_builtin_method(BUILTIN_BOOLEAN, "valueOf", as_boolean_valueof);

    register_builtin_method(BUILTIN_STRING, "toString", as_string_tostring);
    register_builtin_method(BUILTIN_STRING, "fromCharCode", as_string_fromcharcode);
    register_builtin_method(BUILTIN_STRING, "charCodeAt", as_string_charcodeat);
    register_builtin_method(BUILTIN_STRING, "concat", as_string_concat);
    register_builtin_method(BUILTIN_STRING, "indexOf", as_string_indexof);
    register_builtin_method(BUILTIN_STRING, "lastIndexOf", as_string_lastindexof);
    register_builtin_method(BUILTIN_STRING, "slice", as_string_slice);
    register_builtin_method(BUILTIN_STRING, "split", as_string_split);
    register_builtin_method(BUILTIN_STRING, "substring", as_string_substring);
    register_builtin_method(BUILTIN_STRING, "substr", as_string_substr);
    register_builtin_method(BUILTIN_STRING, "toLowerCase", as_string_tolowercase);
    register_builtin_method(BUILTIN_STRING, "toUpperCase", as_string_touppercase);
    register_builtin_method(BUILTIN_STRING, "charAt", as_string_charat);
    register_builtin_getter(BUILTIN_STRING, "length", as_string_length);
}

}  // namespace

void register_builtin_classes() {
    static bool s_registered = false;
    if (s_registered) {
        return;
    }
    s_registered = true;
    register_globals_installer(action_init);
    register_methods();
    register_movieclip_methods();
    register_builtin_constructor(BUILTIN_OBJECT, as_global_object_ctor);
    register_builtin_constructor(BUILTIN_NUMBER, as_global_number_ctor);
    register_builtin_constructor(BUILTIN_BOOLEAN, as_global_boolean_ctor);
    register_builtin_constructor(BUILTIN_STRING, as_global_string_ctor);
    register_arguments_maker(make_arguments);
}

}  // namespace swfplayer
