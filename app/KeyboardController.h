#pragma once

#include "app/Controller.h"
#include "app/KeyCodes.h"

#include <cstdint>

// A controller on a configurable set of keys (the game's key codes). The spit key spits and
// confirms, the arrow keys of the set steer and move the menu focus, and start and back work the
// menus. A key that the description leaves out is Key::None, which no key press matches.
class KeyboardController : public Controller {
public:
    // The keys of the set.
    struct Keys {
        uint32_t left = Key::None;
        uint32_t right = Key::None;
        uint32_t up = Key::None;
        uint32_t down = Key::None;
        // Stored and written back, but it drives nothing.
        uint32_t suck = Key::None;
        uint32_t spit = Key::None;
        uint32_t start = Key::None;
        uint32_t back = Key::None;
    };

    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "keyboardcontroller"; }

    // Key presses only: the spit key (which shoots when a creature is attached) gives command 5;
    // left, right, up, down, start and back give 1, 2, 3, 4, 6 and 7.
    bool OnEvent(const InputEvent& event) override;
    // Pushes the mouth one way for each of up, down, left and right held down.
    void Update(float dt) override;

    const Keys& GetKeys() const { return m_Keys; }

private:
    Keys m_Keys;
};
