#pragma once

#include "swfplayer/base/base_string.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/standard_member.h"

#include <cstdint>

namespace swfplayer {

class name_table;

// One name as the interpreter looks it up: its text with the folded hash already worked out
// (so member tables, the built-in tables and the standard-member table never hash it again),
// what the lookups would otherwise work out from the text on every use, and the table that
// interned it, if any. It never changes once made.
class name_entry : public ref_counted {
public:
    name_entry(const base_string& text, const name_table* table);

    const base_stringi& text() const { return m_text; }
    // Case-sensitive hash of the text, for exact comparisons (named locals).
    uint32_t exact_hash() const { return m_exact_hash; }
    standard_member standard() const { return m_standard; }
    bool is_path() const { return m_is_path; }
    // The table the entry is interned in; null for a name the table had no room for, or once
    // its table is gone.
    const name_table* table() const { return m_table; }

private:
    friend class name_table;

    const base_stringi m_text;
    const uint32_t m_exact_hash;
    const standard_member m_standard;
    const bool m_is_path;
    const name_table* m_table;
};

// A handle to a name_entry: copying it copies a pointer. Two names interned in the same table
// are the same text (byte for byte) exactly when they hold the same entry; other names compare
// their texts. A default-made name is the empty text, interned nowhere.
class interned_name {
public:
    interned_name() = default;
    explicit interned_name(name_entry* entry) : m_entry(entry) {}

    const base_stringi& text() const;
    const char* c_str() const { return text().c_str(); }
    uint32_t folded_hash() const { return text().folded_hash(); }
    uint32_t exact_hash() const;
    // The standard-member number of the text (without regard to case), or M_INVALID.
    standard_member standard() const { return m_entry ? m_entry->standard() : M_INVALID; }
    // Whether the text holds ':' or '.', so that a variable lookup must split it into a target
    // path and a variable name; plain names skip that.
    bool is_path() const { return m_entry && m_entry->is_path(); }
    // Whether the name is held by a table (and so is equal to another name of that table only
    // when it holds the same entry).
    bool is_interned() const { return m_entry && m_entry->table() != nullptr; }
    const name_entry* get_entry() const { return m_entry.get_ptr(); }

    // Byte-for-byte equality, as named locals compare.
    bool operator==(const interned_name& other) const;
    bool operator!=(const interned_name& other) const { return !(*this == other); }
    // Equality without regard to ASCII case, as member names compare.
    bool equals_ignoring_case(const interned_name& other) const;

private:
    smart_ptr<name_entry> m_entry;
};

}  // namespace swfplayer
