#include "flash/MovieCache.h"

#include "swfplayer/base/base_file.h"
#include "swfplayer/main/loading/movie_def_impl.h"

#include <physfs.h>

#include <memory>
#include <system_error>

MovieCache::MovieCache(const std::string& movieName) {
    const char* realDir = PHYSFS_getRealDir(movieName.c_str());
    std::error_code error;
    if (realDir == nullptr || !std::filesystem::is_directory(realDir, error)) {
        return;
    }
    const std::filesystem::path movie = std::filesystem::path(realDir) / movieName;
    m_Path = movie;
    m_Path += ".gsc";
    const auto movieTime = std::filesystem::last_write_time(movie, error);
    if (error) {
        return;
    }
    const auto cacheTime = std::filesystem::last_write_time(m_Path, error);
    m_Fresh = !error && std::filesystem::is_regular_file(m_Path, error) && cacheTime >= movieTime;
}

bool MovieCache::Read(swfplayer::movie_def_impl* def) const {
    if (!m_Fresh) {
        return false;
    }
    swfplayer::base_file in(m_Path.c_str(), "rb");
    return in.get_error() == swfplayer::base_file::no_error && def->input_cached_data(&in);
}

void MovieCache::Write(const swfplayer::movie_def_impl& def) const {
    if (m_Path.empty()) {
        return;
    }
    std::filesystem::path temporary = m_Path;
    temporary += ".tmp";
    {
        swfplayer::base_file out(temporary.c_str(), "w+b");
        if (out.get_error() != swfplayer::base_file::no_error) {
            return;
        }
        def.output_cached_data(&out, swfplayer::cache_options());
    }
    std::error_code error;
    std::filesystem::rename(temporary, m_Path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
    }
}
