#pragma once

#include <filesystem>
#include <string>

namespace swfplayer {
class movie_def_impl;
}

// The ".gsc" cache file of one movie of the virtual file system. It lives beside the movie in
// the real folder PhysFS found the movie in, and is checked, read and written there alone, so
// the file judged fresh is the file read. A movie inside an archive has no cache file.
class MovieCache {
public:
    // Decides before anything is read: fresh when the cache file exists and is not older than
    // the movie.
    explicit MovieCache(const std::string& movieName);

    bool IsFresh() const { return m_Fresh; }

    // Gives def the cached meshes; false when the file is not fresh or cannot be read.
    bool Read(swfplayer::movie_def_impl* def) const;
    // Replaces the cache file with def's meshes, through a temporary file so that no half
    // written cache is ever read. A folder that cannot be written leaves things as they are,
    // without a message.
    void Write(const swfplayer::movie_def_impl& def) const;

private:
    std::filesystem::path m_Path;
    bool m_Fresh = false;
};
