// A movie loaded into the root movie replaces the whole root at a safe point: from a button's
// action, a frame action, a timer's callback and a call of the host, the new movie plays and the
// old one's timers and key listeners stay silent; once the host adopts the new root, the old
// movie is freed.
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/player/clip_loader.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/shapes/shape_loaders.h"
#include "tests/support/TempDir.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/player/PlayerMovies.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

#include <string>
#include <tuple>

namespace swf_testing {
namespace {

using namespace swfplayer;
using swfkit::assemble;

constexpr float kFrame = 1.0f / 30.0f;

// Adds one to the global counter name.
std::string Count(const std::string& name) {
    return "'_global' get_var '" + name + "' '_global' get_var '" + name + "' get_member inc set_member ";
}

// Loads new.swf into _root when the global "trigger" is trigger.
std::string LoadWhen(const std::string& trigger) {
    return "'_global' get_var 'trigger' get_member '" + trigger + "' str_eq not if:skip_" + trigger +
           " #83:'new.swf','_root' @skip_" + trigger + " ";
}

// 200 x 100 pixels at 30 frames a second, two frames. The first places a clip that counts key
// presses (old_keys) and a 20-pixel button at the corner, starts a timer that counts its ticks
// (old_ticks), and defines load() for the host. The second counts old_frames. Each of the
// button's release, the timer and the second frame loads new.swf into _root when the global
// trigger names it.
swfkit::Bytes OldMovie() {
    swfkit::Movie movie(8, {0, 4000, 0, 2000}, 30);
    swfkit::TagList& tags = movie.Tags();
    tags.DefineShape(1, player_movies::Square({0, 0, 255, 255}, 400));
    tags.DefineSprite(2, swfkit::TagList(8).ShowFrame());
    swfkit::ButtonRecord hit;
    hit.up = hit.over = hit.down = hit.hitTest = true;
    hit.characterId = 1;
    tags.DefineButton2(3, false, {hit}, {{0x0008, assemble(LoadWhen("button")).bytes()}});
    swfkit::Placement keys = player_movies::Place(1, 2, "keys");
    keys.clipActions.push_back({0x20000, 65, assemble(Count("old_keys")).bytes()});
    tags.PlaceObject2(keys).PlaceObject2(player_movies::Place(2, 3, "button"));
    tags.DoAction(assemble("1 fn:() { " + Count("old_ticks") + LoadWhen("timer") +
                           "} 2 'setInterval' call_func pop fn:load() { #83:'new.swf','_root' }")
                      .bytes());
    tags.ShowFrame();
    tags.DoAction(assemble(Count("old_frames") + LoadWhen("frame")).bytes());
    tags.ShowFrame();
    return movie.Write(false);
}

// 300 x 150 pixels, two frames that each count new_frames.
swfkit::Bytes NewMovie() {
    swfkit::Movie movie(8, {0, 6000, 0, 3000}, 30);
    for (int frame = 0; frame < 2; ++frame) {
        movie.Tags().DoAction(assemble(Count("new_frames")).bytes()).ShowFrame();
    }
    return movie.Write(false);
}

class RootReplacementTest : public SwfLoadingFixture {
protected:
    void SetUp() override {
        SwfLoadingFixture::SetUp();
        register_shape_loaders();
        register_clip_loader();
        const swfkit::Bytes bytes = NewMovie();
        testing_support::WriteFile(m_dir / "new.swf", std::string(bytes.begin(), bytes.end()));
        m_player->set_workdir((m_dir.Path().string() + "/").c_str());
    }

    // A playing root of the old movie, the counters at 0 and the trigger set.
    smart_ptr<root> PlayOld(const char* trigger) {
        as_object* global = m_player->get_global();
        for (const char* counter : {"old_keys", "old_ticks", "old_frames", "new_frames"}) {
            global->set_member(counter, as_value(0));
        }
        global->set_member("trigger", as_value(trigger));
        m_old = LoadMovie(OldMovie());
        return m_old ? create_instance(m_old.get_ptr()) : nullptr;
    }
    int Counter(const char* name) {
        as_value value;
        m_player->get_global()->get_member(name, &value);
        return value.to_int();
    }
    // One frame of the host on the root it holds: the mouse over the button (pressed on step 1
    // only), a key press, and an advance.
    void Step(root* r, int step) {
        r->notify_mouse_state(10, 10, step == 1 ? 1 : 0);
        r->notify_key_event(65, true);
        r->advance(kFrame);
    }

    testing_support::TempDir m_dir;
    smart_ptr<movie_def_impl> m_old;
};

TEST_F(RootReplacementTest, the_new_movie_plays_and_the_old_one_stays_silent_and_goes) {
    for (const char* trigger : {"button", "frame", "timer", "host"}) {
        SCOPED_TRACE(trigger);
        smart_ptr<root> r = PlayOld(trigger);
        ASSERT_TRUE(r);
        r->set_display_viewport(5, 6, 70, 80);
        weak_ptr<root> old_root = r.get_ptr();
        weak_ptr<as_object> old_movie = r->get_root_sprite();
        int step = 0;
        for (; step < 6 && !r->get_replacement(); ++step) {
            if (step == 2 && std::string(trigger) == "host") {
                // Asked between advances, the new root takes over as the next advance starts.
                r->call_method("load", "");
                EXPECT_FALSE(r->get_replacement());
            }
            Step(r.get_ptr(), step);
        }
        ASSERT_TRUE(r->get_replacement());
        EXPECT_LE(step, 3);
        smart_ptr<root> next = r->get_replacement();
        EXPECT_EQ(m_player->get_root(), next.get_ptr());
        EXPECT_EQ(next->get_movie_width(), 300);
        // The new movie shows in the old one's viewport.
        EXPECT_FLOAT_EQ(next->get_pixel_scale(), 80.0f / 150.0f);
        // The old movie worked until then: its timer ticked and its clip heard the keys.
        const int ticks = Counter("old_ticks");
        const int keys = Counter("old_keys");
        const int frames = Counter("old_frames");
        EXPECT_GT(ticks, 0);
        EXPECT_GT(keys, 0);
        // A host that kept the old root still plays the new movie through it.
        const int new_frames = Counter("new_frames");
        Step(r.get_ptr(), 3);
        EXPECT_GT(Counter("new_frames"), new_frames);
        // The host adopts the new root; the old movie goes with the old root.
        r = next;
        next = nullptr;
        for (int i = 0; i < 4; ++i) {
            Step(r.get_ptr(), 3);
        }
        EXPECT_EQ(std::make_tuple(Counter("old_ticks"), Counter("old_keys"), Counter("old_frames")),
                  std::make_tuple(ticks, keys, frames));
        EXPECT_GE(Counter("new_frames"), new_frames + 4);
        EXPECT_FALSE(old_root.get_ptr());
        EXPECT_FALSE(old_movie.get_ptr());
    }
}

TEST_F(RootReplacementTest, only_a_whole_movie_replaces_a_playing_root_and_the_last_request_wins) {
    smart_ptr<root> r = PlayOld("none");
    ASSERT_TRUE(r);
    sprite_instance* stage = r->get_root_sprite();
    smart_ptr<movie_def_impl> first = LoadMovie(NewMovie());
    smart_ptr<movie_def_impl> second = LoadMovie(NewMovie());
    ASSERT_TRUE(first && second);
    EXPECT_EQ(stage->replace_me(static_cast<movie_definition*>(nullptr)), nullptr);
    EXPECT_EQ(stage->replace_me(static_cast<movie_definition*>(first.get_ptr())), stage);
    EXPECT_EQ(stage->replace_me(static_cast<movie_definition*>(second.get_ptr())), stage);
    // A clip's timeline is no movie to make a root of.
    character_def* clip_timeline = m_old->get_character_def(2);
    ASSERT_TRUE(clip_timeline);
    EXPECT_EQ(stage->replace_me(static_cast<movie_definition*>(clip_timeline)), nullptr);
    r->advance(kFrame);
    ASSERT_TRUE(r->get_replacement());
    EXPECT_EQ(r->get_replacement()->get_movie_definition(), second.get_ptr());
    // A retired root takes no more requests.
    EXPECT_EQ(stage->replace_me(static_cast<movie_definition*>(first.get_ptr())), nullptr);
}

}  // namespace
}  // namespace swf_testing
