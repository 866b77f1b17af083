#include "app/KeyboardController.h"

#include "serializeme/StorageBuffer.h"

bool KeyboardController::Serialize(sme::StorageBuffer& buffer) {
    Controller::Serialize(buffer);
    const struct {
        const char* key;
        uint32_t& code;
    } kFields[] = {
        {"m_KeyLeft", m_Keys.left},   {"m_KeyRight", m_Keys.right}, {"m_KeyUp", m_Keys.up},
        {"m_KeyDown", m_Keys.down},   {"m_KeySuck", m_Keys.suck},   {"m_KeySpit", m_Keys.spit},
        {"m_KeyStart", m_Keys.start}, {"m_KeyBack", m_Keys.back},
    };
    for (const auto& field : kFields) {
        if (buffer.IsWriting()) {
            buffer.WriteUInt(field.key, field.code);
        } else {
            buffer.ReadUInt(field.key, field.code);
        }
    }
    return true;
}

bool KeyboardController::OnEvent(const InputEvent& event) {
    // Key::None stands for keys the description leaves out; no event may match them.
    if (event.type != InputEvent::KeyPressed || event.key == Key::None) {
        return false;
    }
    // The spit key comes first, so a set that gives it to another key too only spits with it.
    if (event.key == m_Keys.spit) {
        Shoot();
        SendCommand(kSpit);
        return true;
    }
    const struct {
        uint32_t key;
        Command command;
    } kCommands[] = {{m_Keys.left, kLeft}, {m_Keys.right, kRight}, {m_Keys.up, kUp},
                     {m_Keys.down, kDown}, {m_Keys.start, kStart}, {m_Keys.back, kBack}};
    for (const auto& entry : kCommands) {
        if (event.key == entry.key) {
            SendCommand(entry.command);
            return true;
        }
    }
    return false;
}

void KeyboardController::Update(float) {
    if (GetInput() != nullptr) {
        SteerByKeys(*GetInput(), m_Keys.up, m_Keys.down, m_Keys.left, m_Keys.right);
    }
}
