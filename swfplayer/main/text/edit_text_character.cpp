#include "swfplayer/main/text/edit_text_character.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/finite_float.h"
#include "swfplayer/main/common/point.h"
#include "swfplayer/main/common/twips.h"
#include "swfplayer/main/render/render_handler.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/movie_root.h"
#include "swfplayer/main/script/standard_member.h"
#include "swfplayer/main/text/display_glyph_records.h"

#include <cmath>
#include <cstdint>

namespace swfplayer {

namespace {

enum key_code {
    key_backspace = 8,
    key_page_down = 33,
    key_page_up = 34,
    key_end = 35,
    key_home = 36,
    key_left = 37,
    key_up = 38,
    key_right = 39,
    key_down = 40,
    key_delete = 46
};

// A twips coordinate as the renderer's 16-bit vertex type, saturated.
int16_t to_coord(float twips) {
    if (!(twips > INT16_MIN)) {
        return twips < 0.0f ? INT16_MIN : 0;
    }
    return twips < INT16_MAX ? static_cast<int16_t>(twips) : INT16_MAX;
}

// A script colour number as an opaque colour.
rgba color_from_number(const as_value& value) {
    const int n = value.to_int();
    return rgba(static_cast<uint8_t>(n >> 16 & 255), static_cast<uint8_t>(n >> 8 & 255), static_cast<uint8_t>(n & 255),
                255);
}

int color_to_number(const rgba& c) {
    return c.r * 65536 + c.g * 256 + c.b;
}

// setTextFormat(format): one TextFormat argument, else nothing happens.
void set_text_format_method(const fn_call& fn) {
    if (fn.this_ptr == nullptr || !fn.this_ptr->is(AS_EDIT_TEXT) || fn.nargs != 1) {
        return;
    }
    as_object* format = fn.arg(0).to_object();
    if (format && format->is(AS_TEXTFORMAT)) {
        static_cast<edit_text_character*>(fn.this_ptr)->set_text_format(format);
    }
}

}  // namespace

edit_text_character::edit_text_character(player* owner, edit_text_character_def* def, character* parent, int id)
    : character(owner, parent, id),
      m_def(def),
      m_color(def->m_color),
      m_text_height(def->m_text_height),
      m_font(def->m_font),
      m_alignment(def->m_alignment),
      m_left_margin(def->m_left_margin),
      m_right_margin(def->m_right_margin),
      m_indent(def->m_indent),
      m_leading(def->m_leading) {
    builtin_member("setTextFormat", as_value(owner, set_text_format_method));
    set_text(def->m_default_text);
    // A variable that already holds a value replaces the default text; either way the variable
    // ends up holding the field's text.
    set_text_value(base_string(to_string()));
    m_text_bounding_box = rect(0.0f, 0.0f, 0.0f, 0.0f);
}

edit_text_character::~edit_text_character() = default;

as_object* edit_text_character::find_variable_target(base_string* variable) {
    if (m_def->m_variable_name.size() == 0) {
        return nullptr;
    }
    as_object* target = get_parent();
    base_string path;
    *variable = m_def->m_variable_name;
    if (as_environment::split_path(m_def->m_variable_name, &path, variable) && path.size() > 0 && target) {
        target = target->find_target(as_value(path));
    }
    return target;
}

void edit_text_character::set_text(const base_string& new_text) {
    base_string text = new_text;
    if (m_def->m_max_length > 0 && text.utf8_length() > m_def->m_max_length) {
        text = text.utf8_substring(0, m_def->m_max_length);
    }
    if (text == m_text) {
        return;
    }
    m_text = text;
    format_text();
}

void edit_text_character::set_text_value(const base_string& new_text) {
    set_text(new_text);
    base_string variable;
    if (as_object* target = find_variable_target(&variable)) {
        target->set_member(base_stringi(variable.c_str()), as_value(new_text.c_str()));
    }
}

const char* edit_text_character::to_string() {
    // Fields whose variables hold each other would read each other back without end.
    if (m_reading_variable) {
        return m_text.c_str();
    }
    m_reading_variable = true;
    base_string variable;
    if (as_object* target = find_variable_target(&variable)) {
        as_value value;
        if (target->get_member(base_stringi(variable.c_str()), &value) && value.to_object() != this) {
            const base_string& text = value.to_base_string();
            if (text != m_text) {
                set_text(text);
            }
        }
    }
    m_reading_variable = false;
    return m_text.c_str();
}

void edit_text_character::advance(float /*delta_time*/) {
    to_string();
}

bool edit_text_character::get_member(const base_stringi& name, as_value* value) {
    switch (get_standard_member(name)) {
    case M_TEXT: value->set_base_string(m_text); return true;
    case M_TEXTWIDTH:
        value->set_double((m_text_bounding_box.x_max - m_text_bounding_box.x_min) / twips_per_pixel);
        return true;
    case M_TEXTCOLOR: value->set_int(color_to_number(m_color)); return true;
    case M_BORDER: value->set_bool(m_def->m_border); return true;
    case M_MULTILINE: value->set_bool(m_def->m_multiline); return true;
    case M_WORDWRAP: value->set_bool(m_def->m_word_wrap); return true;
    case M_TYPE: value->set_string(m_def->m_readonly ? "dynamic" : "input"); return true;
    case M_BACKGROUNDCOLOR: value->set_int(color_to_number(m_background_color)); return true;
    default: return character::get_member(name, value);
    }
}

bool edit_text_character::set_member(const base_stringi& name, const as_value& value) {
    switch (get_standard_member(name)) {
    case M_TEXT: set_text_value(value.to_base_string()); return true;
    case M_TEXTWIDTH: return true;
    case M_TEXTCOLOR: m_color = color_from_number(value); break;
    case M_BORDER: m_def->m_border = value.to_bool(); break;
    case M_MULTILINE: m_def->m_multiline = value.to_bool(); break;
    case M_WORDWRAP: m_def->m_word_wrap = value.to_bool(); break;
    case M_TYPE:
        if (base_string::stricmp(value.to_string(), "input") == 0) {
            m_def->m_readonly = false;
        } else if (base_string::stricmp(value.to_string(), "dynamic") == 0) {
            m_def->m_readonly = true;
        }
        return true;
    case M_BACKGROUNDCOLOR: m_background_color = color_from_number(value); break;
    default: return character::set_member(name, value);
    }
    format_text();
    return true;
}

void edit_text_character::set_text_format(as_object* format) {
    as_value value;
    const struct {
        const char* name;
        float* field;
    } lengths[] = {{"leftMargin", &m_left_margin},
                   {"indent", &m_indent},
                   {"rightMargin", &m_right_margin},
                   {"leading", &m_leading},
                   {"size", &m_text_height}};
    for (const auto& length : lengths) {
        if (format->get_member(length.name, &value)) {
            *length.field = finite_or_zero(value.to_number() * twips_per_pixel);
        }
    }
    if (format->get_member("color", &value)) {
        m_color = color_from_number(value);
    }
    if (format->get_member("align", &value)) {
        const base_string& align = value.to_base_string();
        if (align == "left") {
            m_alignment = edit_text_character_def::ALIGN_LEFT;
        } else if (align == "center") {
            m_alignment = edit_text_character_def::ALIGN_CENTER;
        } else if (align == "right") {
            m_alignment = edit_text_character_def::ALIGN_RIGHT;
        } else if (align == "justify") {
            m_alignment = edit_text_character_def::ALIGN_JUSTIFY;
        }
    }

    base_string name = m_font ? m_font->get_name() : base_string("Times New Roman");
    bool bold = m_font && m_font->is_bold();
    bool italic = m_font && m_font->is_italic();
    if (format->get_member("font", &value)) {
        name = value.to_base_string();
    }
    if (format->get_member("bold", &value)) {
        bold = value.to_bool();
    }
    if (format->get_member("italic", &value)) {
        italic = value.to_bool();
    }
    if (!m_font || name != m_font->get_name() || bold != m_font->is_bold() || italic != m_font->is_italic()) {
        character_def* exported = find_exported_resource(name);
        if (exported && exported->is(AS_FONT)) {
            // The movie's font is shared with every text drawn in it: use it as it is.
            m_font = static_cast<font*>(exported);
        } else {
            m_font = new font(get_player());
            m_font->set_name(name);
            m_font->set_bold(bold);
            m_font->set_italic(italic);
        }
    }
    format_text();
}

void edit_text_character::call_focus_handler(const char* name) {
    as_value handler;
    if (!get_member(name, &handler)) {
        return;
    }
    smart_ptr<as_object> hold(get_ref_count() > 0 ? this : nullptr);
    as_environment env(get_player());
    env.push(as_value());
    swfplayer::call_method(handler, &env, as_value(this), 1, env.get_top_index());
}

void edit_text_character::set_focus() {
    // Asked again while its onSetFocus runs, once that handler has moved the focus on, the field
    // lets the move stand: it hears set-focus once for each focus it takes, and fields whose
    // onSetFocus focus each other come to an end.
    if (m_has_focus || m_taking_focus || has_left_stage()) {
        return;
    }
    // The root sends the kill-focus event here when the focus moves on, and key presses arrive
    // through its key listeners.
    smart_ptr<movie_root> root = get_root();
    if (root && get_ref_count() > 0) {
        root->set_current_focus(this);
        // The kill-focus handlers that the change ran may have moved the focus on, taken this
        // field off the stage, or given this field the focus already.
        if (root->get_current_focus() != this || m_has_focus) {
            return;
        }
    }
    // The field holds the focus before its onSetFocus runs, so that whatever the handler does
    // (moving the focus on, taking the field off the stage) takes it from a holder, which hears
    // kill-focus.
    if (root) {
        root->get_keypress_listener().add(this);
    }
    m_has_focus = true;
    m_cursor = m_text.utf8_length();
    format_text();
    m_taking_focus = true;
    call_focus_handler("onSetFocus");
    m_taking_focus = false;
}

void edit_text_character::kill_focus() {
    // A field hears kill-focus once for each loss, by whatever way its handler's focus changes
    // and the stage send it again.
    if (!m_has_focus || m_losing_focus) {
        return;
    }
    m_losing_focus = true;
    call_focus_handler("onKillFocus");
    m_losing_focus = false;
    m_has_focus = false;
    if (movie_root* root = get_root()) {
        root->get_keypress_listener().remove(this);
    }
    format_text();
}

void edit_text_character::on_key_press(int key_code) {
    const int length = m_text.utf8_length();
    if (m_cursor > length) {
        m_cursor = length;
    }
    switch (key_code) {
    case key_backspace:
        if (m_cursor > 0) {
            base_string text = m_text.utf8_substring(0, m_cursor - 1);
            text += m_text.utf8_substring(m_cursor, length);
            m_cursor--;
            set_text_value(text);
        }
        break;
    case key_delete:
        if (m_cursor < length) {
            base_string text = m_text.utf8_substring(0, m_cursor);
            text += m_text.utf8_substring(m_cursor + 1, length);
            set_text_value(text);
        }
        break;
    case key_left:
        m_cursor = m_cursor > 0 ? m_cursor - 1 : 0;
        format_text();
        break;
    case key_right:
        m_cursor = m_cursor < length ? m_cursor + 1 : length;
        format_text();
        break;
    case key_page_down:
    case key_end:
    case key_down:
        m_cursor = length;
        format_text();
        break;
    case key_page_up:
    case key_home:
    case key_up:
        m_cursor = 0;
        format_text();
        break;
    default: {
        if (key_code <= 0) {
            break;
        }
        base_string text = m_text.utf8_substring(0, m_cursor);
        text.append_wide_char(static_cast<uint32_t>(key_code));
        text += m_text.utf8_substring(m_cursor, length);
        m_cursor++;
        set_text_value(text);
        break;
    }
    }
}

bool edit_text_character::on_event(const event_id& id) {
    switch (id.m_id) {
    case event_id::SETFOCUS:
        if (m_def->m_readonly) {
            return false;
        }
        set_focus();
        return true;
    case event_id::KILLFOCUS: kill_focus(); return true;
    case event_id::KEY_PRESS:
        if (!m_def->m_readonly) {
            on_key_press(id.m_key_code);
        }
        return false;
    default: return false;
    }
}

character* edit_text_character::get_topmost_mouse_entity(float x, float y) {
    if (!get_visible()) {
        return nullptr;
    }
    point local;
    get_matrix().transform_by_inverse(&local, point(x, y));
    return m_def->m_rect.point_test(local.x, local.y) ? this : nullptr;
}

void edit_text_character::display() {
    const rect& bounds = m_def->m_rect;
    if (m_def->m_border) {
        render::set_matrix(get_world_matrix());
        render::fill_style_color(0, m_background_color);
        const int16_t x0 = to_coord(bounds.x_min);
        const int16_t x1 = to_coord(bounds.x_max);
        const int16_t y0 = to_coord(bounds.y_min);
        const int16_t y1 = to_coord(bounds.y_max);
        const int16_t box[8] = {x0, y0, x1, y0, x0, y1, x1, y1};
        render::draw_mesh_strip(box, 4);
        render::line_style_color(rgba(0, 0, 0, 255));
        render::line_style_width(0.0f);
        const int16_t outline[10] = {x0, y0, x1, y0, x1, y1, x0, y1, x0, y0};
        render::draw_line_strip(outline, 5);
    }
    display_glyph_records(matrix(), this, m_text_glyph_records, m_def->m_root_def);
    if (m_has_focus) {
        render::set_matrix(get_world_matrix());
        render::line_style_color(rgba(255, 0, 0, 255));
        render::line_style_width(40.0f);
        const int16_t cursor[4] = {to_coord(m_xcursor), to_coord(m_ycursor), to_coord(m_xcursor),
                                   to_coord(m_ycursor + m_text_height)};
        render::draw_line_strip(cursor, 2);
    }
    do_display_callback();
}

}  // namespace swfplayer
