#pragma once

#include "app/Log.h"

#include <box2d/b2_body.h>
#include <box2d/b2_math.h>

// Stand-in for the creature, as far as the controllers steer it, until the gameplay code brings
// the real one: its mouth is pushed by MoveMouth, and it spits with Shoot.

namespace standin {

class Globbo {
public:
    // The force on the mouth at full strength, in N.
    static constexpr float kMouthForce = 40.0f;

    // A creature whose mouth is the body (null: a creature without a body, for menus and tests).
    explicit Globbo(b2Body* mouth = nullptr) : m_Mouth(mouth) {}
    virtual ~Globbo() = default;

    // Spits the first ball the creature holds. The stand-in holds no balls.
    virtual void Shoot() {}

    // Pushes the mouth along the unit direction with strength 0 to 1, and turns the creature's
    // facing halfway towards the direction.
    virtual void MoveMouth(const b2Vec2& direction, float strength) {
        log_debug("Globbo::MoveMouth: direction=(%f,%f)", direction.x, direction.y);
        if (m_Mouth != nullptr) {
            m_Mouth->ApplyForceToCenter(strength * kMouthForce * direction, true);
        }
        b2Vec2 facing = 0.5f * (m_Facing + direction);
        if (facing.Normalize() > 0.0f) {
            m_Facing = facing;
        }
    }

    // The unit direction the creature looks in.
    const b2Vec2& GetFacing() const { return m_Facing; }

private:
    b2Body* m_Mouth;
    b2Vec2 m_Facing{1.0f, 0.0f};
};

}  // namespace standin
