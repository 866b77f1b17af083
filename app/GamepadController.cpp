#include "app/GamepadController.h"

namespace {

constexpr uint32_t kSpitButton = 0;
constexpr uint32_t kStartButton = 7;

}  // namespace

bool GamepadController::OnEvent(const InputEvent& event) {
    if ((event.type != InputEvent::JoyButtonPressed && event.type != InputEvent::JoyMoved) ||
        event.joystick != m_Stick.joystick) {
        return false;
    }
    if (event.type == InputEvent::JoyButtonPressed) {
        if (event.button == kSpitButton) {
            Shoot();
            SendCommand(kSpit);
            return true;
        }
        if (event.button == kStartButton) {
            SendCommand(kStart);
            return true;
        }
        return false;
    }
    if (event.axis != Joy::AxisPOV) {
        return false;
    }
    const struct {
        float angle;
        Command command;
    } kDirections[] = {{0.0f, kUp}, {90.0f, kRight}, {180.0f, kDown}, {270.0f, kLeft}};
    for (const auto& direction : kDirections) {
        if (event.position == direction.angle) {
            SendCommand(direction.command);
            return true;
        }
    }
    return false;
}

void GamepadController::Update(float) {
    if (GetInput() != nullptr) {
        SteerByStick(*GetInput(), m_Stick);
    }
}
