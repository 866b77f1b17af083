#pragma once

#include <cstddef>

// File access for the XML files the game writes. A handle is an opaque pointer; null means the
// file could not be opened.
//
// A file opened with OpenWrite replaces the file of that name only when it is closed with Close
// after everything was written: until then the data goes to a temporary file beside it, and
// Discard drops that file, so a failed save never leaves a truncated file behind.
class TiXmlIOProxy {
public:
    virtual ~TiXmlIOProxy() = default;

    virtual void* OpenRead(const char* name) = 0;
    // Opens a new file that will replace the file of this name on Close; parent folders are
    // created. A failure is logged, with the file and the reason.
    virtual void* OpenWrite(const char* name) = 0;
    virtual void* OpenAppend(const char* name) = 0;
    // Closes the file; a file opened with OpenWrite then replaces the old one. False when the
    // data could not be completely stored (the old file is then kept); for a file opened with
    // OpenWrite, the failure is logged with the file and the reason.
    virtual bool Close(void* handle) = 0;
    // Closes a file opened with OpenWrite without replacing anything; other files just close.
    virtual void Discard(void* handle) = 0;
    // The number of whole elements read or written.
    virtual size_t Read(void* handle, void* buffer, size_t size, size_t count) = 0;
    virtual size_t Write(void* handle, const void* buffer, size_t size, size_t count) = 0;
    // Moves to an absolute byte position from the start; false on failure.
    virtual bool Seek(void* handle, long position) = 0;
    // The file's length in bytes, -1 when unknown.
    virtual long Length(void* handle) = 0;

    // The proxy that XML output goes through: standard file access until SetCurrent is given
    // another one (the application points it at the virtual file system at start-up).
    static TiXmlIOProxy& GetCurrent();
    // Makes the proxy current; null goes back to standard file access. The proxy must outlive
    // its time as the current one.
    static void SetCurrent(TiXmlIOProxy* proxy);
};
