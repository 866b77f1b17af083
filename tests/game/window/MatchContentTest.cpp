// What a match loads from the game's data: every file it names, and the movies' clips, frames
// and commands that it relies on.
#include "flash/FSCommand.h"
#include "game/BallStates.h"
#include "game/FlashClip.h"
#include "game/HitEffect.h"
#include "tests/game/window/MatchHarness.h"
#include "tools/match/MatchMovies.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace match_testing {
namespace {

using MatchContent = GameFolder;

TEST_F(MatchContent, every_file_the_match_names_is_shipped) {
    std::vector<std::string> files = {SpitGame::kScoreMovie,
                                      SpitGame::kCountdownMovie,
                                      SpitGame::kMatchOverSound,
                                      SpitGame::kMatchMusic,
                                      hit_effect::kMovie,
                                      ball_states::kNeutralMovie,
                                      "data/ball.swf",
                                      "data/ball_glow.swf",
                                      "data/gametitle_level_empty.xml",
                                      "data/gametitle_level_bottle.xml",
                                      "data/championship_podium_level.xml",
                                      "data/tutorial_level.xml",
                                      "data/tutorial_level_fun.xml"};
    for (const char* series : {"hit", "swallow", "shoot"}) {
        for (int i = 1; i <= 5; ++i) {
            files.push_back("data/sounds/" + std::string(series) + std::to_string(i) + ".wav");
        }
    }
    for (const std::string& file : files) {
        EXPECT_TRUE(std::filesystem::is_regular_file(std::filesystem::path(PONDORIX_GAME_DIR) / file)) << file;
    }
}

// Each life bar has a frame for every score from 0 to 10, and each frame holds the two clips the
// match tints.
TEST_F(MatchContent, the_life_bars_hold_a_frame_per_score_with_their_tinted_clips) {
    FlashMovie score(SpitGame::kScoreMovie);
    ASSERT_NE(score.GetRoot(), nullptr);
    EXPECT_EQ(score.GetWidth(), SpitGame::kScreenWidth);
    EXPECT_EQ(score.GetHeight(), SpitGame::kScreenHeight);
    for (const char* bar : {"LifebarL", "LifebarR"}) {
        swfplayer::character* sprite = score.GetCharacter(bar);
        ASSERT_NE(sprite, nullptr) << bar;
        EXPECT_EQ(sprite->get_frame_count(), match_movies::kSlots + 1);
        for (int frame = match_movies::kSlots; frame >= 0; --frame) {
            sprite->goto_frame(frame);
            score.Advance(0.0f);
            EXPECT_EQ(sprite->get_current_frame(), frame);
            EXPECT_NE(score.GetChildCharacter(bar, "LifebarStart"), nullptr) << bar << " " << frame;
            EXPECT_NE(score.GetChildCharacter(bar, "Lifebar"), nullptr) << bar << " " << frame;
        }
        score.Advance(1.0f);
        EXPECT_EQ(sprite->get_current_frame(), 0) << "the bar stays on its frame";
    }
}

class Commands : public sigslot::has_slots<> {
public:
    Commands() { FSCommandSignal().connect(this, &Commands::OnCommand); }
    void OnCommand(const char* command) { received.emplace_back(command); }
    std::vector<std::string> received;
};

// The countdown sends "Go" once, when it has run, and stops.
TEST_F(MatchContent, the_countdown_sends_go_once_when_it_has_run) {
    Commands commands;
    FlashMovie countdown(SpitGame::kCountdownMovie);
    ASSERT_NE(countdown.GetRoot(), nullptr);
    float elapsed = 0.0f;
    while (commands.received.empty() && elapsed < 10.0f) {
        countdown.Advance(kStep);
        elapsed += kStep;
    }
    EXPECT_EQ(commands.received, std::vector<std::string>{"Go"});
    EXPECT_NEAR(elapsed, match_movies::CountdownSeconds(), 0.1f);
    for (int i = 0; i < 100; ++i) {
        countdown.Advance(kStep);
    }
    EXPECT_EQ(commands.received.size(), 1u);
    EXPECT_EQ(countdown.GetRoot()->get_play_state(), swfplayer::character::STOP);
}

// The splash and the puff play once and stop, within a second.
TEST_F(MatchContent, the_effects_play_once_and_stop) {
    for (const char* file : {hit_effect::kMovie, ball_states::kNeutralMovie}) {
        FlashClip clip(file);
        ASSERT_NE(clip.GetMovie().GetRoot(), nullptr) << file;
        int updates = 1;
        while (clip.Update(nullptr, PhysicsWorld(), kStep) && updates < 100) {
            ++updates;
        }
        EXPECT_GT(updates, 5) << file;
        EXPECT_LT(updates, 50) << file;
    }
}

}  // namespace
}  // namespace match_testing
