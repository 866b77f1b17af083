// The keyboard focus of a playing movie: Selection.setFocus and the mouse give it to an edit
// field, the host's keys then edit that field, and the field that loses it hears kill-focus.
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/script/fn_call.h"
#include "tests/swfplayer/main/text/TextFixture.h"
#include "tools/swfkit/ActionAssembler.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace text_test {
namespace {

constexpr uint16_t kFieldId = 7;

// Each call of a field's onKillFocus adds the field's name to g_killed and the name of the root's
// focus holder at that moment to g_holders; when g_focus_next is set, the handler then gives the
// focus to the field of that name.
std::vector<std::string> g_killed;
std::vector<std::string> g_holders;
root* g_root = nullptr;
const char* g_focus_next = nullptr;
void record_kill(const fn_call& fn) {
    as_value name;
    fn.this_ptr->get_member("_name", &name);
    g_killed.push_back(name.to_string());
    as_object* holder = g_root->get_current_focus();
    g_holders.push_back(holder && holder->get_member("_name", &name) ? name.to_string() : "nobody");
    if (g_focus_next) {
        g_root->call_method("focus", "%s", g_focus_next);
    }
}

class FocusTest : public TextFixture {
protected:
    // Two input fields, "first" at the top and "second" 100 pixels below it, and focus(name),
    // which hands Selection.setFocus's answer back. The movie plays its first frame.
    void SetUp() override {
        TextFixture::SetUp();
        m_movie = LoadWithFont([](swfkit::TagList& tags) {
            swfkit::EditText field;
            field.id = kFieldId;
            field.bounds = {0, 4000, 0, 600};
            field.fontId = kFontId;
            field.height = 400;
            tags.Tag(tag_define_edit_text, DefineEditTextBody(field));
            for (uint16_t depth : {1, 2}) {
                swfkit::Placement p;
                p.depth = depth;
                p.characterId = kFieldId;
                p.name = depth == 1 ? "first" : "second";
                p.matrix = swfkit::Matrix{1, 1, 0, 0, 0, (depth - 1) * 2000};
                tags.PlaceObject2(p);
            }
            tags.DoAction(
                swfkit::assemble("fn:focus(name) { 'name' get_var 1 'Selection' get_var 'setFocus' call_method "
                                 "return }")
                    .bytes());
        });
        ASSERT_TRUE(m_movie);
        m_playing = create_instance(m_movie.get_ptr());
        m_playing->advance(0.0f);
        g_root = m_playing.get_ptr();
        g_focus_next = nullptr;
        g_killed.clear();
        g_holders.clear();
        for (const char* name : {"first", "second"}) {
            Field(name)->set_member("onKillFocus", as_value(record_kill));
        }
    }
    void TearDown() override {
        m_playing = nullptr;
        TextFixture::TearDown();
    }
    edit_text_character* Field(const char* name) {
        as_value value;
        m_playing->get_root_sprite()->get_member(name, &value);
        character* ch = cast_to_character(value.to_object());
        return ch && ch->is(AS_EDIT_TEXT) ? static_cast<edit_text_character*>(ch) : nullptr;
    }
    void Type(const std::string& keys) {
        for (char key : keys) {
            m_player->notify_key_event(key, true);
            m_player->notify_key_event(key, false);
        }
    }
    std::string Text(const char* name) { return Field(name)->get_text().c_str(); }

    smart_ptr<root> m_playing;
};

TEST_F(FocusTest, set_focus_and_the_mouse_give_a_field_the_keys_and_the_field_left_hears_kill_focus) {
    ASSERT_TRUE(Field("first") && Field("second"));
    EXPECT_STREQ(m_playing->call_method("focus", "%s", "first"), "true");
    EXPECT_EQ(m_playing->get_current_focus(), Field("first"));
    Type("hi");
    // Focus on a name that is no character changes nothing.
    EXPECT_STREQ(m_playing->call_method("focus", "%s", "nobody"), "false");
    EXPECT_TRUE(g_killed.empty());
    // The second field takes the focus; the first hears kill-focus once and no longer edits.
    EXPECT_STREQ(m_playing->call_method("focus", "%s", "second"), "true");
    m_playing->call_method("focus", "%s", "second");
    EXPECT_EQ(g_killed, std::vector<std::string>{"first"});
    EXPECT_FALSE(Field("first")->has_focus());
    Type("ok");
    m_player->notify_key_event(8, true);  // backspace
    EXPECT_EQ(std::make_pair(Text("first"), Text("second")), std::make_pair(std::string("hi"), std::string("o")));
    // A press on the first field, at the top, takes the focus back there.
    m_playing->notify_mouse_state(10, 10, 0);
    m_playing->advance(0.0f);
    m_playing->notify_mouse_state(10, 10, 1);
    m_playing->advance(0.0f);
    EXPECT_EQ(g_killed, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(m_playing->get_current_focus(), Field("first"));
    Type("x");
    EXPECT_EQ(std::make_pair(Text("first"), Text("second")), std::make_pair(std::string("hix"), std::string("o")));
}

// The field left hears kill-focus while it still holds the focus, so its onKillFocus sees itself
// as the focus; the focus then moves on.
TEST_F(FocusTest, the_field_left_still_holds_the_focus_while_it_hears_kill_focus) {
    m_playing->call_method("focus", "%s", "first");
    m_playing->call_method("focus", "%s", "second");
    EXPECT_EQ(g_holders, std::vector<std::string>{"first"});
    EXPECT_EQ(m_playing->get_current_focus(), Field("second"));
    m_playing->set_current_focus(nullptr);
    EXPECT_EQ(g_holders, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(m_playing->get_current_focus(), nullptr);
}

// A field whose onKillFocus hands the focus on hears kill-focus once: the focus change its handler
// makes sends it no second one.
TEST_F(FocusTest, a_focus_change_made_in_on_kill_focus_sends_no_second_kill_focus) {
    m_playing->call_method("focus", "%s", "second");
    g_focus_next = "first";
    m_playing->set_current_focus(nullptr);
    EXPECT_EQ(g_killed, std::vector<std::string>{"second"});
    EXPECT_FALSE(Field("second")->has_focus());
}

}  // namespace
}  // namespace text_test
