#pragma once

#include <cstdio>
#include <optional>
#include <string>

namespace platform {

// A short text kept with a file in the file system's own side data (an extended attribute in the
// user namespace): it belongs to the file, not to its name, so it goes with the file through a
// rename, and a file that replaces it under the same name has none. A file system that keeps no
// such data makes SetFileTag fail and GetFileTag find nothing.
bool SetFileTag(std::FILE* file, const char* name, const std::string& value);
// The tag of the file at path; nothing when the file or the tag is missing.
std::optional<std::string> GetFileTag(const std::string& path, const char* name);

}  // namespace platform
