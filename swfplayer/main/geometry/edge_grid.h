#pragma once

#include "swfplayer/main/geometry/grid_layout.h"

#include <cstddef>
#include <vector>

namespace swfplayer {
namespace triangulate {

// The segments of the triangulator's rings, found by box, for the hole-bridge checks. Each
// segment is stored once, so memory stays linear in the number of segments: it goes to the
// finest of a pyramid of grids whose cells are at least as wide and as high as the segment, in
// the cell that holds its (min x, min y) corner. A box query then looks at the cells of each
// level from one cell before the box's low corner to the cell of its high corner, and so finds
// every segment whose box meets the query box.
class edge_grid {
public:
    // The finest level takes its cells from the layout.
    edge_grid(float min_x, float min_y, float max_x, float max_y, long long item_count, double factor);

    void add(float px, float py, float qx, float qy);

    // Calls test(px, py, qx, qy) for every stored segment whose bounding box meets the box
    // [min_x, max_x] x [min_y, max_y], each at most once, and stops at the first that answers
    // true. Returns whether one did.
    template <class Test>
    bool any(float min_x, float min_y, float max_x, float max_y, Test test) const {
        for (const level& grid : m_levels) {
            if (grid.count == 0) {
                continue;
            }
            // One more cell at the low ends absorbs the rounding of the widths compared in add.
            int column_begin = grid.layout.column_of(min_x - grid.layout.cell_width()) - 1;
            int column_end = grid.layout.column_of(max_x);
            int row_begin = grid.layout.row_of(min_y - grid.layout.cell_height()) - 1;
            column_begin = column_begin < 0 ? 0 : column_begin;
            row_begin = row_begin < 0 ? 0 : row_begin;
            int row_end = grid.layout.row_of(max_y);
            for (int row = row_begin; row <= row_end; row++) {
                const int* heads = &grid.heads[static_cast<size_t>(row) * grid.layout.x_cells()];
                for (int column = column_begin; column <= column_end; column++) {
                    for (int index = heads[column]; index >= 0; index = m_segments[index].next) {
                        const segment& s = m_segments[index];
                        if (s.min_x <= max_x && s.max_x >= min_x && s.min_y <= max_y && s.max_y >= min_y &&
                            test(s.px, s.py, s.qx, s.qy)) {
                            return true;
                        }
                    }
                }
            }
        }
        return false;
    }

private:
    struct segment {
        float px, py, qx, qy;
        float min_x, min_y, max_x, max_y;
        int next;
    };
    struct level {
        grid_layout layout;
        std::vector<int> heads;  // first segment of each cell, row by row; -1 for none
        int count = 0;           // segments stored on this level
    };

    std::vector<level> m_levels;  // finest first; the last has a single cell
    std::vector<segment> m_segments;
};

}  // namespace triangulate
}  // namespace swfplayer
