#include "swfplayer/main/geometry/grid_layout.h"

#include <cassert>
#include <cmath>

namespace swfplayer {
namespace triangulate {

namespace {

constexpr int kMaxCells = 256;

// A computed cell count limited to 1..256; NaN counts as too few.
int clamp_cells(double count) {
    if (count >= kMaxCells) {
        return kMaxCells;
    }
    if (!(count >= 2.0)) {
        return 1;
    }
    return static_cast<int>(count);
}

}  // namespace

grid_layout::grid_layout(float min_x, float min_y, float max_x, float max_y, long long item_count, double factor)
    : m_min_x(min_x),
      m_min_y(min_y),
      m_width(static_cast<double>(max_x) - min_x),
      m_height(static_cast<double>(max_y) - min_y) {
    assert(m_width >= 0.0 && m_height >= 0.0);
    if (item_count > 0) {
        double area = m_width * m_height;
        if (area > 0.0) {
            double s = std::sqrt(static_cast<double>(item_count));
            m_x_cells = clamp_cells(s * factor * m_width / m_height);
            m_y_cells = clamp_cells(s * factor * m_height / m_width);
        } else {
            int flat = clamp_cells(factor * factor * static_cast<double>(item_count));
            if (m_width > 0.0) {
                m_x_cells = flat;
            } else {
                m_y_cells = flat;
            }
        }
    }
    set_scales();
}

grid_layout grid_layout::with_cells(float min_x, float min_y, float max_x, float max_y, int x_cells, int y_cells) {
    assert(x_cells >= 1 && x_cells <= kMaxCells && y_cells >= 1 && y_cells <= kMaxCells);
    grid_layout layout(min_x, min_y, max_x, max_y, 0, 0.0);
    layout.m_x_cells = x_cells;
    layout.m_y_cells = y_cells;
    layout.set_scales();
    return layout;
}

void grid_layout::set_scales() {
    m_x_per_unit = m_width > 0.0 ? m_x_cells / m_width : 0.0;
    m_y_per_unit = m_height > 0.0 ? m_y_cells / m_height : 0.0;
}

int grid_layout::cell_index(double offset, double per_unit, int cells) {
    double index = offset * per_unit;
    if (!(index >= 1.0)) {
        return 0;  // negative, NaN, or within the first cell
    }
    if (index >= cells) {
        return cells - 1;
    }
    return static_cast<int>(index);
}

}  // namespace triangulate
}  // namespace swfplayer
