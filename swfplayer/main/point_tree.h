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
    // triangle (a, b, c) (points outside it may be reported too) and stops at the first that
    // answers true. Returns whether one did.
    template<class Test>
    bool any(float ax, float ay, float bx, float by, float cx, float cy, Test test) const {
        if (m_nodes.empty()) {
            return false;
        }
        const triangle t = make_triangle(ax, ay, bx, by, cx, cy);
        int stack[kMaxDepth + 2];
        int depth = 0;
        stack[depth++] = 0;
        while (depth > 0) {
            const node& n = m_nodes[stack[--depth]];
            if (!meets(n, t)) {
                continue;
            }
            if (n.left < 0) {
                for (int i = n.begin; i < n.end; i++) {
                    if (test(m_points[i].x, m_points[i].y)) {
                        return true;
                    }
                }
            } else {
                stack[depth++] = n.left;
                stack[depth++] = n.right;
            }
        }
        return false;
    }

private:
    // Points per leaf; a leaf is also made where the tree would outgrow the query stack.
    static constexpr int kLeafSize = 16;
    static constexpr int kMaxDepth = 40;

    struct xy {
        float x;
        float y;
    };
    struct node {
        float min_x, min_y, max_x, max_y;  // box of the node's points
        int begin, end;                    // its points in m_points
        int left, right;                   // children; -1 for a leaf
    };
    // A query triangle: its box, and per edge e -> f its start, its direction in doubles, which
    // box corner lies furthest to the edge's left, and a bound on the rounding error of L
    // evaluated in doubles at any point of the tree.
    struct triangle {
        float x[3];
        float y[3];
        double dx[3];
        double dy[3];
        bool use_max_x[3];
        bool use_max_y[3];
        double slack[3];
        float min_x, min_y, max_x, max_y;
    };

    triangle make_triangle(float ax, float ay, float bx, float by, float cx, float cy) const;
    // False only when no point of the node's box can lie in the closed triangle.
    static bool meets(const node& n, const triangle& t);
    int build_node(int begin, int end, int depth);

    std::vector<xy> m_points;
    std::vector<node> m_nodes;
};

}  // namespace triangulate
}  // namespace swfplayer
