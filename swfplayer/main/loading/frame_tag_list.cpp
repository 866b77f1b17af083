#include "swfplayer/main/loading/frame_tag_list.h"

#include <cassert>
#include <cstddef>

namespace swfplayer {

void frame_tag_list::reset(int frames) {
    assert(frames >= 0);
    m_tags.clear();
    m_first.assign(static_cast<size_t>(frames) + 1, 0);
    m_filling = 0;
}

void frame_tag_list::add(int frame, execute_tag* tag) {
    assert(frame >= m_filling && frame < get_frame_count());
    // The frames passed over since the last addition, and the new one, start here.
    int next = static_cast<int>(m_tags.size());
    for (int f = m_filling + 1; f <= frame; f++) {
        m_first[static_cast<size_t>(f)] = next;
    }
    m_filling = frame;
    m_tags.push_back(tag);
}

tag_span frame_tag_list::get(int frame) const {
    assert(frame >= 0 && frame < get_frame_count());
    int size = static_cast<int>(m_tags.size());
    int first = frame <= m_filling ? m_first[static_cast<size_t>(frame)] : size;
    int end = frame + 1 <= m_filling ? m_first[static_cast<size_t>(frame) + 1] : size;
    return tag_span(m_tags.data() + first, end - first);
}

}  // namespace swfplayer
