#include "app/TinyxmlPhysfsProxy.h"

#include "app/Log.h"

#include <physfs.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace {

// An open file; a file being written to replace another has the two names.
struct OpenFile {
    PHYSFS_File* file = nullptr;
    std::string tempName;
    std::string finalName;
};

const char* LastError() {
    return PHYSFS_getErrorByCode(PHYSFS_getLastErrorCode());
}

void* Wrap(PHYSFS_File* file) {
    return file != nullptr ? new OpenFile{file, {}, {}} : nullptr;
}

PHYSFS_File* FileOf(void* handle) {
    return static_cast<OpenFile*>(handle)->file;
}

// The name inside the write directory, without leading slashes.
std::string WriteName(const char* name) {
    std::string result(name);
    result.erase(0, result.find_first_not_of('/'));
    return result;
}

}  // namespace

void* TinyxmlPhysfsProxy::OpenRead(const char* name) {
    return name != nullptr ? Wrap(PHYSFS_openRead(name)) : nullptr;
}

void* TinyxmlPhysfsProxy::OpenWrite(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    const std::string finalName = WriteName(name);
    if (finalName.empty()) {
        return nullptr;
    }
    // PhysFS does not create folders on its own.
    const size_t slash = finalName.rfind('/');
    if (slash != std::string::npos) {
        PHYSFS_mkdir(finalName.substr(0, slash).c_str());
    }
    const std::string tempName = finalName + ".tmp";
    PHYSFS_File* file = PHYSFS_openWrite(tempName.c_str());
    if (file == nullptr) {
        log_error("TinyxmlPhysfsProxy::OpenWrite: cannot create %s: %s", tempName.c_str(), LastError());
        return nullptr;
    }
    return new OpenFile{file, tempName, finalName};
}

void* TinyxmlPhysfsProxy::OpenAppend(const char* name) {
    return name != nullptr ? Wrap(PHYSFS_openAppend(WriteName(name).c_str())) : nullptr;
}

bool TinyxmlPhysfsProxy::Close(void* handle) {
    if (handle == nullptr) {
        return false;
    }
    OpenFile* open = static_cast<OpenFile*>(handle);
    bool stored = PHYSFS_close(open->file) != 0;
    if (!stored) {
        log_error("TinyxmlPhysfsProxy::Close: cannot close %s: %s", open->tempName.c_str(), LastError());
    }
    if (!open->tempName.empty()) {
        // PhysFS cannot rename: the replacement happens in the real folder behind it.
        const char* writeDir = PHYSFS_getWriteDir();
        if (stored && writeDir != nullptr) {
            const std::filesystem::path folder(writeDir);
            std::error_code error;
            std::filesystem::rename(folder / open->tempName, folder / open->finalName, error);
            stored = !error;
            if (error) {
                log_error("TinyxmlPhysfsProxy::Close: cannot replace %s: %s", open->finalName.c_str(),
                          error.message().c_str());
            }
        } else {
            stored = false;
        }
        if (!stored) {
            PHYSFS_delete(open->tempName.c_str());
        }
    }
    delete open;
    return stored;
}

void TinyxmlPhysfsProxy::Discard(void* handle) {
    if (handle == nullptr) {
        return;
    }
    OpenFile* open = static_cast<OpenFile*>(handle);
    PHYSFS_close(open->file);
    if (!open->tempName.empty()) {
        PHYSFS_delete(open->tempName.c_str());
    }
    delete open;
}

size_t TinyxmlPhysfsProxy::Read(void* handle, void* buffer, size_t size, size_t count) {
    if (handle == nullptr || size == 0) {
        return 0;
    }
    const PHYSFS_sint64 bytes = PHYSFS_readBytes(FileOf(handle), buffer, static_cast<PHYSFS_uint64>(size) * count);
    return bytes > 0 ? static_cast<size_t>(bytes) / size : 0;
}

size_t TinyxmlPhysfsProxy::Write(void* handle, const void* buffer, size_t size, size_t count) {
    if (handle == nullptr || size == 0) {
        return 0;
    }
    const PHYSFS_sint64 bytes = PHYSFS_writeBytes(FileOf(handle), buffer, static_cast<PHYSFS_uint64>(size) * count);
    return bytes > 0 ? static_cast<size_t>(bytes) / size : 0;
}

bool TinyxmlPhysfsProxy::Seek(void* handle, long position) {
    return handle != nullptr && position >= 0 && PHYSFS_seek(FileOf(handle), static_cast<PHYSFS_uint64>(position)) != 0;
}

long TinyxmlPhysfsProxy::Length(void* handle) {
    return handle != nullptr ? static_cast<long>(PHYSFS_fileLength(FileOf(handle))) : -1;
}
