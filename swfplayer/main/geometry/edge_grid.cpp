#include "swfplayer/main/geometry/edge_grid.h"

#include <algorithm>

namespace swfplayer {
namespace triangulate {

edge_grid::edge_grid(float min_x, float min_y, float max_x, float max_y, long long item_count, double factor) {
    grid_layout finest(min_x, min_y, max_x, max_y, item_count, factor);
    int x_cells = finest.x_cells();
    int y_cells = finest.y_cells();
    m_levels.push_back(level{finest, {}, 0});
    while (x_cells > 1 || y_cells > 1) {
        x_cells = (x_cells + 1) / 2;
        y_cells = (y_cells + 1) / 2;
        m_levels.push_back(level{grid_layout::with_cells(min_x, min_y, max_x, max_y, x_cells, y_cells), {}, 0});
    }
    for (level& grid : m_levels) {
        grid.heads.assign(static_cast<size_t>(grid.layout.cell_count()), -1);
    }
}

void edge_grid::add(float px, float py, float qx, float qy) {
    segment s{px, py, qx, qy, std::min(px, qx), std::min(py, qy), std::max(px, qx), std::max(py, qy), -1};
    double width = static_cast<double>(s.max_x) - s.min_x;
    double height = static_cast<double>(s.max_y) - s.min_y;
    // The coarsest level has one cell spanning the whole rectangle, so every segment fits there.
    size_t chosen = m_levels.size() - 1;
    for (size_t i = 0; i < chosen; i++) {
        if (width <= m_levels[i].layout.cell_width() && height <= m_levels[i].layout.cell_height()) {
            chosen = i;
            break;
        }
    }
    level& grid = m_levels[chosen];
    int cell = grid.layout.row_of(s.min_y) * grid.layout.x_cells() + grid.layout.column_of(s.min_x);
    s.next = grid.heads[cell];
    grid.heads[cell] = static_cast<int>(m_segments.size());
    grid.count++;
    m_segments.push_back(s);
}

}  // namespace triangulate
}  // namespace swfplayer
