// The pilots that play the recorded scenes: with no ball to fetch, a pilot roams to points drawn
// from its seed, the height before the width, and keeps each for a drawn time. The draws come in
// that order whichever compiler built the tool, so the tool writes the same recordings under any.
#include "game/Globbo.h"
#include "game/Level.h"
#include "gui/DemonstrationScene.h"
#include "tests/game/window/MatchHarness.h"
#include "tools/recordings/InputPilot.h"
#include "tools/recordings/SceneRecorder.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using InputPilotTest = match_testing::GameFolder;

TEST_F(InputPilotTest, with_no_ball_both_pilots_roam_to_points_drawn_height_first_from_their_seed) {
    Level level;
    level.GetPhysics().Create();
    const Globbo creature(level.GetPhysics(), kDemonstrationCreature1, 0.0f, 0.0f);
    ASSERT_NE(creature.GetMouthBody(), nullptr);
    for (const uint32_t seed : {1u, 11u, 4000000000u}) {
        for (const bool gamepad : {true, false}) {
            InputPilot pilot(gamepad, seed);
            std::mt19937 random(seed);
            b2Vec2 roam(0.0f, 0.0f);
            float timer = 0.0f;
            int points = 0;
            // Three seconds: the points change every 0.6 to 1.6 s.
            for (int step = 0; step < 150; ++step) {
                timer -= kRecordedStep;
                if (timer <= 0.0f) {
                    const float y = std::uniform_real_distribution<float>(-InputPilot::kSeenHalfHeight,
                                                                          InputPilot::kSeenHalfHeight)(random);
                    const float x = std::uniform_real_distribution<float>(-InputPilot::kSeenHalfWidth,
                                                                          InputPilot::kSeenHalfWidth)(random);
                    roam.Set(x, y);
                    timer = std::uniform_real_distribution<float>(0.6f, 1.6f)(random);
                    ++points;
                }
                pilot.Step(creature, nullptr, level, kRecordedStep);
                ASSERT_EQ(pilot.GetTarget(), roam)
                    << "seed " << seed << (gamepad ? " gamepad" : " keys") << " step " << step << " point " << points;
            }
            EXPECT_GE(points, 2) << seed;
        }
    }
}

}  // namespace
