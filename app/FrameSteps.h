#pragma once

// How one displayed frame's time is cut into update steps.

// The update steps of one frame: count steps of step seconds each.
struct FrameSteps {
    int count;
    float step;
};

// The longest update step, in seconds.
constexpr float kMaxStepSeconds = 0.02f;
// The most update steps one frame runs; time beyond them is dropped.
constexpr int kMaxStepsPerFrame = 10;
// The time, in seconds, of the first frame after a screen change.
constexpr float kFrameSkipSeconds = 0.016f;

// The time the frame accounts for: kFrameSkipSeconds when the frame follows a screen change,
// else the measured frame time. A measured time that is negative or not finite counts as 0.
float FrameDeltaTime(bool frameSkip, float measuredSeconds);

// Cuts dt seconds into at most kMaxStepsPerFrame equal steps of at most kMaxStepSeconds. Up to
// one maximal step gives one step of dt (a 0 s frame gives one step of 0 s); nothing carries
// over to the next frame.
FrameSteps SplitFrameTime(float dt);
