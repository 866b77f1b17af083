#include "app/ScriptedController.h"

#include "app/EventPlayer.h"
#include "app/KeyCodes.h"

ScriptedController::ScriptedController(EventPlayer* player, bool gamepad) : m_Player(player), m_Gamepad(gamepad) {
    if (m_Player != nullptr) {
        m_Player->signal.connect(this, &ScriptedController::OnReplayedEvent);
    }
}

bool ScriptedController::OnEvent(const InputEvent&) {
    return false;
}

void ScriptedController::OnReplayedEvent(const InputEvent& event) {
    const bool spit = m_Gamepad ? event.type == InputEvent::JoyButtonPressed && event.button == 0
                                : event.type == InputEvent::KeyPressed && event.key == Key::RControl;
    if (spit) {
        Shoot();
    }
}

void ScriptedController::Update(float) {
    if (m_Player == nullptr) {
        return;
    }
    if (m_Gamepad) {
        SteerByStick(*m_Player, m_Stick);
    } else {
        SteerByKeys(*m_Player, Key::Up, Key::Down, Key::Left, Key::Right);
    }
}
