#include "swfplayer/main/script/interned_name.h"

#include <cstring>

namespace swfplayer {

namespace {

bool has_path_separator(const char* text) {
    return std::strpbrk(text, ":.") != nullptr;
}

const base_stringi& empty_text() {
    static const base_stringi empty;
    return empty;
}

}  // namespace

name_entry::name_entry(const base_string& text, const name_table* table)
    : m_text(text),
      m_exact_hash(string_hash_functor()(text)),
      m_standard(get_standard_member(m_text)),
      m_is_path(has_path_separator(text.c_str())),
      m_table(table) {
    m_text.folded_hash();
}

const base_stringi& interned_name::text() const {
    return m_entry ? m_entry->text() : empty_text();
}

uint32_t interned_name::exact_hash() const {
    return m_entry ? m_entry->exact_hash() : string_hash_functor()(empty_text());
}

bool interned_name::operator==(const interned_name& other) const {
    if (m_entry == other.m_entry) {
        return true;
    }
    if (is_interned() && other.is_interned() && m_entry->table() == other.m_entry->table()) {
        return false;
    }
    return exact_hash() == other.exact_hash() && std::strcmp(c_str(), other.c_str()) == 0;
}

bool interned_name::equals_ignoring_case(const interned_name& other) const {
    return m_entry == other.m_entry ||
           (folded_hash() == other.folded_hash() && base_string::stricmp(c_str(), other.c_str()) == 0);
}

}  // namespace swfplayer
