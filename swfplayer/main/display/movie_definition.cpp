#include "swfplayer/main/display/movie_definition.h"

#include "swfplayer/main/sound/sound_handler.h"

namespace swfplayer {

movie_definition_sub::~movie_definition_sub() {
    sound_handler* handler = get_stored_sound_handler();
    if (handler && m_ss_id >= 0) {
        handler->delete_sound(m_ss_id);
    }
}

}  // namespace swfplayer
