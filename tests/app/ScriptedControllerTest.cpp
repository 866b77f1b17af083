#include <gtest/gtest.h>

#include <memory>

#include "app/EventPlayer.h"
#include "app/KeyCodes.h"
#include "app/ScriptedController.h"
#include "tests/app/ControllerFakes.h"
#include "tests/app/VirtualFolders.h"

using namespace controller_fakes;
using testing_support::WriteFile;

namespace {

// Frame 1: right Control and Up pressed, the stick pushed right, button 0.
// Frame 2: Up released, the stick back in the middle.
const char* const kRecording = R"(<resource>
    <event type="2" code="261"/>
    <event type="2" code="293"/>
    <event type="4" code="0" value="80"/>
    <event type="5" code="0"/>
    <event type="1" value="0.02"/>
    <event type="3" code="293"/>
    <event type="4" code="0" value="0"/>
    <event type="1" value="0.02"/>
</resource>)";

class ScriptedControllerTest : public VirtualFolders {
protected:
    void SetUp() override {
        VirtualFolders::SetUp();
        WriteFile(GameDir() / "demo.xml", kRecording);
        player = std::make_unique<EventPlayer>("demo.xml", false);
    }

    RecordingDirector director;
    RecordingGlobbo creature;
    FakeInput live;
    std::unique_ptr<EventPlayer> player;
};

}  // namespace

TEST_F(ScriptedControllerTest, keyboard_mode_replays_right_control_and_the_arrow_keys) {
    ScriptedController controller(player.get(), false);
    controller.Attach(&creature, &live);
    player->PlayFrame(nullptr);
    EXPECT_EQ(creature.shots, 1);
    controller.Update(0.02f);
    ASSERT_EQ(creature.pushes.size(), 1u);
    EXPECT_EQ(creature.pushes[0].direction, b2Vec2(0.0f, -1.0f));
    EXPECT_EQ(creature.pushes[0].strength, 1.0f);

    creature.pushes.clear();
    player->PlayFrame(nullptr);
    controller.Update(0.02f);
    EXPECT_TRUE(creature.pushes.empty());
    EXPECT_EQ(creature.shots, 1);
    EXPECT_TRUE(director.commands.empty());
}

TEST_F(ScriptedControllerTest, gamepad_mode_replays_button_0_and_the_stick) {
    ScriptedController controller(player.get(), true);
    controller.Attach(&creature, &live);
    player->PlayFrame(nullptr);
    EXPECT_EQ(creature.shots, 1);
    controller.Update(0.02f);
    ASSERT_EQ(creature.pushes.size(), 1u);
    EXPECT_EQ(creature.pushes[0].direction, b2Vec2(1.0f, 0.0f));
    EXPECT_EQ(creature.pushes[0].strength, 1.0f);

    creature.pushes.clear();
    player->PlayFrame(nullptr);
    controller.Update(0.02f);
    EXPECT_TRUE(creature.pushes.empty());
    EXPECT_TRUE(director.commands.empty());
}

TEST_F(ScriptedControllerTest, live_input_is_ignored) {
    ScriptedController keyboard(player.get(), false);
    ScriptedController gamepad(player.get(), true);
    keyboard.Attach(&creature, &live);
    gamepad.Attach(&creature, &live);
    live.keys[Key::Left] = true;
    live.axes[{0, Joy::AxisY}] = 100.0f;
    EXPECT_FALSE(keyboard.OnEvent(KeyEvent(Key::RControl)));
    EXPECT_FALSE(gamepad.OnEvent(ButtonEvent(0)));
    keyboard.Update(0.02f);
    gamepad.Update(0.02f);
    EXPECT_EQ(creature.shots, 0);
    EXPECT_TRUE(creature.pushes.empty());
    EXPECT_TRUE(director.commands.empty());
}

TEST_F(ScriptedControllerTest, replay_without_a_creature_or_player_is_harmless) {
    ScriptedController controller(player.get(), false);
    player->PlayFrame(nullptr);
    controller.Update(0.02f);
    ScriptedController orphan(nullptr, true);
    orphan.Attach(&creature, &live);
    orphan.Update(0.02f);
    EXPECT_TRUE(creature.pushes.empty());
}

TEST_F(ScriptedControllerTest, a_controller_destroyed_before_its_player_is_no_longer_called) {
    {
        ScriptedController controller(player.get(), false);
        controller.Attach(&creature, &live);
    }
    auto survivor = std::make_unique<ScriptedController>(player.get(), true);
    survivor->Attach(&creature, &live);
    player->PlayFrame(nullptr);
    EXPECT_EQ(creature.shots, 1);
}
