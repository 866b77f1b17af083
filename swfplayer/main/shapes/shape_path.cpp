#include "swfplayer/main/shapes/shape_path.h"

#include <cmath>

namespace swfplayer {

namespace {

// Crossings of the ray to the right of (x, y) with the straight edge (x0, y0)-(x1, y1). Every
// edge spans the heights above its lower end up to its upper end, whichever way it runs: a
// vertex on the ray then counts once where the outline passes through it and zero or two times
// where it turns back, so points level with a horizontal edge or a corner are judged right.
int straight_crossings(float x0, float y0, float x1, float y1, float x, float y) {
    if (y0 < y && y <= y1) {
        return (x1 - x0) * (y - y0) + (y1 - y0) * x0 > x * (y1 - y0) ? 1 : 0;
    }
    if (y1 < y && y <= y0) {
        return (x1 - x0) * (y - y0) + (y1 - y0) * x0 < x * (y1 - y0) ? 1 : 0;
    }
    return 0;
}

// Crossings with the quadratic edge from (x0, y0) through (cx, cy) to (x1, y1): the roots t in
// [0, 1) of y(t) = y whose x(t) lies right of x.
int curve_crossings(float x0, float y0, float cx, float cy, float x1, float y1, float x, float y) {
    if ((y0 < y && y1 < y && cy < y) || (y0 > y && y1 > y && cy > y) || (x0 < x && x1 < x && cx < x)) {
        return 0;
    }
    float a = y0 + y1 - 2.0f * cy;
    float b = 2.0f * (cy - y0);
    float c = y0 - y;
    float d = b * b - 4.0f * a * c;
    if (d < 0.0f) {
        return 0;
    }
    float root = std::sqrt(d);
    float q = b >= 0.0f ? -0.5f * (b + root) : -0.5f * (b - root);
    auto counts = [&](float t) {
        if (!(t >= 0.0f && t < 1.0f)) {
            return 0;
        }
        float xt = x0 + 2.0f * t * (cx - x0) + t * t * (x0 + x1 - 2.0f * cx);
        return xt > x ? 1 : 0;
    };
    int crossings = 0;
    if (a != 0.0f) {
        crossings += counts(q / a);
    }
    if (q != 0.0f) {
        crossings += counts(c / q);
    }
    return crossings;
}

}  // namespace

bool path::point_test(float x, float y) const {
    if (m_edges.empty() || m_fill0 < 0) {
        return false;
    }
    return (crossings(x, y) & 1) != 0;
}

int path::crossings(float x, float y) const {
    int crossings = 0;
    float x0 = m_ax;
    float y0 = m_ay;
    for (int i = 0; i < m_edges.size(); i++) {
        const edge& e = m_edges[i];
        if (e.is_straight()) {
            crossings += straight_crossings(x0, y0, e.m_ax, e.m_ay, x, y);
        } else {
            crossings += curve_crossings(x0, y0, e.m_cx, e.m_cy, e.m_ax, e.m_ay, x, y);
        }
        x0 = e.m_ax;
        y0 = e.m_ay;
    }
    return crossings;
}

}  // namespace swfplayer
