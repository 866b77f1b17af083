#include "swfplayer/main/loading/execute_tags.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/character.h"

#include <algorithm>
#include <vector>

namespace swfplayer {

int read_action_buffer(stream* in, action_buffer* buffer) {
    int start = in->get_position();
    // A tag can declare far more bytes than the file holds, so the bytes are read in blocks for
    // as far as they really go instead of all being allocated at once.
    constexpr int block = 64 * 1024;
    std::vector<uint8_t> bytes;
    for (int left = in->get_tag_bytes_left(); left > 0;) {
        size_t old_size = bytes.size();
        int wanted = std::min(left, block);
        bytes.resize(old_size + static_cast<size_t>(wanted));
        int got = in->read_bytes(bytes.data() + old_size, wanted);
        bytes.resize(old_size + static_cast<size_t>(got));
        if (got < wanted) {
            break;
        }
        left -= got;
    }
    int used = buffer->read(bytes.data(), static_cast<int>(bytes.size()));
    in->set_position(start + used);
    return used;
}

void remove_object_2::read(stream* in, int tag_type) {
    if (tag_type == tag_remove_object) {
        m_id = in->read_u16();
    }
    m_depth = in->read_u16();
    if (get_verbose_parse()) {
        log_msg("  remove_object_2(%d)\n", m_depth);
    }
}

void remove_object_2::execute(character* m) {
    m->remove_display_object(m_depth, m_id);
}

void remove_object_2::execute_state_reverse(character* m, int frame) {
    execute_tag* t = m->find_previous_place_tag(frame, m_depth, m_id);
    if (t == nullptr) {
        log_error("reverse REMOVE can't find previous replace or add tag(%d, %d)\n", frame, m_depth);
        return;
    }
    t->execute_state(m);
}

void set_background_color::read(stream* in) {
    m_color.read_rgb(in);
    if (get_verbose_parse()) {
        log_msg("  set_background_color: (%d %d %d)\n", m_color.r, m_color.g, m_color.b);
    }
}

void set_background_color::execute(character* m) {
    // The host decides the background's alpha; the movie only chooses the colour.
    float alpha = m->get_background_alpha() * 255.0f + 0.5f;
    if (!(alpha >= 0.0f)) {
        alpha = 0.0f;  // NaN included
    }
    rgba color = m_color;
    color.a = static_cast<uint8_t>(alpha < 255.0f ? alpha : 255.0f);
    m->set_background_color(color);
}

void do_action::execute(character* m) {
    m->add_action_buffer(&m_buf);
}

}  // namespace swfplayer
