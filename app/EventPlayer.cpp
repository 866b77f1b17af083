#include "app/EventPlayer.h"

#include "app/FileStorage.h"
#include "app/KeyCodes.h"
#include "app/Log.h"
#include "app/ResourceXml.h"
#include "serializeme/XmlStorageBuffer.h"

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>

#include <cmath>

namespace {

// Stored positions and velocities beyond this size (in m or m/s), or not numbers at all, are not
// given to the physics world, whose bounding boxes would overflow.
constexpr float kMaxStoredCoordinate = 1e6f;

bool Usable(const b2Vec2& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::fabs(v.x) <= kMaxStoredCoordinate &&
           std::fabs(v.y) <= kMaxStoredCoordinate;
}

}  // namespace

EventPlayer::EventPlayer(const std::string& fileName, bool record) : m_FileName(fileName), m_Recording(record) {
    if (!m_Recording) {
        Load();
    }
}

EventPlayer::~EventPlayer() {
    if (m_Recording) {
        Save();
    }
}

void EventPlayer::Load() {
    FileStorage storage(m_FileName, false);
    sme::StorageBuffer& buffer = storage.GetBuffer();
    // Every record read takes up its own bytes of the file, so the loop ends with the file.
    for (;;) {
        StoredEvent event;
        if (!buffer.ReadObject(nullptr, event)) {
            break;
        }
        m_Events.push_back(std::move(event));
    }
    m_Position = 0;
}

void EventPlayer::OnEvent(const InputEvent& event) {
    if (!m_Recording) {
        return;
    }
    switch (event.type) {
    case InputEvent::KeyPressed:
        if (event.key == Key::Z && event.alt) {
            Save();
        }
        m_Events.emplace_back(StoredEvent::kKeyPressed, event.key, 0.0f);
        break;
    case InputEvent::KeyReleased: m_Events.emplace_back(StoredEvent::kKeyReleased, event.key, 0.0f); break;
    case InputEvent::JoyButtonPressed: m_Events.emplace_back(StoredEvent::kJoyButtonPressed, event.button, 0.0f); break;
    case InputEvent::JoyMoved: m_Events.emplace_back(StoredEvent::kJoyMoved, event.axis, event.position); break;
    }
}

void EventPlayer::RecordFrame(float dt, b2World* world) {
    if (!m_Recording) {
        return;
    }
    m_SnapshotTimer -= dt;
    if (m_SnapshotTimer <= 0.0f) {
        if (world != nullptr) {
            StoredEvent snapshot(StoredEvent::kSnapshot, 0, 0.0f);
            for (b2Body* body = world->GetBodyList(); body != nullptr; body = body->GetNext()) {
                snapshot.data.emplace_back(body->GetPosition());
                snapshot.data2.emplace_back(body->GetLinearVelocity());
            }
            m_Events.push_back(std::move(snapshot));
        }
        m_SnapshotTimer = kSnapshotInterval;
    }
    m_Events.emplace_back(StoredEvent::kFrame, 0, dt);
}

void EventPlayer::PlayFrame(b2World* world) {
    if (m_Recording) {
        return;
    }
    while (m_Position < m_Events.size()) {
        const StoredEvent& event = m_Events[m_Position++];
        if (event.type == StoredEvent::kFrame) {
            break;
        }
        Replay(event, world);
    }
}

float EventPlayer::NextFrameTime() const {
    if (m_Recording) {
        return kNoFrameLeft;
    }
    for (size_t i = m_Position; i < m_Events.size(); ++i) {
        if (m_Events[i].type == StoredEvent::kFrame) {
            // A step that is not a sane length takes no time, so playback cannot stall on it.
            const float value = m_Events[i].value;
            return std::isfinite(value) && value > 0.0f ? value : 0.0f;
        }
    }
    return kNoFrameLeft;
}

void EventPlayer::Replay(const StoredEvent& event, b2World* world) {
    InputEvent input;
    switch (event.type) {
    case StoredEvent::kKeyPressed:
    case StoredEvent::kKeyReleased:
        input.type = event.type == StoredEvent::kKeyPressed ? InputEvent::KeyPressed : InputEvent::KeyReleased;
        input.key = event.code;
        m_Keys[event.code] = event.type == StoredEvent::kKeyPressed;
        signal.emit(input);
        break;
    case StoredEvent::kJoyMoved:
        input.type = InputEvent::JoyMoved;
        input.axis = event.code;
        input.position = event.value;
        m_Axes[event.code] = event.value;
        signal.emit(input);
        break;
    case StoredEvent::kJoyButtonPressed:
        input.type = InputEvent::JoyButtonPressed;
        input.button = event.code;
        signal.emit(input);
        break;
    case StoredEvent::kSnapshot:
        if (world != nullptr) {
            RestoreSnapshot(event, *world);
        }
        break;
    default: break;
    }
}

void EventPlayer::RestoreSnapshot(const StoredEvent& event, b2World& world) {
    const size_t stored = std::min(event.data.size(), event.data2.size());
    size_t index = 0;
    for (b2Body* body = world.GetBodyList(); body != nullptr; body = body->GetNext(), ++index) {
        if (index >= stored) {
            log_error(
                "EventPlayer: desync during playback. Stored body count is %d, but there are more bodies in "
                "the scene.",
                static_cast<int>(event.data.size()));
            return;
        }
        const Vec2Data& position = event.data[index];
        const Vec2Data& velocity = event.data2[index];
        if (Usable(position) && Usable(velocity)) {
            body->SetTransform(position, body->GetAngle());
            body->SetLinearVelocity(velocity);
        }
    }
}

bool EventPlayer::Save() {
    if (!m_Recording || m_Events.empty()) {
        return true;
    }
    // A fresh buffer each time: a second save writes the whole recording once, not twice.
    sme::XmlStorageBuffer writer(true);
    for (StoredEvent& event : m_Events) {
        writer.WriteObject(nullptr, event);
    }
    ResourceXml resource(m_FileName);
    resource.SetRoot(writer.GetRoot());
    return resource.Save();
}

float EventPlayer::GetJoystickAxis(unsigned int, unsigned int axis) {
    auto found = m_Axes.find(axis);
    return found != m_Axes.end() ? found->second : 0.0f;
}

bool EventPlayer::IsKeyDown(unsigned int key) {
    auto found = m_Keys.find(key);
    return found != m_Keys.end() && found->second;
}
