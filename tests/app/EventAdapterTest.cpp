#include "app/EventAdapter.h"
#include "app/KeyCodes.h"

#include <gtest/gtest.h>

namespace {

sf::Event KeyEvent(sf::Event::EventType type, sf::Keyboard::Key key, bool alt = false, bool control = false) {
    return {.type = type, .key = {.code = key, .alt = alt, .control = control, .shift = false, .system = false}};
}

sf::Event AxisEvent(sf::Joystick::Axis axis, float position, unsigned int joystick = 0) {
    return {.type = sf::Event::JoystickMoved, .joystickMove = {joystick, axis, position}};
}

// Sets the hat to (x, y) through its two axis events, as the library reports a hat move, and
// returns the angles that came out.
std::vector<float> MoveHat(EventAdapter& adapter, float x, float y, unsigned int joystick = 0) {
    std::vector<float> angles;
    for (const sf::Event& event :
         {AxisEvent(sf::Joystick::PovX, x, joystick), AxisEvent(sf::Joystick::PovY, y, joystick)}) {
        if (std::optional<InputEvent> input = adapter.Translate(event)) {
            EXPECT_EQ(input->type, InputEvent::JoyMoved);
            EXPECT_EQ(input->axis, Joy::AxisPOV);
            EXPECT_EQ(input->joystick, joystick);
            angles.push_back(input->position);
        }
    }
    return angles;
}

}  // namespace

TEST(EventAdapter, key_events_carry_the_stored_code_and_modifiers) {
    EventAdapter adapter;
    std::optional<InputEvent> pressed = adapter.Translate(KeyEvent(sf::Event::KeyPressed, sf::Keyboard::Z, true));
    ASSERT_TRUE(pressed);
    EXPECT_EQ(pressed->type, InputEvent::KeyPressed);
    EXPECT_EQ(pressed->key, 122u);
    EXPECT_TRUE(pressed->alt);
    EXPECT_FALSE(pressed->control);

    std::optional<InputEvent> released =
        adapter.Translate(KeyEvent(sf::Event::KeyReleased, sf::Keyboard::RControl, false, true));
    ASSERT_TRUE(released);
    EXPECT_EQ(released->type, InputEvent::KeyReleased);
    EXPECT_EQ(released->key, uint32_t(Key::RControl));
    EXPECT_TRUE(released->control);
}

TEST(EventAdapter, unknown_keys_and_other_events_give_nothing) {
    EventAdapter adapter;
    EXPECT_FALSE(adapter.Translate(KeyEvent(sf::Event::KeyPressed, sf::Keyboard::Unknown)));
    EXPECT_FALSE(adapter.Translate(KeyEvent(sf::Event::KeyReleased, sf::Keyboard::Unknown)));
    sf::Event event{};
    for (sf::Event::EventType type :
         {sf::Event::Closed, sf::Event::Resized, sf::Event::TextEntered, sf::Event::JoystickButtonReleased,
          sf::Event::MouseButtonPressed, sf::Event::JoystickConnected}) {
        event.type = type;
        EXPECT_FALSE(adapter.Translate(event)) << type;
    }
}

TEST(EventAdapter, joystick_buttons_and_stick_axes_pass_through) {
    EventAdapter adapter;
    std::optional<InputEvent> input =
        adapter.Translate({.type = sf::Event::JoystickButtonPressed, .joystickButton = {3, 7}});
    ASSERT_TRUE(input);
    EXPECT_EQ(input->type, InputEvent::JoyButtonPressed);
    EXPECT_EQ(input->joystick, 3u);
    EXPECT_EQ(input->button, 7u);

    const std::pair<sf::Joystick::Axis, Joy::Axis> axes[] = {
        {sf::Joystick::X, Joy::AxisX}, {sf::Joystick::Y, Joy::AxisY}, {sf::Joystick::Z, Joy::AxisZ},
        {sf::Joystick::R, Joy::AxisR}, {sf::Joystick::U, Joy::AxisU}, {sf::Joystick::V, Joy::AxisV}};
    for (auto [axis, stored] : axes) {
        input = adapter.Translate(AxisEvent(axis, -42.5f, 1));
        ASSERT_TRUE(input);
        EXPECT_EQ(input->axis, uint32_t(stored));
        EXPECT_EQ(input->position, -42.5f);
        EXPECT_EQ(input->joystick, 1u);
    }
}

// Each joystick's hat starts centred and sends its angle, clockwise from up in steps of 45 degrees,
// only when it changes.
TEST(EventAdapter, each_joysticks_hat_angle_is_sent_only_when_it_changes) {
    EventAdapter adapter;
    EXPECT_EQ(MoveHat(adapter, 0.0f, 0.0f), std::vector<float>{});
    EXPECT_EQ(MoveHat(adapter, 0.0f, -100.0f), std::vector<float>{0.0f});
    EXPECT_EQ(MoveHat(adapter, 0.0f, -100.0f), std::vector<float>{});
    // Up to right passes through the diagonal as the two axes arrive one after the other.
    EXPECT_EQ(MoveHat(adapter, 100.0f, 0.0f), (std::vector<float>{45.0f, 90.0f}));
    EXPECT_EQ(MoveHat(adapter, 0.0f, 100.0f), (std::vector<float>{Joy::kPovCentred, 180.0f}));
    EXPECT_EQ(MoveHat(adapter, -100.0f, 0.0f), (std::vector<float>{225.0f, 270.0f}));
    EXPECT_EQ(MoveHat(adapter, 0.0f, 0.0f), std::vector<float>{Joy::kPovCentred});

    EXPECT_EQ(MoveHat(adapter, 100.0f, 0.0f, 1), std::vector<float>{90.0f}) << "joystick 1's hat is its own";
    EXPECT_EQ(MoveHat(adapter, 100.0f, 0.0f, 0), std::vector<float>{90.0f});
    EXPECT_EQ(MoveHat(adapter, 100.0f, 0.0f, 1), std::vector<float>{});
    // Up is negative Y, as the library delivers it; a hat pressed less than fully on both axes is centred.
    const float rows[][3] = {{100, 100, 135}, {-100, -100, 315}, {70.7f, -70.7f, 45}, {50, 50, Joy::kPovCentred}};
    for (const auto& [x, y, angle] : rows) {
        EXPECT_EQ(EventAdapter::PovAngle(x, y), angle) << "(" << x << ", " << y << ")";
    }
    // A joystick number past the library's count has no hat.
    EXPECT_FALSE(adapter.Translate(AxisEvent(sf::Joystick::PovX, 100.0f, sf::Joystick::Count)));
}
