#pragma once

// A folder of the fuzz run's own, made on first use under the system's temporary folder and
// mounted as the virtual file system's root for the whole run; removed at exit.

#include <physfs.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzz_support {

inline const std::filesystem::path& MountedFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "pondorix-fuzz-XXXXXX").string();
        const char* made = mkdtemp(pattern.data());
        std::filesystem::path path = made != nullptr ? made : std::filesystem::temp_directory_path();
        PHYSFS_init(nullptr);
        PHYSFS_mount(path.c_str(), nullptr, 0);
        std::atexit([] {
            PHYSFS_deinit();
            std::error_code error;
            std::filesystem::remove_all(MountedFolder(), error);
        });
        return path;
    }();
    return folder;
}

}  // namespace fuzz_support
