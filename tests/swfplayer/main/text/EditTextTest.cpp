#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/swfplayer_as_classes/as_textformat.h"
#include "swfplayer/main/text/as_global_textfield_ctor.h"
#include "tests/swfplayer/main/script/ScriptTestKit.h"
#include "tests/swfplayer/main/text/TextFixture.h"

#include <gtest/gtest.h>

namespace text_test {
namespace {

constexpr float kHeight = 400.0f;
constexpr uint16_t kFieldId = 7;
using Texts = std::vector<std::string>;

swfkit::EditText Field(int32_t width, uint8_t align = 0) {
    swfkit::EditText field;
    field.id = kFieldId;
    field.bounds = {0, width, 0, 2000};
    field.fontId = kFontId;
    field.height = static_cast<uint16_t>(kHeight);
    field.color = swfkit::Color{0, 0, 255, 255};
    field.layout = swfkit::EditText::Layout{align, 0, 0, 0, 0};
    return field;
}

class EditTextTest : public TextFixture {
protected:
    // The free space a line of text leaves in a field of the width (which keeps 80 twips of gutter).
    static float FreeSpace(int32_t width, const std::string& line, float height = kHeight) {
        return static_cast<float>(width) - Width(line, height) - 80.0f;
    }
    std::string Member(as_object* object, const char* name) {
        as_value value;
        EXPECT_TRUE(object->get_member(name, &value)) << name;
        return value.to_string();
    }
};

TEST_F(EditTextTest, text_breaks_at_the_last_space_or_the_limit_and_aligns_each_line_by_its_free_space) {
    const int32_t breakWidth = static_cast<int32_t>(Width("aaaa bbbb", kHeight)) + 80 - 1;
    const std::string word = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJ";
    const float shares[] = {0.0f, 1.0f, 0.5f, 0.0f};  // of the free space, by alignment
    struct Case {
        std::string text;
        int32_t width;
        Texts lines;  // none: a long word, broken before the glyph that reaches width - 80
        uint8_t align = 0;
    };
    for (const Case& c :
         {Case{"aaaa bbbb cc", breakWidth, {"aaaa", "bbbb cc"}}, Case{"a<b>c", 4000, {"ac"}},
          Case{"ab<i>cd</i>e", 4000, {"abcde"}}, Case{"a<bc", 4000, {"a"}}, Case{"ab\ncd", 4000, {"ab", "cd"}},
          Case{"ab\r\ncd", 4000, {"ab", "", "cd"}}, Case{word, 900, {}}, Case{word, 2000, {}}, Case{word, 3100, {}},
          Case{"ab\rcdef", 6000, {"ab", "cdef"}, 0}, Case{"ab\rcdef", 6000, {"ab", "cdef"}, 1},
          Case{"ab\rcdef", 6000, {"ab", "cdef"}, 2}, Case{"ab\rcdef", 6000, {"ab", "cdef"}, 3}}) {
        SCOPED_TRACE(c.text + " in " + std::to_string(c.width) + " aligned " + std::to_string(c.align));
        smart_ptr<edit_text_character> field = MakeField(Field(c.width, c.align));
        ASSERT_TRUE(field);
        field->set_text_value(c.text.c_str());
        const Texts lines = Lines(*field);
        if (!c.lines.empty()) {
            EXPECT_EQ(lines, c.lines);
        } else {
            ASSERT_GT(lines.size(), 1u);
            std::string joined;
            for (size_t i = 0; i < lines.size(); i++) {
                joined += lines[i];
                EXPECT_TRUE(i + 1 == lines.size() || (FreeSpace(c.width, lines[i]) > 0.0f &&
                                                      FreeSpace(c.width, lines[i] + lines[i + 1][0]) <= 0.0f))
                    << lines[i];
            }
            EXPECT_EQ(joined, c.text);
        }
        // Each line starts on its own baseline, one line height below the one before, shifted by
        // its share of the free space.
        const auto& records = field->get_records();
        ASSERT_EQ(records.size(), lines.size());
        for (int i = 0; i < records.size(); i++) {
            EXPECT_NEAR(records[i].m_style.m_x_offset, FreeSpace(c.width, lines[i]) * shares[c.align], 0.01f);
            if (i > 0) {
                EXPECT_FLOAT_EQ(records[i].m_style.m_y_offset - records[i - 1].m_style.m_y_offset,
                                kHeight + KitFont().leading * kHeight / 1024.0f);
            }
        }
        // The cursor (after focus, at the end) moves with its own line only.
        field->on_event(event_id(event_id::SETFOCUS));
        EXPECT_NEAR(field->get_cursor_x(),
                    Width(lines.back(), kHeight) + FreeSpace(c.width, lines.back()) * shares[c.align], 0.01f);
    }
}

TEST_F(EditTextTest, max_length_cuts_the_text_and_the_variable_keeps_what_was_set) {
    swfkit::EditText record = Field(4000);
    record.maxLength = 5;
    record.variable = "score";
    record.text = "12";
    smart_ptr<edit_text_character> field = MakeField(record);
    ASSERT_TRUE(field);
    EXPECT_EQ(Member(m_sprite.get_ptr(), "score"), "12");  // the default text is written to the variable

    field->set_text_value("abcdefgh");
    EXPECT_STREQ(field->get_text().c_str(), "abcde");
    EXPECT_EQ(Member(m_sprite.get_ptr(), "score"), "abcdefgh");
    field->advance(0.0f);
    EXPECT_STREQ(field->get_text().c_str(), "abcde");
    EXPECT_EQ(Lines(*field), Texts{"abcde"});

    // The variable is read back every frame; characters count, not bytes.
    m_sprite->set_member("score", as_value("\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9"));
    field->advance(0.0f);
    EXPECT_STREQ(field->get_text().c_str(), "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9");

    // Through the member key, as the game sets texts.
    field->set_member("text", as_value("xy"));
    EXPECT_EQ(Member(m_sprite.get_ptr(), "score"), "xy");
    EXPECT_EQ(Member(field.get_ptr(), "text"), "xy");
}

TEST_F(EditTextTest, fields_whose_variables_hold_each_other_read_back_once) {
    swfkit::EditText first = Field(4000), second = Field(4000);
    first.variable = "v";
    second.id = kFieldId + 1;
    second.variable = "w";
    m_movie = LoadWithFont([&](swfkit::TagList& tags) {
        tags.Tag(tag_define_edit_text, DefineEditTextBody(first));
        tags.Tag(tag_define_edit_text, DefineEditTextBody(second));
    });
    ASSERT_TRUE(m_movie);
    m_sprite = make_root_sprite(m_movie.get_ptr());
    smart_ptr<character> a = m_movie->get_character_def(first.id)->create_character_instance(m_sprite.get_ptr(), 1);
    smart_ptr<character> b = m_movie->get_character_def(second.id)->create_character_instance(m_sprite.get_ptr(), 2);
    m_sprite->set_member("v", as_value(b.get_ptr()));
    m_sprite->set_member("w", as_value(a.get_ptr()));
    a->advance(0.0f);
    b->advance(0.0f);
    EXPECT_STREQ(a->to_string(), b->to_string());
}

TEST_F(EditTextTest, odd_records_keep_the_field_its_own_text) {
    // A variable whose path names nothing, a font class name (read past), a font that is not there.
    const std::tuple<uint16_t, std::optional<std::string>, const char*, Texts, const char*> cases[] = {
        {kFontId, std::nullopt, "nowhere.v", {"own"}, ""},
        {kFontId, "ChildFont", "v", {"own"}, ""},
        {99, std::nullopt, "v", {}, "undefined font; font_id = 99"}};
    for (const auto& [fontId, fontClass, variable, lines, logged] : cases) {
        SCOPED_TRACE(fontId);
        swfkit::EditText record = Field(4000);
        record.fontId = fontId;
        record.fontClass = fontClass;
        record.variable = variable;
        record.text = "hi";
        smart_ptr<edit_text_character> field = MakeField(record);
        ASSERT_TRUE(field);
        EXPECT_STREQ(field->get_text().c_str(), "hi");
        field->set_text_value("own");
        field->advance(0.0f);
        field->display();
        EXPECT_STREQ(field->get_text().c_str(), "own");
        EXPECT_EQ(Lines(*field), lines);
        EXPECT_TRUE(!*logged || Logged(logged));
        EXPECT_TRUE(std::string(variable) != "v" || Member(m_sprite.get_ptr(), "v") == "own");
    }
}

// Focus handlers record the text of their "this" and how many arguments they got.
std::vector<std::string> g_focus_calls;
void record_focus(const fn_call& fn) {
    g_focus_calls.push_back(std::string(fn.this_ptr->to_string()) + "/" + std::to_string(fn.nargs));
}

TEST_F(EditTextTest, focus_calls_the_handlers_once_and_keys_edit_whole_utf8_characters_at_both_ends) {
    smart_ptr<edit_text_character> field = MakeField(Field(8000));
    ASSERT_TRUE(field);
    const std::string e = "\xc3\xa9", euro = "\xe2\x82\xac";
    field->set_text_value((e + euro + "a").c_str());
    g_focus_calls.clear();
    field->set_member("onSetFocus", as_value(m_player.get_ptr(), record_focus));
    field->set_member("onKillFocus", as_value(m_player.get_ptr(), record_focus));
    for (int i = 0; i < 2; i++) {
        EXPECT_TRUE(field->on_event(event_id(event_id::SETFOCUS)));
    }
    EXPECT_TRUE(field->has_focus());
    EXPECT_EQ(m_root->get_keypress_listener().size(), 1);
    EXPECT_EQ(field->get_cursor(), 3);
    struct Step {
        int key;
        std::string text;
        int cursor;
    };
    const Step steps[] = {{8, e + euro, 2},          {39, e + euro, 2},      {36, e + euro, 0},
                          {8, e + euro, 0},          {46, euro, 0},          {'x', "x" + euro, 1},
                          {35, "x" + euro, 2},       {46, "x" + euro, 2},    {'y', "x" + euro + "y", 3},
                          {37, "x" + euro + "y", 2}, {8, "xy", 1},           {0xE9, "x" + e + "y", 2},
                          {38, "x" + e + "y", 0},    {37, "x" + e + "y", 0}, {40, "x" + e + "y", 3}};
    for (const Step& s : steps) {
        field->on_event(event_id(event_id::KEY_PRESS, static_cast<uint8_t>(s.key)));
        EXPECT_EQ(field->get_text().c_str(), s.text) << "key " << s.key;
        EXPECT_EQ(field->get_cursor(), s.cursor) << "key " << s.key;
    }
    for (int i = 0; i < 2; i++) {
        EXPECT_TRUE(field->on_event(event_id(event_id::KILLFOCUS)));
    }
    EXPECT_FALSE(field->has_focus());
    EXPECT_EQ(m_root->get_keypress_listener().size(), 0);
    EXPECT_EQ(g_focus_calls, (Texts{e + euro + "a/1", "x" + e + "y/1"}));
}

TEST_F(EditTextTest, member_keys_read_and_write_the_field) {
    smart_ptr<edit_text_character> field = MakeField(Field(4000));
    ASSERT_TRUE(field);
    EXPECT_EQ(Member(field.get_ptr(), "textWidth"), "0");
    field->set_text_value("abc");
    as_value value;
    ASSERT_TRUE(field->get_member("TEXTWIDTH", &value));
    EXPECT_NEAR(value.to_number(), Width("abc", kHeight) / 20.0, 0.01);

    const std::tuple<const char*, as_value, const char*> keys[] = {
        {"textColor", as_value(0x123456), "1193046"}, {"backgroundColor", as_value(0x654321), "6636321"},
        {"type", as_value("dynamic"), "dynamic"},     {"type", as_value("INPUT"), "input"},
        {"type", as_value("Dynamic"), "dynamic"},     {"type", as_value("input "), "dynamic"},
        {"type", as_value("static"), "dynamic"},      {"border", as_value(true), "true"},
        {"multiline", as_value(true), "true"},        {"wordWrap", as_value(true), "true"}};
    for (const auto& [key, set, expected] : keys) {
        field->set_member(key, set);
        EXPECT_EQ(Member(field.get_ptr(), key), expected) << key;
    }
    EXPECT_EQ(field->get_records()[0].m_style.m_color.r, 0x12);
    // A read-only field takes no events.
    EXPECT_FALSE(field->on_event(event_id(event_id::SETFOCUS)));
    EXPECT_FALSE(field->has_focus());
    m_matrices.calls.clear();
    field->display();
    EXPECT_EQ(m_matrices.with_prefix("draw_mesh_strip 4").size(), 1u);
    EXPECT_EQ(m_matrices.with_prefix("fill_style_color 0 101,67,33,255").size(), 1u);
    EXPECT_EQ(m_matrices.with_prefix("draw_line_strip 5").size(), 1u);
}

TEST_F(EditTextTest, set_text_format_takes_one_text_format_only) {
    smart_ptr<edit_text_character> field = MakeField(Field(6000));
    ASSERT_TRUE(field);
    field->set_text_value("ab");
    smart_ptr<as_object> format = new as_textformat(m_player.get_ptr());
    format->set_member("align", as_value("right"));
    format->set_member("size", as_value(30));
    format->set_member("leftMargin", as_value(2));
    smart_ptr<as_object> plain = new as_object(m_player.get_ptr());
    plain->set_member("align", as_value("center"));

    as_value method;
    ASSERT_TRUE(field->get_member("setTextFormat", &method));
    as_environment env(m_player.get_ptr());
    auto call = [&](const std::vector<as_value>& args) {
        script_test::call(env, method, as_value(field.get_ptr()), args);
    };
    const float before = field->get_records()[0].m_style.m_x_offset;
    call({});
    call({as_value(plain.get_ptr())});
    call({as_value(format.get_ptr()), as_value(format.get_ptr())});
    EXPECT_EQ(field->get_records()[0].m_style.m_x_offset, before);

    call({as_value(format.get_ptr())});
    EXPECT_EQ(field->get_records()[0].m_style.m_text_height, 600.0f);
    EXPECT_NEAR(field->get_records()[0].m_style.m_x_offset, FreeSpace(6000, "ab", 600.0f), 0.01f);
    EXPECT_EQ(Lines(*field), Texts{"ab"});

    // Another font name that the movie does not export gives the field a font without glyphs.
    format->set_member("font", as_value("Nowhere"));
    call({as_value(format.get_ptr())});
    EXPECT_EQ(Lines(*field), Texts{"??"});
    EXPECT_STREQ(field->get_records()[0].m_style.m_font->get_name().c_str(), "Nowhere");
}

// Script-made fields have a default font without glyphs: their text lays out as empty boxes.
TEST_F(EditTextTest, the_script_constructor_makes_a_field_with_a_default_font) {
    as_environment env(m_player.get_ptr());
    as_value result;
    as_global_textfield_ctor(fn_call(&result, as_value(), &env, 0, env.get_top_index()));
    as_object* made = result.to_object();
    ASSERT_TRUE(made && made->is(AS_EDIT_TEXT));
    made->set_member("text", as_value("ab"));
    auto* field = static_cast<edit_text_character*>(made);
    // The field is zero pixels wide: every glyph starts a line of its own.
    EXPECT_EQ(Lines(*field), (Texts{"", "?", "?"}));
    EXPECT_STREQ(field->get_records()[0].m_style.m_font->get_name().c_str(), "Times New Roman");
    EXPECT_TRUE(field->get_character_def()->is(AS_CHARACTER_DEF));
}

}  // namespace
}  // namespace text_test
