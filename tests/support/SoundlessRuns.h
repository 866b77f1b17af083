#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace testing_support {

// At most this many lines of standard output and error from one program run without sound.
inline constexpr size_t kMaxSoundlessOutputLines = 2000;

// Runs `instances` copies of a program of the game at once, each on an X server and in a copy of
// the game folder of its own, with OpenAL given a driver that does not exist: no audio device
// opens, on any machine. Each is started with the command (a path and its arguments), run for
// the game time of its own (GameProcess::RunGameTime, a second at a time, so that it also runs
// freely in between) and closed. Expects of each: it ends with exit code 0, writes fewer than
// kMaxSoundlessOutputLines lines to its standard output and error (a run past that is stopped
// there), and its log says once that the game runs without sound.
void ExpectSoundlessRuns(const std::vector<std::string>& command, const std::string& gameFolder, int instances,
                         std::chrono::seconds gameTime);

}  // namespace testing_support
