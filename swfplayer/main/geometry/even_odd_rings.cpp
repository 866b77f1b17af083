#include "swfplayer/main/geometry/even_odd_rings.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/geometry/even_odd_faces.h"
#include "swfplayer/main/geometry/ring_chains.h"

#include <algorithm>

namespace swfplayer {
namespace tesselate_new {

namespace {

// The work allowed for one fill style: pairs of segments compared and ray tests.
constexpr long long base_budget = 1 << 20;
constexpr long long budget_per_segment = 64;
// The buffers of fills of more segments than this are released after use.
constexpr int max_kept_segments = 1 << 16;

// Whether segments a and b have a point in common other than the end they share by following
// each other in a ring.
bool segments_meet(const ring_set& rings, segment_ref sa, segment_ref sb) {
    const point* p = rings.points().data();
    const int s = sa.segment;
    const int t = sb.segment;
    if (sa.ring == sb.ring && rings.follow(sa.ring, s, t)) {
        // They share an end (both ends, in a ring of two segments) and meet beyond it only
        // where they fold back onto each other.
        const bool t_after_s = same_point(p[s + 1], p[t]);
        const point& shared = t_after_s ? p[t] : p[s];
        const point& a = t_after_s ? p[s] : p[s + 1];
        const point& b = t_after_s ? p[t + 1] : p[t];
        return left_of(shared, a, b) == 0 &&
               (static_cast<double>(a.x) - shared.x) * (static_cast<double>(b.x) - shared.x) +
                       (static_cast<double>(a.y) - shared.y) * (static_cast<double>(b.y) - shared.y) >
                   0.0;
    }
    const point& a = p[s];
    const point& b = p[s + 1];
    const point& c = p[t];
    const point& d = p[t + 1];
    int o1 = left_of(a, b, c);
    int o2 = left_of(a, b, d);
    if (o1 == 0 && o2 == 0) {
        return same_point(a, c) || same_point(a, d) || same_point(b, c) || same_point(b, d) ||
               strictly_between(c, a, b) || strictly_between(d, a, b) || strictly_between(a, c, d) ||
               strictly_between(b, c, d);
    }
    if (o1 * o2 > 0) {
        return false;
    }
    return left_of(c, d, a) * left_of(c, d, b) <= 0;
}

// Reverses each ring that runs the wrong way for the number of other rings around it; false,
// changing nothing, when that would pass budget. Where rings neither cross nor touch, a ring's
// first point lies inside or outside each other ring.
bool orient_by_depth(const ring_set& rings, long long work, long long budget, std::vector<std::vector<point>>* out) {
    const std::vector<int> parities = rings.ring_start_parities(&work, budget);
    if (static_cast<int>(parities.size()) != rings.ring_count()) {
        return false;
    }
    for (int r = 0; r < rings.ring_count(); r++) {
        bool hole = parities[r] != 0;
        int turn = rings.turn_at_lowest(r);
        if (turn != 0 && (turn < 0) != hole) {
            std::vector<point>& ring = (*out)[rings.source(r)];
            std::reverse(ring.begin(), ring.end());
        }
    }
    return true;
}

void log_too_tangled(int segments) {
    static bool logged = false;
    if (!logged) {
        log_error("tesselate_new::orient_even_odd: a fill of %d segments is too tangled to resolve; drawn as it is\n",
                  segments);
        logged = true;
    }
}

}  // namespace

void orient_even_odd(std::vector<std::vector<point>>* rings) {
    // The tessellator works on one shape at a time, so one set of buffers serves every call.
    static ring_set set;
    set.clear();
    for (size_t i = 0; i < rings->size(); i++) {
        set.add((*rings)[i], static_cast<int>(i));
    }
    set.prepare();
    const long long budget = base_budget + budget_per_segment * set.segment_count();
    long long work = 0;
    auto meets = [](segment_ref a, segment_ref b) {
        return segments_meet(set, a, b);
    };
    ring_set::walk_result tangle = set.for_each_close_pair(meets, &work, budget);
    std::vector<std::vector<point>> faces;
    if (tangle == ring_set::walk_stopped && trace_even_odd_faces(set, budget, &faces)) {
        *rings = std::move(faces);
    } else if (!orient_by_depth(set, work, budget, rings) || tangle != ring_set::walk_done) {
        log_too_tangled(set.segment_count());
    }
    if (set.segment_count() > max_kept_segments) {
        set = ring_set();  // a big fill's buffers are not kept for the next
    }
}

}  // namespace tesselate_new
}  // namespace swfplayer
