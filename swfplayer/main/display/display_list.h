#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/cxform.h"
#include "swfplayer/main/common/matrix.h"
#include "swfplayer/main/display/character.h"

#include <cstdint>
#include <vector>

namespace swfplayer {

// The placed characters of one sprite, sorted by depth: placed, moved, replaced and removed by
// frame tags and scripts, found by depth or name, advanced once per frame and drawn in depth
// order with clip-depth masks. Scripts run by advance, display and removal (unload events) may
// change the list while it is being walked: every walk works on a copy of the references, and
// removals find their character again by identity once the scripts have run.
class display_list {
public:
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
    // onKillFocus and onUnload, and then it leaves the list.
    void remove(int index);
    // Removes every character that was in the list when the call began.
    void clear();
    // Removes every character whose depth is not among depths.
    void clear_except(const array<int>& depths);
    // Exchanges the list positions of a and b; the caller exchanges their depths.
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

private:
    // Inserts ch at its depth (first among equals) and marks it as on the stage.
    void insert(character* ch);
    // The index of ch, found by identity; -1 when absent.
    int find_character(character* ch) const;

    std::vector<smart_ptr<character>> m_display_object_array;
    // Characters whose unload events are running; a removal of one of them from inside those
    // events takes it off the list without running them again.
    std::vector<character*> m_being_removed;
};

}  // namespace swfplayer
