#pragma once

// A folder of the fuzz run's own, made on first use under the system's temporary folder, mounted
// as the virtual file system's root and made its write directory for the whole run, with XML
// output going through the virtual file system as in the game (so what the code under test saves
// lands there, never in the working folder). At exit the file system is closed and the folder
// removed.

#include "app/TiXmlIOProxy.h"
#include "app/TinyxmlPhysfsProxy.h"
#include "tests/support/TempDir.h"

#include <physfs.h>

#include <filesystem>

namespace fuzz_support {

class MountedFolderRun {
public:
    MountedFolderRun() {
        PHYSFS_init(nullptr);
        PHYSFS_mount(m_Folder.Path().c_str(), nullptr, 0);
        PHYSFS_setWriteDir(m_Folder.Path().c_str());
        TiXmlIOProxy::SetCurrent(&m_Proxy);
    }
    // Before the folder goes (members go in reverse order).
    ~MountedFolderRun() {
        TiXmlIOProxy::SetCurrent(nullptr);
        PHYSFS_deinit();
    }
    MountedFolderRun(const MountedFolderRun&) = delete;
    MountedFolderRun& operator=(const MountedFolderRun&) = delete;

    const std::filesystem::path& Path() const { return m_Folder.Path(); }

private:
    testing_support::TempDir m_Folder;
    TinyxmlPhysfsProxy m_Proxy;
};

inline const std::filesystem::path& MountedFolder() {
    static const MountedFolderRun run;
    return run.Path();
}

}  // namespace fuzz_support
