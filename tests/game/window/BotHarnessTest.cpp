// Bots in whole headless matches on every shipped arena: against a random player and against
// another bot, everything a match must keep true holds after every step, and one seed plays the
// same match twice.
#include "app/Application.h"
#include "app/GameRandom.h"
#include "game/BodyRegistry.h"
#include "game/Globbo.h"
#include "tests/game/window/MatchHarness.h"

#include <box2d/b2_body.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>

namespace match_testing {
namespace {

constexpr int kSteps = 3000;

// Plays kSteps steps, a new match after each that ends, checking every step. The number of
// matches that ended.
int PlayChecked(const std::function<std::unique_ptr<HarnessMatch>(uint32_t)>& make) {
    uint32_t seed = 1;
    std::unique_ptr<HarnessMatch> match = make(seed);
    auto checks = std::make_unique<MatchChecks>(match->Game());
    int ended = 0;
    for (int step = 0; step < kSteps; ++step) {
        const bool running = match->Step();
        const std::string failed = checks->Check(match->Game());
        EXPECT_EQ(failed, "") << "step " << step;
        if (!failed.empty()) {
            return ended;
        }
        if (!running) {
            ++ended;
            match = make(++seed);
            checks = std::make_unique<MatchChecks>(match->Game());
        }
    }
    return ended;
}

class BotHarness : public GameFolder, public ::testing::WithParamInterface<std::string> {};

TEST_P(BotHarness, bots_keep_every_match_sound_against_a_random_player_and_each_other) {
    const std::vector<std::string> bots = ShippedBotFiles();
    const std::vector<std::string> creatures = ShippedCreatureFiles();
    ASSERT_GE(bots.size(), 3u);
    const int againstRandom = PlayChecked([&](uint32_t seed) {
        return std::make_unique<HarnessMatch>(GetParam(), creatures[seed % creatures.size()], bots[seed % bots.size()],
                                              seed, Player::kRandom, Player::kBot);
    });
    const int againstBot = PlayChecked([&](uint32_t seed) {
        return std::make_unique<HarnessMatch>(GetParam(), bots[seed % bots.size()], bots[(seed + 1) % bots.size()],
                                              seed, Player::kBot, Player::kBot);
    });
    std::cout << GetParam() << ": " << againstRandom << " matches against a random player and " << againstBot
              << " between bots ended in " << kSteps << " steps each\n";
}

INSTANTIATE_TEST_SUITE_P(ShippedArenas, BotHarness, ::testing::ValuesIn(ShippedLevelFiles()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             const size_t slash = info.param.rfind('/');
                             return info.param.substr(slash + 1, info.param.size() - slash - 5);
                         });

// A match between two bots, whose only source of chance is the game's random numbers, from
// their seed.
std::vector<uint64_t> Hashes(uint32_t randomSeed) {
    GameRandom::GetInstance().SetSeed(randomSeed);
    const std::vector<std::string> bots = ShippedBotFiles();
    HarnessMatch match(ShippedLevelFiles()[1], bots[0], bots[2], 5, Player::kBot, Player::kBot);
    return StateHashes(match, 1500, 25);
}

using SameSeedWithBots = GameFolder;

TEST_F(SameSeedWithBots, one_seed_twice_gives_the_same_match_between_bots) {
    const std::vector<uint64_t> first = Hashes(1);
    EXPECT_EQ(Hashes(1), first);
    EXPECT_NE(Hashes(2).back(), first.back());
}

// Where the creatures overlap, a creature lies over its own ball held as a burden by the other:
// spitting never takes that ball, so the point stays with a ball that stays.
using Burden = GameFolder;

TEST_F(Burden, an_owner_never_spits_its_burden_out_of_the_other_creature) {
    const std::vector<std::string> creatures = ShippedCreatureFiles();
    HarnessMatch match(ShippedLevelFiles()[0], creatures[0], creatures[1], 1);
    SpitGame& game = match.Game();
    game.OnFSCommand("Go");
    Globbo& owner = *game.GetGlobbo1();
    Globbo& holder = *game.GetGlobbo2();
    b2Body* ball = game.GetLevel().GetBalls()[0]->GetBody();
    ball->SetTransform(owner.m_Center, 0.0f);
    game.Update(Application::GetInstance(), kStep);
    ball->SetTransform(holder.m_Center, 0.0f);
    game.Update(Application::GetInstance(), kStep);
    ASSERT_EQ(FindBodyRecord(ball)->state, kBallBurden);
    ASSERT_EQ(game.GetStatistics().player1.score, 1);

    EXPECT_FALSE(game.MayTakeBall(&owner, ball));
    EXPECT_FALSE(game.MayTakeBall(&holder, ball));
    // The owner's outline laid over the holder's centre, where the ball lies.
    const b2Vec2 shift = holder.m_Center - owner.m_Center;
    for (b2Body* body : owner.GetRingBodies()) {
        body->SetTransform(body->GetPosition() + shift, 0.0f);
    }
    owner.GetMouthBody()->SetTransform(owner.GetMouthBody()->GetPosition() + shift, 0.0f);
    ASSERT_TRUE(owner.IsPointInside(ball->GetPosition().x, ball->GetPosition().y));
    const b2Vec2 before = ball->GetPosition();
    owner.Shoot();
    EXPECT_EQ(ball->GetPosition(), before);
    EXPECT_EQ(FindBodyRecord(ball)->state, kBallBurden);
    EXPECT_EQ(game.GetStatistics().player1.score, 1);
}

}  // namespace
}  // namespace match_testing
