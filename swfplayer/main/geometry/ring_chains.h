#pragma once
// Internal to the tessellator's even-odd step.

#include "swfplayer/main/common/point.h"
#include "swfplayer/main/geometry/tri_predicates.h"

#include <algorithm>
#include <vector>

namespace swfplayer {
namespace tesselate_new {

// (y, then x) order: -1 when a comes first, 1 when b does, 0 when they coincide.
inline int chain_order(const point& a, const point& b) {
    if (a.y != b.y) {
        return a.y < b.y ? -1 : 1;
    }
    if (a.x != b.x) {
        return a.x < b.x ? -1 : 1;
    }
    return 0;
}

inline bool same_point(const point& a, const point& b) {
    return a.x == b.x && a.y == b.y;
}

// The exact sign of the left test of c against the line a->b.
inline int left_of(const point& a, const point& b, const point& c) {
    return triangulate::left_sign(a.x, a.y, b.x, b.y, c.x, c.y);
}

// Whether r comes strictly between a and b in (y, x) order; for r on the line through a and b,
// whether it lies inside the segment a-b, ends excluded.
inline bool strictly_between(const point& r, const point& a, const point& b) {
    int ra = chain_order(r, a);
    int rb = chain_order(r, b);
    return ra != 0 && rb != 0 && ra != rb;
}

// Whether the boxes of segments a-b and c-d overlap, edges included: segments whose boxes do not
// cannot meet.
inline bool boxes_meet(const point& a, const point& b, const point& c, const point& d) {
    return std::max(a.x, b.x) >= std::min(c.x, d.x) && std::max(c.x, d.x) >= std::min(a.x, b.x) &&
           std::max(a.y, b.y) >= std::min(c.y, d.y) && std::max(c.y, d.y) >= std::min(a.y, b.y);
}

// A segment of a ring set and the ring it belongs to.
struct segment_ref {
    int segment;
    int ring;
};

// Closed rings of one fill style, each without repeated points and closed by a repeat of its
// first point: ring r holds the points first[r] .. first[r + 1] - 1, the last equal to the first.
// Segment s runs from point s to point s + 1; a ring's segments are first[r] .. first[r + 1] - 2.
//
// Each ring is cut, as it is added, into chains whose points rise strictly in (y, then x) order:
// a chain ends where the ring turns and at the ring's start. Two segments of one chain meet only
// where they follow each other, so crossings and touches are searched between chains alone; and a
// horizontal line meets a chain in at most one segment. For the search each chain is cut again
// into runs of a few segments with their own extent in x, found through columns of x, so that
// outlines side by side are passed over run by run.
class ring_set {
public:
    // Forgets every ring, keeping the memory.
    void clear();
    // Adds the ring source_index. Points that repeat the one before them (and a last point
    // repeating the first) are dropped, and coordinates that are not finite become 0, as the
    // triangulator takes them; a ring left with fewer than two points is not kept.
    void add(const std::vector<point>& ring_points, int source_index);
    // Readies the search once every ring is added.
    void prepare();

    int ring_count() const { return static_cast<int>(m_rings.size()); }
    int segment_count() const { return static_cast<int>(m_points.size()) - ring_count(); }
    const std::vector<point>& points() const { return m_points; }
    int first_point(int r) const { return m_first[r]; }
    // One past the ring's closing point.
    int end_point(int r) const { return m_first[r + 1]; }
    int source(int r) const { return m_rings[r].source; }
    // 1 when the ring turns left (counterclockwise) at its lowest point in (y, x) order, -1 when
    // it turns right, 0 when it folds back there. A ring that meets itself nowhere runs
    // counterclockwise, its inside on its left, exactly when it turns left there.
    int turn_at_lowest(int r) const { return m_rings[r].turn_at_lowest; }
    // Whether segments s and t of ring r follow each other (in a ring of two segments, both
    // ways).
    bool follow(int r, int s, int t) const {
        const int last = m_first[r + 1] - 2;
        return s + 1 == t || t + 1 == s || (s == m_first[r] && t == last) || (t == m_first[r] && s == last);
    }

    // What visiting the pairs of segments came to.
    enum walk_result { walk_done, walk_stopped, walk_over_budget };

    // Calls visit(a, b) with the two segments of every pair of segments of different chains
    // whose spans in (y, x) order overlap and whose boxes meet, ends included, which takes in
    // every pair that crosses or touches. Stops when visit returns true. *work grows by one per
    // pair looked at; once it passes budget, the walk stops.
    template <class Visit>
    walk_result for_each_close_pair(Visit visit, long long* work, long long budget) const;

    // For each ring, the parity of the number of times the ray from its first point to the
    // right (+x) crosses the segments of the other rings: 1 when the point lies inside an odd
    // number of them. A segment counts when its ends lie on different sides of the line through
    // the point, an end on the line counting as below it; the point must lie on none of those
    // segments. *work grows by the rings looked at; the answer is empty when it passes budget.
    std::vector<int> ring_start_parities(long long* work, long long budget) const;

private:
    // Segments a run holds at most.
    static constexpr int run_segments = 8;
    // Up to this many rings, a ray is tested against every other ring.
    static constexpr int few_rings = 16;

    struct ring {
        int source;
        int turn_at_lowest;
        float min_x, min_y, max_x, max_y;
        int first_chain;  // its chains in m_chains, up to the next ring's
    };
    // Consecutive points of a chain: in rising order, point k (0 .. length) is the point
    // low_index + stride * k. A whole chain is a run too.
    struct run {
        int chain;  // the chain it belongs to (its index in m_chains)
        int ring;
        int low_index;
        int stride;  // 1 where the ring runs through it rising, -1 where falling
        int length;  // segments
        point low;   // its first and last points
        point high;
        float min_x;
        float max_x;
        int first_column;  // the column of min_x
    };
    void survey(int start, int count, int source_index);

    const point& at(const run& r, int k) const { return m_points[r.low_index + r.stride * k]; }
    // The segment between points k and k + 1 of run r, named by its start in the ring's order.
    static segment_ref segment_at(const run& r, int k) {
        return {r.stride > 0 ? r.low_index + k : r.low_index - k - 1, r.ring};
    }
    int column_of(float x) const;
    // 1 when chain c crosses the ray from p to the right, else 0.
    int crossings_right_of(const run& c, const point& p) const;
    // The parity of the crossings of ring r with the ray from p to the right: 0 at once when p
    // lies outside the ring's box.
    int parity_right_of(int r, const point& p) const;

    template <class Visit>
    bool walk_pair(const run& a, const run& b, Visit& visit, long long* work) const;

    std::vector<point> m_points;
    std::vector<int> m_first = {0};
    std::vector<ring> m_rings;
    std::vector<run> m_chains;  // whole chains, ring after ring
    std::vector<run> m_runs;    // the chains cut into runs; by their lowest point once prepared
    // Columns over the runs' extent in x, with the runs each lists while a walk goes on.
    int m_columns = 1;
    float m_min_x = 0.0f;
    double m_columns_per_unit = 0.0;
    mutable std::vector<std::vector<int>> m_open;
};

template <class Visit>
ring_set::walk_result ring_set::for_each_close_pair(Visit visit, long long* work, long long budget) const {
    // Runs come by their lowest point; each column lists the runs it holds that may still reach
    // the next one. A pair is looked at in the first column both lie in.
    std::vector<std::vector<int>>& open = m_open;
    open.resize(m_columns);
    for (std::vector<int>& list : open) {
        list.clear();
    }
    for (int i = 0; i < static_cast<int>(m_runs.size()); i++) {
        const run& c = m_runs[i];
        const int first_column = c.first_column;
        const int last_column = column_of(c.max_x);
        for (int column = first_column; column <= last_column; column++) {
            std::vector<int>& list = open[column];
            size_t kept = 0;
            for (int j : list) {
                const run& o = m_runs[j];
                if (chain_order(o.high, c.low) < 0) {
                    continue;  // ends below this run and every later one
                }
                list[kept++] = j;
                *work += 1;
                if (o.chain == c.chain || o.max_x < c.min_x || o.min_x > c.max_x ||
                    std::max(first_column, o.first_column) != column) {
                    continue;
                }
                if (walk_pair(o, c, visit, work)) {
                    return walk_stopped;
                }
            }
            list.resize(kept);
            list.push_back(i);
        }
        if (*work > budget) {
            return walk_over_budget;
        }
    }
    return walk_done;
}

// Merges the two runs' segments in rising order, so that each pair whose spans overlap is
// visited: where both segments end at the same point, the segments on either side of it touch
// there too.
template <class Visit>
bool ring_set::walk_pair(const run& a, const run& b, Visit& visit, long long* work) const {
    int i = 0;
    int j = 0;
    while (i < a.length && chain_order(at(a, i + 1), b.low) < 0) {
        i++;
    }
    while (j < b.length && chain_order(at(b, j + 1), a.low) < 0) {
        j++;
    }
    while (i < a.length && j < b.length) {
        *work += 1;
        const point& a1 = at(a, i + 1);
        const point& b1 = at(b, j + 1);
        if (boxes_meet(at(a, i), a1, at(b, j), b1) && visit(segment_at(a, i), segment_at(b, j))) {
            return true;
        }
        int order = chain_order(a1, b1);
        if (order < 0) {
            i++;
        } else if (order > 0) {
            j++;
        } else {
            if (i + 1 < a.length && visit(segment_at(a, i + 1), segment_at(b, j))) {
                return true;
            }
            if (j + 1 < b.length && visit(segment_at(a, i), segment_at(b, j + 1))) {
                return true;
            }
            i++;
            j++;
        }
    }
    return false;
}

}  // namespace tesselate_new
}  // namespace swfplayer
