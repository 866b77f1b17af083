#pragma once

#include <cassert>

namespace swfplayer {

class execute_tag;

// The frame tags of one frame, in tag order: a view of the list its definition keeps, valid as
// long as the definition and not changed by the view's holder.
class tag_span {
public:
    tag_span() = default;
    tag_span(execute_tag* const* first, int count) : m_first(first), m_count(count) {}

    int size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    execute_tag* operator[](int index) const {
        assert(index >= 0 && index < m_count);
        return m_first[index];
    }
    execute_tag* const* begin() const { return m_first; }
    execute_tag* const* end() const { return m_first + m_count; }

private:
    execute_tag* const* m_first = nullptr;
    int m_count = 0;
};

}  // namespace swfplayer
