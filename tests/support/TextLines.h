#pragma once

#include <string>
#include <vector>

namespace testing_support {

// The lines of a text without their line ends; a last line without one counts too.
std::vector<std::string> SplitLines(const std::string& text);

}  // namespace testing_support
