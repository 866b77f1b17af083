#pragma once

#include "swfplayer/base/hash.h"
#include "swfplayer/main/script/interned_name.h"

namespace swfplayer {

// A player's interned names: each distinct text (compared byte for byte) has one entry, so
// names from the same table compare by pointer. The table is bounded: a movie that makes
// ever new names (building them from numbers in a loop, say) must not grow it without end.
// When a new name would pass the bounds, the entries nobody else holds any more are dropped;
// if that frees no room, the name is made by itself, not interned, and every lookup still
// works on it, comparing its text instead of its pointer.
class name_table {
public:
    // The most names, and the most bytes of their texts, the table holds.
    static constexpr int max_names = 1 << 16;
    static constexpr int max_bytes = 1 << 21;

    name_table() = default;
    name_table(const name_table&) = delete;
    name_table& operator=(const name_table&) = delete;
    // The names still held elsewhere outlive the table, no longer interned.
    ~name_table();

    // The table's entry for the text, made when there is none.
    interned_name intern(const base_string& text);
    // The table's entry for the text when it has one; a default-made name otherwise.
    interned_name find(const base_string& text) const;

    int size() const { return m_names.size(); }
    // Bytes of text held.
    int byte_count() const { return m_bytes; }

private:
    // Drops the entries only the table holds.
    void drop_unused();
    bool has_room_for(int length) const { return size() < max_names && m_bytes + length <= max_bytes; }

    hash<base_string, smart_ptr<name_entry>> m_names;
    int m_bytes = 0;
};

}  // namespace swfplayer
