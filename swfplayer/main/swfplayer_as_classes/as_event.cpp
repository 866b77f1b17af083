#include "swfplayer/main/swfplayer_as_classes/as_event.h"

namespace swfplayer {

as_mouse_event::as_mouse_event(player* owner) : as_event(owner) {
    builtin_member("CLICK", as_value("click"));
}

}  // namespace swfplayer
