#include "swfplayer/base/log.h"
#include "swfplayer/main/loading/movie_def_impl.h"

#include <vector>

namespace swfplayer {

void movie_def_impl::add_import(const base_string& source_url, int id, const base_string& symbol) {
    if (in_import_table(id)) {
        log_error("error: add_import: character %d is already waiting to be imported\n", id);
        return;
    }
    m_imports.push_back({source_url, id, symbol});
}

bool movie_def_impl::in_import_table(int id) const {
    for (const import_info& info : m_imports) {
        if (info.m_character_id == id) {
            return true;
        }
    }
    return false;
}

void movie_def_impl::visit_imported_movies(import_visitor* visitor) const {
    std::vector<base_stringi> visited;
    for (const import_info& info : m_imports) {
        base_stringi url(info.m_source_url.c_str());
        bool seen = false;
        for (const base_stringi& earlier : visited) {
            seen = seen || earlier == url;
        }
        if (!seen) {
            visited.push_back(url);
            visitor->visit(info.m_source_url);
        }
    }
}

}  // namespace swfplayer
