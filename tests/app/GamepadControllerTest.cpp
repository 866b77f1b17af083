#include "app/GamepadController.h"
#include "app/KeyCodes.h"
#include "tests/app/ControllerFakes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace controller_fakes;

namespace {

class GamepadControllerTest : public ::testing::Test {
protected:
    RecordingDirector director;
    RecordingGlobbo creature;
    FakeInput input;
    GamepadController controller;
};

}  // namespace

// Button 0 spits (shooting only with a creature attached) and button 7 starts; the hat pushed
// straight in a direction moves the menu focus. Other buttons, diagonals, the centred hat, the
// stick's own axes, keys and other joysticks send nothing; there is no back command.
TEST_F(GamepadControllerTest, buttons_and_the_hat_of_joystick_0_send_the_menu_commands) {
    EXPECT_TRUE(controller.OnEvent(ButtonEvent(0)));
    EXPECT_EQ(creature.shots, 0);
    controller.Attach(&creature, &input);
    const std::pair<InputEvent, int> rows[] = {// the command, 0 for none (the event is not used)
                                               {ButtonEvent(0), 5},
                                               {ButtonEvent(7), 6},
                                               {MoveEvent(Joy::AxisPOV, 0.0f), 3},
                                               {MoveEvent(Joy::AxisPOV, 90.0f), 2},
                                               {MoveEvent(Joy::AxisPOV, 180.0f), 4},
                                               {MoveEvent(Joy::AxisPOV, 270.0f), 1},
                                               {ButtonEvent(1), 0},
                                               {ButtonEvent(8), 0},
                                               {ButtonEvent(31), 0},
                                               {MoveEvent(Joy::AxisPOV, 45.0f), 0},
                                               {MoveEvent(Joy::AxisPOV, 315.0f), 0},
                                               {MoveEvent(Joy::AxisPOV, 89.0f), 0},
                                               {MoveEvent(Joy::AxisPOV, 360.0f), 0},
                                               {MoveEvent(Joy::AxisPOV, Joy::kPovCentred), 0},
                                               {MoveEvent(Joy::AxisX, 90.0f), 0},
                                               {ButtonEvent(0, 1), 0},
                                               {MoveEvent(Joy::AxisPOV, 90.0f, 1), 0},
                                               {KeyEvent(Key::Escape), 0},
                                               {KeyEvent(Key::RControl), 0}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        const auto& [event, command] = rows[i];
        director.commands.clear();
        EXPECT_EQ(controller.OnEvent(event), command != 0) << "row " << i;
        EXPECT_EQ(director.Commands(), command != 0 ? std::vector<int>{command} : std::vector<int>{}) << "row " << i;
    }
    EXPECT_EQ(creature.shots, 1);
}

// Joystick 0's stick (in percent) steers past the dead zone of 30% with 1.3 times the
// deflection as strength, at most 1; the direction is the stick's, made unit length. Values that
// are no number give no push, and huge ones count as full deflection.
TEST_F(GamepadControllerTest, the_stick_steers_past_the_dead_zone_with_gained_strength) {
    controller.Attach(&creature, &input);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float diagonal = std::sqrt(0.5f);
    const struct {
        float x, y;
        float strength;  // 0: no push
        b2Vec2 direction;
    } rows[] = {{0, 0, 0, {0, 0}},
                {25, 0, 0, {0, 0}},
                {0, 30, 0, {0, 0}},
                {0, 50, 0.65f, {0, 1}},
                {-30, 40, 0.65f, {-0.6f, 0.8f}},
                {80, 0, 1, {1, 0}},
                {100, 100, 1, {diagonal, diagonal}},
                {nan, 0, 0, {0, 0}},
                {inf, -inf, 1, {diagonal, -diagonal}},
                {1e30f, -1e30f, 1, {diagonal, -diagonal}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "stick at (" << row.x << ", " << row.y << ")");
        input.axes = {{{0, Joy::AxisX}, row.x}, {{0, Joy::AxisY}, row.y}};
        creature.pushes.clear();
        controller.Update(0.02f);
        if (row.strength == 0) {
            EXPECT_TRUE(creature.pushes.empty());
            continue;
        }
        ASSERT_EQ(creature.pushes.size(), 1u);
        const Push& push = creature.pushes[0];
        EXPECT_FLOAT_EQ(push.strength, row.strength);
        EXPECT_FLOAT_EQ(push.direction.x, row.direction.x);
        EXPECT_FLOAT_EQ(push.direction.y, row.direction.y);
    }
}

TEST_F(GamepadControllerTest, without_a_creature_or_input_or_on_another_joystick_nothing_steers) {
    input.axes[{0, Joy::AxisX}] = 100.0f;
    controller.Update(0.02f);
    controller.Attach(&creature, nullptr);
    controller.Update(0.02f);
    EXPECT_TRUE(creature.pushes.empty());
    input.axes = {{{1, Joy::AxisX}, 100.0f}};
    controller.Attach(&creature, &input);
    controller.Update(0.02f);
    EXPECT_TRUE(creature.pushes.empty());
}
