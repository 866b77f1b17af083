#pragma once

#include "app/InputEvent.h"
#include "app/InputStatusProvider.h"
#include "app/StoredEvent.h"
#include "flash/sigslot.h"

#include <cstddef>
#include <map>
#include <string>
#include <vector>

class b2World;

// Records the input of a match, with periodic snapshots of every physics body, and plays it back
// later: the replayed input goes out on the signal to ScriptedControllers, and the snapshots put
// the bodies back where they were, so that a replay cannot drift. As an input-status provider it
// answers with the last replayed key and axis states.
//
// A recording is a "resource" XML document of "event" records (StoredEvent), saved into the
// virtual file system's write directory. Playback reads the file's binary image (the name with
// ".bin" appended) when there is one, else the XML file.
class EventPlayer : public InputStatusProvider {
public:
    // The time between two body snapshots of a recording, in seconds.
    static constexpr float kSnapshotInterval = 0.1f;
    // What NextFrameTime answers when no step is left to replay.
    static constexpr float kNoFrameLeft = 1e10f;

    // record false loads the recording for playback (a missing or unreadable file gives an empty
    // one); true starts an empty recording that is saved under the name.
    EventPlayer(const std::string& fileName, bool record);
    // A recording is saved once more.
    ~EventPlayer() override;
    EventPlayer(const EventPlayer&) = delete;
    EventPlayer& operator=(const EventPlayer&) = delete;

    // Recording: stores key presses and releases, joystick button presses and joystick moves.
    // Alt+Z saves the recording first.
    void OnEvent(const InputEvent& event);
    // Recording: ends one update step of dt seconds, snapshotting the world's bodies first when
    // kSnapshotInterval has passed since the last snapshot (the first step always takes one).
    void RecordFrame(float dt, b2World* world);
    // Playback: replays the stored events of one recorded step, whatever its stored time, into
    // the signal and (snapshots) into the world. Does nothing at the end of the recording.
    void PlayFrame(b2World* world);
    // The stored time of the next step to replay, in seconds; kNoFrameLeft when none is left.
    float NextFrameTime() const;
    // Recording: writes the whole recording, when it holds anything, as a new file. False only
    // when the file could not be written (the old one is then kept).
    bool Save();

    // The last replayed position of the axis (any joystick), 0 when it was never replayed.
    float GetJoystickAxis(unsigned int joystick, unsigned int axis) override;
    // The last replayed state of the key, up when it was never replayed.
    bool IsKeyDown(unsigned int key) override;

    bool IsRecording() const { return m_Recording; }
    const std::vector<StoredEvent>& GetEvents() const { return m_Events; }

    // The replayed input events; they carry no joystick number and no modifiers.
    sigslot::signal1<const InputEvent&> signal;

private:
    void Load();
    void Replay(const StoredEvent& event, b2World* world);
    void RestoreSnapshot(const StoredEvent& event, b2World& world);

    std::string m_FileName;
    bool m_Recording;
    std::vector<StoredEvent> m_Events;
    // The index of the next event to replay.
    size_t m_Position = 0;
    // Seconds until the next snapshot of a recording.
    float m_SnapshotTimer = 0.0f;
    std::map<uint32_t, float> m_Axes;
    std::map<uint32_t, bool> m_Keys;
};
