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
#include "tools/swfkit/Movie.h"

#include <cmath>
#include <string>
#include <vector>

namespace swf_testing {

using swfplayer::character;
using swfplayer::event_id;
using swfplayer::movie_def_impl;
using swfplayer::root;
using swfplayer::smart_ptr;

class RootTest : public SwfLoadingFixture {
protected:
    void SetUp() override {
        SwfLoadingFixture::SetUp();
        swfplayer::register_shape_loaders();
    }

    smart_ptr<root> Play(const std::vector<uint8_t>& movie) {
        m_def = LoadMovie(movie);
        EXPECT_TRUE(m_def);
        return m_def ? swfplayer::create_instance(m_def.get_ptr()) : nullptr;
    }

    smart_ptr<movie_def_impl> m_def;
};

int s_loads = 0;

void count_load(const swfplayer::fn_call&) {
    s_loads++;
}

TEST_F(RootTest, the_first_advance_ticks_at_once_and_the_remainder_keeps_what_is_left_of_a_frame) {
    smart_ptr<root> r = Play(player_movies::ShapesMovie(40, 30));
    ASSERT_TRUE(r);
    const float frame = 1.0f / 30.0f;
    EXPECT_FLOAT_EQ(r->get_frame_time(), frame);
    s_loads = 0;
    r->get_root_sprite()->set_member("onLoad", swfplayer::as_value(count_load));
    r->advance(0.02f);
    // One step of the root sprite, whatever the time it is given: its first, which loads it.
    EXPECT_EQ(s_loads, 1);
    EXPECT_EQ(r->get_current_frame(), 0);
    EXPECT_NEAR(r->get_time_remainder(), std::fmod(1.02f - frame, frame), 1e-5f);
    // Nothing more until a whole frame has gathered.
    r->advance(0.0f);
    EXPECT_EQ(r->get_current_frame(), 0);
    r->advance(frame);
    EXPECT_EQ(r->get_current_frame(), 1);
    EXPECT_EQ(s_loads, 1);
}

TEST_F(RootTest, bad_time_steps_and_a_zero_frame_rate_do_no_harm) {
    smart_ptr<root> r = Play(player_movies::ShapesMovie(5, 30));
    ASSERT_TRUE(r);
    r->advance(0.02f);
    for (float dt : {NAN, -1.0f, INFINITY, -INFINITY}) {
        r->advance(dt);
        EXPECT_TRUE(std::isfinite(r->get_time_remainder())) << dt;
        EXPECT_EQ(r->get_current_frame(), 0) << dt;
    }
    // The clock still runs afterwards.
    r->advance(1.0f / 30.0f);
    EXPECT_EQ(r->get_current_frame(), 1);

    smart_ptr<root> still = Play(player_movies::WaitingMovie(3, 0, false));
    ASSERT_TRUE(still);
    for (int i = 0; i < 5; ++i) {
        still->advance(10.0f);
    }
    EXPECT_EQ(still->get_current_frame(), 0);
}

TEST_F(RootTest, viewport_pixel_scale_and_background_alpha) {
    // The 200 x 100 pixel shapes movie.
    smart_ptr<root> r = Play(player_movies::ShapesMovie(1, 30));
    ASSERT_TRUE(r);
    const struct {
        int width, height;
        float scale;
    } viewports[] = {{200, 100, 1.0f}, {800, 600, 6.0f}, {400, 100, 2.0f}, {0, 0, 0.0f}};
    for (const auto& v : viewports) {
        r->set_display_viewport(0, 0, v.width, v.height);
        EXPECT_FLOAT_EQ(r->get_pixel_scale(), v.scale) << v.width << "x" << v.height;
    }
    const struct {
        float alpha;
        int byte;
    } alphas[] = {{0.5f, 128}, {-1.0f, 0}, {2.0f, 255}, {0.0f, 0}, {1.0f, 255}, {NAN, 0}};
    for (const auto& a : alphas) {
        r->set_background_alpha(a.alpha);
        EXPECT_EQ(r->get_background_color().a, a.byte) << a.alpha;
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
    const struct {
        const char* text;
        std::vector<std::pair<const char*, const char*>> members;
    } cases[] = {
        {"a=1,b=2", {{"a", "1"}, {"b", "2"}}},
        {"a=1,", {{"a", "1"}}},
        {"no equals sign", {}},
        {"x=,y=z=1", {{"x", ""}, {"y", "z=1"}}},
    };
    for (const auto& c : cases) {
        m_player->set_flash_vars(c.text);
        smart_ptr<root> r = Play(player_movies::ShapesMovie(2, 30));
        ASSERT_TRUE(r);
        r->advance(0.0f);
        swfplayer::sprite_instance* movie = r->get_root_sprite();
        for (const char* name : {"a", "b", "x", "y"}) {
            swfplayer::as_value value;
            bool expected = false;
            for (const auto& [member, text] : c.members) {
                if (std::string(member) == name) {
                    expected = true;
                    ASSERT_TRUE(movie->get_member(name, &value)) << c.text << " " << name;
                    EXPECT_TRUE(value.is_string()) << c.text << " " << name;
                    EXPECT_STREQ(value.to_string(), text) << c.text << " " << name;
                }
            }
            if (!expected) {
                EXPECT_FALSE(movie->get_member(name, &value)) << c.text << " " << name;
            }
        }
    }
}

// A 20-pixel square at the stage's corner that takes mouse events and records them.
class button_like : public character {
public:
    button_like(swfplayer::player* owner, character* parent, std::vector<int>* events)
        : character(owner, parent, 99), m_events(events) {}
    bool on_event(const event_id& id) override {
        m_events->push_back(id.m_id);
        return id.m_id == event_id::SETFOCUS;
    }
    character* get_topmost_mouse_entity(float x, float y) override {
        return x >= 0 && y >= 0 && x < 400 && y < 400 ? this : nullptr;
    }
    bool can_handle_mouse_event() override { return true; }

private:
    std::vector<int>* m_events;
};

TEST_F(RootTest, the_mouse_turns_into_the_button_event_sequence) {
    smart_ptr<root> r = Play(player_movies::ShapesMovie(1, 30));
    ASSERT_TRUE(r);
    std::vector<int> events;
    swfplayer::sprite_instance* movie = r->get_root_sprite();
    smart_ptr<button_like> button = new button_like(m_player.get_ptr(), movie, &events);
    movie->get_display_list().add_display_object(button.get_ptr(), 10, false, swfplayer::cxform(), swfplayer::matrix(),
                                                 0.0f, 0);
    r->notify_mouse_state(50, 5, 0);
    r->advance(0.02f);  // the first tick, with the mouse off the button
    events.clear();
    using e = event_id;
    const struct {
        int x, buttons;
        std::vector<int> sent;
    } steps[] = {
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
    for (const auto& s : steps) {
        events.clear();
        r->notify_mouse_state(s.x, 5, s.buttons);
        r->advance(0.0f);
        EXPECT_EQ(events, s.sent) << "mouse at " << s.x << " buttons " << s.buttons;
    }
    EXPECT_EQ(r->get_current_focus(), button.get_ptr());
}

TEST_F(RootTest, labels_play_state_and_frames_are_forwarded_to_the_root_sprite) {
    smart_ptr<root> r = Play(player_movies::ShapesMovie(3, 30));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->get_movie_width(), 200);
    EXPECT_EQ(r->get_movie_height(), 100);
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
}

// Counts the key presses it hears.
class key_listener : public swfplayer::as_object {
public:
    explicit key_listener(swfplayer::player* owner) : as_object(owner) {}
    bool on_event(const event_id& id) override {
        if (id.m_id == event_id::KEY_PRESS) {
            m_codes.push_back(id.m_key_code);
        }
        return true;
    }
    std::vector<int> m_codes;
};

TEST_F(RootTest, keys_reach_the_key_object_and_presses_the_key_listeners) {
    smart_ptr<root> r = Play(player_movies::ShapesMovie(1, 30));
    ASSERT_TRUE(r);
    auto* keys = static_cast<swfplayer::as_key*>(swfplayer::find_key_input(m_player.get_ptr()));
    ASSERT_TRUE(keys);
    smart_ptr<key_listener> listener = new key_listener(m_player.get_ptr());
    r->get_keypress_listener().add(listener.get_ptr());
    r->notify_key_event(65, true);
    EXPECT_TRUE(keys->is_key_down(65));
    r->notify_key_event(65, false);
    EXPECT_FALSE(keys->is_key_down(65));
    r->notify_key_event(66, true);
    EXPECT_EQ(listener->m_codes, (std::vector<int>{65, 66}));
    // Script that replaces Key stops the forwarding, with a message; presses still go out.
    m_player->get_global()->set_member("Key", swfplayer::as_value(1));
    ClearLog();
    r->notify_key_event(67, true);
    EXPECT_TRUE(Logged("swfplayer::notify_key_event(): no Key built-in"));
    EXPECT_EQ(listener->m_codes.back(), 67);
}

}  // namespace swf_testing
