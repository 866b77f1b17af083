#include "app/VirtualFile.h"

#include <physfs.h>

#include <filesystem>

VirtualFile VirtualFile::Load(const std::string& name, long long maxBytes) {
    VirtualFile file;
    if (!PHYSFS_isInit()) {
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
    const char* folder = PHYSFS_isInit() ? PHYSFS_getRealDir(name.c_str()) : nullptr;
    std::error_code error;
    if (folder == nullptr || !std::filesystem::is_directory(folder, error)) {
        return {};
    }
    const std::filesystem::path path = std::filesystem::absolute(std::filesystem::path(folder) / name, error);
    return error ? std::string() : path.lexically_normal().string();
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
