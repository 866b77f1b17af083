#include "swfplayer/main/shapes/canvas.h"

namespace swfplayer {

canvas& canvas::operator=(const canvas& other) {
    if (this != &other) {
        copy_shape_from(other);
        m_current_x = other.m_current_x;
        m_current_y = other.m_current_y;
        m_current_fill = other.m_current_fill;
        m_current_line = other.m_current_line;
        m_current_path = other.m_current_path;
        m_has_bound = other.m_has_bound;
    }
    return *this;
}

void canvas::begin_fill(const rgba& color) {
    fill_style style;
    style.m_type = fill_solid;
    style.m_color = color;
    m_fill_styles.push_back(style);
    m_current_fill = m_fill_styles.size();
    start_new_path(true);
}

void canvas::end_fill() {
    if (m_current_path >= 0) {
        close_path();
    }
    m_current_fill = 0;
    m_current_path = -1;
}

void canvas::set_line_style(uint16_t width, const rgba& color) {
    m_line_styles.push_back(line_style(width, color));
    m_current_line = m_line_styles.size();
    start_new_path(false);
}

void canvas::move_to(float x, float y) {
    x = finite_or_zero(x);
    y = finite_or_zero(y);
    if (x == m_current_x && y == m_current_y) {
        return;
    }
    m_current_x = x;
    m_current_y = y;
    start_new_path(false);
}

void canvas::line_to(float x, float y) {
    add_edge(edge(x, y, x, y));
}

void canvas::curve_to(float cx, float cy, float ax, float ay) {
    add_edge(edge(cx, cy, ax, ay));
}

void canvas::add_edge(const edge& e) {
    if (m_current_path < 0) {
        start_new_path(true);
    }
    // Edges drawn straight after begin_fill (or with no path) would land in the separator,
    // which is never drawn; like other players, they start a drawn path at the pen instead.
    if (m_paths[m_current_path].m_new_shape) {
        start_new_path(false);
    }
    if (m_paths[m_current_path].is_empty()) {
        include_in_bound(m_paths[m_current_path].m_ax, m_paths[m_current_path].m_ay);
    }
    m_current_x = e.m_ax;
    m_current_y = e.m_ay;
    m_paths[m_current_path].m_edges.push_back(e);
    include_in_bound(e.m_cx, e.m_cy);
    include_in_bound(e.m_ax, e.m_ay);
    clear_mesh_cache();
}

void canvas::include_in_bound(float x, float y) {
    if (!m_has_bound) {
        m_bound = rect(x, x, y, y);
        m_has_bound = true;
        return;
    }
    m_bound.expand_to_point(x, y);
}

void canvas::clear() {
    clear_mesh_cache();
    m_paths.clear();
    m_line_styles.clear();
    m_fill_styles.clear();
    m_bound = rect();
    m_has_bound = false;
    m_current_x = m_current_y = 0.0f;
    m_current_fill = 0;
    m_current_line = 0;
    m_current_path = -1;
}

void canvas::start_new_path(bool new_shape) {
    if (m_current_path >= 0 && m_current_fill >= 1) {
        close_path();
    }
    path p;
    p.m_fill0 = m_current_fill;
    p.m_fill1 = 0;
    p.m_line = m_current_line;
    p.m_ax = m_current_x;
    p.m_ay = m_current_y;
    p.m_new_shape = new_shape;
    m_paths.push_back(p);
    m_current_path = m_paths.size() - 1;
    clear_mesh_cache();
}

void canvas::close_path() {
    if (m_current_path < 0) {
        return;
    }
    path& p = m_paths[m_current_path];
    if (p.is_empty()) {
        return;
    }
    const edge& last = p.m_edges.back();
    if (last.m_ax != p.m_ax || last.m_ay != p.m_ay) {
        p.m_edges.push_back(edge(p.m_ax, p.m_ay, p.m_ax, p.m_ay));
        clear_mesh_cache();
    }
}

}  // namespace swfplayer
