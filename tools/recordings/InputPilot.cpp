#include "tools/recordings/InputPilot.h"

#include "app/KeyCodes.h"
#include "game/Ball.h"
#include "game/BodyRegistry.h"
#include "game/Globbo.h"
#include "game/Level.h"

#include <box2d/b2_body.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <tuple>

namespace {

bool Holds(const Globbo& creature, const b2Body* body) {
    const std::vector<b2Body*>& contents = creature.GetContents();
    return std::find(contents.begin(), contents.end(), body) != contents.end();
}

InputEvent KeyEvent(uint32_t key, bool pressed) {
    InputEvent event;
    event.type = pressed ? InputEvent::KeyPressed : InputEvent::KeyReleased;
    event.key = key;
    return event;
}

}  // namespace

InputPilot::InputPilot(bool gamepad, uint32_t seed) : m_Gamepad(gamepad), m_Random(seed) {}

std::vector<InputEvent> InputPilot::Step(const Globbo& self, const Globbo* other, const Level& level, float dt) {
    std::vector<InputEvent> events;
    const b2Body* mouth = self.GetMouthBody();
    if (mouth == nullptr) {
        return events;
    }
    const b2Vec2 target = ChooseTarget(self, other, level, dt);
    m_Target.Set(std::clamp(target.x, -kSeenHalfWidth, kSeenHalfWidth),
                 std::clamp(target.y, -kSeenHalfHeight, kSeenHalfHeight));
    b2Vec2 direction = m_Target - mouth->GetPosition();
    if (direction.Normalize() < FLT_EPSILON) {
        direction.SetZero();
    }
    if (m_Gamepad) {
        Stick(direction, events);
    } else {
        Keys(direction, events);
    }
    if (m_SpitTimer >= 0.0f && (m_SpitTimer -= dt) < 0.0f) {
        Spit(events);
    }
    return events;
}

b2Vec2 InputPilot::ChooseTarget(const Globbo& self, const Globbo* other, const Level& level, float dt) {
    const b2Vec2 from = self.GetMouthBody()->GetPosition();
    bool holding = false;
    const b2Body* nearest = nullptr;
    float nearestDistance = FLT_MAX;
    for (const auto& ball : level.GetBalls()) {
        const b2Body* body = ball->GetBody();
        if (body == nullptr) {
            continue;
        }
        if (Holds(self, body)) {
            // Only a ball of its own can be spat; the other's balls inside are its burden.
            const BodyRecord* record = FindBodyRecord(body);
            holding = holding || (record != nullptr && record->owner == &self);
            continue;
        }
        if (other != nullptr && Holds(*other, body)) {
            continue;
        }
        const float distance = (body->GetPosition() - from).LengthSquared();
        if (distance < nearestDistance) {
            nearestDistance = distance;
            nearest = body;
        }
    }
    if (holding) {
        // A ball inside: wait a moment (0.5 to 1.5 s) turned toward the other creature, then spit.
        if (m_SpitTimer < 0.0f) {
            m_SpitTimer = std::uniform_real_distribution<float>(0.5f, 1.5f)(m_Random);
        }
        if (other != nullptr && other->GetMouthBody() != nullptr) {
            return other->GetMouthBody()->GetPosition();
        }
        return b2Vec2(0.0f, 0.0f);
    }
    m_SpitTimer = -1.0f;
    if (nearest != nullptr) {
        return nearest->GetPosition();
    }
    // No ball to fetch: roam about the view (shaking now and then loses a burden).
    m_RoamTimer -= dt;
    if (m_RoamTimer <= 0.0f) {
        // One draw per statement: the draws of one call's arguments would come in an order of the
        // compiler's choosing, and a recording must be the same whichever compiler built the tool.
        // The height is drawn first, as the recordings have always been made.
        const float y = std::uniform_real_distribution<float>(-kSeenHalfHeight, kSeenHalfHeight)(m_Random);
        const float x = std::uniform_real_distribution<float>(-kSeenHalfWidth, kSeenHalfWidth)(m_Random);
        m_Roam.Set(x, y);
        m_RoamTimer = std::uniform_real_distribution<float>(0.6f, 1.6f)(m_Random);
    }
    return m_Roam;
}

void InputPilot::Stick(const b2Vec2& direction, std::vector<InputEvent>& events) {
    const float x = std::round(100.0f * direction.x);
    const float y = std::round(100.0f * direction.y);
    if (std::fabs(x - m_StickX) <= kStickChange && std::fabs(y - m_StickY) <= kStickChange) {
        return;
    }
    for (const auto& [axis, value, kept] :
         {std::tuple{Joy::AxisX, x, &m_StickX}, std::tuple{Joy::AxisY, y, &m_StickY}}) {
        if (value != *kept) {
            InputEvent move;
            move.type = InputEvent::JoyMoved;
            move.axis = axis;
            move.position = value;
            events.push_back(move);
            *kept = value;
        }
    }
}

void InputPilot::Keys(const b2Vec2& direction, std::vector<InputEvent>& events) {
    const bool wanted[4] = {direction.y<-kKeyThreshold, direction.y> kKeyThreshold,
                            direction.x<-kKeyThreshold, direction.x> kKeyThreshold};
    const uint32_t keys[4] = {Key::Up, Key::Down, Key::Left, Key::Right};
    for (int i = 0; i < 4; ++i) {
        if (wanted[i] != m_Keys[i]) {
            events.push_back(KeyEvent(keys[i], wanted[i]));
            m_Keys[i] = wanted[i];
        }
    }
}

void InputPilot::Spit(std::vector<InputEvent>& events) {
    if (m_Gamepad) {
        InputEvent press;
        press.type = InputEvent::JoyButtonPressed;
        press.button = 0;
        events.push_back(press);
    } else {
        events.push_back(KeyEvent(Key::RControl, true));
        events.push_back(KeyEvent(Key::RControl, false));
    }
}
