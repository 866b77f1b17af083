#include "swfplayer/main/display/timeline_model.h"

#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/display/movie_definition.h"

#include <algorithm>
#include <utility>

namespace swfplayer {

timeline_model::timeline_model(player* owner, movie_definition* def) : character(owner, nullptr, -1), m_def(def) {}

void timeline_model::play_to(int last_frame) {
    last_frame = std::min(last_frame, m_def->get_frame_count() - 1);
    for (int frame = 0; frame <= last_frame; frame++) {
        tag_span tags = m_def->get_playlist(frame);
        for (int i = 0; i < tags.size(); i++) {
            m_place_key = make_place_key(frame, i);
            tags[i]->execute_state(this);
        }
    }
    m_place_key = -1;
}

character* timeline_model::add_display_object(uint16_t character_id, const base_string& name,
                                              const array<swf_event*>& event_handlers, int depth,
                                              bool replace_if_depth_is_occupied, const cxform& color_transform,
                                              const matrix& mat, float ratio, uint16_t clip_depth) {
    if (m_def->get_character_def(character_id) == nullptr) {
        return nullptr;
    }
    int index = find_exact(depth);
    if (index >= 0 && m_entries[index].m_id == character_id && m_entries[index].m_name == name) {
        move_display_object(depth, true, color_transform, true, mat, ratio, clip_depth);
        return nullptr;
    }
    if (replace_if_depth_is_occupied && index >= 0) {
        m_entries.erase(m_entries.begin() + index);
    }
    insert(entry{m_place_key, depth, character_id, name, event_handlers, color_transform, mat, ratio, clip_depth});
    return nullptr;
}

void timeline_model::move_display_object(int depth, bool use_cxform, const cxform& color_transform, bool use_matrix,
                                         const matrix& mat, float ratio, uint16_t) {
    int index = find_exact(depth);
    if (index < 0) {
        return;
    }
    entry& e = m_entries[index];
    if (use_cxform) {
        e.m_color_transform = color_transform;
    }
    if (use_matrix) {
        e.m_matrix = mat;
    }
    e.m_ratio = ratio;
}

void timeline_model::replace_display_object(uint16_t character_id, const base_string& name, int depth, bool use_cxform,
                                            const cxform& color_transform, bool use_matrix, const matrix& mat,
                                            float ratio, uint16_t clip_depth) {
    if (m_def->get_character_def(character_id) == nullptr) {
        return;
    }
    entry e{m_place_key, depth, character_id, name, array<swf_event*>(), color_transform, mat, ratio, clip_depth};
    int index = find_exact(depth);
    if (index >= 0) {
        if (!use_cxform) {
            e.m_color_transform = m_entries[index].m_color_transform;
        }
        if (!use_matrix) {
            e.m_matrix = m_entries[index].m_matrix;
        }
        m_entries.erase(m_entries.begin() + index);
    }
    insert(std::move(e));
}

void timeline_model::remove_display_object(int depth, int id) {
    for (int index = find_exact(depth);
         index >= 0 && index < static_cast<int>(m_entries.size()) && m_entries[index].m_depth == depth; index++) {
        if (id == -1 || m_entries[index].m_id == id) {
            m_entries.erase(m_entries.begin() + index);
            return;
        }
    }
}

int timeline_model::find_index(int depth) const {
    auto it = std::lower_bound(m_entries.begin(), m_entries.end(), depth,
                               [](const entry& e, int d) { return e.m_depth < d; });
    return static_cast<int>(it - m_entries.begin());
}

int timeline_model::find_exact(int depth) const {
    int index = find_index(depth);
    return index < static_cast<int>(m_entries.size()) && m_entries[index].m_depth == depth ? index : -1;
}

void timeline_model::insert(entry e) {
    int index = find_index(e.m_depth);
    m_entries.insert(m_entries.begin() + index, std::move(e));
}

}  // namespace swfplayer
