#include "platform/ReadableFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace platform {

std::string WhyUnreadable(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        return std::generic_category().message(errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return std::generic_category().message(EISDIR);
    }
    if (!S_ISREG(info.st_mode)) {
        return "not a regular file";
    }
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return std::generic_category().message(errno);
    }
    close(descriptor);
    return std::string();
}

}  // namespace platform
