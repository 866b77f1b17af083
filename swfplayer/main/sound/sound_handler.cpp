#include "swfplayer/main/sound/sound_handler.h"

namespace swfplayer {

namespace {
sound_handler* s_sound_handler = nullptr;
}  // namespace

void set_sound_handler(sound_handler* handler) {
    s_sound_handler = handler;
}

sound_handler* get_sound_handler() {
    return s_sound_handler && s_sound_handler->is_usable() ? s_sound_handler : nullptr;
}

sound_handler* get_stored_sound_handler() {
    return s_sound_handler;
}

}  // namespace swfplayer
