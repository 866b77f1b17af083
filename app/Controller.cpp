#include "app/Controller.h"

#include "app/Application.h"
#include "serializeme/StorageBuffer.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

CommandHandler* g_CommandHandler = nullptr;

// The largest axis position; a recorded position past it, or not a number, is taken as its
// nearest sane value so that it can never push the creature with an infinite force.
constexpr float kMaxAxisPosition = 100.0f;

float AxisFraction(InputStatusProvider& input, uint32_t joystick, uint32_t axis) {
    const float position = input.GetJoystickAxis(joystick, axis);
    if (std::isnan(position)) {
        return 0.0f;
    }
    return std::clamp(position, -kMaxAxisPosition, kMaxAxisPosition) / 100.0f;
}

}  // namespace

bool Controller::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteUInt("m_GUIIndex", m_GUIIndex);
        buffer.WriteObject("m_GUIColor", m_GUIColor);
        buffer.WriteString("m_GUIImage", m_GUIImage);
    } else {
        buffer.ReadUInt("m_GUIIndex", m_GUIIndex);
        buffer.ReadObject("m_GUIColor", m_GUIColor);
        buffer.ReadString("m_GUIImage", m_GUIImage);
    }
    return true;
}

void Controller::Attach(Steerable* creature) {
    Attach(creature, &Application::GetInstance());
}

void Controller::Attach(Steerable* creature, InputStatusProvider* input) {
    m_Creature = creature;
    m_Input = input;
}

void Controller::SetCommandHandler(CommandHandler* handler) {
    g_CommandHandler = handler;
}

void Controller::SendCommand(Command command) {
    if (g_CommandHandler != nullptr) {
        g_CommandHandler->HandleCommand(this, command);
    }
}

void Controller::Shoot() {
    if (m_Creature != nullptr) {
        m_Creature->Shoot();
    }
}

void Controller::SteerByKeys(InputStatusProvider& input, uint32_t up, uint32_t down, uint32_t left, uint32_t right) {
    if (m_Creature == nullptr) {
        return;
    }
    const struct {
        uint32_t key;
        b2Vec2 direction;
    } kKeys[] = {{up, {0.0f, -1.0f}}, {down, {0.0f, 1.0f}}, {left, {-1.0f, 0.0f}}, {right, {1.0f, 0.0f}}};
    for (const auto& key : kKeys) {
        if (input.IsKeyDown(key.key)) {
            m_Creature->MoveMouth(key.direction, 1.0f);
        }
    }
}

void Controller::SteerByStick(InputStatusProvider& input, const StickSettings& stick) {
    if (m_Creature == nullptr) {
        return;
    }
    const float x = AxisFraction(input, stick.joystick, Joy::AxisX);
    const float y = AxisFraction(input, stick.joystick, Joy::AxisY);
    const float length = std::sqrt(x * x + y * y);
    if (length < FLT_EPSILON) {
        return;
    }
    if (length > stick.deadZone) {
        const float strength = std::min(stick.gain * length, 1.0f);
        m_Creature->MoveMouth(b2Vec2(x / length, y / length), strength);
    }
}
