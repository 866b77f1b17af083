#pragma once

#include "app/Controller.h"

// A controller on joystick 0: button 0 spits and confirms, button 7 is start, the hat moves the
// menu focus and the stick steers. A gamepad has no back command.
class GamepadController : public Controller {
public:
    const char* TypeName() const override { return "gamepadcontroller"; }

    // Events of joystick 0 only: button 0 (which shoots when a creature is attached) gives
    // command 5, button 7 command 6; the hat straight up, right, down and left gives 3, 2, 4 and 1.
    bool OnEvent(const InputEvent& event) override;
    // Pushes the mouth along the stick when it is deflected past the dead zone.
    void Update(float dt) override;

private:
    StickSettings m_Stick;
};
