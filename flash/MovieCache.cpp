#include "flash/MovieCache.h"

#include "platform/FileTag.h"
#include "platform/ReplacementFile.h"
#include "swfplayer/base/base_file.h"
#include "swfplayer/main/loading/movie_def_impl.h"

#include <physfs.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <system_error>

namespace {

// The name of the cache's tag that holds the key of its movie.
constexpr const char* kKeyTag = "pondorix.movie";

// "<size>:<hash>": the movie's size in bytes and the 64-bit FNV-1a hash of its bytes, in hex;
// empty when the movie cannot be read.
std::string MovieKey(const std::filesystem::path& movie) {
    std::ifstream in(movie, std::ios::binary);
    if (!in) {
        return std::string();
    }
    uint64_t hash = 0xCBF29CE484222325ull;
    uint64_t size = 0;
    char block[65536];
    while (in.read(block, sizeof(block)) || in.gcount() > 0) {
        const std::streamsize count = in.gcount();
        for (std::streamsize i = 0; i < count; ++i) {
            hash = (hash ^ static_cast<unsigned char>(block[i])) * 0x100000001B3ull;
        }
        size += static_cast<uint64_t>(count);
    }
    if (in.bad()) {
        return std::string();
    }
    char key[48];
    std::snprintf(key, sizeof(key), "%llu:%016llx", static_cast<unsigned long long>(size),
                  static_cast<unsigned long long>(hash));
    return key;
}

}  // namespace

MovieCache::MovieCache(const std::string& movieName) {
    const char* realDir = PHYSFS_getRealDir(movieName.c_str());
    std::error_code error;
    if (realDir == nullptr || !std::filesystem::is_directory(realDir, error)) {
        return;
    }
    const std::filesystem::path movie = std::filesystem::path(realDir) / movieName;
    m_Path = movie;
    m_Path += ".gsc";
    m_MovieKey = MovieKey(movie);
    m_Fresh = !m_MovieKey.empty() && std::filesystem::is_regular_file(m_Path, error) &&
              platform::GetFileTag(m_Path.string(), kKeyTag) == m_MovieKey;
}

bool MovieCache::Read(swfplayer::movie_def_impl* def) const {
    if (!m_Fresh) {
        return false;
    }
    bool read = false;
    {
        swfplayer::base_file in(m_Path.c_str(), "rb");
        read = in.get_error() == swfplayer::base_file::no_error && def->input_cached_data(&in);
    }
    if (!read) {
        std::error_code error;
        std::filesystem::remove(m_Path, error);
    }
    return read;
}

void MovieCache::Write(const swfplayer::movie_def_impl& def) const {
    if (m_Path.empty() || m_MovieKey.empty()) {
        return;
    }
    // An interrupted write leaves the cache stale, so the next load always comes here: its
    // temporary files go before a new one is made.
    platform::ReplacementFile::RemoveLeftovers(m_Path.string());
    platform::ReplacementFile replacement(m_Path.string());
    if (!replacement.IsOpen()) {
        return;
    }
    {
        swfplayer::base_file out(replacement.GetFile(), false);
        def.output_cached_data(&out, swfplayer::cache_options());
    }
    // Commit renames the file only when every byte was written and flushed.
    if (platform::SetFileTag(replacement.GetFile(), kKeyTag, m_MovieKey)) {
        replacement.Commit();
    }
}
