#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace testing_support {

// The lines of a text without their line ends; a last line without one counts too.
inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace testing_support
