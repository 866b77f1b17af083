#pragma once

#include "app/InputEvent.h"

#include <box2d/b2_math.h>

#include <cstdint>
#include <random>
#include <vector>

class Globbo;
class Level;

// Plays one creature of a recorded scene the way a player would, as input events: it steers the
// mouth toward the nearest ball inside neither creature, and with a ball of its own inside turns
// toward the other creature and spits after a short while; with no ball to fetch it roams to
// points drawn from its seed (the height before the width). The gamepad pilot moves the stick
// (whole numbers, which a recording's XML keeps exactly) and presses button 0; the keyboard pilot
// holds the arrow keys and taps right Control. It never steers out of the screen's view.
class InputPilot {
public:
    // Below this share of the way to the target along an axis, the keyboard pilot lets the key go.
    static constexpr float kKeyThreshold = 0.35f;
    // Targets are kept inside this much of the screen around its centre (in world units), so
    // that the creatures play where they are seen rather than follow a ball out of view.
    static constexpr float kSeenHalfWidth = 44.0f;
    static constexpr float kSeenHalfHeight = 32.0f;
    // The stick is moved only when it would change by more than this (of 100).
    static constexpr float kStickChange = 12.0f;

    InputPilot(bool gamepad, uint32_t seed);

    // The events of one update step of dt seconds for the creature, with the other creature as
    // the one to spit at (null: spit toward the middle of the arena).
    std::vector<InputEvent> Step(const Globbo& self, const Globbo* other, const Level& level, float dt);

    // The point the pilot last steered toward, in world units.
    const b2Vec2& GetTarget() const { return m_Target; }

private:
    b2Vec2 ChooseTarget(const Globbo& self, const Globbo* other, const Level& level, float dt);
    void Stick(const b2Vec2& direction, std::vector<InputEvent>& events);
    void Keys(const b2Vec2& direction, std::vector<InputEvent>& events);
    void Spit(std::vector<InputEvent>& events);

    bool m_Gamepad;
    std::mt19937 m_Random;
    b2Vec2 m_Target{0.0f, 0.0f};
    // Seconds left until a held ball is spat; negative while holding none.
    float m_SpitTimer = -1.0f;
    // Where it roams while there is no ball to fetch, and for how many more seconds.
    b2Vec2 m_Roam{0.0f, 0.0f};
    float m_RoamTimer = 0.0f;
    float m_StickX = 0.0f;
    float m_StickY = 0.0f;
    // Up, down, left, right.
    bool m_Keys[4] = {false, false, false, false};
};
