#pragma once

#include "app/TiXmlIOProxy.h"

#include <string>

// XML file access through the virtual file system (PhysFS): reads find files on the search
// path, writes go to the write directory, which is the user's data folder. A file there that is
// a symbolic link is written through it: the file it leads to is replaced and the link stays.
// The application holds one and makes it the current proxy once the file system is mounted.
class TinyxmlPhysfsProxy : public TiXmlIOProxy {
public:
    // Removes the temporary files that saves of the named file left when they were cut short
    // (see platform::ReplacementFile::RemoveLeftovers); the number removed.
    static int RemoveLeftovers(const std::string& name);

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
