#include "platform/FileTag.h"

#include <sys/xattr.h>

#include <vector>

namespace platform {

namespace {

// Tags are short: anything longer is not one of ours.
constexpr size_t kMaxTagBytes = 256;

std::string UserAttribute(const char* name) {
    return std::string("user.") + name;
}

}  // namespace

bool SetFileTag(std::FILE* file, const char* name, const std::string& value) {
    return file != nullptr && value.size() <= kMaxTagBytes &&
           fsetxattr(fileno(file), UserAttribute(name).c_str(), value.data(), value.size(), 0) == 0;
}

std::optional<std::string> GetFileTag(const std::string& path, const char* name) {
    std::vector<char> value(kMaxTagBytes);
    const ssize_t length = getxattr(path.c_str(), UserAttribute(name).c_str(), value.data(), value.size());
    if (length < 0) {
        return std::nullopt;
    }
    return std::string(value.data(), static_cast<size_t>(length));
}

}  // namespace platform
