#pragma once

namespace swfplayer {
namespace triangulate {

// The cell layout of the triangulator's edge grid levels: a bounding rectangle cut into
// x_cells by y_cells cells (each count 1..256), aimed at about factor^2 * items cells. All
// arithmetic is in double so that no rectangle, however large or flat, overflows a count.
class grid_layout {
public:
    // A layout over [min_x, max_x] x [min_y, max_y] (max >= min) for item_count items.
    grid_layout(float min_x, float min_y, float max_x, float max_y, long long item_count, double factor);
    // A layout with the given cell counts (each 1..256).
    static grid_layout with_cells(float min_x, float min_y, float max_x, float max_y, int x_cells, int y_cells);

    int x_cells() const { return m_x_cells; }
    int y_cells() const { return m_y_cells; }
    int cell_count() const { return m_x_cells * m_y_cells; }
    double cell_width() const { return m_width / m_x_cells; }
    double cell_height() const { return m_height / m_y_cells; }

    // Column and row of a coordinate, clamped to the grid; monotonic in the coordinate.
    int column_of(double x) const { return cell_index(x - m_min_x, m_x_per_unit, m_x_cells); }
    int row_of(double y) const { return cell_index(y - m_min_y, m_y_per_unit, m_y_cells); }

private:
    static int cell_index(double offset, double per_unit, int cells);
    void set_scales();

    double m_min_x;
    double m_min_y;
    double m_width;
    double m_height;
    int m_x_cells = 1;
    int m_y_cells = 1;
    double m_x_per_unit = 0.0;
    double m_y_per_unit = 0.0;
};

}  // namespace triangulate
}  // namespace swfplayer
