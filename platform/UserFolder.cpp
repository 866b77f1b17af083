#include "platform/UserFolder.h"

#include <unistd.h>

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

std::string UserDataFolderPath() {
    const std::filesystem::path base = BaseDataFolder();
    return base.empty() ? std::string() : (base / "Pondorix").string() + "/";
}

std::string GetUserDataFolder() {
    const std::string folder = UserDataFolderPath();
    if (folder.empty()) {
        return {};
    }
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(folder).parent_path(), error);
    // A folder that exists but cannot be written would lose every file silently.
    return !error && IsWritableFolder(folder) ? folder : std::string();
}

bool IsWritableFolder(const std::string& folder) {
    std::error_code error;
    return std::filesystem::is_directory(folder, error) && access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace platform
