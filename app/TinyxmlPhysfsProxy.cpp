#include "app/TinyxmlPhysfsProxy.h"

#include "app/Log.h"
#include "platform/ReplacementFile.h"

#include <physfs.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace {

// An open file: a PhysFS file, or a replacement file in the real write folder, since PhysFS
// can neither rename nor sync a file.
struct OpenFile {
    PHYSFS_File* file = nullptr;
    std::unique_ptr<platform::ReplacementFile> replacement;
};

const char* LastError() {
    return PHYSFS_getErrorByCode(PHYSFS_getLastErrorCode());
}

void* Wrap(PHYSFS_File* file) {
    return file != nullptr ? new OpenFile{file, nullptr} : nullptr;
}

OpenFile* Of(void* handle) {
    return static_cast<OpenFile*>(handle);
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
        log_error("TinyxmlPhysfsProxy::OpenWrite: no file name to write");
        return nullptr;
    }
    const std::string writeName = WriteName(name);
    const char* writeDir = PHYSFS_getWriteDir();
    if (writeName.empty() || writeDir == nullptr) {
        log_error("TinyxmlPhysfsProxy::OpenWrite: no write folder for '%s'", name);
        return nullptr;
    }
    const std::string path = (std::filesystem::path(writeDir) / writeName).string();
    auto replacement = std::make_unique<platform::ReplacementFile>(path, platform::ReplacementFile::Links::Follow);
    if (!replacement->IsOpen()) {
        log_error("TinyxmlPhysfsProxy::OpenWrite: %s", replacement->GetError().c_str());
        return nullptr;
    }
    return new OpenFile{nullptr, std::move(replacement)};
}

int TinyxmlPhysfsProxy::RemoveLeftovers(const std::string& name) {
    const std::string writeName = WriteName(name.c_str());
    const char* writeDir = PHYSFS_getWriteDir();
    if (writeName.empty() || writeDir == nullptr) {
        return 0;
    }
    return platform::ReplacementFile::RemoveLeftovers((std::filesystem::path(writeDir) / writeName).string(),
                                                      platform::ReplacementFile::Links::Follow);
}

void* TinyxmlPhysfsProxy::OpenAppend(const char* name) {
    return name != nullptr ? Wrap(PHYSFS_openAppend(WriteName(name).c_str())) : nullptr;
}

bool TinyxmlPhysfsProxy::Close(void* handle) {
    if (handle == nullptr) {
        return false;
    }
    std::unique_ptr<OpenFile> open(Of(handle));
    if (open->replacement == nullptr) {
        if (PHYSFS_close(open->file) == 0) {
            log_error("TinyxmlPhysfsProxy::Close: cannot close a file: %s", LastError());
            return false;
        }
        return true;
    }
    if (!open->replacement->Commit()) {
        log_error("TinyxmlPhysfsProxy::Close: %s", open->replacement->GetError().c_str());
        return false;
    }
    return true;
}

void TinyxmlPhysfsProxy::Discard(void* handle) {
    if (handle == nullptr) {
        return;
    }
    std::unique_ptr<OpenFile> open(Of(handle));
    if (open->replacement == nullptr) {
        PHYSFS_close(open->file);
    }
}

size_t TinyxmlPhysfsProxy::Read(void* handle, void* buffer, size_t size, size_t count) {
    if (handle == nullptr || size == 0) {
        return 0;
    }
    if (Of(handle)->replacement) {
        return std::fread(buffer, size, count, Of(handle)->replacement->GetFile());
    }
    const PHYSFS_sint64 bytes = PHYSFS_readBytes(Of(handle)->file, buffer, static_cast<PHYSFS_uint64>(size) * count);
    return bytes > 0 ? static_cast<size_t>(bytes) / size : 0;
}

size_t TinyxmlPhysfsProxy::Write(void* handle, const void* buffer, size_t size, size_t count) {
    if (handle == nullptr || size == 0) {
        return 0;
    }
    if (Of(handle)->replacement) {
        return std::fwrite(buffer, size, count, Of(handle)->replacement->GetFile());
    }
    const PHYSFS_sint64 bytes = PHYSFS_writeBytes(Of(handle)->file, buffer, static_cast<PHYSFS_uint64>(size) * count);
    return bytes > 0 ? static_cast<size_t>(bytes) / size : 0;
}

bool TinyxmlPhysfsProxy::Seek(void* handle, long position) {
    if (handle == nullptr || position < 0) {
        return false;
    }
    if (Of(handle)->replacement) {
        return std::fseek(Of(handle)->replacement->GetFile(), position, SEEK_SET) == 0;
    }
    return PHYSFS_seek(Of(handle)->file, static_cast<PHYSFS_uint64>(position)) != 0;
}

long TinyxmlPhysfsProxy::Length(void* handle) {
    if (handle == nullptr) {
        return -1;
    }
    if (Of(handle)->replacement) {
        return platform::StreamLength(Of(handle)->replacement->GetFile());
    }
    return static_cast<long>(PHYSFS_fileLength(Of(handle)->file));
}
