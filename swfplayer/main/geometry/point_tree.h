#pragma once

#include <cstddef>
#include <vector>

namespace swfplayer {
namespace triangulate {

// The triangulator's blocking points (reflex and straight corners), found by triangle. The set
// is fixed once built: a tree of boxes over the points, split at the median of the longer side,
// so a query visits only the boxes that can reach the triangle. It keeps coordinates, not
// vertex numbers, so renumbering the vertices leaves it valid.
class point_tree {
public:
    // Collects a point; build() must follow before any query.
    void add(float x, float y);
    void build();

    // Calls test(x, y) for the points of every box that meets the closed counterclockwise
    // triangle (a, b, c), except those that clearly lie outside it (others outside it may be
    // reported too), and stops at the first that answers true. Returns whether one did.
    template <class Test>
    bool any(float ax, float ay, float bx, float by, float cx, float cy, Test test) const {
        if (m_nodes.empty()) {
            return false;
        }
        const triangle t = make_triangle(ax, ay, bx, by, cx, cy);
        if (!may_hold(t, m_nodes.front().box)) {
            return false;
        }
        // Children are tested before they are stacked, so the stack holds at most one node
        // per level besides the one being expanded.
        int stack[kMaxDepth + 2];
        int depth = 0;
        stack[depth++] = 0;
        while (depth > 0) {
            const node& n = m_nodes[stack[--depth]];
            if (n.right < 0) {
                for (int i = n.begin; i < n.end; i++) {
                    const xy& p = m_points[i];
                    if (in_box(t, p.x, p.y) && may_hold(t, p.x, p.y) && test(p.x, p.y)) {
                        return true;
                    }
                }
                continue;
            }
            // The left child directly follows its parent.
            int left = static_cast<int>(&n - m_nodes.data()) + 1;
            if (may_hold(t, m_nodes[n.right].box)) {
                stack[depth++] = n.right;
            }
            if (may_hold(t, m_nodes[left].box)) {
                stack[depth++] = left;
            }
        }
        return false;
    }

private:
    // Points per leaf; a leaf is also made where the tree would outgrow the query stack.
    static constexpr int kLeafSize = 8;
    static constexpr int kMaxDepth = 40;

    // Box corners in this order: min x, min y, max x, max y.
    enum { kMinX, kMinY, kMaxX, kMaxY };

    struct xy {
        float x;
        float y;
    };
    struct node {
        float box[4];  // box of the node's points
        int begin;     // its points in m_points
        int end;
        int right;  // second child (the first follows the node); -1 for a leaf
    };
    // A query triangle: its box, and per edge e -> f the left test L(e, f, p) as the affine
    // function a x + b y + c of p in doubles, which box corner lies furthest to the edge's
    // left, and a bound on the rounding error of L so evaluated at any point of the tree.
    struct triangle {
        double a[3];
        double b[3];
        double c[3];
        double slack[3];
        int corner_x[3];  // kMinX or kMaxX
        int corner_y[3];  // kMinY or kMaxY
        float box[4];
    };

    triangle make_triangle(float ax, float ay, float bx, float by, float cx, float cy) const;
    // Sets the terms of edge e, from (ex, ey) to (fx, fy).
    void set_edge(triangle* t, int e, float ex, float ey, float fx, float fy) const;

    // False only when no point of the box can lie in the closed triangle.
    static bool may_hold(const triangle& t, const float* box) {
        if (box[kMinX] > t.box[kMaxX] || box[kMaxX] < t.box[kMinX] || box[kMinY] > t.box[kMaxY] ||
            box[kMaxY] < t.box[kMinY]) {
            return false;
        }
        // L is affine in p, so over the box it is largest at the corner picked by the signs of
        // its coefficients: when even that corner lies clearly right of one edge's line, so
        // does the whole box. Near the line the box is kept; its points are tested exactly.
        return (near_left(t, 0, box[t.corner_x[0]], box[t.corner_y[0]]) &
                near_left(t, 1, box[t.corner_x[1]], box[t.corner_y[1]]) &
                near_left(t, 2, box[t.corner_x[2]], box[t.corner_y[2]])) != 0;
    }
    // Whether the point lies in the triangle's box: a few float comparisons that reject most
    // points of a leaf before the affine tests.
    static bool in_box(const triangle& t, float px, float py) {
        return ((px >= t.box[kMinX]) & (px <= t.box[kMaxX]) & (py >= t.box[kMinY]) & (py <= t.box[kMaxY])) != 0;
    }
    // False only when the point clearly lies outside the triangle. The three tests are
    // combined without branching: most points fail one, and which one is hard to guess.
    static bool may_hold(const triangle& t, float px, float py) {
        return (near_left(t, 0, px, py) & near_left(t, 1, px, py) & near_left(t, 2, px, py)) != 0;
    }
    // 0 only when p lies strictly right of the line of edge e, else 1; an int, so that the
    // tests combine with & without branching.
    static int near_left(const triangle& t, int e, double px, double py) {
        return t.a[e] * px + t.b[e] * py + t.c[e] >= -t.slack[e] ? 1 : 0;
    }

    int build_node(int begin, int end, int depth);

    std::vector<xy> m_points;
    std::vector<node> m_nodes;
    // The largest magnitudes of the points' coordinates.
    double m_reach_x = 0.0;
    double m_reach_y = 0.0;
};

}  // namespace triangulate
}  // namespace swfplayer
