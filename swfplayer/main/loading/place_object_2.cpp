#include "swfplayer/main/loading/place_object_2.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/loading/execute_tags.h"
#include "swfplayer/main/loading/filter_list.h"
#include "swfplayer/main/loading/tag_pool.h"
#include "swfplayer/main/script/action_buffer.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/as_s_function.h"

#include <algorithm>
#include <cassert>
#include <cstdint>

namespace swfplayer {

namespace {

// The event of each clip-event flag bit 0..18.
const uint8_t s_event_of_bit[19] = {
    event_id::LOAD,      event_id::ENTER_FRAME, event_id::UNLOAD,          event_id::MOUSE_MOVE, event_id::MOUSE_DOWN,
    event_id::MOUSE_UP,  event_id::KEY_DOWN,    event_id::KEY_UP,          event_id::DATA,       event_id::INITIALIZE,
    event_id::PRESS,     event_id::RELEASE,     event_id::RELEASE_OUTSIDE, event_id::ROLL_OVER,  event_id::ROLL_OUT,
    event_id::DRAG_OVER, event_id::DRAG_OUT,    event_id::KEY_PRESS,       event_id::CONSTRUCT,
};

constexpr uint32_t key_press_flag = 0x20000;

}  // namespace

void* place_object_2::operator new([[maybe_unused]] size_t size) {
    assert(size == sizeof(place_object_2));
    return tag_pool<place_object_2>::allocate();
}

void place_object_2::operator delete(void* p) {
    tag_pool<place_object_2>::release(p);
}

place_object_2::~place_object_2() {
    for (swf_event* handler : m_event_handlers) {
        delete handler;
    }
}

void place_object_2::read(player* owner, stream* in, int tag_type, int movie_version) {
    m_tag_type = tag_type;
    if (tag_type == tag_place_object) {
        read_place_object(in);
        return;
    }
    // One byte of flags, most significant bit first.
    uint8_t flags = in->read_u8();
    bool has_actions = flags & 0x80;
    bool has_clip_depth = flags & 0x40;
    bool has_name = flags & 0x20;
    bool has_ratio = flags & 0x10;
    bool has_cxform = flags & 0x08;
    bool has_matrix = flags & 0x04;
    bool has_char = flags & 0x02;
    bool move = flags & 0x01;
    bool has_blend_mode = false;
    bool has_filters = false;
    if (tag_type == tag_place_object3) {
        // The top six bits (class name, image and cache-as-bitmap) are not used by this player.
        uint8_t more_flags = in->read_u8();
        has_blend_mode = more_flags & 0x02;
        has_filters = more_flags & 0x01;
    }

    m_depth = in->read_u16();
    if (get_verbose_parse()) {
        log_msg("  depth = %d\n", m_depth);
    }
    if (has_char) {
        m_character_id = in->read_u16();
        if (get_verbose_parse()) {
            log_msg("  char id = %d\n", m_character_id);
        }
    }
    if (has_matrix) {
        m_has_matrix = true;
        m_matrix.read(in);
        if (get_verbose_parse()) {
            log_msg("  mat:\n");
            m_matrix.print();
        }
    }
    if (has_cxform) {
        m_has_cxform = true;
        m_color_transform.read_rgba(in);
        if (get_verbose_parse()) {
            log_msg("  cxform:\n");
            m_color_transform.print();
        }
    }
    if (has_ratio) {
        m_ratio = static_cast<float>(in->read_u16() / 65535.0);
        if (get_verbose_parse()) {
            log_msg("  ratio: %f\n", m_ratio);
        }
    }
    if (has_name) {
        in->read_string(&m_name);
        if (get_verbose_parse()) {
            log_msg("  name = %s\n", m_name.c_str());
        }
    }
    if (has_clip_depth) {
        m_clip_depth = in->read_u16();
        if (get_verbose_parse()) {
            log_msg("  clip_depth = %d\n", m_clip_depth);
        }
    }
    // After an unreadable filter list the clip actions cannot be found; the placement keeps
    // what it has read.
    bool in_step = !has_filters || read_filters(in);
    if (in_step && has_blend_mode) {
        in->read_u8();
    }
    if (in_step && has_actions) {
        read_clip_actions(owner, in, movie_version);
    }

    if (has_char) {
        m_place_type = move ? REPLACE : PLACE;
    } else if (move) {
        m_place_type = MOVE;
    }
}

void place_object_2::read_place_object(stream* in) {
    m_character_id = in->read_u16();
    m_depth = in->read_u16();
    m_matrix.read(in);
    if (get_verbose_parse()) {
        log_msg("  char_id = %d\n  depth = %d\n  mat = \n", m_character_id, m_depth);
        m_matrix.print();
    }
    if (in->get_position() < in->get_tag_end_position()) {
        m_color_transform.read_rgb(in);
        if (get_verbose_parse()) {
            log_msg("  cxform:\n");
            m_color_transform.print();
        }
    }
}

void place_object_2::read_clip_actions(player* owner, stream* in, int movie_version) {
    auto read_flags = [&]() -> uint32_t {
        return movie_version < 6 ? in->read_u16() : in->read_u32();
    };
    in->read_u16();  // reserved
    uint32_t all_flags = read_flags();
    if (get_verbose_parse()) {
        log_msg("  actions: flags = 0x%X\n", all_flags);
    }
    // Every record takes bytes, and bytes past the tag read as zero flags, so this ends.
    for (;;) {
        in->align();
        uint32_t flags = read_flags();
        if (flags == 0) {
            break;
        }
        uint32_t length = in->read_u32();
        uint8_t key_code = 0;
        if (flags & key_press_flag) {
            key_code = in->read_u8();
            length -= 1;
        }
        // The record's actions are read within its declared length (clamped to the tag), so
        // the stream never steps back: on a compressed movie that would inflate it again.
        action_buffer buffer;
        int used = read_action_buffer(in, &buffer, static_cast<int>(std::min<uint32_t>(length, INT32_MAX)));
        if (static_cast<uint32_t>(used) != length) {
            log_error("swf_event::read(), event_length = %d, but read %d\n", static_cast<int>(length), used);
            break;
        }
        if (flags >> 19) {
            log_error("swf_event::read() -- unknown event type received, flags = 0x%x\n", flags);
        }
        for (int bit = 0; bit < 19; bit++) {
            if ((flags & (1u << bit)) == 0) {
                continue;
            }
            // All handlers of one record share the one buffer.
            as_environment env(owner);
            array<with_stack_entry> empty_with_stack;
            as_s_function* function = new as_s_function(&env, buffer, 0, empty_with_stack);
            function->set_length(buffer.size());
            swf_event* handler = new swf_event;
            handler->m_event = event_id(s_event_of_bit[bit], bit == 17 ? key_code : 0);
            handler->m_method = as_value(function);
            m_event_handlers.push_back(handler);
        }
    }
}

void place_object_2::execute(character* m) {
    switch (m_place_type) {
    case PLACE:
        m->add_display_object(m_character_id, m_name, m_event_handlers, m_depth, m_tag_type != tag_place_object,
                              m_color_transform, m_matrix, m_ratio, m_clip_depth);
        break;
    case MOVE:
        m->move_display_object(m_depth, m_has_cxform, m_color_transform, m_has_matrix, m_matrix, m_ratio, m_clip_depth);
        break;
    case REPLACE:
        m->replace_display_object(m_character_id, m_name, m_depth, m_has_cxform, m_color_transform, m_has_matrix,
                                  m_matrix, m_ratio, m_clip_depth);
        break;
    }
}

void place_object_2::execute_state_reverse(character* m, int frame) {
    switch (m_place_type) {
    case PLACE: m->remove_display_object(m_depth, m_tag_type == tag_place_object ? m_character_id : -1); break;
    case MOVE:
        m->move_display_object(m_depth, m_has_cxform, m_color_transform, m_has_matrix, m_matrix, m_ratio, m_clip_depth);
        break;
    case REPLACE: {
        execute_tag* t = m->find_previous_place_tag(frame, m_depth, -1);
        if (t == nullptr) {
            log_error("reverse REPLACE can't find previous replace or add tag(%d, %d)\n", frame, m_depth);
            return;
        }
        t->execute_state(m);
        break;
    }
    }
}

uint32_t place_object_2::get_depth_id_of_replace_or_add_tag() const {
    if (m_place_type == MOVE) {
        return 0xFFFFFFFF;
    }
    uint32_t id = m_tag_type == tag_place_object ? m_character_id : 0xFFFF;
    return static_cast<uint32_t>(m_depth) << 16 | id;
}

}  // namespace swfplayer
