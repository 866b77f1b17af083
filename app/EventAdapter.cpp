#include "app/EventAdapter.h"

#include "app/KeyCodes.h"

namespace {

// A hat axis counts as pressed past this position.
constexpr float kHatThreshold = 50.0f;
// The sign of PovY when the hat is pressed up. SFML 2.5 on Linux passes the kernel's hat axis
// through, which counts downwards, so up is negative here.
constexpr float kPovYUpSign = -1.0f;

// The library's six stick axes keep their numbers; the hat axes have none of their own.
std::optional<Joy::Axis> StickAxis(sf::Joystick::Axis axis) {
    if (axis <= sf::Joystick::V) {
        return static_cast<Joy::Axis>(axis);
    }
    return std::nullopt;
}

}  // namespace

float EventAdapter::PovAngle(float povX, float povY) {
    const int right = povX > kHatThreshold ? 1 : (povX < -kHatThreshold ? -1 : 0);
    const float upwards = povY * kPovYUpSign;
    const int up = upwards > kHatThreshold ? 1 : (upwards < -kHatThreshold ? -1 : 0);
    // Indexed by [up + 1][right + 1].
    constexpr float kAngles[3][3] = {
        {225.0f, 180.0f, 135.0f},
        {270.0f, Joy::kPovCentred, 90.0f},
        {315.0f, 0.0f, 45.0f},
    };
    return kAngles[up + 1][right + 1];
}

std::optional<InputEvent> EventAdapter::Translate(const sf::Event& event) {
    InputEvent input;
    switch (event.type) {
    case sf::Event::KeyPressed:
    case sf::Event::KeyReleased: {
        std::optional<Key::Code> code = Key::FromSfml(event.key.code);
        if (!code) {
            return std::nullopt;
        }
        input.type = event.type == sf::Event::KeyPressed ? InputEvent::KeyPressed : InputEvent::KeyReleased;
        input.key = *code;
        input.alt = event.key.alt;
        input.control = event.key.control;
        input.shift = event.key.shift;
        return input;
    }
    case sf::Event::JoystickButtonPressed:
        input.type = InputEvent::JoyButtonPressed;
        input.joystick = event.joystickButton.joystickId;
        input.button = event.joystickButton.button;
        return input;
    case sf::Event::JoystickMoved: return TranslateJoystickMove(event.joystickMove);
    default: return std::nullopt;
    }
}

std::optional<InputEvent> EventAdapter::TranslateJoystickMove(const sf::Event::JoystickMoveEvent& move) {
    InputEvent input;
    input.type = InputEvent::JoyMoved;
    input.joystick = move.joystickId;
    if (std::optional<Joy::Axis> axis = StickAxis(move.axis)) {
        input.axis = *axis;
        input.position = move.position;
        return input;
    }
    if (move.joystickId >= m_Hats.size()) {
        return std::nullopt;
    }
    Hat& hat = m_Hats[move.joystickId];
    (move.axis == sf::Joystick::PovX ? hat.x : hat.y) = move.position;
    const float angle = PovAngle(hat.x, hat.y);
    if (angle == hat.angle) {
        return std::nullopt;
    }
    hat.angle = angle;
    input.axis = Joy::AxisPOV;
    input.position = angle;
    return input;
}
