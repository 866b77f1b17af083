#include "swfplayer/main/geometry/triangulate.h"

#include "swfplayer/main/geometry/edge_grid.h"
#include "swfplayer/main/geometry/index_set.h"
#include "swfplayer/main/geometry/point_tree.h"
#include "swfplayer/main/geometry/tri_predicates.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <numeric>
#include <vector>

namespace swfplayer {
namespace triangulate {

namespace {

// Cells per item of the edge grid: about 0.707^2 = one cell for two items.
constexpr double kGridFactor = 0.707;
// No call handles more vertices than this, so every count and result size fits an int.
constexpr long long kMaxVertices = INT_MAX / 8;

enum vertex_state { live, clipped };

struct tri_vertex {
    float x;
    float y;
    int next;  // the ring's doubly linked cycle; a clipped vertex links to itself
    int prev;
    vertex_state state;
};

struct tri_path {
    int first = -1;     // first vertex
    int end = -1;       // one past the last vertex
    int leftmost = -1;  // smallest vertex in (x, then y) order; the first loaded among equals
};

float finite_or_zero(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

// The bits of a finite float as an unsigned number that sorts as the float does: -0 and +0 give
// the same number, so equal coordinates give equal numbers.
uint32_t ordered_bits(float value) {
    float canonical = value + 0.0f;  // -0 becomes +0
    uint32_t bits;
    std::memcpy(&bits, &canonical, sizeof bits);
    return (bits & 0x80000000u) ? ~bits : bits | 0x80000000u;
}

// The working state of one call: the vertices, their rings and the blocking points.
class tri_state {
public:
    // Loads the rings; false when there is nothing to triangulate.
    bool load(int path_count, const array<float>* paths);
    // Joins holes and islands to the first ring by bridges.
    void join_paths();
    // Clips ears until none is left; result receives six floats per triangle.
    void sweep(array<float>* result);

private:
    bool coincide(int u, int v) const {
        return m_vertices[u].x == m_vertices[v].x && m_vertices[u].y == m_vertices[v].y;
    }
    int left(int a, int b, int c) const {
        const tri_vertex& va = m_vertices[a];
        const tri_vertex& vb = m_vertices[b];
        const tri_vertex& vc = m_vertices[c];
        return left_sign(va.x, va.y, vb.x, vb.y, vc.x, vc.y);
    }
    bool cone_holds(int p, int a, int b, int c) const {
        const tri_vertex& vp = m_vertices[p];
        const tri_vertex& va = m_vertices[a];
        const tri_vertex& vb = m_vertices[b];
        const tri_vertex& vc = m_vertices[c];
        return in_cone(vp.x, vp.y, va.x, va.y, vb.x, vb.y, vc.x, vc.y);
    }

    // Sorts the vertices in (x, then y) order and renumbers every link; the first sorted_count
    // vertices are known to be in order.
    void sort_and_renumber(int sorted_count);
    int find_bridge(const edge_grid& edges, int h) const;
    int ear_search(int a, int b);
    bool blocked_by_reflex(int a, int b, int w);
    void clip(int a, int b, int w);
    void mark_run(int v);

    std::vector<tri_vertex> m_vertices;
    std::vector<tri_path> m_paths;
    float m_min_x = 0.0f;
    float m_min_y = 0.0f;
    float m_max_x = 0.0f;
    float m_max_y = 0.0f;
    point_tree m_reflex;

    // Sweep state. Every live vertex below the cursor that is not in m_dirty is known to give
    // no ear; m_examined is one past the highest vertex looked at so far.
    int m_cursor = 0;
    int m_examined = 0;
    std::unique_ptr<index_set> m_dirty;
    // The run of coincident vertices that each vertex belongs to: [begin, end).
    struct run {
        int begin;
        int end;
    };
    std::vector<run> m_runs;
    // Per vertex, the blocking point that last stopped an ear there, if any.
    struct blocker {
        float x = 0.0f;
        float y = 0.0f;
        bool known = false;
    };
    std::vector<blocker> m_last_blocker;
    // The result's floats while the sweep writes them: room for, and written so far.
    float* m_triangles = nullptr;
    int m_triangles_room = 0;
    int m_triangles_end = 0;
};

bool tri_state::load(int path_count, const array<float>* paths) {
    long long vertex_total = 0;
    int path_total = 0;
    for (int i = 0; i < path_count; i++) {
        if (paths[i].size() >= 2) {
            vertex_total += paths[i].size() / 2;
            path_total++;
        }
    }
    // Each bridge adds two vertices.
    if (vertex_total == 0 || vertex_total + 2LL * path_total > kMaxVertices) {
        return false;
    }
    m_vertices.reserve(static_cast<size_t>(vertex_total + 2LL * path_total - 2));
    m_paths.reserve(static_cast<size_t>(path_total));

    for (int i = 0; i < path_count; i++) {
        const array<float>& path = paths[i];
        int count = path.size() / 2;
        if (count == 0) {
            continue;
        }
        tri_path record;
        record.first = static_cast<int>(m_vertices.size());
        for (int j = 0; j < count; j++) {
            int index = static_cast<int>(m_vertices.size());
            float x = finite_or_zero(path[2 * j]);
            float y = finite_or_zero(path[2 * j + 1]);
            m_vertices.push_back(tri_vertex{x, y, index + 1, index - 1, live});
            if (index == 0) {
                m_min_x = m_max_x = x;
                m_min_y = m_max_y = y;
            } else {
                m_min_x = std::min(m_min_x, x);
                m_max_x = std::max(m_max_x, x);
                m_min_y = std::min(m_min_y, y);
                m_max_y = std::max(m_max_y, y);
            }
            if (record.leftmost < 0 ||
                vertex_order(x, y, m_vertices[record.leftmost].x, m_vertices[record.leftmost].y) < 0) {
                record.leftmost = index;
            }
        }
        record.end = static_cast<int>(m_vertices.size());
        m_vertices[record.end - 1].next = record.first;
        m_vertices[record.first].prev = record.end - 1;
        m_paths.push_back(record);
    }

    // Every corner that is not a strict left turn can block an ear: reflex and straight corners
    // alike. The points stay for the whole call, also after their vertices are clipped.
    for (const tri_path& path : m_paths) {
        if (path.end - path.first < 3) {
            continue;
        }
        for (int b = path.first; b < path.end; b++) {
            if (left(m_vertices[b].prev, b, m_vertices[b].next) <= 0) {
                m_reflex.add(m_vertices[b].x, m_vertices[b].y);
            }
        }
    }
    m_reflex.build();

    sort_and_renumber(0);
    if (m_paths.size() >= 2) {
        int joined_from = static_cast<int>(m_vertices.size());
        join_paths();
        sort_and_renumber(joined_from);
    }
    return true;
}

void tri_state::sort_and_renumber(int sorted_count) {
    // (x, then y) order as one unsigned number: each coordinate's bits made to sort as
    // unsigned integers, x in the high half. Comparing it costs one comparison instead of up
    // to four float comparisons with their branches.
    struct sort_key {
        uint64_t position;
        int index;
        bool operator<(const sort_key& other) const {
            return position != other.position ? position < other.position : index < other.index;
        }
    };
    int n = static_cast<int>(m_vertices.size());
    std::vector<sort_key> order(static_cast<size_t>(n));
    for (int i = 0; i < n; i++) {
        uint64_t position =
            (static_cast<uint64_t>(ordered_bits(m_vertices[i].x)) << 32) | ordered_bits(m_vertices[i].y);
        order[i] = sort_key{position, i};
    }
    // Coincident vertices keep their current order, so that vertices at one position from
    // different rings always come out in load order, and bridge copies after their originals.
    // The first sorted_count vertices are in order already: only the rest need sorting.
    std::sort(order.begin() + sorted_count, order.end());
    std::inplace_merge(order.begin(), order.begin() + sorted_count, order.end());
    std::vector<int> new_index(static_cast<size_t>(n));
    for (int i = 0; i < n; i++) {
        new_index[order[i].index] = i;
    }
    std::vector<tri_vertex> sorted(static_cast<size_t>(n));
    for (int i = 0; i < n; i++) {
        tri_vertex v = m_vertices[order[i].index];
        v.next = new_index[v.next];
        v.prev = new_index[v.prev];
        sorted[i] = v;
    }
    sorted.reserve(m_vertices.capacity());
    m_vertices.swap(sorted);
    for (tri_path& path : m_paths) {
        if (path.leftmost >= 0) {
            path.leftmost = new_index[path.leftmost];
        }
    }
}

int tri_state::find_bridge(const edge_grid& edges, int h) const {
    const tri_vertex& vh = m_vertices[h];
    for (int v = h - 1; v >= 0; v--) {
        const tri_vertex& vv = m_vertices[v];
        bool crossed = edges.any(std::min(vh.x, vv.x), std::min(vh.y, vv.y), std::max(vh.x, vv.x), std::max(vh.y, vv.y),
                                 [&](float ex, float ey, float fx, float fy) {
                                     return segments_cross(vh.x, vh.y, vv.x, vv.y, ex, ey, fx, fy);
                                 });
        if (!crossed) {
            return v;
        }
    }
    return h - 1;
}

void tri_state::join_paths() {
    // Taken in order of their smallest vertex, every ring finds the vertices below its own
    // smallest one already joined into one ring.
    std::sort(m_paths.begin(), m_paths.end(),
              [](const tri_path& a, const tri_path& b) { return a.leftmost < b.leftmost; });
    int n = static_cast<int>(m_vertices.size());
    edge_grid edges(m_min_x, m_min_y, m_max_x, m_max_y, n, kGridFactor);
    for (int i = 0; i < n; i++) {
        int next = m_vertices[i].next;
        if (!coincide(i, next)) {
            edges.add(m_vertices[i].x, m_vertices[i].y, m_vertices[next].x, m_vertices[next].y);
        }
    }
    for (size_t k = 1; k < m_paths.size(); k++) {
        int h = m_paths[k].leftmost;
        int v = find_bridge(edges, h);
        // h2 and v2 are copies of h and v; the ring then runs ... v, h, (around the hole),
        // h2, v2, (on along the outline) ..., crossing the bridge once each way.
        int h2 = static_cast<int>(m_vertices.size());
        int v2 = h2 + 1;
        m_vertices.push_back(m_vertices[h]);
        m_vertices.push_back(m_vertices[v]);
        m_vertices[h].prev = v;
        m_vertices[v].next = h;
        m_vertices[h2].next = v2;
        m_vertices[v2].prev = h2;
        m_vertices[m_vertices[h2].prev].next = h2;
        m_vertices[m_vertices[v2].next].prev = v2;
        if (!coincide(h, v)) {
            edges.add(m_vertices[h].x, m_vertices[h].y, m_vertices[v].x, m_vertices[v].y);
        }
    }
}

bool tri_state::blocked_by_reflex(int a, int b, int w) {
    const tri_vertex& va = m_vertices[a];
    const tri_vertex& vb = m_vertices[b];
    const tri_vertex& vw = m_vertices[w];
    float min_x = std::min({va.x, vb.x, vw.x});
    float min_y = std::min({va.y, vb.y, vw.y});
    float max_x = std::max({va.x, vb.x, vw.x});
    float max_y = std::max({va.y, vb.y, vw.y});
    auto blocks = [&](float x, float y) {
        if (x < min_x || x > max_x || y < min_y || y > max_y) {
            return false;
        }
        if ((x == va.x && y == va.y) || (x == vb.x && y == vb.y) || (x == vw.x && y == vw.y)) {
            return false;
        }
        return point_in_triangle(x, y, va.x, va.y, vb.x, vb.y, vw.x, vw.y);
    };
    // The point that stopped the last ear tried at b usually stops this one too.
    blocker& last = m_last_blocker[b];
    if (last.known && blocks(last.x, last.y)) {
        return true;
    }
    return m_reflex.any(va.x, va.y, vb.x, vb.y, vw.x, vw.y, [&](float x, float y) {
        if (!blocks(x, y)) {
            return false;
        }
        last = blocker{x, y, true};
        return true;
    });
}

int tri_state::ear_search(int a, int b) {
    if (coincide(b, a)) {
        // A repeated point is clipped at once, as a triangle of zero area.
        int w = m_vertices[b].next;
        return w == a ? -1 : w;
    }
    int run_begin = m_runs[b].begin;
    int run_end = m_runs[b].end;

    // Among the edges leaving b's position that turn left, the one turning furthest left; on a
    // tie the later one.
    int best = -1;
    for (int i = run_begin; i < run_end; i++) {
        int next = m_vertices[i].next;
        if (m_vertices[next].state == clipped) {
            continue;
        }
        if (left(a, b, next) > 0 && (best < 0 || cone_holds(next, a, b, best))) {
            best = next;
        }
    }
    if (best < 0) {
        return -1;
    }
    // An edge arriving at b's position from inside the ear's corner blocks it.
    for (int i = run_begin; i < run_end; i++) {
        int prev = m_vertices[i].prev;
        if (m_vertices[prev].state == clipped) {
            continue;
        }
        if (!coincide(prev, a) && !coincide(prev, best) && left(a, b, prev) > 0 && cone_holds(prev, a, b, best)) {
            return -1;
        }
    }
    // The edges along a->b and b->best must not all be cancelled by edges run the other way.
    int balance_a = 0;
    int balance_w = 0;
    for (int i = run_begin; i < run_end; i++) {
        int prev = m_vertices[i].prev;
        if (m_vertices[prev].state == clipped) {
            continue;
        }
        if (coincide(prev, best)) {
            balance_w--;
        } else if (coincide(prev, a)) {
            balance_a++;
        }
        int next = m_vertices[i].next;
        if (coincide(next, best)) {
            balance_w++;
        } else if (coincide(next, a)) {
            balance_a--;
        }
    }
    if (balance_a < 1 && balance_w < 1) {
        return -1;
    }
    if (blocked_by_reflex(a, b, best)) {
        return -1;
    }
    return best;
}

void tri_state::mark_run(int v) {
    int end = std::min(m_runs[v].end, m_examined);
    for (int i = m_runs[v].begin; i < end; i++) {
        m_dirty->insert(i);
    }
}

void tri_state::clip(int a, int b, int w) {
    assert(w != a && w != b && m_vertices[a].next == b && m_vertices[b].prev == a);
    assert(m_vertices[w].state == live);
    if (m_vertices[w].prev != b) {
        // w was reached through another vertex c at b's position: swap the edges leaving b and
        // c so that a, b, w are consecutive.
        int b_next = m_vertices[b].next;
        int c = m_vertices[w].prev;
        m_vertices[c].next = b_next;
        m_vertices[b_next].prev = c;
        m_vertices[w].prev = b;
        m_vertices[b].next = w;
        mark_run(b_next);
    }
    m_vertices[b].state = clipped;
    m_vertices[b].prev = b;
    m_vertices[b].next = b;
    m_vertices[a].next = w;
    m_vertices[w].prev = a;

    // Only the vertices at the positions of a, b, w and the swapped edge's ends can have
    // changed their answer; b's run holds c.
    mark_run(a);
    mark_run(b);
    mark_run(w);
    m_cursor = m_runs[std::min({m_cursor, a, b, w})].begin;

    const tri_vertex& va = m_vertices[a];
    const tri_vertex& vb = m_vertices[b];
    const tri_vertex& vw = m_vertices[w];
    assert(m_triangles_end + 6 <= m_triangles_room);
    float* out = m_triangles + m_triangles_end;
    out[0] = va.x;
    out[1] = va.y;
    out[2] = vb.x;
    out[3] = vb.y;
    out[4] = vw.x;
    out[5] = vw.y;
    m_triangles_end += 6;
}

void tri_state::sweep(array<float>* result) {
    int n = static_cast<int>(m_vertices.size());
    m_runs.resize(static_cast<size_t>(n));
    for (int i = 0; i < n; i++) {
        m_runs[i].begin = i > 0 && coincide(i, i - 1) ? m_runs[i - 1].begin : i;
    }
    for (int i = n - 1; i >= 0; i--) {
        m_runs[i].end = i + 1 < n && coincide(i, i + 1) ? m_runs[i + 1].end : i + 1;
    }
    m_dirty = std::make_unique<index_set>(n);
    m_last_blocker.resize(static_cast<size_t>(n));
    // Each clip removes a live vertex, so n triangles always fit. The triangles go straight
    // into the result, sized once and cut to what was written at the end.
    m_triangles_room = 6 * n;
    result->reserve(m_triangles_room);
    result->resize(m_triangles_room);
    m_triangles = result->begin();

    // The cursor walks the sorted vertices and steps back after each clip to the lowest vertex
    // it touched. Vertices that were looked at and have not changed since are known to give
    // no ear, so the walk skips them and looks only at changed ones and new ground.
    for (;;) {
        int dirty = m_dirty->lower_bound(m_cursor);
        int b = dirty >= 0 && dirty < m_examined ? dirty : std::max(m_cursor, m_examined);
        if (b >= n) {
            break;
        }
        if (b == m_examined) {
            m_examined++;
        } else {
            m_dirty->erase(b);
        }
        m_cursor = b + 1;
        int a = m_vertices[b].prev;
        if (m_vertices[b].state != live || a == b) {
            continue;
        }
        int w = ear_search(a, b);
        if (w >= 0) {
            clip(a, b, w);
        }
    }
    result->resize(m_triangles_end);
}

}  // namespace

void compute(array<float>* result, int path_count, const array<float>* paths) {
    assert(result != nullptr);
    result->clear();
    if (path_count <= 0 || paths == nullptr) {
        return;
    }
    tri_state state;
    if (!state.load(path_count, paths)) {
        return;
    }
    state.sweep(result);
}

}  // namespace triangulate
}  // namespace swfplayer
