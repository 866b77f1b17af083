#pragma once

#include <string>

// The line that thread `thread` of sfml_errors_at_exit writes as its `line`th own message: some
// 3 KB, so that the program's end finds lines half written, and different in every line, so that
// a piece of one is told from a whole one.
inline std::string ThreadErrorLine(int thread, long line) {
    std::string text = "thread " + std::to_string(thread) + " line " + std::to_string(line) + ":";
    for (int word = 0; word < 300; ++word) {
        text += " w" + std::to_string((line + word) % 10000);
    }
    return text + " end";
}
