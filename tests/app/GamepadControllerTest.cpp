#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/GamepadController.h"
#include "app/KeyCodes.h"
#include "tests/app/ControllerFakes.h"

using namespace controller_fakes;

namespace {

class GamepadControllerTest : public ::testing::Test {
protected:
    // Deflects joystick 0's stick to (x, y) percent and runs one step; the pushes it gave.
    std::vector<Push> Steer(float x, float y) {
        input.axes[{0, Joy::AxisX}] = x;
        input.axes[{0, Joy::AxisY}] = y;
        creature.pushes.clear();
        controller.Update(0.02f);
        return creature.pushes;
    }

    RecordingDirector director;
    RecordingGlobbo creature;
    FakeInput input;
    GamepadController controller;
};

}  // namespace

TEST_F(GamepadControllerTest, button_0_spits_and_button_7_starts) {
    EXPECT_TRUE(controller.OnEvent(ButtonEvent(0)));
    EXPECT_EQ(creature.shots, 0);
    controller.Attach(&creature, &input);
    EXPECT_TRUE(controller.OnEvent(ButtonEvent(0)));
    EXPECT_EQ(creature.shots, 1);
    EXPECT_TRUE(controller.OnEvent(ButtonEvent(7)));
    for (uint32_t button : {1u, 2u, 6u, 8u, 31u}) {
        EXPECT_FALSE(controller.OnEvent(ButtonEvent(button))) << button;
    }
    EXPECT_EQ(director.Commands(), (std::vector<int>{5, 5, 6}));
    EXPECT_EQ(creature.shots, 1);
}

TEST_F(GamepadControllerTest, the_hat_straight_in_a_direction_moves_the_menu_focus) {
    EXPECT_TRUE(controller.OnEvent(MoveEvent(Joy::AxisPOV, 0.0f)));
    EXPECT_TRUE(controller.OnEvent(MoveEvent(Joy::AxisPOV, 90.0f)));
    EXPECT_TRUE(controller.OnEvent(MoveEvent(Joy::AxisPOV, 180.0f)));
    EXPECT_TRUE(controller.OnEvent(MoveEvent(Joy::AxisPOV, 270.0f)));
    EXPECT_EQ(director.Commands(), (std::vector<int>{3, 2, 4, 1}));

    director.commands.clear();
    for (float angle : {45.0f, 135.0f, 225.0f, 315.0f, Joy::kPovCentred, 89.0f, 360.0f}) {
        EXPECT_FALSE(controller.OnEvent(MoveEvent(Joy::AxisPOV, angle))) << angle;
    }
    // The stick's own axes send no commands.
    EXPECT_FALSE(controller.OnEvent(MoveEvent(Joy::AxisX, 90.0f)));
    EXPECT_TRUE(director.commands.empty());
}

TEST_F(GamepadControllerTest, other_joysticks_and_keys_are_ignored_and_there_is_no_back) {
    controller.Attach(&creature, &input);
    EXPECT_FALSE(controller.OnEvent(ButtonEvent(0, 1)));
    EXPECT_FALSE(controller.OnEvent(MoveEvent(Joy::AxisPOV, 90.0f, 1)));
    EXPECT_FALSE(controller.OnEvent(KeyEvent(Key::Escape)));
    EXPECT_FALSE(controller.OnEvent(KeyEvent(Key::RControl)));
    EXPECT_TRUE(director.commands.empty());
    EXPECT_EQ(creature.shots, 0);
}

TEST_F(GamepadControllerTest, the_stick_steers_past_the_dead_zone_with_gained_strength) {
    controller.Attach(&creature, &input);
    EXPECT_TRUE(Steer(0.0f, 0.0f).empty());
    EXPECT_TRUE(Steer(25.0f, 0.0f).empty());
    // At the dead zone itself nothing moves yet.
    EXPECT_TRUE(Steer(0.0f, 30.0f).empty());

    std::vector<Push> pushes = Steer(0.0f, 50.0f);
    ASSERT_EQ(pushes.size(), 1u);
    EXPECT_EQ(pushes[0].direction, b2Vec2(0.0f, 1.0f));
    EXPECT_FLOAT_EQ(pushes[0].strength, 0.65f);

    pushes = Steer(-30.0f, 40.0f);
    ASSERT_EQ(pushes.size(), 1u);
    EXPECT_FLOAT_EQ(pushes[0].direction.x, -0.6f);
    EXPECT_FLOAT_EQ(pushes[0].direction.y, 0.8f);
    EXPECT_FLOAT_EQ(pushes[0].strength, 0.65f);

    pushes = Steer(80.0f, 0.0f);
    ASSERT_EQ(pushes.size(), 1u);
    EXPECT_EQ(pushes[0].strength, 1.0f);
    pushes = Steer(100.0f, 100.0f);
    ASSERT_EQ(pushes.size(), 1u);
    EXPECT_EQ(pushes[0].strength, 1.0f);
    EXPECT_FLOAT_EQ(pushes[0].direction.Length(), 1.0f);
}

TEST_F(GamepadControllerTest, broken_axis_values_never_give_a_broken_push) {
    controller.Attach(&creature, &input);
    EXPECT_TRUE(Steer(std::numeric_limits<float>::quiet_NaN(), 0.0f).empty());
    for (float huge : {std::numeric_limits<float>::infinity(), 1e30f}) {
        std::vector<Push> pushes = Steer(huge, -huge);
        ASSERT_EQ(pushes.size(), 1u);
        EXPECT_TRUE(std::isfinite(pushes[0].direction.x) && std::isfinite(pushes[0].direction.y));
        EXPECT_FLOAT_EQ(pushes[0].direction.Length(), 1.0f);
        EXPECT_EQ(pushes[0].strength, 1.0f);
    }
}

TEST_F(GamepadControllerTest, without_a_creature_or_input_update_does_nothing) {
    input.axes[{0, Joy::AxisX}] = 100.0f;
    controller.Update(0.02f);
    controller.Attach(&creature, nullptr);
    controller.Update(0.02f);
    EXPECT_TRUE(creature.pushes.empty());
    // Only joystick 0 steers.
    input.axes = {{{1, Joy::AxisX}, 100.0f}};
    controller.Attach(&creature, &input);
    controller.Update(0.02f);
    EXPECT_TRUE(creature.pushes.empty());
}
