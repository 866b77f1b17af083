#include "swfplayer/main/loading/button_character_definition.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/loading/button_character_instance.h"
#include "swfplayer/main/loading/execute_tags.h"
#include "swfplayer/main/loading/filter_list.h"
#include "swfplayer/main/sound/sound_handler.h"

#include <cassert>

namespace swfplayer {

namespace {

// Key conditions below 32 name the special keys; the script's Key object knows them by these
// codes. Codes missing here (0 among them) answer no key.
int special_key_code(int key) {
    switch (key) {
    case 1: return 37;   // LEFT
    case 2: return 39;   // RIGHT
    case 3: return 36;   // HOME
    case 4: return 35;   // END
    case 5: return 45;   // INSERT
    case 6: return 46;   // DELETEKEY
    case 8: return 8;    // BACKSPACE
    case 13: return 13;  // ENTER
    case 14: return 38;  // UP
    case 15: return 40;  // DOWN
    case 16: return 34;  // PGUP
    case 17: return 33;  // PGDN
    case 18: return 9;   // TAB
    default: return 0;
    }
}

// Record flag bits.
constexpr int flag_has_blend_mode = 0x20;
constexpr int flag_has_filter_list = 0x10;
constexpr int flag_hit_test = 0x08;
constexpr int flag_down = 0x04;
constexpr int flag_over = 0x02;
constexpr int flag_up = 0x01;

// Bytes of an action record's head: its size field and its condition word.
constexpr int action_head_bytes = 4;
// Bytes of one envelope point.
constexpr int envelope_point_bytes = 8;

}  // namespace

bool button_record::shows_in(int mouse_state) const {
    switch (mouse_state) {
    case 0: return m_up;
    case 1: return m_down;
    case 2: return m_over;
    default: return false;
    }
}

int button_action::get_key_code() const {
    const int key = (m_conditions >> 9) & 127;
    return key >= 32 ? key : special_key_code(key);
}

void sound_info::read(stream* in) {
    in->read_uint(2);
    m_stop = in->read_bool();
    m_no_multiple = in->read_bool();
    m_has_envelope = in->read_bool();
    m_has_loops = in->read_bool();
    m_has_out_point = in->read_bool();
    m_has_in_point = in->read_bool();
    if (m_has_in_point) {
        m_in_point = in->read_u32();
    }
    if (m_has_out_point) {
        m_out_point = in->read_u32();
    }
    if (m_has_loops) {
        m_loop_count = in->read_u16();
    }
    m_envelope.clear();
    if (m_has_envelope) {
        int count = in->read_u8();
        const int present = in->get_tag_bytes_left() / envelope_point_bytes;
        if (count > present) {
            log_error("sound_info::read: %d envelope points declared, %d present\n", count, present);
            count = present;
        }
        for (int i = 0; i < count; i++) {
            envelope_point point;
            point.position = in->read_u32();
            point.left_level = in->read_u16();
            point.right_level = in->read_u16();
            m_envelope.push_back(point);
        }
    }
    if (get_verbose_parse()) {
        log_msg("\thas_envelope = %d\n", m_has_envelope);
        log_msg("\thas_loops = %d\n", m_has_loops);
        log_msg("\thas_out_point = %d\n", m_has_out_point);
        log_msg("\thas_in_point = %d\n", m_has_in_point);
        log_msg("\tin_point = %d\n", m_in_point);
        log_msg("\tout_point = %d\n", m_out_point);
        log_msg("\tloop_count = %d\n", m_loop_count);
        log_msg("\tenvelope size = %d\n", static_cast<int>(m_envelope.size()));
    }
}

void button_character_definition::read(stream* in, int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_define_button || tag_type == tag_define_button_sound || tag_type == tag_define_button2);
    if (tag_type == tag_define_button_sound) {
        read_sounds(in, m);
        return;
    }
    if (tag_type == tag_define_button) {
        read_records(in, tag_type);
        add_action(in, button_action::condition_release, in->get_tag_bytes_left());
        return;
    }
    m_menu = in->read_u8() != 0;
    const int offset_position = in->get_position();
    const int offset = in->read_u16();
    read_records(in, tag_type);
    if (offset > 0) {
        read_button2_actions(in, offset_position + offset);
    }
}

void button_character_definition::read_records(stream* in, int tag_type) {
    while (in->get_tag_bytes_left() > 0) {
        const int flags = in->read_u8();
        if (flags == 0) {
            return;
        }
        button_record record;
        record.m_has_blend_mode = (flags & flag_has_blend_mode) != 0;
        record.m_has_filter_list = (flags & flag_has_filter_list) != 0;
        record.m_hit_test = (flags & flag_hit_test) != 0;
        record.m_down = (flags & flag_down) != 0;
        record.m_over = (flags & flag_over) != 0;
        record.m_up = (flags & flag_up) != 0;
        record.m_character_id = in->read_u16();
        record.m_layer = in->read_u16();
        record.m_matrix.read(in);
        if (tag_type == tag_define_button2) {
            record.m_color_transform.read_rgba(in);
            if (record.m_has_filter_list && !read_filters(in)) {
                // The rest of the list is out of step with the stream.
                return;
            }
            if (record.m_has_blend_mode) {
                record.m_blend_mode = in->read_u8();
            }
        }
        m_button_records.push_back(record);
    }
}

void button_character_definition::read_button2_actions(stream* in, int first_action) {
    const int tag_end = in->get_tag_end_position();
    int next = first_action;
    // Each action starts behind the previous one's size field, so the loop ends within the tag.
    while (next + action_head_bytes <= tag_end) {
        in->set_position(next);
        const int size = in->read_u16();
        const int conditions = in->read_u16();
        if (size == 0) {
            add_action(in, conditions, in->get_tag_bytes_left());
            return;
        }
        if (size < action_head_bytes || next + size > tag_end) {
            log_error("button_character_definition: action of %d bytes at %d does not fit its tag\n", size, next);
            return;
        }
        add_action(in, conditions, size - action_head_bytes);
        next += size;
    }
    if (next != tag_end) {
        log_error("button_character_definition: action at %d does not fit its tag\n", next);
    }
}

void button_character_definition::add_action(stream* in, int conditions, int max_bytes) {
    if (get_verbose_action()) {
        log_msg("-------------- actions in button\n");
    }
    button_action action;
    action.m_conditions = conditions;
    action.m_buffers.push_back(std::make_unique<action_buffer>());
    read_action_buffer(in, action.m_buffers.back().get(), max_bytes);
    m_button_actions.push_back(std::move(action));
}

void button_character_definition::read_sounds(stream* in, movie_definition_sub* m) {
    if (m_sound) {
        log_error("button_character_definition: the button has its sounds already; DefineButtonSound ignored\n");
        return;
    }
    if (get_verbose_parse()) {
        log_msg("button sound options:\n");
    }
    m_sound = std::make_unique<button_sound_block>();
    for (button_sound& entry : m_sound->m_button_sounds) {
        entry.m_sound_id = in->read_u16();
        if (entry.m_sound_id == 0) {
            continue;
        }
        character_def* sample = m->get_sound_sample(entry.m_sound_id);
        if (sample && sample->is(AS_SOUND_SAMPLE)) {
            entry.m_sample = static_cast<sound_sample*>(sample);
        } else if (get_stored_sound_handler()) {
            log_error("button_character_definition: sound_id %d is not defined\n", entry.m_sound_id);
        }
        if (get_verbose_parse()) {
            log_msg("\n\tsound_id = %d\n", entry.m_sound_id);
        }
        entry.m_info.read(in);
    }
}

character* button_character_definition::create_character_instance(character* parent, int id) {
    return new button_character_instance(get_player(), this, parent, id);
}

bool button_character_definition::has_key_actions() const {
    for (const button_action& action : m_button_actions) {
        if (((action.m_conditions >> 9) & 127) != 0) {
            return true;
        }
    }
    return false;
}

}  // namespace swfplayer
