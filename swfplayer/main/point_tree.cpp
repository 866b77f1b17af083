#include "swfplayer/main/point_tree.h"

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
    }
}

// Builds the node for the points [begin, end) and returns its index.
int point_tree::build_node(int begin, int end, int depth) {
    int index = static_cast<int>(m_nodes.size());
    m_nodes.push_back(node{m_points[begin].x, m_points[begin].y, m_points[begin].x, m_points[begin].y,
                           begin, end, -1, -1});
    node& n = m_nodes.back();
    for (int i = begin + 1; i < end; i++) {
        n.min_x = std::min(n.min_x, m_points[i].x);
        n.max_x = std::max(n.max_x, m_points[i].x);
        n.min_y = std::min(n.min_y, m_points[i].y);
        n.max_y = std::max(n.max_y, m_points[i].y);
    }
    if (end - begin <= kLeafSize || depth >= kMaxDepth) {
        return index;
    }
    int middle = begin + (end - begin) / 2;
    bool split_x = static_cast<double>(n.max_x) - n.min_x >= static_cast<double>(n.max_y) - n.min_y;
    std::nth_element(m_points.begin() + begin, m_points.begin() + middle, m_points.begin() + end,
                     [split_x](const xy& a, const xy& b) { return split_x ? a.x < b.x : a.y < b.y; });
    // n may move as children are appended: index it afresh.
    int left = build_node(begin, middle, depth + 1);
    int right = build_node(middle, end, depth + 1);
    m_nodes[index].left = left;
    m_nodes[index].right = right;
    return index;
}

point_tree::triangle point_tree::make_triangle(float ax, float ay, float bx, float by, float cx,
                                               float cy) const {
    triangle t{{ax, bx, cx}, {ay, by, cy}, {}, {}, {}, {}, {}, std::min({ax, bx, cx}),
               std::min({ay, by, cy}), std::max({ax, bx, cx}), std::max({ay, by, cy})};
    const node& root = m_nodes.front();
    for (int e = 0; e < 3; e++) {
        int f = (e + 1) % 3;
        t.dx[e] = static_cast<double>(t.x[f]) - t.x[e];
        t.dy[e] = static_cast<double>(t.y[f]) - t.y[e];
        // L(e, f, p) = dx (p.y - e.y) - (p.x - e.x) dy grows with p.y when dx > 0 and with p.x
        // when dy < 0.
        t.use_max_x[e] = t.dy[e] < 0.0;
        t.use_max_y[e] = t.dx[e] > 0.0;
        // Each of the four roundings in L is within 2^-53 of its terms' size, which is at most
        // |dx| times the tree's reach in y plus the reach in x times |dy|; doubled for margin.
        double reach_x = std::max(std::fabs(static_cast<double>(root.max_x) - t.x[e]),
                                  std::fabs(static_cast<double>(root.min_x) - t.x[e]));
        double reach_y = std::max(std::fabs(static_cast<double>(root.max_y) - t.y[e]),
                                  std::fabs(static_cast<double>(root.min_y) - t.y[e]));
        t.slack[e] = 8.0 * 0x1p-53 * (std::fabs(t.dx[e]) * reach_y + reach_x * std::fabs(t.dy[e]));
    }
    return t;
}

bool point_tree::meets(const node& n, const triangle& t) {
    if (n.min_x > t.max_x || n.max_x < t.min_x || n.min_y > t.max_y || n.max_y < t.min_y) {
        return false;
    }
    // L is affine in p, so over the box it is largest at the corner picked by the signs of its
    // coefficients: when even that corner lies clearly right of one edge's line, so does the
    // whole box. Near the line the box is kept; its points are tested exactly.
    for (int e = 0; e < 3; e++) {
        double x = t.use_max_x[e] ? n.max_x : n.min_x;
        double y = t.use_max_y[e] ? n.max_y : n.min_y;
        if (t.dx[e] * (y - t.y[e]) - (x - t.x[e]) * t.dy[e] < -t.slack[e]) {
            return false;
        }
    }
    return true;
}

}  // namespace triangulate
}  // namespace swfplayer
