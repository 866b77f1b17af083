#include "app/VirtualFile.h"

#include "platform/ReadableFile.h"

#include <physfs.h>

#include <filesystem>

namespace {

// The name without its leading slashes, as the file system compares names.
std::string Relative(const char* name) {
    std::string text(name);
    text.erase(0, text.find_first_not_of('/'));
    return text;
}

// Where on the disk the file that the name finds is: the folder it was found in joined with the
// name inside that folder (the name less the folder's mount point). Empty when there is none, or
// when it lies inside an archive.
std::filesystem::path DiskPath(const std::string& name) {
    const char* folder = PHYSFS_isInit() ? PHYSFS_getRealDir(name.c_str()) : nullptr;
    std::error_code error;
    if (folder == nullptr || !std::filesystem::is_directory(folder, error)) {
        return {};
    }
    const char* mountPoint = PHYSFS_getMountPoint(folder);
    const std::string inFolder = Relative(name.c_str());
    const std::string mount = mountPoint != nullptr ? Relative(mountPoint) : std::string();
    if (inFolder.compare(0, mount.size(), mount) != 0) {
        return {};
    }
    return std::filesystem::path(folder) / inFolder.substr(mount.size());
}

}  // namespace

VirtualFile VirtualFile::Load(const std::string& name, long long maxBytes) {
    VirtualFile file;
    if (!PHYSFS_isInit()) {
        return file;
    }
    // A device, a pipe or a folder (or a link to one) is never opened: opening a pipe waits for a
    // writer, and reading a device may never end or act on it.
    if (const std::filesystem::path disk = DiskPath(name);
        !disk.empty() && !platform::WhyNotRegularFile(disk.string()).empty()) {
        file.status = NotRegular;
        return file;
    }
    PHYSFS_File* handle = PHYSFS_openRead(name.c_str());
    if (handle == nullptr) {
        // A failed open says nothing about whether the file is there: a file the game may not
        // read must not be taken for one it may create anew.
        PHYSFS_Stat stat;
        if (PHYSFS_stat(name.c_str(), &stat) != 0) {
            file.status = Unreadable;
        }
        return file;
    }
    file.length = PHYSFS_fileLength(handle);
    if (file.length < 0 || file.length > maxBytes) {
        file.status = TooLarge;
    } else {
        file.bytes.resize(static_cast<size_t>(file.length));
        const PHYSFS_sint64 read = PHYSFS_readBytes(handle, file.bytes.data(), static_cast<PHYSFS_uint64>(file.length));
        file.status = read == file.length ? Read : Unreadable;
        if (file.status != Read) {
            file.bytes.clear();
        }
    }
    PHYSFS_close(handle);
    return file;
}

std::string VirtualFile::RealPath(const std::string& name) {
    const std::filesystem::path disk = DiskPath(name);
    std::error_code error;
    const std::filesystem::path path = disk.empty() ? disk : std::filesystem::absolute(disk, error);
    return error ? std::string() : path.lexically_normal().string();
}

std::string VirtualFile::ShownPath(const std::string& name) {
    const std::string path = RealPath(name);
    return path.empty() ? name : path;
}

std::vector<std::string> VirtualFile::List(const std::string& folder) {
    std::vector<std::string> names;
    char** list = PHYSFS_isInit() ? PHYSFS_enumerateFiles(folder.c_str()) : nullptr;
    if (list == nullptr) {
        return names;
    }
    for (char** name = list; *name != nullptr; ++name) {
        names.emplace_back(*name);
    }
    PHYSFS_freeList(list);
    return names;
}
