// Hostile movies played within time and memory bounds, each in a child process so that a
// regression fails fast instead of hanging the suite or eating the machine: a frame of any movie
// ends within its budget, and memory stays bounded and is given back.
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/precompute.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/shapes/shape_loaders.h"
#include "swfplayer/main/sound/sound_handler.h"
#include "swfplayer/main/text/font.h"
#include "swfplayer/main/text/text_loaders.h"
#include "tests/support/BoundedRun.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/player/HostileMovies.h"
#include "tests/swfplayer/main/sound/RecordingSoundHandler.h"

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>

namespace swf_testing {

using namespace swfplayer;
using namespace std::chrono_literals;
using testing_support::BoundedRun;
using testing_support::RunBounded;

constexpr size_t kMegabyte = 1024 * 1024;

// A failed check inside the child ends the child's work, and with it the bounded run.
void Require(bool condition, const std::string& what) {
    if (!condition) {
        throw std::runtime_error(what);
    }
}

class HostileMovieTest : public SwfLoadingFixture {
protected:
    // Loads the movie and plays frames frames of it (the first advance plays the first frame) in
    // a bounded child, then runs check on the root there.
    BoundedRun Play(const swfkit::Bytes& movie, int frames, std::chrono::milliseconds timeout, size_t memory,
                    const std::function<void(root*)>& check) {
        return RunBounded(
            [&] {
                smart_ptr<movie_def_impl> def = LoadMovie(movie);
                Require(def != nullptr, "the movie loads");
                smart_ptr<root> r = create_instance(def.get_ptr());
                Require(r != nullptr, "the movie plays");
                for (int frame = 0; frame < frames; frame++) {
                    r->advance(r->get_frame_time());
                }
                check(r.get_ptr());
            },
            timeout, memory);
    }

    // A timeline variable of the root movie.
    static as_value Variable(root* r, const char* name) {
        as_value value;
        r->get_root_sprite()->get_member(name, &value);
        return value;
    }
    static double Length(const as_value& object) {
        as_value length;
        return object.to_object() && object.to_object()->get_member("length", &length) ? length.to_number() : -1.0;
    }
};

TEST_F(HostileMovieTest, split_and_push_cost_in_proportion_to_the_elements_they_make) {
    // Once 43 s for the split and 7.8 s for 50,000 pushes: every push recounted the array.
    BoundedRun run = Play(hostile_movies::SplitAndPush(), 1, 30s, 512 * kMegabyte, [](root* r) {
        Require(Length(Variable(r, "a")) == 131072, "one element per character");
        Require(Length(Variable(r, "b")) == 200000, "one element per push");
        as_value last;
        Require(Variable(r, "b").to_object()->get_member("199999", &last) && last.to_number() == 199999,
                "the last push is the last element");
    });
    EXPECT_TRUE(run.finished) << run.Describe();
}

TEST_F(HostileMovieTest, string_work_is_charged_by_the_bytes_it_touches_wherever_the_string_sits) {
    // charAt of an 8 MB string in a register once built a 32 MB table per call, uncharged: 100
    // calls took 10 s and the endless loop after them never ended. The frame gets a tenth of the
    // budget: pushing the register copies nothing, so the loop's calls cost an instruction or two
    // each, and a whole budget of them takes some 15 s.
    const int64_t budget = instruction_budget::get_budget();
    instruction_budget::set_budget(budget / 10);
    BoundedRun run = Play(hostile_movies::CharAtOfRegister(), 1, 40s, 768 * kMegabyte, [this](root* r) {
        Require(std::string(Variable(r, "c").to_string()) == "x", "charAt reads the character");
        Require(Logged("script stopped after"), "the endless loop is cut");
    });
    instruction_budget::set_budget(budget);
    EXPECT_TRUE(run.finished) << run.Describe();
}

TEST_F(HostileMovieTest, finding_a_child_by_name_does_not_walk_the_children) {
    // 19,000 children and 40,000 reads of a member the root lacks: every read walked them all.
    BoundedRun run = Play(hostile_movies::ManyChildren(), 1, 30s, 768 * kMegabyte, [](root* r) {
        Require(r->get_root_sprite()->get_display_list().size() == 19000, "every clip is made");
        Require(Variable(r, "x").is_undefined() && Variable(r, "j").to_number() == 40000, "every read is done");
        as_value last = Variable(r, "c18999");
        Require(last.to_object() && last.to_object()->is(AS_SPRITE), "the last clip is found by name");
    });
    EXPECT_TRUE(run.finished) << run.Describe();
}

TEST_F(HostileMovieTest, a_class_that_attaches_its_own_symbol_ends_its_frame) {
    // Every constructor read its variables past all the clips made before it: 20 s.
    BoundedRun run = Play(hostile_movies::SelfAttachingClass(), 1, 8s, 768 * kMegabyte, [](root* r) {
        Require(r->get_root_sprite()->get_display_list().size() >= sprite_instance::max_characters - 10,
                "clips are made until the player holds all it may");
    });
    EXPECT_TRUE(run.finished) << run.Describe();
}

TEST_F(HostileMovieTest, endless_interval_timers_share_the_budget_of_their_frame) {
    // A thousand timers with endless bodies once took 1.4 s each, every frame.
    BoundedRun run = Play(hostile_movies::EndlessTimers(1000), 2, 60s, 512 * kMegabyte, [this](root* r) {
        Require(r->get_player()->get_frame_object_count() == 1000, "every timer is made");
        Require(CountLogged("script stopped after") == 1, "the frame that ran the timers said so once");
    });
    EXPECT_TRUE(run.finished) << run.Describe();
}

TEST_F(HostileMovieTest, precomputing_a_movie_that_never_moves_on_ends) {
    // A frame rate of 1/256 and an endless timer: 10,000 steps of 1.5 s each.
    BoundedRun run = RunBounded(
        [this] {
            smart_ptr<movie_def_impl> def = LoadMovie(hostile_movies::EndlessTimers(1, 1.0 / 256.0));
            Require(def != nullptr, "the movie loads");
            precompute_cached_data(def.get_ptr());
            Require(CountLogged("script stopped after") == 1, "the timer is cut once");
        },
        60s, 512 * kMegabyte);
    EXPECT_TRUE(run.finished) << run.Describe();
}

TEST_F(HostileMovieTest, reference_cycles_of_literals_and_functions_are_collected) {
    // Object and array literals and functions that refer to themselves, 3 MB of them every other
    // frame, once stayed for good: 300 passes kept 900 MB.
    BoundedRun run = Play(hostile_movies::Cycles(), 600, 120s, 400 * kMegabyte, [](root* r) {
        Require(Variable(r, "runs").to_number() == 300, "the frame script ran on every pass");
        Require(r->get_player()->get_heap_size() < 1000, "the cycles left the heap");
    });
    EXPECT_TRUE(run.finished) << run.Describe();
    EXPECT_LT(run.peakGrowth, 200 * kMegabyte) << run.Describe();
}

TEST_F(HostileMovieTest, broadcasts_from_listeners_wait_in_a_bounded_queue) {
    // 300 listeners that broadcast a 100-argument message again on each one: the queue once
    // reached 1.77 GB in 2 s.
    BoundedRun run = Play(hostile_movies::Rebroadcasts(), 1, 60s, 512 * kMegabyte, [this](root* r) {
        as_value delivered;
        r->get_player()->get_global()->get_member("d", &delivered);
        Require(delivered.to_number() >= 300000, "every queued broadcast reached every listener");
        Require(CountLogged("more are dropped") == 1, "the full queue said so once");
    });
    EXPECT_TRUE(run.finished) << run.Describe();
    EXPECT_LT(run.peakGrowth, 200 * kMegabyte) << run.Describe();
}

TEST_F(HostileMovieTest, a_text_field_lays_out_what_can_show) {
    // A 4 MB text once cost 900 MB of glyph records, lines far below the field included.
    BoundedRun run = Play(hostile_movies::LongTextField(), 1, 30s, 300 * kMegabyte, [](root* r) {
        Require(Variable(r, "n").to_number() == 4194304, "the field holds the whole text");
    });
    EXPECT_TRUE(run.finished) << run.Describe();
    EXPECT_LT(run.peakGrowth, 150 * kMegabyte) << run.Describe();
}

TEST_F(HostileMovieTest, strings_that_joining_would_grow_past_16_mb_stop_the_script) {
    // toString of 256 copies of a 16 MB array peaked at 4.2 GB and concat at 4.6 GB, then a
    // length_error ended the program.
    for (bool concatenate : {false, true}) {
        BoundedRun run = Play(hostile_movies::HugeJoin(concatenate), 1, 30s, 600 * kMegabyte, [this](root* r) {
            Require(Logged("script stopped: string too long"), "the growth stops the script");
            Require(Variable(r, "after").is_undefined(), "the script goes no further");
            Require(Length(Variable(r, "inner")) == 16, "what was built stays");
        });
        EXPECT_TRUE(run.finished) << concatenate << ": " << run.Describe();
        EXPECT_LT(run.peakGrowth, 300 * kMegabyte) << concatenate << ": " << run.Describe();
    }
}

TEST_F(HostileMovieTest, values_holding_one_string_share_its_bytes) {
    // 300 pushes of an 8 MB string in a register once peaked at 2.4 GB in one frame.
    BoundedRun run = Play(hostile_movies::RegisterStringPushes(), 1, 30s, 768 * kMegabyte, [](root* r) {
        Require(Variable(r, "count").to_number() == 300, "every value pushed is the string");
        Require(Variable(r, "n").to_number() == 8 * kMegabyte, "of 8 MB");
    });
    EXPECT_TRUE(run.finished) << run.Describe();
    EXPECT_LT(run.peakGrowth, 64 * kMegabyte) << run.Describe();
}

TEST_F(HostileMovieTest, the_text_a_frame_makes_is_bounded) {
    // Twenty joined texts of 16 MB kept on the stack: all of them new text, none a copy.
    BoundedRun run = Play(hostile_movies::KeptConcatenations(), 1, 30s, 768 * kMegabyte, [this](root* r) {
        Require(Logged("script stopped: string memory"), "the growth stops the script");
        Require(Variable(r, "after").is_undefined(), "the script goes no further");
    });
    EXPECT_TRUE(run.finished) << run.Describe();
    EXPECT_LT(run.peakGrowth, 300 * kMegabyte) << run.Describe();
}

TEST_F(HostileMovieTest, tags_hold_only_the_bytes_the_file_has) {
    // A 706-byte movie whose font claims 2.4 GB loaded in 5.7 s and took 1.38 GB; a 42-byte one
    // whose sound claims 2 GB took 48 s and 2 GB with a sound handler installed.
    register_shape_loaders();
    register_text_loaders();
    const swfkit::Bytes font_movie = hostile_movies::FontClaimingGigabytes();
    BoundedRun font_run = RunBounded(
        [&] {
            smart_ptr<movie_def_impl> def = LoadMovie(font_movie);
            Require(def != nullptr, "the movie loads");
            character_def* f = def->get_font(0);
            Require(f && f->is(AS_FONT) && static_cast<font*>(f)->get_glyph_count() == 330, "the glyphs are read");
        },
        20s, 256 * kMegabyte);
    EXPECT_EQ(font_movie.size(), 706u);
    EXPECT_TRUE(font_run.finished) << font_run.Describe();
    EXPECT_LT(font_run.peakGrowth, 64 * kMegabyte) << font_run.Describe();

    const swfkit::Bytes sound_movie = hostile_movies::SoundClaimingGigabytes();
    BoundedRun sound_run = RunBounded(
        [&] {
            sound_test::RecordingSoundHandler handler;
            set_sound_handler(&handler);
            smart_ptr<movie_def_impl> def = LoadMovie(sound_movie);
            set_sound_handler(nullptr);
            Require(def != nullptr && handler.sounds.size() == 1, "the sound is made");
            // Each ADPCM frame after a block's first takes at least two bits a channel: the 16
            // bytes after the header (14 of data, the end tag) hold 33 stereo frames.
            Require(handler.sounds[0].samples == 16 * 8 / 4 + 1, "of the samples its bytes can hold");
        },
        20s, 256 * kMegabyte);
    EXPECT_EQ(sound_movie.size(), 42u);
    EXPECT_TRUE(sound_run.finished) << sound_run.Describe();
    EXPECT_LT(sound_run.peakGrowth, 64 * kMegabyte) << sound_run.Describe();
}

}  // namespace swf_testing
