#include "platform/UserFolder.h"

#include <cstdlib>
#include <filesystem>

namespace platform {

namespace {

std::filesystem::path BaseDataFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    // The XDG rules ignore relative paths in this variable.
    if (xdg && xdg[0] == '/') {
        return xdg;
    }
    const char* home = std::getenv("HOME");
    if (home && home[0] != '\0') {
        return std::filesystem::path(home) / ".local" / "share";
    }
    return {};
}

}  // namespace

std::string GetUserDataFolder() {
    std::filesystem::path base = BaseDataFolder();
    if (base.empty()) {
        return {};
    }
    std::filesystem::path folder = base / "Pondorix";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder, error)) {
        return {};
    }
    return folder.string() + "/";
}

}  // namespace platform
