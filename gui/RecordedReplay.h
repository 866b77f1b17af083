#pragma once

class Application;
class EventPlayer;
class Game;
class b2World;

// Plays a recorded match back in its own recorded steps, whatever the length of an update: the
// update's time goes on a clock, and each recorded frame the clock covers is replayed (its input
// and body snapshots), then the match steps by that frame's length. Frames too short to simulate
// replay their input only. One update plays a bounded number of frames; when it is still behind
// after them the time it owes is dropped, so neither a recording of tiny steps nor a stalled
// frame can hold the screen up (the frames themselves wait for the next update).
class RecordedReplay {
public:
    // Recorded steps this short replay their input without a match step.
    static constexpr float kShortestStep = 0.001f;

    explicit RecordedReplay(int maxFramesPerUpdate) : m_MaxFramesPerUpdate(maxFramesPerUpdate) {}

    void Restart() { m_Clock = 0.0f; }
    void Advance(Application& application, EventPlayer& recording, b2World* world, Game& game, float dt);
    // The time the replay is ahead of its next frame.
    float GetClock() const { return m_Clock; }

private:
    int m_MaxFramesPerUpdate;
    float m_Clock = 0.0f;
};
