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
#include "gui/TutorialBlocks.h"
#include "tests/game/window/MatchHarness.h"
#include "tools/recordings/Recordings.h"

#include <box2d/b2_body.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <set>

namespace {

// A copy of the game's data of the test's own: loading the movies writes cache files beside them,
// which other tests reading the build's folder side by side must not meet.
using ShippedRecordingsTest = match_testing::GameFolder;

// A tutorial block whose second creature starts below the arena, where nothing steers it.
bool LeavesCreature2Below(const TutorialBlock& block) {
    return block.creature2.y > 37.5f;
}

// Whether the recording is that of a tutorial block with one creature on screen.
bool SteersOneCreature(const std::string& file) {
    for (const TutorialBlock& block : TutorialBlocks()) {
        if (block.recording != nullptr && file == block.recording) {
            return LeavesCreature2Below(block);
        }
    }
    return false;
}

TEST_F(ShippedRecordingsTest, each_recording_steps_snapshots_and_holds_both_devices_input) {
    const std::set<uint32_t> keys = {Key::Up, Key::Down, Key::Left, Key::Right, Key::RControl};
    for (const SceneRecording& recording : ShippedRecordings()) {
        const char* name = recording.file.c_str();
        EventPlayer player(recording.file, false);
        int frames = 0;
        int snapshots = 0;
        int sticks = 0;
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
                ++sticks;
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
            recording.snapshots ? static_cast<int>(std::lround(frames * kRecordedStep / EventPlayer::kSnapshotInterval))
                                : 0;
        EXPECT_NEAR(snapshots, expectedSnapshots, 1) << name;
        // Both devices steer and someone spits; a scene with one creature has no keyboard input,
        // and in a scene with one ball only its first taker may spit before the match is decided.
        EXPECT_GT(sticks, 0) << name;
        EXPECT_TRUE(!down.empty() || SteersOneCreature(recording.file)) << name;
        EXPECT_GT(buttonSpits + keySpits, 0) << name;
    }
}

// What a replay of a recorded match showed: the steps each creature held a ball, the steps a
// steered creature's mouth was out of view, and the seconds replayed.
struct Replayed {
    int taken[2] = {0, 0};
    int outOfView = 0;
    float seconds = 0.0f;
};

// Replays the whole recording into the match, one recorded step per match step, watching the
// first `steered` creatures from `inView` seconds on; `atStep` runs after each step with the
// seconds replayed.
Replayed Replay(EventPlayer& player, Level& level, SpitGame& match, int steered, float inView,
                const std::function<void(float)>& atStep = {}) {
    Replayed seen;
    while (player.NextFrameTime() < EventPlayer::kNoFrameLeft) {
        const float step = player.NextFrameTime();
        player.PlayFrame(level.GetPhysics().GetWorld());
        match.Update(Application::GetInstance(), step);
        seen.seconds += step;
        if (atStep) {
            atStep(seen.seconds);
        }
        const Globbo* creatures[2] = {match.GetGlobbo1(), match.GetGlobbo2()};
        for (int i = 0; i < steered; ++i) {
            seen.taken[i] += creatures[i]->GetContents().empty() ? 0 : 1;
            const b2Vec2 mouth = creatures[i]->GetMouthBody()->GetPosition();
            if (seen.seconds > inView && (std::fabs(mouth.x) > 50.0f || std::fabs(mouth.y) > 37.5f)) {
                ++seen.outOfView;
            }
        }
    }
    return seen;
}

// The two scenes of the title replayed as the title does.
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
        // Thrown in from outside, the creatures have three seconds to come into view.
        const Replayed seen = Replay(player, level, *match, 2, 3.0f);
        EXPECT_GT(seen.taken[0], 0) << name;
        EXPECT_GT(seen.taken[1], 0) << name;
        EXPECT_GT(match->GetStatistics().player1.numShots, 0) << name;
        EXPECT_GT(match->GetStatistics().player2.numShots, 0) << name;
        EXPECT_LT(seen.outOfView, 25) << name << ": steps with a creature out of view";
    }
}

// The tutorial's matches replayed as the tutorial replays them, block 5's balls joining block 4's
// match when the recording had them join: each creature the recording steers takes balls in and
// spits, in view. Block 4's second creature starts below the arena and is not steered.
TEST_F(ShippedRecordingsTest, replayed_tutorial_matches_take_and_spit_balls_in_view) {
    for (const TutorialBlock& block : TutorialBlocks()) {
        if (block.recording == nullptr) {
            continue;
        }
        const char* name = block.recording;
        EventPlayer player(block.recording, false);
        Level level;
        ScriptedController gamepad(&player, true);
        ScriptedController keyboard(&player, false);
        std::unique_ptr<SpitGame> match = StartTutorialMatch(block, level, &gamepad, &keyboard);
        ASSERT_TRUE(match->HasLevel()) << name;
        gamepad.Attach(match->GetGlobbo1());
        keyboard.Attach(match->GetGlobbo2());
        const TutorialBlock* joining = FindTutorialBlock(block.number + 1);
        if (joining != nullptr && joining->recording != nullptr) {
            joining = nullptr;
        }
        const bool oneCreature = LeavesCreature2Below(block);
        const Replayed seen = Replay(player, level, *match, oneCreature ? 1 : 2, 0.0f, [&](float seconds) {
            if (joining != nullptr && seconds >= kTutorialBallsJoinAt) {
                AddTutorialBalls(*joining, level);
                joining = nullptr;
            }
        });
        // Balls are taken in and spat; with one ball the first taker may decide the match alone.
        EXPECT_GT(seen.taken[0] + seen.taken[1], 0) << name;
        EXPECT_GT(match->GetStatistics().player1.numShots + match->GetStatistics().player2.numShots, 0) << name;
        if (oneCreature) {
            EXPECT_EQ(seen.taken[1], 0) << name;
            EXPECT_EQ(match->GetStatistics().player2.numShots, 0) << name;
        }
        EXPECT_LT(seen.outOfView, 25) << name << ": steps with a creature out of view";
        EXPECT_GT(seen.seconds, 30.0f) << name << ": long enough for its lessons";
    }
}

}  // namespace
