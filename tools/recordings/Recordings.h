#pragma once

#include "tools/recordings/SceneRecorder.h"

#include <vector>

// Every recording the game ships. A new scene needs a RecordingStage that builds it as its screen
// does on replay, and one entry in this list.
std::vector<SceneRecording> ShippedRecordings();
