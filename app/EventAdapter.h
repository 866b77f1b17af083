#pragma once

#include "app/InputEvent.h"

#include <SFML/Window/Event.hpp>
#include <SFML/Window/Joystick.hpp>

#include <array>
#include <optional>

// Turns the window library's events into the game's input events: key events get the game's key
// codes, and the point-of-view hat, which the library reports as two axes, becomes one angle that
// is sent only when it changes. Events the game does not take as input, and keys without a code,
// give nothing.
class EventAdapter {
public:
    std::optional<InputEvent> Translate(const sf::Event& event);

    // The hat's angle clockwise from up for the library's two hat axes as it delivers them on
    // this platform (-100 to 100; PovX positive to the right, PovY positive downwards): a
    // multiple of 45 degrees, or Joy::kPovCentred when the hat is not pressed past half-way in
    // any direction. Every hat angle the game sees, from events or polled, comes from here.
    static float PovAngle(float povX, float povY);

private:
    // What is known of one joystick's hat.
    struct Hat {
        float x = 0.0f;
        float y = 0.0f;
        float angle = Joy::kPovCentred;
    };

    std::optional<InputEvent> TranslateJoystickMove(const sf::Event::JoystickMoveEvent& move);

    std::array<Hat, sf::Joystick::Count> m_Hats;
};
