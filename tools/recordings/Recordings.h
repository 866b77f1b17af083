#pragma once

#include "tools/recordings/SceneRecorder.h"

#include <vector>

// Seconds into a tutorial block's recorded match when the balls of the block after it (one that
// only brings balls) join it.
constexpr float kTutorialBallsJoinAt = 8.0f;

// Every recording the game ships. A new scene needs a RecordingStage that builds it as its screen
// does on replay, and one entry in this list.
std::vector<SceneRecording> ShippedRecordings();
