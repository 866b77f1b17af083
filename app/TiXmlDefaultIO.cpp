#include "app/TiXmlDefaultIO.h"

#include "app/Log.h"
#include "platform/ReplacementFile.h"

#include <cstdio>
#include <memory>

namespace {

// An open file; a file being written to replace another is a replacement file, whose temporary
// file is the one read and written.
struct OpenFile {
    std::FILE* file = nullptr;
    std::unique_ptr<platform::ReplacementFile> replacement;
};

void* Open(const char* name, const char* mode) {
    if (name == nullptr) {
        return nullptr;
    }
    std::FILE* file = std::fopen(name, mode);
    if (file == nullptr) {
        return nullptr;
    }
    return new OpenFile{file, nullptr};
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
        log_error("TiXmlDefaultIO::OpenWrite: no file name to write");
        return nullptr;
    }
    auto replacement = std::make_unique<platform::ReplacementFile>(name);
    if (!replacement->IsOpen()) {
        log_error("TiXmlDefaultIO::OpenWrite: %s", replacement->GetError().c_str());
        return nullptr;
    }
    std::FILE* file = replacement->GetFile();
    return new OpenFile{file, std::move(replacement)};
}

void* TiXmlDefaultIO::OpenAppend(const char* name) {
    return Open(name, "ab");
}

bool TiXmlDefaultIO::Close(void* handle) {
    if (handle == nullptr) {
        return false;
    }
    std::unique_ptr<OpenFile> open(static_cast<OpenFile*>(handle));
    if (open->replacement == nullptr) {
        const bool written = std::ferror(open->file) == 0;
        return std::fclose(open->file) == 0 && written;
    }
    if (!open->replacement->Commit()) {
        log_error("TiXmlDefaultIO::Close: %s", open->replacement->GetError().c_str());
        return false;
    }
    return true;
}

void TiXmlDefaultIO::Discard(void* handle) {
    if (handle == nullptr) {
        return;
    }
    std::unique_ptr<OpenFile> open(static_cast<OpenFile*>(handle));
    if (open->replacement == nullptr) {
        std::fclose(open->file);
    }
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
    return handle != nullptr ? platform::StreamLength(FileOf(handle)) : -1;
}
