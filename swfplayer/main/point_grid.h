#pragma once

#include <cstddef>
#include <vector>

#include "swfplayer/main/grid_layout.h"

namespace swfplayer {
namespace triangulate {

// A grid of points (the triangulator's reflex vertices) found by box. It keeps coordinates, not
// vertex numbers, so renumbering the vertices leaves it valid.
class point_grid {
public:
    explicit point_grid(const grid_layout& layout);

    void add(float x, float y);

    // Calls test(x, y) for every point in the cells that the box [min_x, max_x] x [min_y, max_y]
    // touches (points outside the box may be reported too) and stops at the first that answers
    // true. Returns whether one did.
    template<class Test>
    bool any(float min_x, float min_y, float max_x, float max_y, Test test) const {
        int column_end = m_layout.column_of(max_x);
        int row_end = m_layout.row_of(max_y);
        int column_begin = m_layout.column_of(min_x);
        for (int row = m_layout.row_of(min_y); row <= row_end; row++) {
            const int* heads = &m_heads[static_cast<size_t>(row) * m_layout.x_cells()];
            for (int column = column_begin; column <= column_end; column++) {
                for (int node = heads[column]; node >= 0; node = m_nodes[node].next) {
                    if (test(m_nodes[node].x, m_nodes[node].y)) {
                        return true;
                    }
                }
            }
        }
        return false;
    }

private:
    struct node {
        float x;
        float y;
        int next;
    };

    grid_layout m_layout;
    std::vector<int> m_heads;  // first node of each cell, row by row; -1 for none
    std::vector<node> m_nodes;
};

}  // namespace triangulate
}  // namespace swfplayer
