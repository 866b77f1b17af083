#include "swfplayer/main/swfplayer_as_classes/action_init.h"

#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/builtin_registry.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/swfplayer_as_classes/as_array.h"
#include "swfplayer/main/swfplayer_as_classes/as_boolean.h"
#include "swfplayer/main/swfplayer_as_classes/as_color.h"
#include "swfplayer/main/swfplayer_as_classes/as_date.h"
#include "swfplayer/main/swfplayer_as_classes/as_global_functions.h"
#include "swfplayer/main/swfplayer_as_classes/as_key.h"
#include "swfplayer/main/swfplayer_as_classes/as_listener.h"
#include "swfplayer/main/swfplayer_as_classes/as_loadvars.h"
#include "swfplayer/main/swfplayer_as_classes/as_math.h"
#include "swfplayer/main/swfplayer_as_classes/as_movieclip.h"
#include "swfplayer/main/swfplayer_as_classes/as_netconnection.h"
#include "swfplayer/main/swfplayer_as_classes/as_number.h"
#include "swfplayer/main/swfplayer_as_classes/as_object_methods.h"
#include "swfplayer/main/swfplayer_as_classes/as_selection.h"
#include "swfplayer/main/swfplayer_as_classes/as_sound.h"
#include "swfplayer/main/swfplayer_as_classes/as_string.h"
#include "swfplayer/main/swfplayer_as_classes/as_textformat.h"
#include "swfplayer/main/swfplayer_as_classes/as_timer.h"
#include "swfplayer/main/swfplayer_as_classes/as_xmlsock.h"
#include "swfplayer/main/swfplayer_as_classes/flash_package.h"
#include "swfplayer/main/text/as_global_textfield_ctor.h"

namespace swfplayer {

void action_init(player* owner) {
    as_object* global = owner->get_global();
    if (global == nullptr) {
        return;
    }
    // In the registry's order. MovieClipLoader is there once the player layer registered it.
    global->builtin_member("trace", as_value(owner, as_global_trace));
    global->builtin_member("Object", as_value(owner, as_global_object_ctor));
    global->builtin_member("Sound", as_value(owner, as_global_sound_ctor));
    global->builtin_member("Array", as_value(owner, as_global_array_ctor));
    global->builtin_member("MovieClip", as_value(owner, as_global_movieclip_ctor));
    global->builtin_member("TextField", as_value(owner, as_global_textfield_ctor));
    global->builtin_member("TextFormat", as_value(owner, as_global_textformat_ctor));
    global->builtin_member("XMLSocket", as_value(owner, as_global_xmlsock_ctor));
    if (as_c_function_ptr movieclip_loader_ctor = get_movieclip_loader_ctor()) {
        global->builtin_member("MovieClipLoader", as_value(owner, movieclip_loader_ctor));
    }
    global->builtin_member("String", as_value(owner, as_global_string_ctor));
    global->builtin_member("Number", as_value(owner, as_global_number_ctor));
    global->builtin_member("Boolean", as_value(owner, as_global_boolean_ctor));
    global->builtin_member("Color", as_value(owner, as_global_color_ctor));
    global->builtin_member("Date", as_value(owner, as_global_date_ctor));
    global->builtin_member("Selection", as_value(new as_selection(owner)));
    global->builtin_member("LoadVars", as_value(owner, as_global_loadvars_ctor));
    global->builtin_member("ASSetPropFlags", as_value(owner, as_global_assetpropflags));
    global->builtin_member("NetStream", as_value(owner, as_global_netstream_ctor));
    global->builtin_member("NetConnection", as_value(owner, as_global_netconnection_ctor));
    global->builtin_member("math", as_value(make_as_math(owner)));
    global->builtin_member("Key", as_value(new as_key(owner)));
    global->builtin_member("AsBroadcaster", as_value(make_as_broadcaster(owner)));
    global->builtin_member("flash", as_value(make_flash_package(owner)));
    global->builtin_member("setInterval", as_value(owner, as_global_setinterval));
    global->builtin_member("clearInterval", as_value(owner, as_global_clearinterval));
    global->builtin_member("getVersion", as_value(owner, as_global_getversion));
    global->builtin_member("parseFloat", as_value(owner, as_global_parsefloat));
    global->builtin_member("parseInt", as_value(owner, as_global_parseint));
    global->builtin_member("isNaN", as_value(owner, as_global_isnan));
    global->builtin_member("$version", as_value("swfPlayer"));
}

}  // namespace swfplayer
