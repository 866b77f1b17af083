#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/main/common/finite_float.h"

namespace swfplayer {

// A straight or quadratic edge in twips; a straight edge has its control point on its anchor.
struct edge {
    float m_cx = 0.0f, m_cy = 0.0f;  // control point
    float m_ax = 0.0f, m_ay = 0.0f;  // anchor point

    edge() = default;
    // Each coordinate is stored finite-or-zero.
    edge(float cx, float cy, float ax, float ay)
        : m_cx(finite_or_zero(cx)), m_cy(finite_or_zero(cy)), m_ax(finite_or_zero(ax)), m_ay(finite_or_zero(ay)) {}

    bool is_straight() const { return m_cx == m_ax && m_cy == m_ay; }
};

// A run of edges with one set of styles. Style numbers are 1-based into the shape's arrays,
// 0 for none and -1 for cleared.
struct path {
    int m_fill0 = 0;  // left fill
    int m_fill1 = 0;  // right fill
    int m_line = 0;
    float m_ax = 0.0f, m_ay = 0.0f;  // start point
    array<edge> m_edges;
    // A separator between sub-shapes: its edges are never tessellated.
    bool m_new_shape = false;

    bool is_empty() const { return m_edges.empty(); }
    // Whether the horizontal ray from (x, y) to the right crosses the path an odd number of
    // times. Paths without edges or with a cleared left fill contain nothing.
    bool point_test(float x, float y) const;
    // How many times the horizontal ray from (x, y) to the right crosses the path's edges.
    int crossings(float x, float y) const;
};

}  // namespace swfplayer
