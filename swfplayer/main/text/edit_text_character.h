#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/common/rgba.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/text/edit_text_character_def.h"
#include "swfplayer/main/text/text_glyph_record.h"

namespace swfplayer {

// A text field on a display list. It lays its UTF-8 text out into glyph records (line breaks,
// wrapping at the field's width, alignment, margins, kerning; anything between '<' and '>' is
// hidden) and draws them with an optional border and background and, while focused, a cursor.
// Lines that start more than 32,767 twips below the field are not laid out, nor more than 65,536
// glyphs: what lies further never shows on a stage, and a huge text must not cost memory per
// character.
// A field bound to a variable writes it when its text is set and reads it back every frame.
// Lengths, the cursor and editing count UTF-8 characters.
class edit_text_character : public character {
public:
    edit_text_character(player* owner, edit_text_character_def* def, character* parent, int id);
    ~edit_text_character() override;

    bool is(int class_id) const override { return class_id == AS_EDIT_TEXT || character::is(class_id); }
    // The text, after reading the bound variable back.
    const char* to_string() override;
    // The field keys ("text", "textWidth", "textColor", "border", "multiline", "wordWrap",
    // "type", "backgroundColor") are answered by the field; other names go to the character.
    bool set_member(const base_stringi& name, const as_value& value) override;
    bool get_member(const base_stringi& name, as_value* value) override;
    // Focus and key presses; a read-only field takes neither the focus nor the keys, but one made
    // read-only while it holds the focus still loses it.
    bool on_event(const event_id& id) override;
    // The per-frame refresh from the bound variable.
    void advance(float delta_time) override;
    character* get_topmost_mouse_entity(float x, float y) override;
    void display() override;
    bool can_handle_mouse_event() override { return !m_def->m_readonly; }
    character_def* get_character_def() override { return m_def.get_ptr(); }

    // Sets the text, then writes it to the bound variable.
    void set_text_value(const base_string& new_text);
    // Replaces the text (cut to the maximum length) and lays it out when it differs.
    void set_text(const base_string& new_text);
    // Applies the members of a TextFormat object.
    void set_text_format(as_object* format);

    const base_string& get_text() const { return m_text; }
    const array<text_glyph_record>& get_records() const { return m_text_glyph_records; }
    // The extent of the laid-out text, twips.
    const rect& get_text_bounding_box() const { return m_text_bounding_box; }
    bool has_focus() const { return m_has_focus; }
    // The cursor as a character index, and where it is drawn (twips).
    int get_cursor() const { return m_cursor; }
    float get_cursor_x() const { return m_xcursor; }
    float get_cursor_y() const { return m_ycursor; }

private:
    // Builds the glyph records from the text.
    void format_text();
    // Shifts the records of a line (from first_record on) for the alignment; line_end_x is where
    // the line's last glyph ends.
    void align_line(int first_record, float line_end_x);
    // The object and member name the variable name designates; null when unbound or not found.
    as_object* find_variable_target(base_string* variable);
    // Takes the focus: the root names this field (when it is counted) and the field takes the
    // keys, then its onSetFocus runs, so that a handler which moves the focus on or takes the
    // field off the stage sends it kill-focus. Asked again while its onSetFocus runs, once that
    // handler has moved the focus on, the field lets the move stand.
    void set_focus();
    // Gives the focus up after onKillFocus, which runs once for each loss.
    void kill_focus();
    void on_key_press(int key_code);
    // Calls the handler member name, when there is one, with this field as "this".
    void call_focus_handler(const char* name);

    smart_ptr<edit_text_character_def> m_def;
    array<text_glyph_record> m_text_glyph_records;
    rect m_text_bounding_box;
    base_string m_text;
    bool m_has_focus = false;
    bool m_taking_focus = false;  // onSetFocus is running
    bool m_losing_focus = false;  // onKillFocus is running
    int m_cursor = 0;
    float m_xcursor = 0.0f;
    float m_ycursor = 0.0f;
    int m_cursor_line = 0;            // the first record of the cursor's line in the last layout
    bool m_reading_variable = false;  // to_string is under way
    bool m_layout_capped = false;     // the glyph cap of the layout was reported
    rgba m_color;
    float m_text_height;
    smart_ptr<font> m_font;
    int m_alignment;
    float m_left_margin;
    float m_right_margin;
    float m_indent;
    float m_leading;
    rgba m_background_color{255, 255, 255, 255};
};

}  // namespace swfplayer
