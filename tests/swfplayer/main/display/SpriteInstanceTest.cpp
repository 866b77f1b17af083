#include "swfplayer/main/script/fn_call.h"
#include "tests/swfplayer/main/display/DisplayTestKit.h"
#include "tools/swfkit/Movie.h"

#include <functional>

namespace display_test {

namespace {

using swfkit::Placement;

// Action bytes: push the strings, then the given action codes, then the end action.
swfkit::Bytes actions(const std::vector<std::string>& pushed, const swfkit::Bytes& codes) {
    swfkit::Bytes out = {0x96, 0, 0};
    for (const std::string& text : pushed) {
        out.push_back(0);  // string
        out.insert(out.end(), text.c_str(), text.c_str() + text.size() + 1);
    }
    out[1] = static_cast<uint8_t>(out.size() - 3);
    out[2] = static_cast<uint8_t>((out.size() - 3) >> 8);
    out.insert(out.end(), codes.begin(), codes.end());
    out.push_back(0x00);
    return out;
}

// name = "1"
swfkit::Bytes set_flag(const std::string& name) {
    return actions({name, "1"}, {0x1D});
}

class SpriteInstanceTest : public DisplayFixture {
protected:
    smart_ptr<sprite_instance> root_of(const std::function<void(swfkit::Movie&)>& fill) {
        m_defs.push_back(load_with_clip(fill));
        return make_root_sprite(m_defs.back().get_ptr());
    }
    static int depth_count(sprite_instance* sprite) { return sprite->get_display_list().size(); }
    std::vector<smart_ptr<movie_def_impl>> m_defs;
};

TEST_F(SpriteInstanceTest, events_come_in_frame_order) {
    as_value movie_clip(m_player.get_ptr(), as_c_function_ptr([](const fn_call&) {}));
    m_player->get_global()->builtin_member("MovieClip", movie_clip);
    smart_ptr<sprite_instance> root =
        root_of([](swfkit::Movie& m) { m.Tags().PlaceObject2(placement(1, 1, "c")).ShowFrame(); });
    smart_ptr<character> child = root->get_display_list().get_character(0);
    as_value constructor;
    ASSERT_TRUE(child->get_own_member("__constructor__", &constructor));
    EXPECT_EQ(constructor.to_object(), movie_clip.to_object());
    root->set_name("root");
    record_events(root.get_ptr());
    record_events(child.get_ptr());
    for (int i = 0; i < 3; i++) {
        root->advance(0.1f);
    }
    root->remove_display_object("c");
    EXPECT_EQ(g_events, (std::vector<std::string>{"root:load", "c:load", "root:enterFrame", "c:enterFrame",
                                                  "root:enterFrame", "c:enterFrame", "c:unload"}));
    EXPECT_FALSE(child->is_active());
}

// Frames place a, b, c; after the last frame the timeline loops and keeps only frame 0's depth,
// with its instance. A one-frame timeline never runs its frame again.
TEST_F(SpriteInstanceTest, loop_keeps_what_frame_zero_places) {
    for (int frames : {3, 1}) {
        smart_ptr<sprite_instance> root = root_of([frames](swfkit::Movie& m) {
            for (uint16_t f = 1; f <= frames; f++) {
                m.Tags().PlaceObject2(placement(f, 1, f == 1 ? "a" : "b")).ShowFrame();
            }
        });
        smart_ptr<character> a = root->get_display_list().get_character(0);
        record_events(a.get_ptr());
        for (int i = 0; i < frames; i++) {
            root->advance(0.1f);
        }
        EXPECT_EQ(root->get_current_frame(), frames - 1);
        EXPECT_EQ(depth_count(root.get_ptr()), frames);
        for (int i = 0; i < 4; i++) {
            root->advance(0.1f);
            if (i % 3 == 0) {
                EXPECT_EQ(root->get_current_frame(), 0);
                ASSERT_EQ(depth_count(root.get_ptr()), 1);
                EXPECT_EQ(root->get_display_list().get_character(0), a.get_ptr());
            }
        }
        EXPECT_EQ(std::count(g_events.begin(), g_events.end(), "a:unload"), 0);
    }
}

// A jump made by a frame's first action buffer does not drop the buffers queued after it; the
// target frame's actions run at the next step.
TEST_F(SpriteInstanceTest, actions_queued_around_a_jump_all_run) {
    smart_ptr<sprite_instance> root = root_of([](swfkit::Movie& m) {
        m.Tags().DoAction({0x81, 0x02, 0x00, 0x02, 0x00, 0x00}).DoAction(set_flag("second")).ShowFrame();
        m.Tags().DoAction(set_flag("one")).ShowFrame();
        m.Tags().DoAction(set_flag("two")).ShowFrame();
        m.Tags().DoAction(actions({"3"}, {0x9E, 0x00, 0x00})).ShowFrame();  // calls itself
    });
    root->advance(0.1f);
    EXPECT_EQ(root->get_current_frame(), 2);
    EXPECT_EQ(text_of(root.get_ptr(), "second") + text_of(root.get_ptr(), "two"), "1unset");
    root->advance(0.1f);
    EXPECT_EQ(text_of(root.get_ptr(), "two") + text_of(root.get_ptr(), "one"), "1unset");
    EXPECT_EQ(root->get_current_frame(), 2);
    // A frame that calls itself stops at the nesting limit.
    ClearLog();
    root->call_frame_actions(as_value("3"));
    EXPECT_TRUE(Logged("frames calling frames more than"));
}

// The frames whose attached scripts have run, in order.
std::vector<int> g_frame_scripts;
template <int Frame>
void note_frame_script(const fn_call&) {
    g_frame_scripts.push_back(Frame);
}

// A jump to a frame makes that frame's script the pending one, whichever way the jump goes, and
// drops a script pending for the frame it leaves; the script runs at the end of the next step.
TEST_F(SpriteInstanceTest, a_jump_either_way_runs_the_target_frames_script) {
    smart_ptr<sprite_instance> root = root_of([](swfkit::Movie& m) {
        for (int f = 0; f < 5; f++) {
            m.Tags().ShowFrame();
        }
    });
    as_value one(m_player.get_ptr(), note_frame_script<1>);
    as_value three(m_player.get_ptr(), note_frame_script<3>);
    root->add_frame_script(1, one.to_object());
    root->add_frame_script(3, three.to_object());
    root->advance(0.1f);
    g_frame_scripts.clear();
    const auto jump_and_step = [&](int frame) {
        root->goto_frame(frame);
        root->advance(0.1f);
        EXPECT_EQ(root->get_current_frame(), frame);
    };
    jump_and_step(3);  // forward
    jump_and_step(1);  // back
    EXPECT_EQ(g_frame_scripts, (std::vector<int>{3, 1}));
    jump_and_step(4);
    root->add_frame_script(4, three.to_object());  // pending for the current frame at once
    jump_and_step(2);                              // back to a frame without a script
    jump_and_step(0);
    EXPECT_EQ(g_frame_scripts, (std::vector<int>{3, 1}));
}

// A name that no movie exports is reported as a message, not an error, and only while verbose
// action logging is on.
TEST_F(SpriteInstanceTest, a_missing_export_is_a_verbose_message) {
    smart_ptr<sprite_instance> root = root_of([](swfkit::Movie& m) { m.Tags().ShowFrame(); });
    for (bool verbose : {false, true}) {
        set_verbose_action(verbose);
        ClearLog();
        EXPECT_EQ(root->attach_movie("nothing", "n", 16390), nullptr);
        EXPECT_EQ(CountLogged("can't find exported resource 'nothing'\n"), verbose ? 1 : 0);
        EXPECT_EQ(CountLogged("import error: resource 'nothing' is not exported\n"), verbose ? 1 : 0);
        EXPECT_EQ(CountLoggedAsErrors("nothing"), 0);
    }
}

TEST_F(SpriteInstanceTest, frames_by_number_label_and_member) {
    smart_ptr<sprite_instance> root = root_of([](swfkit::Movie& m) {
        for (int f = 0; f < 10; f++) {
            (f == 6 ? m.Tags().FrameLabel("Six") : m.Tags()).ShowFrame();
        }
    });
    EXPECT_EQ(number_of(root.get_ptr(), "_totalframes"), 10);
    EXPECT_EQ(number_of(root.get_ptr(), "_currentframe"), 1);
    root->goto_frame(base_string("3"));
    EXPECT_EQ(root->get_current_frame(), 2);
    EXPECT_EQ(number_of(root.get_ptr(), "_currentframe"), 3);
    root->goto_frame(base_string("six"));
    EXPECT_EQ(root->get_current_frame(), 6);
    EXPECT_FALSE(root->goto_labeled_frame("seven"));
    // Out of range or the current frame: only stops.
    for (int target : {-1, 10, 6}) {
        root->set_play_state(character::PLAY);
        root->goto_frame(target);
        EXPECT_EQ(root->get_current_frame(), 6);
        EXPECT_EQ(root->get_play_state(), character::STOP);
    }
    ClearLog();
    root->call_frame_actions(as_value(11.0));
    EXPECT_TRUE(Logged("call_frame('11') -- unknown frame"));
    root->call_frame_actions(as_value("Six"));
    root->call_frame_actions(as_value(1e300));
    EXPECT_EQ(CountLogged("unknown frame"), 2);
}

// Timelines that could recurse, refer to nothing or promise frames they lack play, jump and draw
// without harm, each leaving its message.
TEST_F(SpriteInstanceTest, malformed_timelines_play_safely) {
    // A clip of id 2 whose one frame holds the placements, placed by the main timeline.
    auto clip_placing = [](std::vector<Placement> placements) {
        return [placements](swfkit::Movie& m) {
            swfkit::TagList clip(6);
            for (const Placement& p : placements) {
                clip.PlaceObject2(p);
            }
            swfkit::TagList other(6);
            m.Tags()
                .DefineSprite(2, clip.ShowFrame())
                .DefineSprite(3, other.PlaceObject2(placement(1, 2, "")).ShowFrame());
            m.Tags().PlaceObject2(placement(1, 2, "first")).ShowFrame();
        };
    };
    const std::pair<std::function<void(swfkit::Movie&)>, const char*> rows[] = {
        {clip_placing({placement(1, 2, "again")}), "nested more than"},  // a clip that places itself
        {clip_placing({placement(1, 3, "")}), "nested more than"},       // two clips that place each other
        {[](swfkit::Movie& m) {
             m.Tags().PlaceObject2(placement(1, 77, "x")).ShowFrame();
             Placement replace = placement(1, 78, "y");
             replace.move = true;
             m.Tags().PlaceObject2(replace).ShowFrame();
         },
         "unknown cid = 77"},
        {[](swfkit::Movie& m) {  // more frames promised than given
             m.Tags().PlaceObject2(placement(1, 1, "a")).ShowFrame().RemoveObject2(1).ShowFrame();
             m.SetFrameCount(5);
         },
         ""},
        {[](swfkit::Movie& m) {  // clip tags after its last frame
             swfkit::TagList late(6);
             late.ShowFrame().PlaceObject2(placement(1, 1, "late"));
             m.Tags().DefineSprite(2, late, 1).PlaceObject2(placement(1, 2, "")).ShowFrame();
         },
         "after the last declared frame"},
        // Last: a clip that places itself twice, doubling at every level; the clips it makes stay
        // with the player until its next sweep.
        {clip_placing({placement(1, 2, "left"), placement(2, 2, "right")}), "characters already"},
    };
    for (const auto& [fill, logged] : rows) {
        ClearLog();
        smart_ptr<sprite_instance> root = root_of(fill);
        ASSERT_TRUE(m_defs.back()) << logged;
        for (int i = 0; i < 12; i++) {
            root->advance(0.1f);
            root->display();
        }
        root->goto_frame(root->get_frame_count() - 1);
        root->goto_frame(0);
        root->display();
        EXPECT_TRUE(*logged == '\0' || Logged(logged)) << logged;
        root->clear_display_objects();
        EXPECT_EQ(depth_count(root.get_ptr()), 0) << logged;
    }
}

TEST_F(SpriteInstanceTest, bounds_and_picking_follow_the_children) {
    smart_ptr<sprite_instance> root = root_of([](swfkit::Movie& m) { m.Tags().ShowFrame(); });
    rect r;
    root->get_bound(&r);
    EXPECT_EQ(r.x_min, 0.0f);
    EXPECT_EQ(r.x_max, 0.0f);
    smart_ptr<character> low = make_box(1, 100.0f, 100.0f, root.get_ptr());
    smart_ptr<character> high = make_box(2, 100.0f, 100.0f, root.get_ptr());
    matrix shifted;
    shifted.m[0][2] = 50.0f;
    place_at(root->get_display_list(), low.get_ptr(), 1);
    place_at(root->get_display_list(), high.get_ptr(), 2, shifted);
    root->get_bound(&r);
    EXPECT_EQ(r.x_min, 0.0f);
    EXPECT_EQ(r.x_max, 150.0f);
    EXPECT_EQ(r.y_max, 100.0f);
    auto hit = [&](float x) {
        return root->get_topmost_mouse_entity(x, 50.0f);
    };
    EXPECT_EQ(hit(75.0f), high.get_ptr());
    EXPECT_EQ(hit(25.0f), low.get_ptr());
    EXPECT_EQ(hit(175.0f), nullptr);
    // A clip below that takes mouse events wins over a plain shape above it.
    smart_ptr<character> button = m_defs.back()->get_character_def(1)->create_character_instance(root.get_ptr(), 1);
    smart_ptr<sprite_instance> clip = cast_to_sprite_instance(button.get_ptr());
    ASSERT_TRUE(clip);
    place_at(clip->get_display_list(), make_box(3, 100.0f, 100.0f, clip.get_ptr()).get_ptr(), 1);
    place_at(root->get_display_list(), clip.get_ptr(), 0);
    EXPECT_EQ(hit(75.0f), high.get_ptr());
    clip->set_member("onPress", as_value(1.0));
    EXPECT_EQ(hit(75.0f), clip.get_ptr());
    root->remove_display_object(clip.get_ptr());
    high->set_visible(false);
    EXPECT_EQ(hit(75.0f), low.get_ptr());
    // A clip with a mouse handler takes the hits of its children, unless disabled.
    root->set_member("onRelease", as_value(1.0));
    EXPECT_EQ(hit(25.0f), root.get_ptr());
    root->set_member("enabled", as_value(false));
    EXPECT_EQ(hit(25.0f), low.get_ptr());
}

}  // namespace

}  // namespace display_test
