// Whole matches on every shipped arena between two random players, checked after every step, and
// the same seed giving the same match.
#include "app/GameRandom.h"
#include "game/StatisticsFile.h"
#include "tests/game/window/MatchHarness.h"

#include <gtest/gtest.h>

namespace match_testing {
namespace {

constexpr int kSteps = 15000;

class MatchHarnessTest : public GameFolder, public ::testing::WithParamInterface<std::string> {};

// Every match that ends is followed by a new one on the same arena; each result is kept in the
// statistics file.
TEST_P(MatchHarnessTest, fifteen_thousand_random_steps_keep_every_match_sound) {
    const std::vector<std::string> creatures = ShippedCreatureFiles();
    ASSERT_GE(creatures.size(), 2u);
    uint32_t seed = 11;
    auto match = std::make_unique<HarnessMatch>(GetParam(), creatures[0], creatures[1], seed);
    ASSERT_TRUE(match->Game().HasLevel());
    auto checks = std::make_unique<MatchChecks>(match->Game());
    StatisticsStore store;
    int spits = 0;
    int shots = 0;
    for (int step = 0; step < kSteps; ++step) {
        const bool running = match->Step();
        const std::string failed = checks->Check(match->Game());
        ASSERT_EQ(failed, "") << "step " << step;
        if (running) {
            continue;
        }
        const GameStatistics& result = match->Game().GetStatistics();
        const int winner = result.player1.score > result.player2.score   ? 1
                           : result.player1.score < result.player2.score ? 2
                                                                         : 0;
        EXPECT_EQ(result.winner, winner);
        EXPECT_GT(std::max(result.player1.score, result.player2.score),
                  static_cast<int>(match->Game().GetLevel().GetBalls().size()) / 2);
        store.records.push_back(result);
        spits += match->Controller1().GetSpits() + match->Controller2().GetSpits();
        shots += result.player1.numShots + result.player2.numShots;
        match = std::make_unique<HarnessMatch>(GetParam(), creatures[0], creatures[1], ++seed);
        checks = std::make_unique<MatchChecks>(match->Game());
    }
    spits += match->Controller1().GetSpits() + match->Controller2().GetSpits();
    const GameStatistics& last = match->Game().GetStatistics();
    shots += last.player1.numShots + last.player2.numShots;
    // The players did play: they spat, and balls they owned left them.
    EXPECT_GT(spits, 100);
    EXPECT_GT(shots, 20);
    ASSERT_TRUE(SaveStatistics(store));
    StatisticsStore loaded;
    ASSERT_TRUE(LoadStatistics(loaded));
    ASSERT_EQ(loaded.records.size(), store.records.size());
    for (size_t i = 0; i < store.records.size(); ++i) {
        EXPECT_EQ(loaded.records[i].winner, store.records[i].winner);
        EXPECT_EQ(loaded.records[i].player1.score, store.records[i].player1.score);
        EXPECT_EQ(loaded.records[i].player2.playerId, store.records[i].player2.playerId);
    }
    std::cout << GetParam() << ": " << store.records.size() << " matches ended, " << spits << " spits, " << shots
              << " shots\n";
}

INSTANTIATE_TEST_SUITE_P(ShippedArenas, MatchHarnessTest, ::testing::ValuesIn(ShippedLevelFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             return info.param.substr(info.param.rfind('/') + 1,
                                                      info.param.size() - 4 - info.param.rfind('/') - 1);
                         });

std::vector<uint64_t> Hashes(uint32_t seed) {
    GameRandom::GetInstance().SetSeed(1);
    const std::vector<std::string> creatures = ShippedCreatureFiles();
    HarnessMatch match(ShippedLevelFiles()[0], creatures[2], creatures[3], seed);
    return StateHashes(match, 1500, 25);
}

using SameSeed = GameFolder;

TEST_F(SameSeed, one_seed_twice_gives_the_same_match_and_another_seed_another) {
    const std::vector<uint64_t> first = Hashes(5);
    EXPECT_EQ(Hashes(5), first);
    EXPECT_NE(Hashes(6).back(), first.back());
}

}  // namespace
}  // namespace match_testing
