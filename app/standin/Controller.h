#pragma once

#include <optional>
#include <string>

#include <SFML/Window/Event.hpp>
#include <SFML/Window/Joystick.hpp>
#include <SFML/Window/Keyboard.hpp>

#include "app/sigslot.h"

class Globbo;

// Stand-in for the input controllers: their base class, a factory that builds none, and the
// translation of the game's stored key and axis codes into the window library's.

namespace standin {

class Controller : public sigslot::has_slots<> {
public:
    ~Controller() override = default;

    // Binds the controller to a creature; null detaches it.
    virtual void Attach(Globbo* creature) { m_Creature = creature; }
    // True when the controller used the event.
    virtual bool OnEvent(const sf::Event& event) = 0;

    Globbo* GetCreature() const { return m_Creature; }

private:
    Globbo* m_Creature = nullptr;
};

// Builds the controller that a description file names; null when it cannot.
inline Controller* CreateController(const std::string&) { return nullptr; }

// The window library's key for a stored key code; no stored code is known yet.
inline sf::Keyboard::Key ToSfmlKey(unsigned int) { return sf::Keyboard::Unknown; }

// The window library's axis for a stored axis number (X, Y, Z, R, U, V keep their order).
inline std::optional<sf::Joystick::Axis> ToSfmlAxis(unsigned int axis) {
    if (axis <= sf::Joystick::V) {
        return static_cast<sf::Joystick::Axis>(axis);
    }
    return std::nullopt;
}

}  // namespace standin
