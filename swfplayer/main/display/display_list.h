#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/cxform.h"
#include "swfplayer/main/common/matrix.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/display/name_index.h"

#include <cstdint>
#include <vector>

namespace swfplayer {

// The placed characters of one sprite, sorted by depth: placed, moved, replaced and removed by
// frame tags and scripts, found by depth or name, advanced once per frame and drawn in depth
// order with clip-depth masks. Scripts run by advance, display and removal (unload events) may
// change the list while it is being walked: every walk works on a copy of the references, and
// removals find their character again by identity once the scripts have run.
//
// Names are indexed beside the depth order, so finding a child by name (which every member
// lookup on a sprite does) costs the same however many children there are.
class display_list {
public:
    display_list() = default;
    ~display_list();
    display_list(const display_list&) = delete;
    display_list& operator=(const display_list&) = delete;

    // Index of the first entry whose depth is >= depth; size() when there is none.
    int find_display_index(int depth) const;
    // Index of the first entry with exactly depth, else -1.
    int get_display_index(int depth) const;
    character* get_character_at_depth(int depth) const;
    // The character at index (0 <= index < size()).
    character* get_character(int index) const { return m_display_object_array[index].get_ptr(); }
    int size() const { return static_cast<int>(m_display_object_array.size()); }
    // The first character in depth order with that name, compared byte for byte or without
    // regard to ASCII case; null when none.
    character* get_character_by_name(const base_string& name) const;
    character* get_character_by_name_i(const base_stringi& name) const;

    // Places ch at depth (first among the characters already there, or in place of them when
    // replace is set) and builds its first frame.
    void add_display_object(character* ch, int depth, bool replace_if_depth_is_occupied, const cxform& color_transform,
                            const matrix& mat, float ratio, uint16_t clip_depth);
    void move_display_object(int depth, bool use_cxform, const cxform& color_transform, bool use_matrix,
                             const matrix& mat, float ratio, uint16_t clip_depth);
    // Puts ch in place of what stands at depth, keeping its transforms where none are given.
    void replace_display_object(character* ch, int depth, bool use_cxform, const cxform& color_transform,
                                bool use_matrix, const matrix& mat, float ratio, uint16_t clip_depth);
    // Removes the first character at depth with that id (any id for -1).
    void remove_display_object(int depth, int id);
    void remove_display_object(character* ch);
    // Removes one entry: the character's own list is emptied first, then it receives
    // onKillFocus (unless it held the focus and its children's removal handlers took the focus
    // from it, when it heard its kill-focus then) and onUnload, and then it leaves the list.
    void remove(int index);
    // Removes every character that was in the list when the call began.
    void clear();
    // Removes every character whose depth is not among depths.
    void clear_except(const array<int>& depths);
    // Exchanges the depths and list positions of a and b. When either is not in the list, nothing
    // changes and one line is logged.
    void swap_characters(character* a, character* b);
    // Moves ch to a free depth.
    void change_character_depth(character* ch, int depth);
    // Puts the characters of order, which must all stand at depth, into that order among the
    // slots they hold; the other characters at depth keep their places.
    void reorder_at_depth(int depth, const std::vector<character*>& order);
    // max(16383, greatest depth) + 1, at most INT_MAX.
    int get_highest_depth() const;

    void advance(float delta_time);
    void display();
    // The clear_refs pass of every character.
    void clear_refs(as_object_set* visited, as_object* target);
    // Marks every character reachable for the collection under way.
    void mark_alive(player* owner);
    // Logs the names of the entries, indented.
    void dump(base_string& indent) const;
    // A character of the list has a new name (it was old_name): the index follows.
    void rename(character* ch, const base_string& old_name);

private:
    // Inserts ch at its depth (first among equals) and marks it as on the stage.
    void insert(character* ch);
    // Takes the entry at index out of the list and the index.
    void erase_at(int index);
    // An order key between those of the entries around index (where a new entry goes); every
    // key is renumbered first when there is no room left between them.
    int64_t order_key_at(int index);
    // Gives every entry a new key, evenly spread, and rebuilds the name index.
    void renumber();
    // The index of ch, found by identity; -1 when absent.
    int find_character(character* ch) const;

    std::vector<smart_ptr<character>> m_display_object_array;
    // The order key of each entry, growing along the list; the name index keeps the characters
    // of one name in this order.
    std::vector<int64_t> m_order_keys;
    name_index m_names;
    // Characters whose unload events are running; a removal of one of them from inside those
    // events takes it off the list without running them again.
    std::vector<character*> m_being_removed;
};

}  // namespace swfplayer
