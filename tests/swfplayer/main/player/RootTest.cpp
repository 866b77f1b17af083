#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/key_input.h"
#include "swfplayer/main/shapes/shape_loaders.h"
#include "swfplayer/main/swfplayer_as_classes/as_key.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/player/PlayerMovies.h"
#include "tests/swfplayer/main/script/ScriptTestKit.h"
#include "tools/swfkit/Movie.h"

#include <cmath>

namespace swf_testing {

using namespace swfplayer;

class RootTest : public SwfLoadingFixture {
protected:
    void SetUp() override {
        SwfLoadingFixture::SetUp();
        register_shape_loaders();
    }
    smart_ptr<root> Play(const std::vector<uint8_t>& movie) {
        m_def = LoadMovie(movie);
        EXPECT_TRUE(m_def);
        return m_def ? create_instance(m_def.get_ptr()) : nullptr;
    }
    smart_ptr<movie_def_impl> m_def;
};

int s_loads = 0;

TEST_F(RootTest, the_first_advance_ticks_at_once_the_remainder_keeps_the_rest_and_bad_steps_do_no_harm) {
    smart_ptr<root> r = Play(player_movies::ShapesMovie(40, 30));
    ASSERT_TRUE(r);
    const float frame = 1.0f / 30.0f;
    EXPECT_FLOAT_EQ(r->get_frame_time(), frame);
    r->get_root_sprite()->set_member("onLoad", as_value(r->get_player(), [](const fn_call&) { s_loads++; }));
    r->advance(0.02f);
    // One step of the root sprite, whatever the time it is given: its first, which loads it.
    EXPECT_EQ(s_loads, 1);
    EXPECT_EQ(r->get_current_frame(), 0);
    EXPECT_NEAR(r->get_time_remainder(), std::fmod(1.02f - frame, frame), 1e-5f);
    // Nothing more until a whole frame has gathered, whatever the broken steps between.
    for (float dt : {0.0f, NAN, -1.0f, INFINITY, -INFINITY}) {
        r->advance(dt);
        EXPECT_TRUE(std::isfinite(r->get_time_remainder())) << dt;
        EXPECT_EQ(r->get_current_frame(), 0) << dt;
    }
    r->advance(frame);
    EXPECT_EQ(r->get_current_frame(), 1);
    EXPECT_EQ(s_loads, 1);
    // A frame rate of 0 never moves on.
    smart_ptr<root> still = Play(player_movies::WaitingMovie(3, 0, false));
    ASSERT_TRUE(still);
    for (int i = 0; i < 5; ++i) {
        still->advance(10.0f);
    }
    EXPECT_EQ(still->get_current_frame(), 0);
}

TEST_F(RootTest, viewport_pixel_scale_and_background_alpha) {
    smart_ptr<root> r = Play(player_movies::ShapesMovie(1, 30));  // 200 x 100 pixels
    ASSERT_TRUE(r);
    const std::tuple<int, int, float> viewports[] = {
        {200, 100, 1.0f}, {800, 600, 6.0f}, {400, 100, 2.0f}, {0, 0, 0.0f}};
    for (const auto& [width, height, scale] : viewports) {
        r->set_display_viewport(0, 0, width, height);
        EXPECT_FLOAT_EQ(r->get_pixel_scale(), scale) << width << "x" << height;
    }
    const std::pair<float, int> alphas[] = {{0.5f, 128}, {-1.0f, 0}, {2.0f, 255}, {0.0f, 0}, {1.0f, 255}, {NAN, 0}};
    for (const auto& [alpha, byte] : alphas) {
        r->set_background_alpha(alpha);
        EXPECT_EQ(r->get_background_color().a, byte) << alpha;
    }
    // An empty frame rectangle leaves a scale of 1 instead of dividing by zero.
    swfkit::Movie empty(8, {0, 0, 0, 0}, 30);
    empty.Tags().ShowFrame();
    smart_ptr<root> flat = Play(empty.Write(false));
    ASSERT_TRUE(flat);
    flat->set_display_viewport(0, 0, 800, 600);
    EXPECT_FLOAT_EQ(flat->get_pixel_scale(), 1.0f);
}

TEST_F(RootTest, flash_variables_become_string_members_on_the_first_frame) {
    // a_b_x_y: the members' texts; null where absent
    const std::pair<const char*, std::vector<const char*>> cases[] = {
        {"a=1,b=2", {"1", "2", nullptr, nullptr}},
        {"a=1,", {"1", nullptr, nullptr, nullptr}},
        {"no equals sign", {nullptr, nullptr, nullptr, nullptr}},
        {"x=,y=z=1", {nullptr, nullptr, "", "z=1"}}};
    for (const auto& [text, a_b_x_y] : cases) {
        m_player->set_flash_vars(text);
        smart_ptr<root> r = Play(player_movies::ShapesMovie(2, 30));
        ASSERT_TRUE(r);
        r->advance(0.0f);
        for (int i = 0; i < 4; i++) {
            const char name[] = {"abxy"[i], 0};
            as_value value;
            ASSERT_EQ(r->get_root_sprite()->get_member(name, &value), a_b_x_y[i] != nullptr) << text << name;
            EXPECT_TRUE(!a_b_x_y[i] || (value.is_string() && value.to_string() == std::string(a_b_x_y[i])))
                << text << " " << name;
        }
    }
}

// A 20-pixel square at the stage's corner that takes mouse events; it records every event and
// the codes of key presses.
class button_like : public character {
public:
    button_like(player* owner, character* parent) : character(owner, parent, 99) {}
    bool on_event(const event_id& id) override {
        if (id.m_id == event_id::KEY_PRESS) {
            m_keys.push_back(id.m_key_code);
        } else {
            m_events.push_back(id.m_id);
        }
        return id.m_id == event_id::SETFOCUS;
    }
    character* get_topmost_mouse_entity(float x, float y) override {
        return x >= 0 && y >= 0 && x < 400 && y < 400 ? this : nullptr;
    }
    bool can_handle_mouse_event() override { return true; }
    std::vector<int> m_events, m_keys;
};

// The first press also takes the focus; a held button hears drag out and drag over, and a release
// away from it is a release outside.
TEST_F(RootTest, the_mouse_turns_into_button_events_and_the_first_press_takes_the_focus) {
    smart_ptr<root> r = Play(player_movies::ShapesMovie(1, 30));
    ASSERT_TRUE(r);
    smart_ptr<button_like> button = new button_like(m_player.get_ptr(), r->get_root_sprite());
    r->get_root_sprite()->get_display_list().add_display_object(button.get_ptr(), 10, false, cxform(), matrix(), 0.0f,
                                                                0);
    r->notify_mouse_state(50, 5, 0);
    r->advance(0.02f);  // the first tick, with the mouse off the button
    using e = event_id;
    const std::tuple<int, int, std::vector<int>> steps[] = {
        {5, 0, {e::ROLL_OVER}},
        {5, 1, {e::SETFOCUS, e::PRESS}},
        {5, 0, {e::RELEASE}},
        {5, 1, {e::PRESS}},  // the focus is already there
        {50, 1, {e::DRAG_OUT}},
        {5, 1, {e::DRAG_OVER}},
        {50, 1, {e::DRAG_OUT}},
        {50, 0, {e::RELEASE_OUTSIDE, e::ROLL_OUT}},
        {50, 0, {}},
    };
    for (const auto& [x, buttons, sent] : steps) {
        button->m_events.clear();
        r->notify_mouse_state(x, 5, buttons);
        r->advance(0.0f);
        EXPECT_EQ(button->m_events, sent) << "mouse at " << x << " buttons " << buttons;
    }
    EXPECT_EQ(r->get_current_focus(), button.get_ptr());
}

TEST_F(RootTest, labels_play_state_and_frames_are_forwarded_to_the_root_sprite) {
    smart_ptr<root> r = Play(player_movies::ShapesMovie(3, 30));
    ASSERT_TRUE(r);
    EXPECT_EQ(std::make_pair(r->get_movie_width(), r->get_movie_height()), std::make_pair(200, 100));
    EXPECT_FALSE(r->goto_labeled_frame("nowhere"));
    EXPECT_EQ(r->get_current_frame(), 0);
    EXPECT_TRUE(r->goto_labeled_frame("middle"));
    EXPECT_EQ(r->get_current_frame(), 1);
    r->set_play_state(character::STOP);
    EXPECT_EQ(r->get_play_state(), character::STOP);
    for (float fps : {0.5f, 121.0f, NAN}) {
        r->set_frame_rate(fps);
        EXPECT_FLOAT_EQ(r->get_frame_time(), 1.0f / 30.0f) << fps;
    }
    r->set_frame_rate(60.0f);
    EXPECT_FLOAT_EQ(r->get_frame_time(), 1.0f / 60.0f);
    EXPECT_FLOAT_EQ(m_def->get_frame_rate(), 60.0f);
    // Scripts reach the same clock through setFPS.
    as_value set_fps = script_test::member(r->get_root_sprite(), "setFPS");
    for (double fps : {0.0, 200.0, 1e300, 24.0}) {
        script_test::call(*r->get_root_sprite()->get_environment(), set_fps, as_value(r->get_root_sprite()), {fps});
    }
    EXPECT_FLOAT_EQ(r->get_frame_time(), 1.0f / 24.0f);
}

TEST_F(RootTest, keys_reach_the_key_object_and_presses_the_key_listeners) {
    smart_ptr<root> r = Play(player_movies::ShapesMovie(1, 30));
    ASSERT_TRUE(r);
    auto* keys = static_cast<as_key*>(find_key_input(m_player.get_ptr()));
    ASSERT_TRUE(keys);
    smart_ptr<button_like> listener = new button_like(m_player.get_ptr(), nullptr);
    r->get_keypress_listener().add(listener.get_ptr());
    r->notify_key_event(65, true);
    EXPECT_TRUE(keys->is_key_down(65));
    r->notify_key_event(65, false);
    EXPECT_FALSE(keys->is_key_down(65));
    r->notify_key_event(66, true);
    EXPECT_EQ(listener->m_keys, (std::vector<int>{65, 66}));
    // Script that replaces Key stops the forwarding, with a message; presses still go out.
    m_player->get_global()->set_member("Key", as_value(1));
    ClearLog();
    r->notify_key_event(67, true);
    EXPECT_TRUE(Logged("swfplayer::notify_key_event(): no Key built-in"));
    EXPECT_EQ(listener->m_keys.back(), 67);
}

}  // namespace swf_testing
