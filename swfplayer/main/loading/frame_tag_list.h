#pragma once

#include "swfplayer/main/display/tag_span.h"

#include <vector>

namespace swfplayer {

class execute_tag;

// The frame tags of a timeline, frame after frame in one list: a tag loop adds the tags of each
// frame in turn, and a frame's tags are a span of the list. One list for the whole timeline
// keeps loading from making (and freeing) a list per frame. The tags are borrowed; their
// definition owns them.
class frame_tag_list {
public:
    // Makes frames empty frames; tags added so far are forgotten.
    void reset(int frames);
    int get_frame_count() const { return static_cast<int>(m_first.size()) - 1; }

    // Appends tag to frame, which is the frame tags were last added to or a later one
    // (0 <= frame < frame count).
    void add(int frame, execute_tag* tag);
    // The tags of frame (0 <= frame < frame count).
    tag_span get(int frame) const;

    // Gives back the room kept for more tags, once a timeline has all its tags.
    void shrink_to_fit() { m_tags.shrink_to_fit(); }

private:
    std::vector<execute_tag*> m_tags;
    // m_first[f] is the index of frame f's first tag for the frames up to m_filling; the frames
    // after it hold no tags yet. Holds frame count + 1 entries.
    std::vector<int> m_first = {0};
    int m_filling = 0;
};

}  // namespace swfplayer
