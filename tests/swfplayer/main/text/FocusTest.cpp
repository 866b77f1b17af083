// The keyboard focus of a playing movie: Selection.setFocus and the mouse give it to an edit
// field, the host's keys then edit that field, and the field that loses it hears kill-focus.
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/script/fn_call.h"
#include "tests/swfplayer/main/text/TextFixture.h"
#include "tools/swfkit/ActionAssembler.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace text_test {
namespace {

constexpr uint16_t kFieldId = 7;

// Each call of a field's onSetFocus or onKillFocus appends "set NAME" or "kill NAME" to g_events;
// a kill also appends the name of the root's focus holder at that moment to g_holders. The
// handler then gives the focus, in turn, to each field that g_refocus names for its entry.
std::vector<std::string> g_events;
std::vector<std::string> g_holders;
std::map<std::string, std::vector<std::string>> g_refocus;
root* g_root = nullptr;
std::string name_of(as_object* object) {
    as_value name;
    return object && object->get_member("_name", &name) ? name.to_string() : "nobody";
}
void record(const std::string& event, const fn_call& fn) {
    const std::string entry = event + " " + name_of(fn.this_ptr);
    g_events.push_back(entry);
    if (event == "kill") {
        g_holders.push_back(name_of(g_root->get_current_focus()));
    }
    const std::vector<std::string> targets = g_refocus[entry];
    for (const std::string& target : targets) {
        g_root->call_method("focus", "%s", target.c_str());
    }
}
void record_set(const fn_call& fn) {
    record("set", fn);
}
void record_kill(const fn_call& fn) {
    record("kill", fn);
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
        g_events.clear();
        g_holders.clear();
        g_refocus.clear();
        for (const char* name : {"first", "second"}) {
            Field(name)->set_member("onSetFocus", as_value(record_set));
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
    // The names of the fields that heard event ("set" or "kill"), in order.
    static std::vector<std::string> Heard(const std::string& event) {
        std::vector<std::string> names;
        for (const std::string& entry : g_events) {
            if (entry.rfind(event + " ", 0) == 0) {
                names.push_back(entry.substr(event.size() + 1));
            }
        }
        return names;
    }
    bool Listens(edit_text_character* field) {
        listener& keys = m_playing->get_keypress_listener();
        for (int i = 0; i < keys.size(); i++) {
            if (keys[i] == field) {
                return true;
            }
        }
        return false;
    }
    // The root names the field of that name (nobody for null) as the focus holder, and that field
    // alone has its focus flag and listens to the keys.
    void ExpectHolder(const char* name) {
        EXPECT_EQ(name_of(m_playing->get_current_focus()), name ? name : "nobody");
        for (const char* field : {"first", "second"}) {
            const bool holds = name && std::string(name) == field;
            EXPECT_EQ(Field(field)->has_focus(), holds) << field;
            EXPECT_EQ(Listens(Field(field)), holds) << field;
        }
    }
    // A press and release of the left button at (x, y) pixels.
    void Click(int x, int y) {
        for (int buttons : {0, 1, 0}) {
            m_playing->notify_mouse_state(x, y, buttons);
            m_playing->advance(0.0f);
        }
    }

    smart_ptr<root> m_playing;
};

TEST_F(FocusTest, set_focus_and_the_mouse_give_a_field_the_keys_and_the_field_left_hears_kill_focus) {
    ASSERT_TRUE(Field("first") && Field("second"));
    EXPECT_STREQ(m_playing->call_method("focus", "%s", "first"), "true");
    EXPECT_EQ(m_playing->get_current_focus(), Field("first"));
    Type("hi");
    // Focus on a name that is no character changes nothing.
    EXPECT_STREQ(m_playing->call_method("focus", "%s", "nobody"), "false");
    EXPECT_TRUE(Heard("kill").empty());
    // The second field takes the focus; the first hears kill-focus once and no longer edits.
    EXPECT_STREQ(m_playing->call_method("focus", "%s", "second"), "true");
    m_playing->call_method("focus", "%s", "second");
    EXPECT_EQ(Heard("kill"), std::vector<std::string>{"first"});
    EXPECT_FALSE(Field("first")->has_focus());
    Type("ok");
    m_player->notify_key_event(8, true);  // backspace
    EXPECT_EQ(std::make_pair(Text("first"), Text("second")), std::make_pair(std::string("hi"), std::string("o")));
    // A press on the first field, at the top, takes the focus back there.
    m_playing->notify_mouse_state(10, 10, 0);
    m_playing->advance(0.0f);
    m_playing->notify_mouse_state(10, 10, 1);
    m_playing->advance(0.0f);
    EXPECT_EQ(Heard("kill"), (std::vector<std::string>{"first", "second"}));
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

// A field that the old holder's onKillFocus focuses takes the focus while the change under way is
// not over; the change then moves on and that field hears kill-focus in its turn. The old holder
// hears kill-focus once: the focus change its handler makes sends it no second one.
TEST_F(FocusTest, a_field_focused_by_on_kill_focus_loses_the_focus_to_the_change_under_way) {
    m_playing->call_method("focus", "%s", "first");
    Type("z");
    m_playing->call_method("focus", "%s", "second");
    g_events.clear();
    g_refocus["kill second"] = {"first"};
    Click(10, 60);  // on nothing: the focus is cleared
    EXPECT_EQ(g_events, (std::vector<std::string>{"kill second", "set first", "kill first"}));
    ExpectHolder(nullptr);
    g_refocus.clear();
    m_playing->call_method("focus", "%s", "second");
    ExpectHolder("second");
    Type("y");
    EXPECT_EQ(std::make_pair(Text("first"), Text("second")), std::make_pair(std::string("z"), std::string("y")));
    // The same through the host's own call, with the root naming no holder at the end either.
    g_refocus["kill second"] = {"first"};
    m_playing->set_current_focus(nullptr);
    ExpectHolder(nullptr);
}

// While a field hears kill-focus, its handler may focus one field and then another: each field
// that takes the focus meanwhile gives it up when the next move comes, the old holder included.
TEST_F(FocusTest, fields_focused_in_turn_while_another_hears_kill_focus_give_the_focus_up_in_turn) {
    m_playing->call_method("focus", "%s", "second");
    g_events.clear();
    g_refocus["kill second"] = {"first", "second"};
    m_playing->set_current_focus(nullptr);
    EXPECT_EQ(g_events, (std::vector<std::string>{"kill second", "set first", "kill first"}));
    ExpectHolder(nullptr);
}

// The root names the new holder before its onSetFocus runs; a handler that focuses another field
// makes the later move, which stands, and the field it left never takes the focus.
TEST_F(FocusTest, a_focus_change_made_in_on_set_focus_stands_by_selection_and_by_the_mouse) {
    g_refocus["set first"] = {"second"};
    EXPECT_STREQ(m_playing->call_method("focus", "%s", "first"), "true");
    EXPECT_EQ(g_events, (std::vector<std::string>{"set first", "set second"}));
    ExpectHolder("second");
    Type("a");
    EXPECT_EQ(std::make_pair(Text("first"), Text("second")), std::make_pair(std::string(""), std::string("a")));
    // A press on the first field: the second hears kill-focus, then takes the focus back.
    g_events.clear();
    Click(10, 10);
    EXPECT_EQ(g_events, (std::vector<std::string>{"kill second", "set first", "set second"}));
    ExpectHolder("second");
}

// Handlers that always refocus run once for each change: a field whose onSetFocus focuses itself,
// two whose onSetFocus focus each other, and two whose onKillFocus focus each other.
TEST_F(FocusTest, focus_handlers_that_always_refocus_end) {
    g_refocus["set first"] = {"first"};
    m_playing->call_method("focus", "%s", "first");
    EXPECT_EQ(g_events, std::vector<std::string>{"set first"});
    ExpectHolder("first");

    m_playing->set_current_focus(nullptr);
    g_events.clear();
    g_refocus = {{"set first", {"second"}}, {"set second", {"first"}}};
    m_playing->call_method("focus", "%s", "first");
    EXPECT_EQ(g_events, (std::vector<std::string>{"set first", "set second"}));
    ExpectHolder("first");  // the last move named the first field

    // Each field hears kill-focus once per change; the one focused again after that keeps it.
    g_events.clear();
    g_refocus = {{"kill first", {"second"}}, {"kill second", {"first"}}};
    m_playing->set_current_focus(nullptr);
    EXPECT_EQ(g_events, (std::vector<std::string>{"kill first", "set second", "kill second", "set first"}));
    ExpectHolder("first");
}

// A field taken off the stage while it holds the focus hears kill-focus once, even when its
// onKillFocus moves the focus on, which sends the root's kill-focus to it as well.
TEST_F(FocusTest, a_field_removed_while_it_holds_the_focus_hears_kill_focus_once) {
    m_playing->call_method("focus", "%s", "second");
    g_events.clear();
    g_refocus["kill second"] = {"first"};
    smart_ptr<edit_text_character> second = Field("second");
    m_playing->get_root_sprite()->remove_display_object(second.get_ptr());
    EXPECT_EQ(g_events, (std::vector<std::string>{"kill second", "set first"}));
    EXPECT_FALSE(second->has_focus());
    EXPECT_FALSE(Listens(second.get_ptr()));
    EXPECT_EQ(m_playing->get_current_focus(), Field("first"));
    EXPECT_TRUE(Field("first")->has_focus());
}

}  // namespace
}  // namespace text_test
