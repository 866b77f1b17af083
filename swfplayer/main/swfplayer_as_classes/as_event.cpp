#include "swfplayer/main/swfplayer_as_classes/as_event.h"

namespace swfplayer {

as_event::as_event(player* owner) : as_object(owner) {
    builtin_member("MouseEvent", as_value(new as_mouse_event(owner)));
}

as_mouse_event::as_mouse_event(player* owner) : as_event(owner, no_members{}) {
    builtin_member("CLICK", as_value("click"));
}

}  // namespace swfplayer
