#pragma once

#include "app/InputEvent.h"

#include <vector>

// The podium's script ("data/podium_script.txt"): the champion hops on its step, the stick pushing
// its mouth up, then down, then letting go, while the others stand still. The script holds no body
// snapshots: the creatures on the podium change from one championship to the next (and a
// championship of two has no third), so snapshots of the recorded ones would put other bodies in
// their places.

// How long the script plays, in seconds.
constexpr float kPodiumSeconds = 30.0f;

// The stick's events of the step (counted from 0) of the champion's hops.
std::vector<InputEvent> PodiumHopInput(int step);

// Plays the podium's scene with the hops going through a gamepad controller as the podium sets
// its scripted one up, and saves the script into the write folder. False, with a message on
// standard error, when the scene cannot be built or the file not written.
bool RecordPodium();
