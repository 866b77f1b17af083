#include "swfplayer/main/loading/sound_sample.h"

#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/sound/sound_handler.h"

namespace swfplayer {

sound_sample::~sound_sample() {
    if (sound_handler* handler = get_stored_sound_handler()) {
        handler->delete_sound(m_sound_handler_id);
    }
}

void start_sound_tag::read(stream* in, movie_definition_sub* m, const sound_sample* sam) {
    in->read_uint(2);  // reserved
    m_stop_playback = in->read_uint(1) != 0;
    in->read_uint(1);  // no multiple instances: every start plays
    const bool has_envelope = in->read_uint(1) != 0;
    const bool has_loops = in->read_uint(1) != 0;
    const bool has_out_point = in->read_uint(1) != 0;
    const bool has_in_point = in->read_uint(1) != 0;
    if (has_in_point) {
        in->read_u32();
    }
    if (has_out_point) {
        in->read_u32();
    }
    if (has_loops) {
        m_loop_count = in->read_u16();
    }
    if (has_envelope) {
        const int count = in->read_u8();
        m_envelopes.reserve(count);
        for (int i = 0; i < count; ++i) {
            envelope e;
            e.position = in->read_u32();
            e.left_level = in->read_u16();
            e.right_level = in->read_u16();
            m_envelopes.push_back(e);
        }
    }
    m_handler_id = static_cast<uint16_t>(sam->m_sound_handler_id);
    m->add_execute_tag(this);
}

void start_sound_tag::execute(character*) {
    sound_handler* handler = get_stored_sound_handler();
    if (!handler) {
        return;
    }
    if (m_stop_playback) {
        handler->stop_sound(m_handler_id);
    } else {
        handler->play_sound(m_handler_id, m_loop_count);
    }
}

}  // namespace swfplayer
