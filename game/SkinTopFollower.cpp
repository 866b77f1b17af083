#include "game/SkinTopFollower.h"

#include <algorithm>
#include <cmath>

namespace {

float Length(const sf::Vector2f& v) {
    return std::hypot(v.x, v.y);
}

}  // namespace

void SkinTopFollower::SetTarget(const sf::Vector2f& target) {
    m_Target = target;
    if (!m_Placed) {
        m_Position = target;
        m_Placed = true;
    }
    const sf::Vector2f behind = m_Position - m_Target;
    const float lag = Length(behind);
    if (lag > kMaxLag) {
        m_Position = m_Target + (kMaxLag / lag) * behind;
    }
}

void SkinTopFollower::Snap() {
    m_Position = m_Target;
    m_Moving = false;
}

void SkinTopFollower::Update(float dt) {
    if (!m_Placed) {
        return;
    }
    const sf::Vector2f offset = m_Target - m_Position;
    const float distance = Length(offset);
    if (!m_Moving) {
        if (distance > kSnapDistancePerSecond * dt) {
            m_Moving = true;
            m_Speed = 0.0f;
        } else {
            Snap();
        }
    }
    // A follower already on its target has no direction to run in.
    if (!m_Moving || !(distance > 0.0f)) {
        if (m_Moving) {
            Snap();
        }
        return;
    }
    const sf::Vector2f direction = offset / distance;
    m_Position += m_Speed * dt * direction;
    const sf::Vector2f left = m_Target - m_Position;
    if (left.x * direction.x + left.y * direction.y < 0.0f) {
        Snap();
        return;
    }
    m_TargetSpeed = std::min(Length(left) / kSpeedDistance * kMaxSpeed + kMinSpeed, kMaxSpeed);
    m_Speed += (m_TargetSpeed - m_Speed) * kAcceleration * dt;
}
