// The keyboard focus of a playing movie: Selection.setFocus and the mouse give it to an edit
// field or a clip, the host's keys then edit the field, the object that loses it hears kill-focus,
// and an object that leaves the stage gives the focus up for good.
#include "swfplayer/main/display/sprite_instance.h"
#include "tests/swfplayer/main/text/FocusFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace text_test {
namespace {

class FocusTest : public FocusFixture {
protected:
    // Selection.setFocus with a kept reference to the object of that name; its answer as text.
    std::string Give(const std::string& name) {
        as_value target(Object(name));
        return m_playing->get_root_sprite()->call_method("focus", &target, 1).c_str();
    }
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
    EXPECT_EQ(Script().holders, std::vector<std::string>{"first"});
    EXPECT_EQ(m_playing->get_current_focus(), Field("second"));
    m_playing->set_current_focus(nullptr);
    EXPECT_EQ(Script().holders, (std::vector<std::string>{"first", "second"}));
    EXPECT_EQ(m_playing->get_current_focus(), nullptr);
}

// A field that the old holder's onKillFocus focuses takes the focus while the change under way is
// not over; the change then moves on and that field hears kill-focus in its turn. The old holder
// hears kill-focus once: the focus change its handler makes sends it no second one.
TEST_F(FocusTest, a_field_focused_by_on_kill_focus_loses_the_focus_to_the_change_under_way) {
    m_playing->call_method("focus", "%s", "first");
    Type("z");
    m_playing->call_method("focus", "%s", "second");
    Script().events.clear();
    Script().actions["kill second"] = {"focus first"};
    Click(10, 60);  // on nothing: the focus is cleared
    EXPECT_EQ(Script().events, (std::vector<std::string>{"kill second", "set first", "kill first"}));
    ExpectHolder(nullptr);
    Script().actions.clear();
    m_playing->call_method("focus", "%s", "second");
    ExpectHolder("second");
    Type("y");
    EXPECT_EQ(std::make_pair(Text("first"), Text("second")), std::make_pair(std::string("z"), std::string("y")));
    // The same through the host's own call, with the root naming no holder at the end either.
    Script().actions["kill second"] = {"focus first"};
    m_playing->set_current_focus(nullptr);
    ExpectHolder(nullptr);
}

// While a field hears kill-focus, its handler may focus one field and then another: each field
// that takes the focus meanwhile gives it up when the next move comes, the old holder included.
TEST_F(FocusTest, fields_focused_in_turn_while_another_hears_kill_focus_give_the_focus_up_in_turn) {
    m_playing->call_method("focus", "%s", "second");
    Script().events.clear();
    Script().actions["kill second"] = {"focus first", "focus second"};
    m_playing->set_current_focus(nullptr);
    EXPECT_EQ(Script().events, (std::vector<std::string>{"kill second", "set first", "kill first"}));
    ExpectHolder(nullptr);
}

// The new holder holds the focus before its onSetFocus runs; a handler that focuses another field
// makes the later move, which stands, and the field it left hears kill-focus.
TEST_F(FocusTest, a_focus_change_made_in_on_set_focus_stands_by_selection_and_by_the_mouse) {
    Script().actions["set first"] = {"focus second"};
    EXPECT_STREQ(m_playing->call_method("focus", "%s", "first"), "true");
    EXPECT_EQ(Script().events, (std::vector<std::string>{"set first", "kill first", "set second"}));
    ExpectHolder("second");
    Type("a");
    EXPECT_EQ(std::make_pair(Text("first"), Text("second")), std::make_pair(std::string(""), std::string("a")));
    // A press on the first field: the second hears kill-focus, then takes the focus back.
    Script().events.clear();
    Click(10, 10);
    EXPECT_EQ(Script().events, (std::vector<std::string>{"kill second", "set first", "kill first", "set second"}));
    ExpectHolder("second");
}

// A field that hands the focus on in its onSetFocus, focused twice (the handler acts the first
// time only), hears kill-focus after each set-focus but the last, and takes the keys at the end.
TEST_F(FocusTest, a_field_that_hands_the_focus_on_in_on_set_focus_hears_kill_focus_for_it) {
    Script().actions["set first"] = {"focus second"};
    Focus("first");
    Script().actions.clear();
    Focus("first");
    EXPECT_EQ(FocusEvents("first"), (std::vector<std::string>{"set", "kill", "set"}));
    EXPECT_EQ(FocusEvents("second"), (std::vector<std::string>{"set", "kill"}));
    ExpectHolder("first");
    Type("xy");
    EXPECT_EQ(std::make_pair(Text("first"), Text("second")), std::make_pair(std::string("xy"), std::string("")));
}

// A field whose onSetFocus takes its clip off the stage holds the focus meanwhile: it hears
// kill-focus as it leaves, before the clip does, and the root names nobody.
TEST_F(FocusTest, a_field_whose_on_set_focus_removes_its_clip_hears_kill_focus) {
    Act("field clip");
    Script().events.clear();
    Script().actions["set clip_field"] = {"remove clip"};
    EXPECT_EQ(Focus("clip_field"), "true");
    EXPECT_EQ(Script().events, (std::vector<std::string>{"set clip_field", "remove clip", "kill clip_field",
                                                         "kill clip", "unload clip", "gone clip"}));
    ExpectHolder(nullptr);
    Type("k");
    EXPECT_EQ(Text("clip_field"), "");
}

// A field made read-only while it holds the focus still loses it: it hears kill-focus and gives
// the keys up, so that once it takes input again the keys reach the new holder alone. A read-only
// field takes no focus.
TEST_F(FocusTest, a_field_made_read_only_while_focused_loses_the_focus_and_the_keys) {
    Act("field clip");
    Act("field other");
    Focus("clip_field");
    Act("dynamic clip_field");
    Focus("other_field");
    Act("input clip_field");
    Type("xyz");
    EXPECT_EQ(FocusEvents("clip_field"), (std::vector<std::string>{"set", "kill"}));
    ExpectHolder("other_field");
    EXPECT_EQ(std::make_pair(Text("clip_field"), Text("other_field")),
              std::make_pair(std::string(""), std::string("xyz")));
    Act("dynamic clip_field");
    Focus("clip_field");
    ExpectHolder("other_field");
    EXPECT_EQ(FocusEvents("clip_field"), (std::vector<std::string>{"set", "kill"}));
}

// Handlers that always refocus run once for each change: a field whose onSetFocus focuses itself,
// two whose onSetFocus focus each other (the first, whose onSetFocus still runs when the second
// focuses it, lets the move its own handler made stand), and two whose onKillFocus focus each
// other.
TEST_F(FocusTest, focus_handlers_that_always_refocus_end) {
    Script().actions["set first"] = {"focus first"};
    m_playing->call_method("focus", "%s", "first");
    EXPECT_EQ(Script().events, std::vector<std::string>{"set first"});
    ExpectHolder("first");

    m_playing->set_current_focus(nullptr);
    Script().events.clear();
    Script().actions = {{"set first", {"focus second"}}, {"set second", {"focus first"}}};
    m_playing->call_method("focus", "%s", "first");
    EXPECT_EQ(Script().events, (std::vector<std::string>{"set first", "kill first", "set second"}));
    ExpectHolder("second");

    // Each field hears kill-focus once per change; the one focused again after that keeps it.
    Script().actions.clear();
    m_playing->call_method("focus", "%s", "first");
    Script().events.clear();
    Script().actions = {{"kill first", {"focus second"}}, {"kill second", {"focus first"}}};
    m_playing->set_current_focus(nullptr);
    EXPECT_EQ(Script().events, (std::vector<std::string>{"kill first", "set second", "kill second", "set first"}));
    ExpectHolder("first");
}

// A field taken off the stage while it holds the focus hears kill-focus once, even when its
// onKillFocus moves the focus on, which sends the root's kill-focus to it as well.
TEST_F(FocusTest, a_field_removed_while_it_holds_the_focus_hears_kill_focus_once) {
    m_playing->call_method("focus", "%s", "second");
    Script().events.clear();
    Script().actions["kill second"] = {"focus first"};
    smart_ptr<edit_text_character> second = Field("second");
    m_playing->get_root_sprite()->remove_display_object(second.get_ptr());
    EXPECT_EQ(Script().events, (std::vector<std::string>{"kill second", "set first"}));
    EXPECT_FALSE(second->has_focus());
    EXPECT_FALSE(Listens(second.get_ptr()));
    EXPECT_EQ(m_playing->get_current_focus(), Field("first"));
    EXPECT_TRUE(Field("first")->has_focus());
}

// A field removed by its own onSetFocus, by Selection or by the mouse, and a clip removed by its
// own onSetFocus after a press: the removed field hears kill-focus, the root names nobody, no
// field has the keys, and the removed object hears no focus event after its removal.
TEST_F(FocusTest, an_object_removed_by_its_own_on_set_focus_leaves_the_root_naming_nobody) {
    Focus("first");
    Script().events.clear();
    Script().actions["set second"] = {"remove second"};
    EXPECT_EQ(Focus("second"), "true");
    EXPECT_EQ(Script().events,
              (std::vector<std::string>{"kill first", "set second", "remove second", "kill second", "gone second"}));
    ExpectHolder(nullptr);
    Type("k");
    EXPECT_EQ(std::make_pair(Text("first"), Text("second")), std::make_pair(std::string(""), std::string("")));

    Script().actions["set first"] = {"remove first"};
    Press("first");
    ExpectHolder(nullptr);
    Script().events.clear();
    Script().actions["set clip"] = {"remove clip"};
    Press("clip");
    EXPECT_EQ(Script().events,
              (std::vector<std::string>{"set clip", "remove clip", "kill clip", "unload clip", "gone clip"}));
    EXPECT_EQ(Holder(), "nobody");
    Press("other");
    EXPECT_EQ(Heard("kill"), std::vector<std::string>{"clip"});
}

// The holder, a field given the focus by Selection or a clip given it by the mouse, removed with
// the field "second" and the clip "clip" by a script or by the frame: it hears kill-focus once (a
// clip hears it whether or not it holds the focus), the root then names nobody, and the next focus
// changes, by Selection and by the mouse, send it nothing.
class FocusRemovalTest : public FocusFixture, public testing::WithParamInterface<std::tuple<std::string, bool>> {};

TEST_P(FocusRemovalTest, a_removed_holder_hears_kill_focus_once_and_leaves_the_root_naming_nobody) {
    const auto& [holder, by_frame] = GetParam();
    if (holder == "second") {
        Focus("second");
    } else {
        Press("clip");
    }
    Type("a");
    Script().events.clear();
    if (by_frame) {
        m_playing->get_root_sprite()->goto_frame(1);
    } else {
        Remove("second");
        Remove("clip");
    }
    const std::vector<std::string> removal_kills =
        holder == "second" ? std::vector<std::string>{"second", "clip"} : std::vector<std::string>{"clip"};
    EXPECT_EQ(Heard("kill"), removal_kills);
    ExpectHolder(nullptr);
    Type("b");
    Focus("first");
    Press("other");
    std::vector<std::string> kills = removal_kills;
    kills.push_back("first");
    EXPECT_EQ(Heard("kill"), kills);
    EXPECT_EQ(Heard("unload"), std::vector<std::string>{"clip"});
    EXPECT_EQ(Holder(), "other");
    EXPECT_EQ(std::make_pair(Text("first"), Text("second")),
              std::make_pair(std::string(""), std::string(holder == "second" ? "a" : "")));
}

INSTANTIATE_TEST_SUITE_P(FieldAndClipByScriptAndByFrame, FocusRemovalTest,
                         testing::Combine(testing::Values("second", "clip"), testing::Bool()));

// A clip that holds the focus and whose child's removal handler takes the focus from it while the
// clip is being removed hears kill-focus then, and no second one from its own removal.
TEST_F(FocusTest, a_removed_clip_that_a_childs_handler_takes_the_focus_from_hears_kill_focus_once) {
    Act("clip other");
    Press("other");
    Script().actions["kill other_clip"] = {"give first"};
    Remove("other");
    EXPECT_EQ(Heard("kill"), (std::vector<std::string>{"other_clip", "other"}));
    EXPECT_EQ(Heard("unload"), (std::vector<std::string>{"other_clip", "other"}));
    ExpectHolder("first");
}

// A field that a press gives the focus to and a clip that a press gives it to hand it on in their
// onSetFocus to a field that they then take off the stage: the field pressed hears kill-focus as
// its handler moves the focus on, the removed field hears it as it leaves, and the root names
// nobody, neither the removed field nor the object pressed.
TEST_F(FocusTest, a_holder_named_in_on_set_focus_and_removed_there_leaves_the_root_naming_nobody) {
    Script().actions = {{"set second", {"focus first", "remove first"}},
                        {"set clip", {"focus second", "remove second"}}};
    Press("second");
    EXPECT_EQ(Script().events, (std::vector<std::string>{"set second", "kill second", "set first", "remove first",
                                                         "kill first", "gone first"}));
    ExpectHolder(nullptr);
    Press("clip");
    ExpectHolder(nullptr);
    EXPECT_EQ(Heard("kill"), (std::vector<std::string>{"second", "first", "second"}));
}

// A focus change made by a handler that the removal runs stands when it names an object still on
// the stage; the removed object's onKillFocus runs once, and a change back to it is refused.
TEST_F(FocusTest, a_focus_change_made_by_a_removal_handler_stands_unless_it_names_the_removed_object) {
    Press("clip");
    Script().actions["kill clip"] = {"focus first", "give clip"};
    Remove("clip");
    EXPECT_EQ(Script().events, (std::vector<std::string>{"set clip", "remove clip", "kill clip", "set first",
                                                         "unload clip", "gone clip"}));
    ExpectHolder("first");
    // The same for a field, and for a clip's onUnload that gives the focus back to itself.
    Script().events.clear();
    Script().actions = {{"kill first", {"give second", "focus first"}}, {"unload other", {"give other"}}};
    Remove("first");
    EXPECT_EQ(Script().events, (std::vector<std::string>{"remove first", "kill first", "set second", "gone first"}));
    ExpectHolder("second");
    Press("other");
    Remove("other");
    EXPECT_EQ(Holder(), "nobody");
    EXPECT_EQ(Heard("set"), (std::vector<std::string>{"second", "other"}));
}

// Selection.setFocus on a kept reference to a removed field or clip answers false and leaves the
// focus, the keys and the handlers where they are.
TEST_F(FocusTest, set_focus_on_a_removed_object_leaves_the_focus_where_it_is) {
    Remove("second");
    Remove("clip");
    Focus("first");
    Script().events.clear();
    for (const char* name : {"second", "clip"}) {
        EXPECT_EQ(Give(name), "false") << name;
    }
    EXPECT_TRUE(Script().events.empty());
    ExpectHolder("first");
    Type("x");
    EXPECT_EQ(std::make_pair(Text("first"), Text("second")), std::make_pair(std::string("x"), std::string("")));
}

// A field placed by script into a clip on the stage takes the focus and the keys; placed into a clip
// by the clip's onUnload, or later through a kept reference to the removed clip, a field, a clip
// and a field inside that clip are off the stage with it: Selection, the host and the keys give
// them nothing, and they hear no set-focus.
TEST_F(FocusTest, objects_placed_into_a_removed_clip_take_no_focus_and_no_keys) {
    Act("field other");
    EXPECT_EQ(Focus("other_field"), "true");
    ExpectHolder("other_field");
    Type("ok");
    EXPECT_EQ(Text("other_field"), "ok");
    m_playing->set_current_focus(nullptr);
    Script().events.clear();

    Script().actions["unload clip"] = {"field clip", "give clip_field"};
    Remove("clip");
    ExpectHolder(nullptr);
    Type("abc");
    EXPECT_EQ(Text("clip_field"), "");

    Remove("other");
    for (const char* action : {"field other", "clip other", "field other_clip"}) {
        Act(action);
    }
    for (const char* name : {"other_field", "other_clip", "other_clip_field"}) {
        EXPECT_EQ(Give(name), "false") << name;
        m_playing->set_current_focus(Object(name));
        ExpectHolder(nullptr);
    }
    Type("xyz");
    EXPECT_EQ(Text("other_field") + Text("other_clip_field"), "");
    EXPECT_EQ(Heard("set"), std::vector<std::string>{});
}

// A field placed into a removed clip stays off the stage once the clip is gone (the next frame's
// collection frees a removed clip that nothing holds).
TEST_F(FocusTest, a_field_placed_into_a_removed_clip_that_is_gone_takes_no_focus) {
    Act("clip other");
    Remove("other_clip");
    Act("field other_clip");
    m_objects.erase("other_clip");
    m_playing->advance(1.0f);
    ASSERT_EQ(Object("other_clip_field")->get_parent(), nullptr);
    EXPECT_EQ(Give("other_clip_field"), "false");
    ExpectHolder(nullptr);
}

// A clip's removal removes its children first: what their removal handlers place into the clip is
// off the stage too, and the focus given to it there leaves the root naming nobody.
TEST_F(FocusTest, an_object_placed_into_a_clip_by_its_childs_removal_takes_no_focus) {
    Act("clip clip");
    Script().actions["unload clip_clip"] = {"field clip", "give clip_field"};
    Remove("clip");
    EXPECT_EQ(Script().events,
              (std::vector<std::string>{"made clip_clip", "remove clip", "kill clip_clip", "unload clip_clip",
                                        "made clip_field", "kill clip", "unload clip", "gone clip"}));
    ExpectHolder(nullptr);
    Type("k");
    EXPECT_EQ(Text("clip_field"), "");
}

}  // namespace
}  // namespace text_test
