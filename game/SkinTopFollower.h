#pragma once

#include <SFML/System/Vector2.hpp>

// Where a creature's skin-top attachment rides, as an offset from the creature's centre in screen
// pixels: it follows the top of the outline with some lag, so that the attachment sways as the
// creature squashes and stretches.
// A small step snaps onto the target; a larger one starts a run that speeds up with the distance
// left (up to kMaxSpeed) and ends on the target, never past it. However far the target jumps, the
// rider is kept within kMaxLag of it, so that the attachment never leaves the creature's edge.
class SkinTopFollower {
public:
    // Pixels per second.
    static constexpr float kMaxSpeed = 2000.0f;
    static constexpr float kMinSpeed = 10.0f;
    // The run's target speed grows by kMaxSpeed for every kSpeedDistance pixels left.
    static constexpr float kSpeedDistance = 100.0f;
    // How fast the speed approaches its target speed, per second.
    static constexpr float kAcceleration = 3.0f;
    // Steps up to this many pixels per second of the update snap instead of starting a run.
    static constexpr float kSnapDistancePerSecond = 5.0f;
    // Pixels the rider may lag behind its target at most.
    static constexpr float kMaxLag = 6.0f;

    // The point to follow; the first target is also where the follower starts. A rider further
    // than kMaxLag from the new target is pulled straight towards it to that distance.
    void SetTarget(const sf::Vector2f& target);
    // dt seconds on (nothing before the first target).
    void Update(float dt);

    bool IsPlaced() const { return m_Placed; }
    bool IsMoving() const { return m_Moving; }
    float GetSpeed() const { return m_Speed; }
    const sf::Vector2f& GetTarget() const { return m_Target; }
    const sf::Vector2f& GetPosition() const { return m_Position; }

private:
    void Snap();

    bool m_Placed = false;
    bool m_Moving = false;
    float m_Speed = 0.0f;
    float m_TargetSpeed = 0.0f;
    sf::Vector2f m_Target;
    sf::Vector2f m_Position;
};
