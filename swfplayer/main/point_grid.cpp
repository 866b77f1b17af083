#include "swfplayer/main/point_grid.h"

namespace swfplayer {
namespace triangulate {

point_grid::point_grid(const grid_layout& layout)
    : m_layout(layout), m_heads(static_cast<size_t>(layout.cell_count()), -1) {}

void point_grid::add(float x, float y) {
    int cell = m_layout.row_of(y) * m_layout.x_cells() + m_layout.column_of(x);
    m_nodes.push_back(node{x, y, m_heads[cell]});
    m_heads[cell] = static_cast<int>(m_nodes.size()) - 1;
}

}  // namespace triangulate
}  // namespace swfplayer
