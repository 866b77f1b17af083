#include "app/TiXmlDefaultIO.h"

#include "app/Log.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

// An open file; a file being written to replace another has the two paths.
struct OpenFile {
    std::FILE* file = nullptr;
    std::string tempPath;
    std::string finalPath;
};

void* Open(const char* name, const char* mode) {
    if (name == nullptr) {
        return nullptr;
    }
    std::FILE* file = std::fopen(name, mode);
    if (file == nullptr) {
        return nullptr;
    }
    return new OpenFile{file, {}, {}};
}

std::FILE* FileOf(void* handle) {
    return static_cast<OpenFile*>(handle)->file;
}

}  // namespace

void* TiXmlDefaultIO::OpenRead(const char* name) {
    return Open(name, "rb");
}

void* TiXmlDefaultIO::OpenWrite(const char* name) {
    if (name == nullptr || *name == '\0') {
        return nullptr;
    }
    const std::filesystem::path path(name);
    std::error_code error;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), error);
    }
    const std::string tempPath = std::string(name) + ".tmp";
    std::FILE* file = std::fopen(tempPath.c_str(), "w+");
    if (file == nullptr) {
        log_error("TiXmlDefaultIO::OpenWrite: cannot create %s", tempPath.c_str());
        return nullptr;
    }
    return new OpenFile{file, tempPath, name};
}

void* TiXmlDefaultIO::OpenAppend(const char* name) {
    return Open(name, "ab");
}

bool TiXmlDefaultIO::Close(void* handle) {
    if (handle == nullptr) {
        return false;
    }
    OpenFile* open = static_cast<OpenFile*>(handle);
    const bool written = std::ferror(open->file) == 0;
    const bool closed = std::fclose(open->file) == 0;
    bool stored = written && closed;
    if (!open->tempPath.empty()) {
        std::error_code error;
        if (stored) {
            std::filesystem::rename(open->tempPath, open->finalPath, error);
            stored = !error;
        }
        if (!stored) {
            log_error("TiXmlDefaultIO::Close: cannot store %s", open->finalPath.c_str());
            std::filesystem::remove(open->tempPath, error);
        }
    }
    delete open;
    return stored;
}

void TiXmlDefaultIO::Discard(void* handle) {
    if (handle == nullptr) {
        return;
    }
    OpenFile* open = static_cast<OpenFile*>(handle);
    std::fclose(open->file);
    if (!open->tempPath.empty()) {
        std::error_code error;
        std::filesystem::remove(open->tempPath, error);
    }
    delete open;
}

size_t TiXmlDefaultIO::Read(void* handle, void* buffer, size_t size, size_t count) {
    return handle != nullptr ? std::fread(buffer, size, count, FileOf(handle)) : 0;
}

size_t TiXmlDefaultIO::Write(void* handle, const void* buffer, size_t size, size_t count) {
    return handle != nullptr ? std::fwrite(buffer, size, count, FileOf(handle)) : 0;
}

bool TiXmlDefaultIO::Seek(void* handle, long position) {
    return handle != nullptr && std::fseek(FileOf(handle), position, SEEK_SET) == 0;
}

long TiXmlDefaultIO::Length(void* handle) {
    if (handle == nullptr) {
        return -1;
    }
    std::FILE* file = FileOf(handle);
    const long position = std::ftell(file);
    if (position < 0 || std::fseek(file, 0, SEEK_END) != 0) {
        return -1;
    }
    const long length = std::ftell(file);
    std::fseek(file, position, SEEK_SET);
    return length;
}
