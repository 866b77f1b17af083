#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/main/common/cxform.h"
#include "swfplayer/main/common/matrix.h"
#include "swfplayer/main/display/character.h"

#include <cstdint>
#include <vector>

namespace swfplayer {

class movie_definition;

// The place key of the tag at tag_index in frame (see character::get_place_key).
inline int64_t make_place_key(int frame, int tag_index) {
    return static_cast<int64_t>(frame) << 32 | static_cast<uint32_t>(tag_index);
}

// What a timeline's frame tags leave on its display list, worked out without creating any
// instance: the frame tags place, move, replace and remove entries of this model just as they
// do the children of a sprite. A sprite jumping back to an earlier frame plays the model up to
// that frame and then brings its real list into line with it.
class timeline_model : public character {
public:
    // One placed child: which frame tag placed it and with what.
    struct entry {
        int64_t m_place_key;
        int m_depth;
        uint16_t m_id;
        base_string m_name;
        array<swf_event*> m_event_handlers;
        cxform m_color_transform;
        matrix m_matrix;
        float m_ratio;
        uint16_t m_clip_depth;
    };

    timeline_model(player* owner, movie_definition* def);

    // Runs the display-list effect of the tags of frames 0 to last_frame, in order.
    void play_to(int last_frame);
    // The entries in display-list order.
    const std::vector<entry>& entries() const { return m_entries; }

    character* add_display_object(uint16_t character_id, const base_string& name,
                                  const array<swf_event*>& event_handlers, int depth, bool replace_if_depth_is_occupied,
                                  const cxform& color_transform, const matrix& mat, float ratio,
                                  uint16_t clip_depth) override;
    void move_display_object(int depth, bool use_cxform, const cxform& color_transform, bool use_matrix,
                             const matrix& mat, float ratio, uint16_t clip_depth) override;
    void replace_display_object(uint16_t character_id, const base_string& name, int depth, bool use_cxform,
                                const cxform& color_transform, bool use_matrix, const matrix& mat, float ratio,
                                uint16_t clip_depth) override;
    void remove_display_object(int depth, int id) override;
    // Frame actions do not change the list.
    void add_action_buffer(action_buffer* /*buffer*/) override {}

private:
    // Index of the first entry at depth or deeper.
    int find_index(int depth) const;
    // Index of the first entry at exactly depth, else -1.
    int find_exact(int depth) const;
    void insert(entry e);

    movie_definition* m_def;
    std::vector<entry> m_entries;
    int64_t m_place_key = -1;
};

}  // namespace swfplayer
