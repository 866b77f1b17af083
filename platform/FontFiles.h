#pragma once

#include <string>

namespace platform {

// The file of the installed font of the family, in bold weight and italic slant when asked for
// (regular and upright otherwise), as fontconfig matches it. False when the font that matches
// has no family name equal to the one asked for, compared without case: fontconfig always
// answers with its best substitute, and text must never be drawn in a font it did not ask for.
bool FindFontFile(const std::string& family, bool bold, bool italic, std::string* path);

}  // namespace platform
