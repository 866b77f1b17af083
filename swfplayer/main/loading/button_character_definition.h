#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/cxform.h"
#include "swfplayer/main/common/matrix.h"
#include "swfplayer/main/display/character_def.h"
#include "swfplayer/main/loading/sound_sample.h"
#include "swfplayer/main/script/action_buffer.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace swfplayer {

class movie_definition_sub;
class stream;

// One child character of a button and the mouse states it shows in.
struct button_record {
    bool m_has_blend_mode = false;
    bool m_has_filter_list = false;
    bool m_hit_test = false;
    bool m_down = false;
    bool m_over = false;
    bool m_up = false;
    int m_character_id = 0;
    // Found in the dictionary by the first instance built; weak, because a button may name
    // itself or a definition that names it.
    weak_ptr<character_def> m_character_def;
    int m_layer = 0;  // kept; records are drawn in record order
    matrix m_matrix;
    cxform m_color_transform;
    int m_blend_mode = 0;  // kept; not used in drawing

    // Whether the record is drawn in mouse state 0 (up), 1 (down) or 2 (over).
    bool shows_in(int mouse_state) const;
};

// Actions run when a mouse transition or a key press matches the condition word: bits 0..8
// are transitions (button_action::condition_*), bits 9..15 a key code.
struct button_action {
    static constexpr int condition_roll_over = 0x0001;
    static constexpr int condition_roll_out = 0x0002;
    static constexpr int condition_press = 0x0004;
    static constexpr int condition_release = 0x0008;
    static constexpr int condition_drag_out = 0x0010;
    static constexpr int condition_drag_over = 0x0020;
    static constexpr int condition_release_outside = 0x0040;

    // The key code of a key-press condition, as the script's Key object names keys; 0 when the
    // action answers no key.
    int get_key_code() const;

    int m_conditions = 0;
    std::vector<std::unique_ptr<action_buffer>> m_buffers;
};

// A SOUNDINFO record: how a sound starts or stops.
struct sound_info {
    struct envelope_point {
        uint32_t position;  // in samples at 44 kHz
        uint16_t left_level;
        uint16_t right_level;
    };

    void read(stream* in);

    bool m_stop = false;
    bool m_no_multiple = false;
    bool m_has_envelope = false;
    bool m_has_loops = false;
    bool m_has_out_point = false;
    bool m_has_in_point = false;
    uint32_t m_in_point = 0;
    uint32_t m_out_point = 0;
    uint16_t m_loop_count = 0;
    std::vector<envelope_point> m_envelope;
};

// The sound of one button transition; a sound id of 0 means none.
struct button_sound {
    uint16_t m_sound_id = 0;
    smart_ptr<sound_sample> m_sample;
    sound_info m_info;
};

// The four transition sounds of a button, by index.
struct button_sound_block {
    static constexpr int roll_out = 0;
    static constexpr int roll_over = 1;
    static constexpr int press = 2;
    static constexpr int release = 3;

    button_sound m_button_sounds[4];
};

// What DefineButton (7), DefineButton2 (34) and DefineButtonSound (17) say about a button: its
// child records per mouse state, its actions and its transition sounds.
class button_character_definition : public character_def {
public:
    explicit button_character_definition(player* owner) : character_def(owner) {}

    bool is(int class_id) const override { return class_id == AS_BUTTON_DEF || character_def::is(class_id); }

    // Reads the tag body behind the character id. Broken parts are logged and dropped: an action
    // offset beyond the tag gives no actions, an action whose size runs past the tag is the last
    // one read, a filter list that cannot be read ends the record list, and a second
    // DefineButtonSound is ignored.
    void read(stream* in, int tag_type, movie_definition_sub* m);
    character* create_character_instance(character* parent, int id) override;

    // Whether some action answers a key press.
    bool has_key_actions() const;

    bool m_menu = false;  // track as menu
    std::vector<button_record> m_button_records;
    std::vector<button_action> m_button_actions;
    // Null until a DefineButtonSound.
    std::unique_ptr<button_sound_block> m_sound;

private:
    void read_records(stream* in, int tag_type);
    void read_button2_actions(stream* in, int first_action);
    void read_sounds(stream* in, movie_definition_sub* m);
    // One action with its condition word; the buffer reads at most max_bytes.
    void add_action(stream* in, int conditions, int max_bytes);
};

}  // namespace swfplayer
