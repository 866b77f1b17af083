#include "swfplayer/main/loading/movie_loader.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/loading/tag_loaders.h"
#include "swfplayer/main/script/player.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace swfplayer {

namespace {

// Imports load their source movies while the importing movie loads; a chain deeper than this
// is taken for a cycle that different spellings of a file name hide.
constexpr size_t max_import_depth = 8;

}  // namespace

smart_ptr<movie_def_impl> create_movie_definition(player* owner, base_file* in) {
    register_tag_loaders();
    smart_ptr<movie_def_impl> movie = new movie_def_impl(owner, 0, 0);
    if (!movie->read(in)) {
        return nullptr;
    }
    return movie;
}

smart_ptr<movie_def_impl> load_movie_definition(player* owner, const char* url) {
    std::vector<std::string>& loading = nesting_of(owner).m_files_being_loaded;
    for (const std::string& name : loading) {
        if (name == url) {
            log_error("load_movie_definition: '%s' imports itself through its own imports\n", url);
            return nullptr;
        }
    }
    if (loading.size() >= max_import_depth) {
        log_error("load_movie_definition: imports nested too deep at '%s'\n", url);
        return nullptr;
    }
    // A movie names the file: only plain files are opened, never devices or pipes that could
    // block or never end.
    std::error_code error;
    if (!std::filesystem::is_regular_file(url, error)) {
        return nullptr;
    }
    base_file* in = new base_file(url, "rb");
    if (in->get_error() != base_file::no_error) {
        delete in;
        return nullptr;
    }
    loading.push_back(url);
    smart_ptr<movie_def_impl> movie = create_movie_definition(owner, in);
    loading.pop_back();
    return movie;
}

}  // namespace swfplayer
