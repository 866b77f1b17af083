#include "swfplayer/main/geometry/point_tree.h"

#include <algorithm>
#include <cmath>

namespace swfplayer {
namespace triangulate {

void point_tree::add(float x, float y) {
    m_points.push_back(xy{x, y});
}

void point_tree::build() {
    m_nodes.clear();
    if (!m_points.empty()) {
        m_nodes.reserve(2 * (m_points.size() / kLeafSize) + 1);
        build_node(0, static_cast<int>(m_points.size()), 0);
        const float* root = m_nodes.front().box;
        m_reach_x = std::max(std::fabs(root[kMinX]), std::fabs(root[kMaxX]));
        m_reach_y = std::max(std::fabs(root[kMinY]), std::fabs(root[kMaxY]));
    }
}

// Builds the node for the points [begin, end) and returns its index; its first child follows it.
int point_tree::build_node(int begin, int end, int depth) {
    int index = static_cast<int>(m_nodes.size());
    float box[4] = {m_points[begin].x, m_points[begin].y, m_points[begin].x, m_points[begin].y};
    for (int i = begin + 1; i < end; i++) {
        box[kMinX] = std::min(box[kMinX], m_points[i].x);
        box[kMaxX] = std::max(box[kMaxX], m_points[i].x);
        box[kMinY] = std::min(box[kMinY], m_points[i].y);
        box[kMaxY] = std::max(box[kMaxY], m_points[i].y);
    }
    m_nodes.push_back(node{{box[0], box[1], box[2], box[3]}, begin, end, -1});
    if (end - begin <= kLeafSize || depth >= kMaxDepth) {
        return index;
    }
    int middle = begin + (end - begin) / 2;
    bool split_x = static_cast<double>(box[kMaxX]) - box[kMinX] >= static_cast<double>(box[kMaxY]) - box[kMinY];
    auto first = m_points.begin() + begin;
    auto nth = m_points.begin() + middle;
    auto last = m_points.begin() + end;
    if (split_x) {
        std::nth_element(first, nth, last, [](const xy& a, const xy& b) { return a.x < b.x; });
    } else {
        std::nth_element(first, nth, last, [](const xy& a, const xy& b) { return a.y < b.y; });
    }
    build_node(begin, middle, depth + 1);
    int right = build_node(middle, end, depth + 1);
    m_nodes[index].right = right;
    return index;
}

point_tree::triangle point_tree::make_triangle(float ax, float ay, float bx, float by, float cx, float cy) const {
    triangle t;
    t.box[kMinX] = std::min(ax, std::min(bx, cx));
    t.box[kMinY] = std::min(ay, std::min(by, cy));
    t.box[kMaxX] = std::max(ax, std::max(bx, cx));
    t.box[kMaxY] = std::max(ay, std::max(by, cy));
    set_edge(&t, 0, ax, ay, bx, by);
    set_edge(&t, 1, bx, by, cx, cy);
    set_edge(&t, 2, cx, cy, ax, ay);
    return t;
}

void point_tree::set_edge(triangle* t, int e, float ex, float ey, float fx, float fy) const {
    // L(e, f, p) = dx (p.y - e.y) - (p.x - e.x) dy = -dy p.x + dx p.y + (dy e.x - dx e.y).
    double dx = static_cast<double>(fx) - ex;
    double dy = static_cast<double>(fy) - ey;
    double dx_ey = dx * ey;
    double dy_ex = dy * ex;
    t->a[e] = -dy;
    t->b[e] = dx;
    t->c[e] = dy_ex - dx_ey;
    // L grows with p.x when dy < 0 and with p.y when dx > 0.
    t->corner_x[e] = dy < 0.0 ? kMaxX : kMinX;
    t->corner_y[e] = dx > 0.0 ? kMaxY : kMinY;
    // Each rounding (dx, dy, the four products, c, and the two sums) is within 2^-53 of terms
    // no larger than those below; each term takes at most four of them, so twice that leaves
    // ample margin for the products of errors.
    double terms = std::fabs(dx) * m_reach_y + std::fabs(dy) * m_reach_x + std::fabs(dx_ey) + std::fabs(dy_ex);
    t->slack[e] = 8.0 * 0x1p-53 * terms;
}

}  // namespace triangulate
}  // namespace swfplayer
