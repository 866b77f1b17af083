#pragma once
// Internal to the display list.

#include "swfplayer/base/base_string.h"
#include "swfplayer/base/hash.h"

#include <cstdint>
#include <vector>

namespace swfplayer {

class character;

// The characters of one display list by name, so that finding a child by name does not walk
// the list. Names are compared without regard to ASCII case; the characters of one name stand in
// display order, given by an order key that the list keeps growing along its entries.
class name_index {
public:
    void add(character* ch, int64_t order);
    // Takes ch, indexed under name with that order key, out of the index.
    void remove(character* ch, const base_string& name, int64_t order);
    // Moves ch from old_name to its current name, keeping its order; false when ch was not
    // indexed under old_name.
    bool rename(character* ch, const base_string& old_name);
    void clear() { m_by_name.clear(); }

    // The first character in display order with the name, compared without regard to ASCII case
    // (find_i) or byte for byte (find); null when none.
    character* find_i(const base_stringi& name) const;
    character* find(const base_string& name) const;

private:
    struct entry {
        int64_t m_order;
        character* m_character;
    };
    typedef std::vector<entry> entries;  // sorted by order

    hash<base_stringi, entries> m_by_name;
};

}  // namespace swfplayer
