#include "swfplayer/main/loading/movie_loader.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/loading/tag_loaders.h"
#include "swfplayer/main/script/player.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace swfplayer {

namespace {

// Imports load their source movies while the importing movie loads; a chain deeper than this
// is taken for a cycle that different spellings of a file name hide.
constexpr size_t max_import_depth = 8;

file_opener_function s_file_opener = nullptr;
bool s_use_cache_files = false;

// Gives movie the meshes of the cache file beside url, when there is one.
void read_cache_file(movie_def_impl* movie, const char* url) {
    std::string cache_name = std::string(url) + ".gsc";
    std::unique_ptr<base_file> cache(open_file(cache_name.c_str()));
    if (cache) {
        movie->input_cached_data(cache.get());
    } else if (get_verbose_parse()) {
        log_msg("note: couldn't open cache file '%s'\n", cache_name.c_str());
    }
}

}  // namespace

base_file* open_file(const char* name) {
    base_file* in = s_file_opener ? s_file_opener(name) : nullptr;
    if (in && in->get_error() != base_file::no_error) {
        delete in;
        return nullptr;
    }
    return in;
}

void set_use_cache_files(bool use) {
    s_use_cache_files = use;
}

bool get_use_cache_files() {
    return s_use_cache_files;
}

void register_file_opener_callback(file_opener_function opener) {
    s_file_opener = opener;
}

file_opener_function get_file_opener() {
    return s_file_opener;
}

bool is_allowed_movie_name(const char* name) {
    std::string_view text(name);
    if (text.empty() || text.size() > static_cast<size_t>(max_movie_name_length)) {
        log_error("error: movie name of %d bytes refused\n", static_cast<int>(text.size()));
        return false;
    }
    bool drive = text.size() >= 2 && text[1] == ':';
    if (text[0] == '/' || text[0] == '\\' || drive) {
        log_error("error: absolute movie name '%s' refused\n", name);
        return false;
    }
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find_first_of("/\\", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        if (text.substr(start, end - start) == "..") {
            log_error("error: movie name '%s' leaves its folder; refused\n", name);
            return false;
        }
        start = end + 1;
    }
    return true;
}

smart_ptr<movie_def_impl> create_movie_definition(player* owner, base_file* in) {
    register_tag_loaders();
    smart_ptr<movie_def_impl> movie = new movie_def_impl(owner, 0, 0);
    if (!movie->read(in)) {
        return nullptr;
    }
    return movie;
}

smart_ptr<movie_def_impl> load_movie_definition(player* owner, const char* url) {
    if (owner) {
        // Only movie definitions enter the library.
        if (ref_counted* known = owner->get_library_entry(url)) {
            return static_cast<movie_def_impl*>(known);
        }
    }
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
    base_file* in = open_file(url);
    if (in == nullptr) {
        return nullptr;
    }
    return read_movie_definition(owner, url, in);
}

smart_ptr<movie_def_impl> read_movie_definition(player* owner, const char* url, base_file* in) {
    std::vector<std::string>& loading = nesting_of(owner).m_files_being_loaded;
    loading.push_back(url);
    smart_ptr<movie_def_impl> movie = create_movie_definition(owner, in);
    loading.pop_back();
    if (movie && s_use_cache_files) {
        read_cache_file(movie.get_ptr(), url);
    }
    if (movie && owner) {
        owner->set_library_entry(url, movie.get_ptr());
    }
    return movie;
}

}  // namespace swfplayer
