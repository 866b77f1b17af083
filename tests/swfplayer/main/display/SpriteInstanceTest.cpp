#include "swfplayer/main/script/fn_call.h"
#include "tests/swfplayer/main/display/DisplayTestKit.h"
#include "tools/swfkit/Movie.h"

#include <functional>

namespace display_test {

namespace {

using swfkit::Placement;

Placement place(uint16_t depth, uint16_t id, const char* name) {
    Placement p;
    p.depth = depth;
    p.characterId = id;
    p.name = name;
    return p;
}

swfkit::TagList one_empty_frame() {
    swfkit::TagList clip(6);
    clip.ShowFrame();
    return clip;
}

// Action bytes: push the strings, then the given action codes, then the end action.
swfkit::Bytes actions(const std::vector<std::string>& pushed, const swfkit::Bytes& codes) {
    swfkit::Bytes out;
    if (!pushed.empty()) {
        swfkit::Bytes body;
        for (const std::string& text : pushed) {
            body.push_back(0);  // string
            body.insert(body.end(), text.begin(), text.end());
            body.push_back(0);
        }
        out = {0x96, static_cast<uint8_t>(body.size()), static_cast<uint8_t>(body.size() >> 8)};
        out.insert(out.end(), body.begin(), body.end());
    }
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
    // A movie with an empty clip as id 1 whose frames fill writes.
    smart_ptr<movie_def_impl> load(const std::function<void(swfkit::Movie&)>& fill) {
        swfkit::Movie movie(6, {0, 8000, 0, 6000}, 30.0);
        movie.Tags().DefineSprite(1, one_empty_frame());
        fill(movie);
        return LoadMovie(movie.Write(false));
    }
    int depth_count(sprite_instance* sprite) { return sprite->get_display_list().size(); }
};

TEST_F(SpriteInstanceTest, events_come_in_frame_order) {
    as_value movie_clip(as_c_function_ptr([](const fn_call&) {}));
    m_player->get_global()->builtin_member("MovieClip", movie_clip);
    auto def = load([](swfkit::Movie& m) { m.Tags().PlaceObject2(place(1, 1, "c")).ShowFrame(); });
    smart_ptr<sprite_instance> root = make_root_sprite(def.get_ptr());
    as_value constructor;
    ASSERT_TRUE(root->get_display_list().get_character(0)->get_own_member("__constructor__", &constructor));
    EXPECT_EQ(constructor.to_object(), movie_clip.to_object());
    root->set_name("root");
    record_events(root.get_ptr());
    record_events(root->get_display_list().get_character(0));
    root->advance(0.1f);
    EXPECT_EQ(g_events, (std::vector<std::string>{"root:load", "c:load"}));
    g_events.clear();
    root->advance(0.1f);
    root->advance(0.1f);
    EXPECT_EQ(g_events,
              (std::vector<std::string>{"root:enterFrame", "c:enterFrame", "root:enterFrame", "c:enterFrame"}));
    g_events.clear();
    smart_ptr<character> child = root->get_display_list().get_character(0);
    root->remove_display_object("c");
    EXPECT_EQ(g_events, std::vector<std::string>{"c:unload"});
    EXPECT_FALSE(child->is_active());
}

// Frames place a, b, c; after the last frame the timeline loops and keeps only frame 0's depth,
// with its instance. A one-frame timeline never runs its frame again.
TEST_F(SpriteInstanceTest, loop_keeps_what_frame_zero_places) {
    auto def = load([](swfkit::Movie& m) {
        m.Tags().PlaceObject2(place(1, 1, "a")).ShowFrame();
        m.Tags().PlaceObject2(place(2, 1, "b")).ShowFrame();
        m.Tags().PlaceObject2(place(3, 1, "c")).ShowFrame();
    });
    smart_ptr<sprite_instance> root = make_root_sprite(def.get_ptr());
    smart_ptr<character> a = root->get_display_list().get_character(0);
    record_events(a.get_ptr());
    for (int i = 0; i < 3; i++) {
        root->advance(0.1f);
    }
    EXPECT_EQ(root->get_current_frame(), 2);
    EXPECT_EQ(depth_count(root.get_ptr()), 3);
    root->advance(0.1f);
    EXPECT_EQ(root->get_current_frame(), 0);
    ASSERT_EQ(depth_count(root.get_ptr()), 1);
    EXPECT_EQ(root->get_display_list().get_character(0), a.get_ptr());

    auto single = load([](swfkit::Movie& m) { m.Tags().PlaceObject2(place(1, 1, "only")).ShowFrame(); });
    smart_ptr<sprite_instance> still = make_root_sprite(single.get_ptr());
    smart_ptr<character> only = still->get_display_list().get_character(0);
    record_events(only.get_ptr());
    g_events.clear();
    for (int i = 0; i < 5; i++) {
        still->advance(0.1f);
    }
    EXPECT_EQ(still->get_display_list().get_character(0), only.get_ptr());
    EXPECT_EQ(std::count(g_events.begin(), g_events.end(), "only:unload"), 0);
}

// A jump made by a frame's first action buffer does not drop the buffers queued after it; the
// target frame's actions run at the next step.
TEST_F(SpriteInstanceTest, actions_queued_around_a_jump_all_run) {
    auto def = load([](swfkit::Movie& m) {
        m.Tags().DoAction({0x81, 0x02, 0x00, 0x02, 0x00, 0x00}).DoAction(set_flag("second")).ShowFrame();
        m.Tags().DoAction(set_flag("one")).ShowFrame();
        m.Tags().DoAction(set_flag("two")).ShowFrame();
        m.Tags().DoAction(actions({"3"}, {0x9E, 0x00, 0x00})).ShowFrame();  // calls itself
    });
    smart_ptr<sprite_instance> root = make_root_sprite(def.get_ptr());
    auto flag = [&](const char* name) {
        as_value v;
        return root->get_member(name, &v) ? std::string(v.to_string()) : std::string("unset");
    };
    root->advance(0.1f);
    EXPECT_EQ(root->get_current_frame(), 2);
    EXPECT_EQ(flag("second"), "1");
    EXPECT_EQ(flag("two"), "unset");
    root->advance(0.1f);
    EXPECT_EQ(flag("two"), "1");
    EXPECT_EQ(flag("one"), "unset");
    EXPECT_EQ(root->get_current_frame(), 2);
    // A frame that calls itself stops at the nesting limit.
    ClearLog();
    root->call_frame_actions(as_value("3"));
    EXPECT_TRUE(Logged("frames calling frames more than"));
}

TEST_F(SpriteInstanceTest, frames_by_number_label_and_member) {
    auto def = load([](swfkit::Movie& m) {
        for (int f = 0; f < 10; f++) {
            if (f == 6) {
                m.Tags().FrameLabel("Six");
            }
            m.Tags().ShowFrame();
        }
    });
    smart_ptr<sprite_instance> root = make_root_sprite(def.get_ptr());
    auto member = [&](const char* name) {
        as_value v;
        root->get_member(name, &v);
        return v.to_number();
    };
    EXPECT_EQ(member("_totalframes"), 10);
    EXPECT_EQ(member("_currentframe"), 1);
    root->goto_frame(base_string("3"));
    EXPECT_EQ(root->get_current_frame(), 2);
    EXPECT_EQ(member("_currentframe"), 3);
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
    struct row {
        const char* what;
        std::function<void(swfkit::Movie&)> fill;
        const char* logged;
    };
    const std::vector<row> rows = {
        {"a clip that places itself",
         [](swfkit::Movie& m) {
             swfkit::TagList self(6);
             self.PlaceObject2(place(1, 2, "again")).ShowFrame();
             m.Tags().DefineSprite(2, self).PlaceObject2(place(1, 2, "first")).ShowFrame();
         },
         "nested more than"},
        {"two clips that place each other",
         [](swfkit::Movie& m) {
             swfkit::TagList to3(6);
             to3.PlaceObject2(place(1, 3, "")).ShowFrame();
             swfkit::TagList to2(6);
             to2.PlaceObject2(place(1, 2, "")).ShowFrame();
             m.Tags().DefineSprite(2, to3).DefineSprite(3, to2).PlaceObject2(place(1, 2, "")).ShowFrame();
         },
         "nested more than"},
        {"unknown ids",
         [](swfkit::Movie& m) {
             m.Tags().PlaceObject2(place(1, 77, "x")).ShowFrame();
             Placement replace = place(1, 78, "y");
             replace.move = true;
             m.Tags().PlaceObject2(replace).ShowFrame();
         },
         "unknown cid = 77"},
        {"more frames promised than given",
         [](swfkit::Movie& m) {
             m.Tags().PlaceObject2(place(1, 1, "a")).ShowFrame().RemoveObject2(1).ShowFrame();
             m.SetFrameCount(5);
         },
         ""},
        {"clip tags after its last frame",
         [](swfkit::Movie& m) {
             swfkit::TagList late(6);
             late.ShowFrame().PlaceObject2(place(1, 1, "late"));
             m.Tags().DefineSprite(2, late, 1).PlaceObject2(place(1, 2, "")).ShowFrame();
         },
         "after the last declared frame"},
        // Last: the clips it makes stay with the player until its next sweep.
        {"a clip that places itself twice, doubling at every level",
         [](swfkit::Movie& m) {
             swfkit::TagList twice(6);
             twice.PlaceObject2(place(1, 2, "left")).PlaceObject2(place(2, 2, "right")).ShowFrame();
             m.Tags().DefineSprite(2, twice).PlaceObject2(place(1, 2, "first")).ShowFrame();
         },
         "characters already"},
    };
    for (const row& r : rows) {
        ClearLog();
        auto def = load(r.fill);
        ASSERT_TRUE(def) << r.what;
        smart_ptr<sprite_instance> root = make_root_sprite(def.get_ptr());
        for (int i = 0; i < 12; i++) {
            root->advance(0.1f);
            root->display();
        }
        root->goto_frame(root->get_frame_count() - 1);
        root->goto_frame(0);
        root->display();
        EXPECT_TRUE(*r.logged == '\0' || Logged(r.logged)) << r.what;
        root->clear_display_objects();
        EXPECT_EQ(depth_count(root.get_ptr()), 0) << r.what;
    }
}

TEST_F(SpriteInstanceTest, bounds_and_picking_follow_the_children) {
    auto def = load([](swfkit::Movie& m) { m.Tags().ShowFrame(); });
    smart_ptr<sprite_instance> root = make_root_sprite(def.get_ptr());
    rect r;
    root->get_bound(&r);
    EXPECT_EQ(r.x_min, 0.0f);
    EXPECT_EQ(r.x_max, 0.0f);
    smart_ptr<character> low = make_box(1, 100.0f, 100.0f, root.get_ptr());
    smart_ptr<character> high = make_box(2, 100.0f, 100.0f, root.get_ptr());
    matrix shifted;
    shifted.m[0][2] = 50.0f;
    root->get_display_list().add_display_object(low.get_ptr(), 1, false, cxform(), matrix(), 0.0f, 0);
    root->get_display_list().add_display_object(high.get_ptr(), 2, false, cxform(), shifted, 0.0f, 0);
    root->get_bound(&r);
    EXPECT_EQ(r.x_min, 0.0f);
    EXPECT_EQ(r.x_max, 150.0f);
    EXPECT_EQ(r.y_max, 100.0f);
    EXPECT_EQ(root->get_topmost_mouse_entity(75.0f, 50.0f), high.get_ptr());
    EXPECT_EQ(root->get_topmost_mouse_entity(25.0f, 50.0f), low.get_ptr());
    EXPECT_EQ(root->get_topmost_mouse_entity(175.0f, 50.0f), nullptr);
    // A clip below that takes mouse events wins over a plain shape above it.
    smart_ptr<character> button = def->get_character_def(1)->create_character_instance(root.get_ptr(), 1);
    smart_ptr<sprite_instance> clip = cast_to_sprite_instance(button.get_ptr());
    ASSERT_TRUE(clip);
    clip->get_display_list().add_display_object(make_box(3, 100.0f, 100.0f, clip.get_ptr()).get_ptr(), 1, false,
                                                cxform(), matrix(), 0.0f, 0);
    root->get_display_list().add_display_object(clip.get_ptr(), 0, false, cxform(), matrix(), 0.0f, 0);
    EXPECT_EQ(root->get_topmost_mouse_entity(75.0f, 50.0f), high.get_ptr());
    clip->set_member("onPress", as_value(1.0));
    EXPECT_EQ(root->get_topmost_mouse_entity(75.0f, 50.0f), clip.get_ptr());
    root->remove_display_object(clip.get_ptr());
    high->set_visible(false);
    EXPECT_EQ(root->get_topmost_mouse_entity(75.0f, 50.0f), low.get_ptr());
    // A clip with a mouse handler takes the hits of its children, unless disabled.
    root->set_member("onRelease", as_value(1.0));
    EXPECT_EQ(root->get_topmost_mouse_entity(25.0f, 50.0f), root.get_ptr());
    root->set_member("enabled", as_value(false));
    EXPECT_EQ(root->get_topmost_mouse_entity(25.0f, 50.0f), low.get_ptr());
}

}  // namespace

}  // namespace display_test
