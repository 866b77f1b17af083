// How well the shipped bots play, over whole headless matches spread over the shipped arenas:
// each beats a random player (steering and spitting at random) nearly always, and two bots
// against each other bring their matches to an end.
#include "tests/game/window/MatchHarness.h"

#include <gtest/gtest.h>

#include <iostream>
#include <map>

namespace match_testing {
namespace {

// Five minutes of play.
constexpr int kMaxSteps = 15000;
// Matches a test plays: enough for its figures to judge the bots by.
constexpr int kMatches = 50;

std::string Name(const std::string& file) {
    const size_t slash = file.rfind('/');
    return file.substr(slash + 1, file.size() - slash - 5);
}

// Plays the match to its end or to kMaxSteps, checking it after every step; the steps it took,
// or kMaxSteps + 1 when it did not end.
int PlayOut(HarnessMatch& match) {
    const MatchChecks checks(match.Game());
    for (int step = 0; step < kMaxSteps; ++step) {
        if (!match.Step()) {
            return step + 1;
        }
        const std::string failed = checks.Check(match.Game());
        EXPECT_EQ(failed, "") << "step " << step;
        if (!failed.empty()) {
            return kMaxSteps + 1;
        }
    }
    return kMaxSteps + 1;
}

class BotStrength : public GameFolder, public ::testing::WithParamInterface<std::string> {};

TEST_P(BotStrength, the_bot_beats_a_random_player_nearly_always) {
    const std::vector<std::string> levels = ShippedLevelFiles();
    const std::vector<std::string> creatures = ShippedCreatureFiles();
    std::map<std::string, std::pair<int, int>> perLevel;
    int wins = 0;
    for (int i = 0; i < kMatches; ++i) {
        const std::string& level = levels[i % levels.size()];
        HarnessMatch match(level, creatures[i % creatures.size()], GetParam(), 100 + i, Player::kRandom, Player::kBot);
        ASSERT_TRUE(match.Game().HasLevel());
        const int steps = PlayOut(match);
        const bool won = steps <= kMaxSteps && match.Game().GetStatistics().winner == GameStatistics::kPlayer2;
        wins += won ? 1 : 0;
        perLevel[Name(level)].first += won ? 1 : 0;
        perLevel[Name(level)].second += 1;
        std::cout << Name(GetParam()) << " on " << Name(level) << ": " << (won ? "won" : "did not win") << " in "
                  << steps << " steps, " << match.Game().GetStatistics().player1.score << ":"
                  << match.Game().GetStatistics().player2.score << "\n";
    }
    for (const auto& [level, figures] : perLevel) {
        std::cout << Name(GetParam()) << " on " << level << ": " << figures.first << " of " << figures.second
                  << " won\n";
    }
    std::cout << Name(GetParam()) << ": " << wins << " of " << kMatches << " won\n";
    EXPECT_GE(wins * 10, kMatches * 9);
}

INSTANTIATE_TEST_SUITE_P(ShippedBots, BotStrength, ::testing::ValuesIn(ShippedBotFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return Name(info.param); });

class BotAgainstBot : public GameFolder {};

TEST_F(BotAgainstBot, two_bots_finish_their_matches_within_five_minutes) {
    const std::vector<std::string> levels = ShippedLevelFiles();
    const std::vector<std::string> bots = ShippedBotFiles();
    ASSERT_GE(bots.size(), 2u);
    int finished = 0;
    std::map<std::string, std::pair<int, int>> record;  // wins and matches of each bot
    for (int i = 0; i < kMatches; ++i) {
        const std::string& level = levels[i % levels.size()];
        const std::string& bot1 = bots[i % bots.size()];
        const std::string& bot2 = bots[(i / bots.size() + i + 1) % bots.size()];
        HarnessMatch match(level, bot1, bot2, 500 + i, Player::kBot, Player::kBot);
        const int steps = PlayOut(match);
        finished += steps <= kMaxSteps ? 1 : 0;
        const int winner = steps <= kMaxSteps ? match.Game().GetStatistics().winner : GameStatistics::kDraw;
        record[Name(bot1)].first += winner == GameStatistics::kPlayer1 ? 1 : 0;
        record[Name(bot2)].first += winner == GameStatistics::kPlayer2 ? 1 : 0;
        record[Name(bot1)].second += 1;
        record[Name(bot2)].second += 1;
        std::cout << Name(bot1) << " against " << Name(bot2) << " on " << Name(level) << ": "
                  << (steps <= kMaxSteps ? "ended" : "did not end") << " after " << steps << " steps, "
                  << match.Game().GetStatistics().player1.score << ":" << match.Game().GetStatistics().player2.score
                  << "\n";
    }
    for (const auto& [bot, figures] : record) {
        std::cout << bot << " won " << figures.first << " of the " << figures.second << " matches it played\n";
    }
    std::cout << finished << " of " << kMatches << " finished\n";
    EXPECT_GE(finished * 10, kMatches * 8);
}

}  // namespace
}  // namespace match_testing
