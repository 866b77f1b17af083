#include "flash/PhysfsFile.h"

#include <physfs.h>

#include <climits>

namespace {

PHYSFS_File* Handle(void* data) {
    return static_cast<PHYSFS_File*>(data);
}

int PhysfsRead(void* dst, int bytes, void* data) {
    if (bytes <= 0) {
        return 0;
    }
    PHYSFS_sint64 count = PHYSFS_readBytes(Handle(data), dst, static_cast<PHYSFS_uint64>(bytes));
    return count < 0 ? 0 : static_cast<int>(count);
}

int PhysfsSeek(int position, void* data) {
    if (position < 0) {
        return swfplayer::base_file::seek_error;
    }
    return PHYSFS_seek(Handle(data), static_cast<PHYSFS_uint64>(position)) ? 0 : swfplayer::base_file::seek_error;
}

int PhysfsSeekToEnd(void* data) {
    PHYSFS_sint64 length = PHYSFS_fileLength(Handle(data));
    if (length < 0) {
        return swfplayer::base_file::seek_error;
    }
    return PHYSFS_seek(Handle(data), static_cast<PHYSFS_uint64>(length)) ? 0 : swfplayer::base_file::seek_error;
}

// -1 when the position does not fit an int (the player's positions are 32-bit).
int PhysfsTell(void* data) {
    PHYSFS_sint64 position = PHYSFS_tell(Handle(data));
    return position < 0 || position > INT_MAX ? -1 : static_cast<int>(position);
}

bool PhysfsGetEof(void* data) {
    return PHYSFS_eof(Handle(data)) != 0;
}

int PhysfsClose(void* data) {
    return PHYSFS_close(Handle(data)) ? 0 : swfplayer::base_file::close_error;
}

}  // namespace

swfplayer::base_file* OpenPhysfsFile(const char* name) {
    PHYSFS_File* handle = PHYSFS_openRead(name);
    if (handle == nullptr) {
        return nullptr;
    }
    return new swfplayer::base_file(handle, PhysfsRead, nullptr, PhysfsSeek, PhysfsSeekToEnd, PhysfsTell, PhysfsGetEof,
                                    PhysfsClose);
}
