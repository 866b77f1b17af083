#pragma once

// A folder of the fuzz run's own, made on first use under the system's temporary folder, mounted
// as the virtual file system's root and made its write directory for the whole run, with XML
// output going through the virtual file system as in the game (so what the code under test saves
// lands there, never in the working folder); removed at exit.

#include "app/TiXmlIOProxy.h"
#include "app/TinyxmlPhysfsProxy.h"

#include <physfs.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>

namespace fuzz_support {

// At exit: XML output back to standard files, the virtual file system closed and the folder
// removed. It keeps a path of its own: the folder's static path may be gone by then.
class MountedFolderRemoval {
public:
    explicit MountedFolderRemoval(std::filesystem::path path) : m_Path(std::move(path)) {}
    ~MountedFolderRemoval() {
        TiXmlIOProxy::SetCurrent(nullptr);
        PHYSFS_deinit();
        std::error_code error;
        std::filesystem::remove_all(m_Path, error);
    }
    MountedFolderRemoval(const MountedFolderRemoval&) = delete;
    MountedFolderRemoval& operator=(const MountedFolderRemoval&) = delete;

private:
    std::filesystem::path m_Path;
};

inline const std::filesystem::path& MountedFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "pondorix-fuzz-XXXXXX").string();
        const char* made = mkdtemp(pattern.data());
        if (made == nullptr) {
            std::perror("fuzz_support::MountedFolder: mkdtemp");
            std::abort();
        }
        const std::filesystem::path path = made;
        PHYSFS_init(nullptr);
        PHYSFS_mount(path.c_str(), nullptr, 0);
        PHYSFS_setWriteDir(path.c_str());
        static TinyxmlPhysfsProxy proxy;
        TiXmlIOProxy::SetCurrent(&proxy);
        static const MountedFolderRemoval removal(path);
        return path;
    }();
    return folder;
}

}  // namespace fuzz_support
