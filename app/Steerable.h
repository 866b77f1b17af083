#pragma once

#include <box2d/b2_math.h>

// What a controller steers: a creature that moves its mouth and spits. The gameplay's creature
// implements it, so the shell's controllers steer creatures without linking any gameplay code.
class Steerable {
public:
    virtual ~Steerable() = default;

    // Pushes the mouth along the unit direction with strength 0 to 1 (keys give 1, a stick its
    // deflection); the creature turns to face the direction.
    virtual void MoveMouth(const b2Vec2& direction, float strength) = 0;
    // Spits the first ball the creature holds.
    virtual void Shoot() = 0;
};
