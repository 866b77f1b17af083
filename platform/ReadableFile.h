#pragma once

#include <string>

namespace platform {

// Why this process cannot open the file at path for reading: the system's reason ("Permission
// denied", "Too many levels of symbolic links", "No such file or directory" for a missing file or
// a link that leads nowhere, "Is a directory"), or "not a regular file" for a device, a pipe or a
// socket, which are not opened to find out, since opening one may act on it (opening a pipe waits
// for a writer). Empty when it can.
std::string WhyUnreadable(const std::string& path);

// Why what is at path is not a regular file: "Is a directory", or "not a regular file" for a
// device, a pipe or a socket; found without opening it. Empty when path names a regular file, or
// nothing that the system can reach.
std::string WhyNotRegularFile(const std::string& path);

}  // namespace platform
