#include "platform/ReadableFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace platform {

namespace {

// Why a file of that status is not a regular file; empty when it is one.
std::string NotRegularReason(const struct stat& info) {
    if (S_ISDIR(info.st_mode)) {
        return std::generic_category().message(EISDIR);
    }
    return S_ISREG(info.st_mode) ? std::string() : "not a regular file";
}

}  // namespace

std::string WhyUnreadable(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        return std::generic_category().message(errno);
    }
    if (std::string reason = NotRegularReason(info); !reason.empty()) {
        return reason;
    }
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return std::generic_category().message(errno);
    }
    close(descriptor);
    return std::string();
}

std::string WhyNotRegularFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? NotRegularReason(info) : std::string();
}

}  // namespace platform
