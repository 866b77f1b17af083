#pragma once

#include "app/Controller.h"

class EventPlayer;

// A controller that replays the input of an EventPlayer, for demonstration matches: recorded
// gamepad input (the stick and button 0) or recorded keyboard input (the arrow keys and the right
// Control key). Live input is ignored and no menu commands are sent.
class ScriptedController : public Controller {
public:
    // Listens to the player's replayed events (a null player replays nothing); gamepad chooses
    // which device's recording is replayed. The player must outlive the controller's updates.
    ScriptedController(EventPlayer* player, bool gamepad);

    const char* TypeName() const override { return "scriptedcontroller"; }

    // Live input is never used.
    bool OnEvent(const InputEvent& event) override;
    // Steers the attached creature by the player's replayed stick or arrow keys.
    void Update(float dt) override;

private:
    // A replayed event: button 0 (gamepad) or right Control (keyboard) makes the creature shoot.
    void OnReplayedEvent(const InputEvent& event);

    EventPlayer* m_Player;
    bool m_Gamepad;
    StickSettings m_Stick;
};
