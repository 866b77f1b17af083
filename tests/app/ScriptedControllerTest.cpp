#include "app/EventPlayer.h"
#include "app/KeyCodes.h"
#include "app/ScriptedController.h"
#include "tests/app/ControllerFakes.h"
#include "tests/app/VirtualFolders.h"

#include <gtest/gtest.h>

#include <memory>

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

// In keyboard mode right Control spits and the arrow keys steer; in gamepad mode button 0
// spits and the stick steers. What the recording releases stops steering; nothing is a command.
TEST_F(ScriptedControllerTest, each_mode_replays_its_own_devices_events) {
    for (const auto& [gamepad, direction] :
         {std::pair{false, b2Vec2(0.0f, -1.0f)}, std::pair{true, b2Vec2(1.0f, 0.0f)}}) {
        SCOPED_TRACE(gamepad ? "gamepad" : "keyboard");
        player = std::make_unique<EventPlayer>("demo.xml", false);
        RecordingGlobbo globbo;
        ScriptedController controller(player.get(), gamepad);
        controller.Attach(&globbo, &live);
        player->PlayFrame(nullptr);
        EXPECT_EQ(globbo.shots, 1);
        controller.Update(0.02f);
        ASSERT_EQ(globbo.pushes.size(), 1u);
        EXPECT_EQ(globbo.pushes[0].direction, direction);
        EXPECT_EQ(globbo.pushes[0].strength, 1.0f);

        player->PlayFrame(nullptr);
        controller.Update(0.02f);
        EXPECT_EQ(globbo.pushes.size(), 1u);
        EXPECT_EQ(globbo.shots, 1);
    }
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
