#include "swfplayer/main/geometry/even_odd_faces.h"

#include <algorithm>
#include <cmath>

namespace swfplayer {
namespace tesselate_new {

namespace {

bool before(const point& a, const point& b) {
    return chain_order(a, b) < 0;
}

// The point where segments a-b and c-d cross, each strictly between its ends, rounded to a float
// point within the box both segments span.
point crossing_point(const point& a, const point& b, const point& c, const point& d) {
    auto area = [&](const point& p) {
        return (static_cast<double>(d.x) - c.x) * (static_cast<double>(p.y) - c.y) -
               (static_cast<double>(p.x) - c.x) * (static_cast<double>(d.y) - c.y);
    };
    const double from_a = area(a);
    double t = from_a / (from_a - area(b));
    t = std::isfinite(t) ? std::clamp(t, 0.0, 1.0) : 0.5;
    double x = a.x + t * (static_cast<double>(b.x) - a.x);
    double y = a.y + t * (static_cast<double>(b.y) - a.y);
    x = std::clamp(x, static_cast<double>(std::max(std::min(a.x, b.x), std::min(c.x, d.x))),
                   static_cast<double>(std::min(std::max(a.x, b.x), std::max(c.x, d.x))));
    y = std::clamp(y, static_cast<double>(std::max(std::min(a.y, b.y), std::min(c.y, d.y))),
                   static_cast<double>(std::min(std::max(a.y, b.y), std::max(c.y, d.y))));
    return point(static_cast<float>(x), static_cast<float>(y));
}

struct cut {
    int segment;
    point at;
};

// A piece of a segment between two cuts, its ends in (y, x) order.
struct piece {
    point low;
    point high;
};

bool piece_before(const piece& a, const piece& b) {
    int order = chain_order(a.low, b.low);
    return order != 0 ? order < 0 : before(a.high, b.high);
}

// The work of one call: segments cut into pieces, the pieces as a graph of half-edges.
class face_tracer {
public:
    face_tracer(const ring_set& rings, long long budget) : m_rings(rings), m_budget(budget) {}

    bool run(std::vector<std::vector<point>>* out);

private:
    const point& start(int s) const { return m_rings.points()[s]; }
    const point& end(int s) const { return m_rings.points()[s + 1]; }

    void cut_pair(int s, int t);
    void make_pieces();
    void cancel_pairs();
    void link_half_edges();
    void trace_cycles();
    bool decide_parities();
    int next_of(int h) const;
    int inside_left_of(int h);

    const ring_set& m_rings;
    long long m_budget;
    long long m_work = 0;
    std::vector<cut> m_cuts;
    std::vector<piece> m_pieces;
    std::vector<point> m_vertices;
    std::vector<int> m_from;         // per half-edge h: its start vertex; h ^ 1 is its twin
    std::vector<int> m_order;        // half-edges by start vertex, counterclockwise around it
    std::vector<int> m_first_out;    // per vertex: its half-edges in m_order
    std::vector<int> m_position;     // per half-edge: where it stands in m_order
    std::vector<int> m_cycle_of;     // per half-edge
    std::vector<int> m_cycle_start;  // half-edges of cycle c in m_cycle_members[start[c]..start[c+1])
    std::vector<int> m_cycle_members;
    std::vector<int> m_parity;  // per cycle: 1 when the region lies on its left
};

void face_tracer::cut_pair(int s, int t) {
    const point& a = start(s);
    const point& b = end(s);
    const point& c = start(t);
    const point& d = end(t);
    int o1 = left_of(a, b, c);
    int o2 = left_of(a, b, d);
    if (o1 == 0 && o2 == 0) {
        for (const point* p : {&c, &d}) {
            if (strictly_between(*p, a, b)) {
                m_cuts.push_back({s, *p});
            }
        }
        for (const point* p : {&a, &b}) {
            if (strictly_between(*p, c, d)) {
                m_cuts.push_back({t, *p});
            }
        }
        return;
    }
    if (o1 * o2 > 0) {
        return;
    }
    int o3 = left_of(c, d, a);
    int o4 = left_of(c, d, b);
    if (o3 * o4 > 0) {
        return;
    }
    // The segments meet. An end on the other's line is where they meet.
    if (o1 != 0 && o2 != 0 && o3 != 0 && o4 != 0) {
        point x = crossing_point(a, b, c, d);
        m_cuts.push_back({s, x});
        m_cuts.push_back({t, x});
        return;
    }
    if (o1 == 0 && !same_point(c, a) && !same_point(c, b)) {
        m_cuts.push_back({s, c});
    }
    if (o2 == 0 && !same_point(d, a) && !same_point(d, b)) {
        m_cuts.push_back({s, d});
    }
    if (o3 == 0 && !same_point(a, c) && !same_point(a, d)) {
        m_cuts.push_back({t, a});
    }
    if (o4 == 0 && !same_point(b, c) && !same_point(b, d)) {
        m_cuts.push_back({t, b});
    }
}

// Each segment becomes the pieces between its ends and its cuts, in order along it; cuts keep
// their place between the ends even where rounding moved them a little.
void face_tracer::make_pieces() {
    std::sort(m_cuts.begin(), m_cuts.end(), [](const cut& a, const cut& b) {
        return a.segment != b.segment ? a.segment < b.segment : before(a.at, b.at);
    });
    size_t next_cut = 0;
    std::vector<point> run;
    for (int r = 0; r < m_rings.ring_count(); r++) {
        for (int s = m_rings.first_point(r); s + 1 < m_rings.end_point(r); s++) {
            run.clear();
            run.push_back(before(start(s), end(s)) ? start(s) : end(s));
            for (; next_cut < m_cuts.size() && m_cuts[next_cut].segment == s; next_cut++) {
                run.push_back(m_cuts[next_cut].at);
            }
            run.push_back(before(start(s), end(s)) ? end(s) : start(s));
            for (size_t k = 0; k + 1 < run.size(); k++) {
                int order = chain_order(run[k], run[k + 1]);
                if (order != 0) {
                    m_pieces.push_back(order < 0 ? piece{run[k], run[k + 1]} : piece{run[k + 1], run[k]});
                }
            }
        }
    }
    m_work += static_cast<long long>(m_pieces.size());
}

// Pieces on top of each other bound nothing between them: an even number of them cancels,
// an odd number leaves one.
void face_tracer::cancel_pairs() {
    std::sort(m_pieces.begin(), m_pieces.end(), piece_before);
    size_t kept = 0;
    for (size_t i = 0; i < m_pieces.size();) {
        size_t j = i + 1;
        while (j < m_pieces.size() && same_point(m_pieces[j].low, m_pieces[i].low) &&
               same_point(m_pieces[j].high, m_pieces[i].high)) {
            j++;
        }
        if ((j - i) % 2 == 1) {
            m_pieces[kept++] = m_pieces[i];
        }
        i = j;
    }
    m_pieces.resize(kept);
}

void face_tracer::link_half_edges() {
    for (const piece& p : m_pieces) {
        m_vertices.push_back(p.low);
        m_vertices.push_back(p.high);
    }
    std::sort(m_vertices.begin(), m_vertices.end(), before);
    m_vertices.erase(std::unique(m_vertices.begin(), m_vertices.end(), same_point), m_vertices.end());
    auto vertex = [&](const point& p) {
        return static_cast<int>(std::lower_bound(m_vertices.begin(), m_vertices.end(), p, before) - m_vertices.begin());
    };
    const int halves = 2 * static_cast<int>(m_pieces.size());
    m_from.resize(halves);
    for (size_t e = 0; e < m_pieces.size(); e++) {
        m_from[2 * e] = vertex(m_pieces[e].low);
        m_from[2 * e + 1] = vertex(m_pieces[e].high);
    }
    // Half-edges grouped by start vertex, then ordered counterclockwise by direction, starting
    // at the direction of +x.
    m_first_out.assign(m_vertices.size() + 1, 0);
    for (int h = 0; h < halves; h++) {
        m_first_out[m_from[h] + 1]++;
    }
    for (size_t v = 0; v < m_vertices.size(); v++) {
        m_first_out[v + 1] += m_first_out[v];
    }
    m_order.resize(halves);
    std::vector<int> fill(m_first_out.begin(), m_first_out.end() - 1);
    for (int h = 0; h < halves; h++) {
        m_order[fill[m_from[h]]++] = h;
    }
    auto to = [&](int h) -> const point& {
        return m_vertices[m_from[h ^ 1]];
    };
    for (size_t v = 0; v < m_vertices.size(); v++) {
        const point& o = m_vertices[v];
        auto upper = [&](const point& t) {
            return t.y > o.y || (t.y == o.y && t.x > o.x);
        };
        std::sort(m_order.begin() + m_first_out[v], m_order.begin() + m_first_out[v + 1], [&](int a, int b) {
            bool ua = upper(to(a));
            bool ub = upper(to(b));
            if (ua != ub) {
                return ua;
            }
            int turn = left_of(o, to(a), to(b));
            return turn != 0 ? turn > 0 : a < b;
        });
    }
    m_position.resize(halves);
    for (int k = 0; k < halves; k++) {
        m_position[m_order[k]] = k;
    }
    m_work += halves;
}

// The next half-edge around the face on the left of h: at h's end, the first half-edge
// clockwise from the way back.
int face_tracer::next_of(int h) const {
    int back = h ^ 1;
    int v = m_from[back];
    int k = m_position[back];
    return m_order[k == m_first_out[v] ? m_first_out[v + 1] - 1 : k - 1];
}

void face_tracer::trace_cycles() {
    const int halves = static_cast<int>(m_from.size());
    m_cycle_of.assign(halves, -1);
    m_cycle_start.push_back(0);
    for (int h = 0; h < halves; h++) {
        if (m_cycle_of[h] >= 0) {
            continue;
        }
        const int cycle = static_cast<int>(m_cycle_start.size()) - 1;
        int x = h;
        // next_of is one-to-one, so the walk comes back to h; the bound only guards that.
        for (int steps = 0; steps < halves && m_cycle_of[x] < 0; steps++) {
            m_cycle_of[x] = cycle;
            m_cycle_members.push_back(x);
            x = next_of(x);
        }
        m_cycle_start.push_back(static_cast<int>(m_cycle_members.size()));
    }
}

// 1 when the region lies on the left of h. A ray from the middle of h to the right crosses the
// other pieces; a point just left of h adds h itself when h runs towards +y.
int face_tracer::inside_left_of(int h) {
    const point& a = m_vertices[m_from[h]];
    const point& b = m_vertices[m_from[h ^ 1]];
    const double mx = (static_cast<double>(a.x) + b.x) * 0.5;
    const double my = (static_cast<double>(a.y) + b.y) * 0.5;
    int crossings = b.y > a.y ? 1 : 0;
    for (size_t e = 0; e < m_pieces.size(); e++) {
        if (static_cast<int>(e) == h / 2) {
            continue;
        }
        const point& p = m_pieces[e].low;
        const point& q = m_pieces[e].high;
        if ((p.y > my) == (q.y > my)) {
            continue;
        }
        const double side =
            (static_cast<double>(q.x) - p.x) * (my - p.y) - (mx - p.x) * (static_cast<double>(q.y) - p.y);
        crossings += side > 0.0 ? 1 : 0;
    }
    m_work += static_cast<long long>(m_pieces.size());
    return crossings & 1;
}

bool face_tracer::decide_parities() {
    const int cycles = static_cast<int>(m_cycle_start.size()) - 1;
    m_parity.assign(cycles, -1);
    std::vector<int> queue;
    for (int seed = 0; seed < cycles; seed++) {
        if (m_parity[seed] >= 0) {
            continue;
        }
        if (m_work + static_cast<long long>(m_pieces.size()) > m_budget) {
            return false;
        }
        // A cycle along one horizontal line encloses nothing.
        m_parity[seed] = 0;
        for (int k = m_cycle_start[seed]; k < m_cycle_start[seed + 1]; k++) {
            int h = m_cycle_members[k];
            if (m_vertices[m_from[h]].y != m_vertices[m_from[h ^ 1]].y) {
                m_parity[seed] = inside_left_of(h);
                break;
            }
        }
        // The face across each piece is the other parity.
        queue.assign(1, seed);
        while (!queue.empty()) {
            int c = queue.back();
            queue.pop_back();
            for (int k = m_cycle_start[c]; k < m_cycle_start[c + 1]; k++) {
                int across = m_cycle_of[m_cycle_members[k] ^ 1];
                if (m_parity[across] < 0) {
                    m_parity[across] = 1 - m_parity[c];
                    queue.push_back(across);
                }
            }
        }
    }
    return true;
}

bool face_tracer::run(std::vector<std::vector<point>>* out) {
    auto visit = [this](segment_ref a, segment_ref b) {
        cut_pair(a.segment, b.segment);
        return false;
    };
    if (m_rings.for_each_close_pair(visit, &m_work, m_budget) == ring_set::walk_over_budget) {
        return false;
    }
    make_pieces();
    cancel_pairs();
    link_half_edges();
    trace_cycles();
    if (m_work > m_budget || !decide_parities()) {
        return false;
    }
    for (size_t c = 0; c + 1 < m_cycle_start.size(); c++) {
        if (m_parity[c] != 1) {
            continue;
        }
        out->emplace_back();
        for (int k = m_cycle_start[c]; k < m_cycle_start[c + 1]; k++) {
            out->back().push_back(m_vertices[m_from[m_cycle_members[k]]]);
        }
    }
    return true;
}

}  // namespace

bool trace_even_odd_faces(const ring_set& rings, long long budget, std::vector<std::vector<point>>* out) {
    out->clear();
    if (face_tracer(rings, budget).run(out)) {
        return true;
    }
    out->clear();
    return false;
}

}  // namespace tesselate_new
}  // namespace swfplayer
