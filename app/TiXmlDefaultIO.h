#pragma once

#include "app/TiXmlIOProxy.h"

// XML file access through the standard C file functions, with paths as the operating system
// takes them. The proxy in use until the virtual file system is set up.
class TiXmlDefaultIO : public TiXmlIOProxy {
public:
    void* OpenRead(const char* name) override;
    void* OpenWrite(const char* name) override;
    void* OpenAppend(const char* name) override;
    bool Close(void* handle) override;
    void Discard(void* handle) override;
    size_t Read(void* handle, void* buffer, size_t size, size_t count) override;
    size_t Write(void* handle, const void* buffer, size_t size, size_t count) override;
    bool Seek(void* handle, long position) override;
    long Length(void* handle) override;
};
