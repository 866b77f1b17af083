#include "swfplayer/main/display/display_list.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/render/render_handler.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/movie_root.h"
#include "swfplayer/main/script/player.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <utility>

namespace swfplayer {

namespace {

// A mask drawn into the stencil and the last depth it covers.
struct open_mask {
    character* m_mask;
    int m_last_depth;
};

void submit_mask(std::vector<open_mask>* masks, character* mask, int last_depth) {
    render::begin_submit_mask();
    mask->display();
    render::end_submit_mask();
    masks->push_back(open_mask{mask, last_depth});
}

// Closes every open mask that ends before depth. Masks close from the newest, so one that
// still covers depth but was opened after one that ends is closed with it and submitted again.
// Every mask that ends is closed, however masks overlap, so no masked area outlives its mask's
// depths in the stencil.
void close_masks_before(std::vector<open_mask>* masks, int depth) {
    auto ended =
        std::find_if(masks->begin(), masks->end(), [depth](const open_mask& m) { return m.m_last_depth < depth; });
    if (ended == masks->end()) {
        return;
    }
    std::vector<open_mask> reopen;
    for (auto it = ended + 1; it != masks->end(); ++it) {
        if (it->m_last_depth >= depth) {
            reopen.push_back(*it);
        }
    }
    for (size_t n = masks->end() - ended; n > 0; n--) {
        render::disable_mask();
        masks->pop_back();
    }
    for (const open_mask& m : reopen) {
        submit_mask(masks, m.m_mask, m.m_last_depth);
    }
}

}  // namespace

int display_list::find_display_index(int depth) const {
    auto it = std::lower_bound(m_display_object_array.begin(), m_display_object_array.end(), depth,
                               [](const smart_ptr<character>& ch, int d) { return ch->get_depth() < d; });
    return static_cast<int>(it - m_display_object_array.begin());
}

int display_list::get_display_index(int depth) const {
    int index = find_display_index(depth);
    return index < size() && get_character(index)->get_depth() == depth ? index : -1;
}

character* display_list::get_character_at_depth(int depth) const {
    int index = get_display_index(depth);
    return index >= 0 ? get_character(index) : nullptr;
}

display_list::~display_list() {
    for (const smart_ptr<character>& ch : m_display_object_array) {
        ch->remove_holding_list(this);
    }
}

character* display_list::get_character_by_name(const base_string& name) const {
    return m_names.find(name);
}

character* display_list::get_character_by_name_i(const base_stringi& name) const {
    return m_names.find_i(name);
}

void display_list::add_display_object(character* ch, int depth, bool replace_if_depth_is_occupied,
                                      const cxform& color_transform, const matrix& mat, float ratio,
                                      uint16_t clip_depth) {
    if (ch == nullptr) {
        log_error("display_list::add_display_object: no character\n");
        return;
    }
    smart_ptr<character> hold(ch);
    if (replace_if_depth_is_occupied) {
        int index = get_display_index(depth);
        if (index >= 0) {
            remove(index);
        }
    }
    ch->set_depth(depth);
    ch->set_cxform(color_transform);
    ch->set_matrix(mat);
    ch->set_ratio(ratio);
    ch->set_clip_depth(clip_depth);
    insert(ch);
    ch->execute_frame_tags(0, false);
    movie_root* root = ch->get_root();
    if (root && ch->has_keypress_event()) {
        root->get_keypress_listener().add(ch);
    }
}

void display_list::move_display_object(int depth, bool use_cxform, const cxform& color_transform, bool use_matrix,
                                       const matrix& mat, float ratio, uint16_t /*clip_depth*/) {
    if (m_display_object_array.empty()) {
        log_error("error: move_display_object() -- no objects on display list\n");
        return;
    }
    int index = find_display_index(depth);
    if (index == size()) {
        return;
    }
    character* ch = get_character(index);
    if (ch->get_depth() != depth) {
        log_error("error: move_display_object() -- no object at depth %d\n", depth);
        return;
    }
    if (!ch->accepts_timeline_moves()) {
        return;
    }
    if (use_cxform) {
        ch->set_cxform(color_transform);
    }
    if (use_matrix) {
        ch->set_matrix(mat);
    }
    ch->set_ratio(ratio);
}

void display_list::replace_display_object(character* ch, int depth, bool use_cxform, const cxform& color_transform,
                                          bool use_matrix, const matrix& mat, float ratio, uint16_t clip_depth) {
    smart_ptr<character> old = get_character_at_depth(depth);
    if (old == nullptr) {
        add_display_object(ch, depth, true, color_transform, mat, ratio, clip_depth);
        return;
    }
    add_display_object(ch, depth, true, use_cxform ? color_transform : old->get_cxform(),
                       use_matrix ? mat : old->get_matrix(), ratio, clip_depth);
}

void display_list::remove_display_object(int depth, int id) {
    int index = get_display_index(depth);
    if (index < 0) {
        return;
    }
    if (id == -1) {
        remove(index);
        return;
    }
    for (; index < size() && get_character(index)->get_depth() == depth; index++) {
        if (get_character(index)->get_id() == id) {
            remove(index);
            return;
        }
    }
    log_error("remove_display_object: no character at depth %d with id %d\n", depth, id);
}

void display_list::remove_display_object(character* ch) {
    int index = find_character(ch);
    if (index >= 0) {
        remove(index);
    }
}

void display_list::remove(int index) {
    smart_ptr<character> ch = m_display_object_array[index];
    bool events_running =
        std::find(m_being_removed.begin(), m_being_removed.end(), ch.get_ptr()) != m_being_removed.end();
    if (!events_running) {
        m_being_removed.push_back(ch.get_ptr());
        smart_ptr<movie_root> root = ch->get_root();
        const bool held_focus = root && root->get_current_focus() == ch.get_ptr();
        // The removal begins: from here on the character, and whatever its children's removal
        // handlers place into it, takes the focus no more.
        ch->leave_stage();
        ch->clear_display_objects();
        // The removal's kill-focus is the character's last. The root sends it, so that the root
        // names nobody afterwards unless a handler gave the focus on. A holder that its children's
        // removal handlers took the focus from has heard its last kill-focus then.
        if (!root) {
            ch->on_event(event_id(event_id::KILLFOCUS));
        } else if (!held_focus || root->get_current_focus() == ch.get_ptr()) {
            root->send_last_kill_focus(ch.get_ptr());
        }
        ch->on_event(event_id(event_id::UNLOAD));
        m_being_removed.erase(std::find(m_being_removed.begin(), m_being_removed.end(), ch.get_ptr()));
    }
    // The scripts may have moved the list around; the entry is found again by identity.
    int now = find_character(ch.get_ptr());
    if (now >= 0) {
        erase_at(now);
    }
    ch->set_depth(0);
    ch->set_active(false);
    if (movie_root* root = ch->get_root()) {
        root->get_keypress_listener().remove(ch.get_ptr());
    }
}

void display_list::clear() {
    std::vector<smart_ptr<character>> before = m_display_object_array;
    for (const smart_ptr<character>& ch : before) {
        remove_display_object(ch.get_ptr());
    }
}

void display_list::clear_except(const array<int>& depths) {
    std::vector<smart_ptr<character>> before = m_display_object_array;
    for (const smart_ptr<character>& ch : before) {
        if (std::find(depths.begin(), depths.end(), ch->get_depth()) == depths.end()) {
            remove_display_object(ch.get_ptr());
        }
    }
}

void display_list::swap_characters(character* a, character* b) {
    int index_a = find_character(a);
    int index_b = find_character(b);
    if (index_a < 0 || index_b < 0) {
        // A character that left the list (a kept reference to a removed clip) has no place to
        // give: exchanging depths alone would unsort the list.
        log_error("display_list::swap_characters: a character to swap is not in the display list\n");
        return;
    }
    if (index_a == index_b) {
        return;
    }
    const int depth_a = a->get_depth();
    a->set_depth(b->get_depth());
    b->set_depth(depth_a);
    // The keys stay with the places, so the two characters take each other's keys.
    m_names.remove(a, a->get_name(), m_order_keys[index_a]);
    m_names.remove(b, b->get_name(), m_order_keys[index_b]);
    std::swap(m_display_object_array[index_a], m_display_object_array[index_b]);
    m_names.add(a, m_order_keys[index_b]);
    m_names.add(b, m_order_keys[index_a]);
}

void display_list::change_character_depth(character* ch, int depth) {
    int index = find_character(ch);
    character* there = get_character_at_depth(depth);
    if (index < 0 || (there && there != ch)) {
        log_error("display_list::change_character_depth: no such character, or depth %d is taken\n", depth);
        return;
    }
    smart_ptr<character> hold(ch);
    erase_at(index);
    ch->set_depth(depth);
    insert(ch);
}

void display_list::reorder_at_depth(int depth, const std::vector<character*>& order) {
    std::vector<int> slots;
    for (int i = find_display_index(depth); i < size() && get_character(i)->get_depth() == depth; i++) {
        if (std::find(order.begin(), order.end(), get_character(i)) != order.end()) {
            slots.push_back(i);
        }
    }
    if (slots.size() != order.size()) {
        return;  // not all at depth: nothing to reorder safely
    }
    for (int slot : slots) {
        character* ch = get_character(slot);
        m_names.remove(ch, ch->get_name(), m_order_keys[slot]);
    }
    for (size_t k = 0; k < slots.size(); k++) {
        m_display_object_array[slots[k]] = order[k];
        m_names.add(order[k], m_order_keys[slots[k]]);
    }
}

int display_list::get_highest_depth() const {
    int highest = 16383;
    if (!m_display_object_array.empty()) {
        highest = std::max(highest, m_display_object_array.back()->get_depth());
    }
    // A clip at the greatest depth leaves nothing above it; the answer stays there.
    return highest == INT_MAX ? INT_MAX : highest + 1;
}

void display_list::advance(float delta_time) {
    std::vector<smart_ptr<character>> snapshot = m_display_object_array;
    for (const smart_ptr<character>& ch : snapshot) {
        ch->advance(delta_time);
    }
}

void display_list::display() {
    std::vector<smart_ptr<character>> snapshot = m_display_object_array;
    std::vector<open_mask> masks;
    for (const smart_ptr<character>& ch : snapshot) {
        if (!ch->get_visible()) {
            continue;
        }
        close_masks_before(&masks, ch->get_depth());
        if (ch->get_clip_depth() > 0) {
            submit_mask(&masks, ch.get_ptr(), ch->get_clip_depth());
        } else {
            ch->display();
        }
    }
    for (size_t n = masks.size(); n > 0; n--) {
        render::disable_mask();
    }
}

void display_list::clear_refs(as_object_set* visited, as_object* target) {
    for (const smart_ptr<character>& ch : m_display_object_array) {
        as_object::walk_clear_refs(ch.get_ptr(), visited, target);
    }
}

void display_list::mark_alive(player* owner) {
    for (const smart_ptr<character>& ch : m_display_object_array) {
        owner->mark_alive(ch.get_ptr());
    }
}

void display_list::dump(base_string& indent) const {
    base_string saved = indent;
    indent += "  ";
    log_msg("%s*** displaylist ***\n", indent.c_str());
    for (const smart_ptr<character>& ch : m_display_object_array) {
        if (ch->get_name().size() > 0) {
            log_msg("%s%s\n", indent.c_str(), ch->get_name().c_str());
        } else {
            log_msg("%s<noname>\n", indent.c_str());
        }
    }
    indent = saved;
}

void display_list::rename(character* ch, const base_string& old_name) {
    m_names.rename(ch, old_name);
}

void display_list::insert(character* ch) {
    const int index = find_display_index(ch->get_depth());
    const int64_t key = order_key_at(index);
    m_display_object_array.insert(m_display_object_array.begin() + index, ch);
    m_order_keys.insert(m_order_keys.begin() + index, key);
    m_names.add(ch, key);
    ch->add_holding_list(this);
    ch->set_active(true);
}

void display_list::erase_at(int index) {
    character* ch = get_character(index);
    m_names.remove(ch, ch->get_name(), m_order_keys[index]);
    ch->remove_holding_list(this);
    m_order_keys.erase(m_order_keys.begin() + index);
    m_display_object_array.erase(m_display_object_array.begin() + index);
}

int64_t display_list::order_key_at(int index) {
    // Far apart, so that many entries fit between two neighbours before keys run out.
    constexpr int64_t spacing = int64_t{1} << 40;
    constexpr int64_t far_out = INT64_MAX / 2;  // ends that drifted this far are renumbered
    if (m_order_keys.empty()) {
        return 0;
    }
    if ((index == 0 && m_order_keys.front() < -far_out) || (index == size() && m_order_keys.back() > far_out)) {
        renumber();
    }
    if (index == 0) {
        return m_order_keys.front() - spacing;
    }
    if (index == size()) {
        return m_order_keys.back() + spacing;
    }
    const int64_t before = m_order_keys[index - 1];
    const int64_t after = m_order_keys[index];
    if (after - before < 2) {
        renumber();
        return order_key_at(index);
    }
    return before + (after - before) / 2;
}

void display_list::renumber() {
    constexpr int64_t spacing = int64_t{1} << 40;
    m_names.clear();
    for (int i = 0; i < size(); i++) {
        m_order_keys[i] = spacing * i;
        m_names.add(get_character(i), m_order_keys[i]);
    }
}

int display_list::find_character(character* ch) const {
    for (size_t i = 0; i < m_display_object_array.size(); i++) {
        if (m_display_object_array[i] == ch) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace swfplayer
