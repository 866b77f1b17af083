#include "tests/swfplayer/main/display/DisplayTestKit.h"

#include <optional>
#include <random>

namespace display_test {

namespace {

constexpr int frame_count = 8;

// A movie of frame_count frames whose main timeline places, moves, replaces and removes
// instances of empty clips at depths 1 to 6 at random, with every kind of placing tag.
void random_timeline(swfkit::Movie& movie, unsigned seed) {
    std::mt19937 rng(seed);
    auto pick = [&](int n) {
        return static_cast<int>(rng() % static_cast<unsigned>(n));
    };
    auto maybe = [&](auto value) {
        return pick(2) ? std::optional(value) : std::nullopt;
    };
    auto random_matrix = [&] {
        return swfkit::Matrix{0.5 + pick(4) * 0.25, 1.0, pick(2) ? 0.25 : 0.0, 0.0, pick(4000) - 2000, pick(4000)};
    };
    auto random_cxform = [&] {
        return swfkit::ColorTransform{true, false, {pick(256), 256, 256, 128 + pick(128)}, {}};
    };
    swfkit::TagList clip(6);
    clip.ShowFrame();
    movie.Tags().DefineSprite(2, clip).DefineSprite(3, clip);
    for (int frame = 0; frame < frame_count; frame++) {
        for (int n = 1 + pick(4); n > 0; n--) {
            const uint16_t depth = static_cast<uint16_t>(1 + pick(6)), id = static_cast<uint16_t>(1 + pick(3));
            swfkit::Placement p;
            p.depth = depth;
            switch (pick(6)) {
            case 0: movie.Tags().PlaceObject(id, depth, random_matrix(), random_cxform()); break;
            case 1:  // a new instance, perhaps named, perhaps a mask
                p.characterId = id;
                p.matrix = random_matrix();
                p.name = maybe(std::string(pick(2) ? "a" : "b"));
                p.clipDepth = maybe(static_cast<uint16_t>(depth + pick(3)));
                movie.Tags().PlaceObject2(p);
                break;
            case 2:  // a move
                p.move = true;
                p.matrix = maybe(random_matrix());
                p.colorTransform = maybe(random_cxform());
                p.ratio = maybe(static_cast<uint16_t>(pick(65536)));
                movie.Tags().PlaceObject2(p);
                break;
            case 3:  // a replacement
                p.characterId = id;
                p.move = true;
                p.matrix = maybe(random_matrix());
                movie.Tags().PlaceObject2(p);
                break;
            case 4: movie.Tags().RemoveObject(id, depth); break;
            default: movie.Tags().RemoveObject2(depth); break;
            }
        }
        movie.Tags().ShowFrame();
    }
}

class GotoOracleTest : public DisplayFixture {
protected:
    // A root sprite of def played from frame 0 to frame.
    smart_ptr<sprite_instance> play_to(movie_def_impl* def, int frame) {
        smart_ptr<sprite_instance> sprite = make_root_sprite(def);
        for (int i = 0; i <= frame; i++) {
            sprite->advance(1.0f / 30.0f);
        }
        EXPECT_EQ(sprite->get_current_frame(), frame);
        return sprite;
    }
};

// For every pair of frames (a, b): jumping to b from a leaves the display list that playing
// from frame 0 to b leaves; so does every jump of a random walk of jumps.
TEST_F(GotoOracleTest, goto_equals_playing_from_the_start) {
    for (unsigned seed = 1; seed <= 40; seed++) {
        smart_ptr<movie_def_impl> def = load_with_clip([seed](swfkit::Movie& m) { random_timeline(m, seed); });
        ASSERT_TRUE(def);
        ASSERT_EQ(def->get_frame_count(), frame_count);
        std::vector<std::vector<child_state>> played;
        for (int b = 0; b < frame_count; b++) {
            played.push_back(picture(play_to(def.get_ptr(), b)->get_display_list()));
        }
        for (int a = 0; a < frame_count; a++) {
            for (int b = 0; b < frame_count; b++) {
                smart_ptr<sprite_instance> sprite = play_to(def.get_ptr(), a);
                sprite->goto_frame(b);
                EXPECT_EQ(sprite->get_current_frame(), b);
                EXPECT_EQ(sprite->get_play_state(), character::STOP);
                ASSERT_EQ(picture(sprite->get_display_list()), played[b])
                    << "seed " << seed << " goto " << b << " from " << a;
            }
        }
        std::mt19937 rng(seed);
        smart_ptr<sprite_instance> walker = play_to(def.get_ptr(), 0);
        for (int step = 0; step < 40; step++) {
            int target = static_cast<int>(rng() % frame_count);
            walker->goto_frame(target);
            ASSERT_EQ(picture(walker->get_display_list()), played[target]) << "seed " << seed << " step " << step;
        }
        // Release this movie's instances, as the root's per-frame collection would.
        walker = nullptr;
        m_player->set_all_heap_flags();
        m_player->sweep_heap();
    }
}

// Jumping back keeps the instances the target frame still shows and drops the later ones.
TEST_F(GotoOracleTest, a_jump_back_keeps_what_the_target_frame_shows) {
    smart_ptr<movie_def_impl> def = load_with_clip([](swfkit::Movie& m) {
        m.Tags().PlaceObject2(placement(1, 1, "a")).ShowFrame();
        m.Tags().PlaceObject2(placement(2, 1, "b")).ShowFrame();
        swfkit::Placement move;
        move.move = true;
        move.matrix = swfkit::Matrix{2.0, 2.0, 0.0, 0.0, 100, 0};
        m.Tags().PlaceObject2(move).ShowFrame();
    });
    smart_ptr<sprite_instance> sprite = play_to(def.get_ptr(), 2);
    smart_ptr<character> first = sprite->get_display_list().get_character_at_depth(1);
    record_events(sprite->get_display_list().get_character_at_depth(2));
    sprite->goto_frame(0);
    ASSERT_EQ(sprite->get_display_list().size(), 1);
    EXPECT_EQ(sprite->get_display_list().get_character(0), first.get_ptr());
    EXPECT_EQ(first->get_matrix().m[0][2], 0.0f);
    EXPECT_EQ(g_events, std::vector<std::string>{"b:unload"});
}

}  // namespace

}  // namespace display_test
