#include "app/VirtualFile.h"

#include <physfs.h>

VirtualFile VirtualFile::Load(const std::string& name, long long maxBytes) {
    VirtualFile file;
    PHYSFS_File* handle = PHYSFS_isInit() ? PHYSFS_openRead(name.c_str()) : nullptr;
    if (handle == nullptr) {
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
