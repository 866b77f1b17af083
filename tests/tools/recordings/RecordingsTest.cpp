// The recordings the game ships: each steps like the game's main loop for the length of its scene,
// snapshots the bodies, and holds the input of both devices as the pilots give it (only the keys
// and stick axes the scripted controllers read, presses and releases in turn, whole stick
// positions, spits from both). Replayed as the title replays them, the demonstrations take and
// spit balls and keep their creatures in view.
#include "app/Application.h"
#include "app/EventPlayer.h"
#include "app/KeyCodes.h"
#include "app/ScriptedController.h"
#include "game/Globbo.h"
#include "game/Level.h"
#include "gui/DemonstrationScene.h"
#include "tests/game/window/MatchHarness.h"
#include "tools/recordings/Recordings.h"

#include <box2d/b2_body.h>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

namespace {

// A copy of the game's data of the test's own: loading the movies writes cache files beside them,
// which other tests reading the build's folder side by side must not meet.
using ShippedRecordingsTest = match_testing::GameFolder;

TEST_F(ShippedRecordingsTest, each_recording_steps_snapshots_and_holds_both_devices_input) {
    const std::set<uint32_t> keys = {Key::Up, Key::Down, Key::Left, Key::Right, Key::RControl};
    for (const SceneRecording& recording : ShippedRecordings()) {
        const char* name = recording.file.c_str();
        EventPlayer player(recording.file, false);
        int frames = 0;
        int snapshots = 0;
        int buttonSpits = 0;
        int keySpits = 0;
        std::map<uint32_t, bool> down;
        for (const StoredEvent& event : player.GetEvents()) {
            switch (event.type) {
            case StoredEvent::kFrame:
                ++frames;
                EXPECT_FLOAT_EQ(event.value, kRecordedStep) << name;
                break;
            case StoredEvent::kSnapshot:
                ++snapshots;
                EXPECT_FALSE(event.data.empty()) << name;
                EXPECT_EQ(event.data.size(), event.data2.size()) << name;
                break;
            case StoredEvent::kKeyPressed:
            case StoredEvent::kKeyReleased: {
                EXPECT_TRUE(keys.contains(event.code)) << name << " key " << event.code;
                const bool pressed = event.type == StoredEvent::kKeyPressed;
                EXPECT_NE(down[event.code], pressed) << name << " key " << event.code << " twice";
                down[event.code] = pressed;
                keySpits += pressed && event.code == Key::RControl ? 1 : 0;
                break;
            }
            case StoredEvent::kJoyMoved:
                EXPECT_TRUE(event.code == Joy::AxisX || event.code == Joy::AxisY) << name;
                EXPECT_EQ(event.value, std::round(event.value)) << name;
                EXPECT_LE(std::fabs(event.value), 100.0f) << name;
                break;
            case StoredEvent::kJoyButtonPressed:
                EXPECT_EQ(event.code, 0u) << name;
                ++buttonSpits;
                break;
            default: ADD_FAILURE() << name << " holds an event of type " << event.type;
            }
        }
        EXPECT_EQ(frames, static_cast<int>(recording.seconds / kRecordedStep)) << name;
        const int expectedSnapshots =
            static_cast<int>(std::lround(frames * kRecordedStep / EventPlayer::kSnapshotInterval));
        EXPECT_NEAR(snapshots, expectedSnapshots, 1) << name;
        EXPECT_GT(buttonSpits, 0) << name;
        EXPECT_GT(keySpits, 0) << name;
    }
}

// The two scenes of the title replayed as the title does, one recorded step per match step.
TEST_F(ShippedRecordingsTest, replayed_demonstrations_take_and_spit_balls_in_view) {
    for (const DemonstrationScene* scene : {&kTitleScene1, &kTitleScene2}) {
        const char* name = scene->recordingFile;
        EventPlayer player(scene->recordingFile, false);
        Level level;
        ScriptedController gamepad(&player, true);
        ScriptedController keyboard(&player, false);
        std::unique_ptr<SpitGame> match = StartDemonstrationMatch(*scene, level, &gamepad, &keyboard);
        ASSERT_TRUE(match->HasLevel()) << name;
        gamepad.Attach(match->GetGlobbo1(), &player);
        keyboard.Attach(match->GetGlobbo2(), &player);
        ThrowInCreatures(*scene, *match);
        float time = 0.0f;
        int taken[2] = {0, 0};
        int outOfView = 0;
        while (player.NextFrameTime() < EventPlayer::kNoFrameLeft) {
            const float step = player.NextFrameTime();
            player.PlayFrame(level.GetPhysics().GetWorld());
            match->Update(Application::GetInstance(), step);
            time += step;
            const Globbo* creatures[2] = {match->GetGlobbo1(), match->GetGlobbo2()};
            for (int i = 0; i < 2; ++i) {
                taken[i] += creatures[i]->GetContents().empty() ? 0 : 1;
                const b2Vec2 mouth = creatures[i]->GetMouthBody()->GetPosition();
                // Thrown in from outside, the creatures have three seconds to come into view.
                if (time > 3.0f && (std::fabs(mouth.x) > 50.0f || std::fabs(mouth.y) > 37.5f)) {
                    ++outOfView;
                }
            }
        }
        EXPECT_GT(taken[0], 0) << name;
        EXPECT_GT(taken[1], 0) << name;
        EXPECT_GT(match->GetStatistics().player1.numShots, 0) << name;
        EXPECT_GT(match->GetStatistics().player2.numShots, 0) << name;
        EXPECT_LT(outOfView, 25) << name << ": steps with a creature out of view";
    }
}

}  // namespace
