#pragma once

#include <filesystem>
#include <string>

namespace swfplayer {
class movie_def_impl;
}

// The ".gsc" cache file of one movie of the virtual file system. It lives beside the movie in
// the real folder PhysFS found the movie in, and is checked, read and written there alone, so
// the file judged fresh is the file read. A movie inside an archive has no cache file.
//
// A cache belongs to the movie whose size and bytes it was made from: it carries that key as a
// tag of its own (see platform/FileTag.h), so a movie replaced by another, whatever its file
// time, is never drawn from the old meshes.
class MovieCache {
public:
    // Decides before anything is read: fresh when the cache file exists and carries the key of
    // the movie as it is now.
    explicit MovieCache(const std::string& movieName);

    bool IsFresh() const { return m_Fresh; }

    // Gives def the cached meshes; false when the file is not fresh or cannot be read. A fresh
    // cache that fails to read is removed, so that it is written anew.
    bool Read(swfplayer::movie_def_impl* def) const;
    // Replaces the cache file with def's meshes and the movie's key, through a replacement file
    // (a new file of its own, flushed and renamed into place only once it is complete), so that
    // no half written cache is ever read and nothing a link points to is written. The temporary
    // files of earlier writes of this cache that were cut short are removed first. A folder that
    // cannot be written, or a write that fails, leaves things as they are, without a message.
    void Write(const swfplayer::movie_def_impl& def) const;

private:
    std::filesystem::path m_Path;
    std::string m_MovieKey;  // the movie's size and a hash of its bytes; empty when unreadable
    bool m_Fresh = false;
};
