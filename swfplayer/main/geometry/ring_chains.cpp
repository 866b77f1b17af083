#include "swfplayer/main/geometry/ring_chains.h"

#include <algorithm>
#include <cmath>

namespace swfplayer {
namespace tesselate_new {

namespace {

float finite(float v) {
    return std::isfinite(v) ? v : 0.0f;
}

bool rises(const point& a, const point& b) {
    return chain_order(a, b) < 0;
}

}  // namespace

void ring_set::clear() {
    m_points.clear();
    m_first.assign(1, 0);
    m_rings.clear();
    m_chains.clear();
    m_runs.clear();
}

void ring_set::add(const std::vector<point>& ring_points, int source_index) {
    const int start = static_cast<int>(m_points.size());
    m_points.resize(start + ring_points.size() + 1);
    point* p = m_points.data() + start;
    int count = 0;
    for (const point& q : ring_points) {
        point here(finite(q.x), finite(q.y));
        if (count == 0 || !same_point(p[count - 1], here)) {
            p[count++] = here;
        }
    }
    if (count >= 3 && same_point(p[count - 1], p[0])) {
        count--;  // the last point came back to the start: it closes the ring
    }
    if (count < 2) {
        m_points.resize(start);
        return;
    }
    p[count] = p[0];
    m_points.resize(start + count + 1);
    m_first.push_back(start + count + 1);
    survey(start, count, source_index);
}

// Measures the ring of count segments from point start: its box and its turn at its lowest
// point, its chains and their runs.
void ring_set::survey(int start, int count, int source_index) {
    const point* p = m_points.data() + start;
    ring r;
    r.source = source_index;
    r.first_chain = static_cast<int>(m_chains.size());
    r.min_x = r.max_x = p[0].x;
    r.min_y = r.max_y = p[0].y;
    run chain{};
    chain.ring = ring_count();
    run part = chain;
    bool rising = rises(p[0], p[1]);
    int chain_begin = 0;
    int run_begin = 0;
    chain.min_x = chain.max_x = part.min_x = part.max_x = p[0].x;
    // Sets the rising layout of a run over the ring's points begin .. end.
    auto place = [&](run* x, int begin, int end) {
        x->stride = rising ? 1 : -1;
        x->low_index = start + (rising ? begin : end);
        x->length = end - begin;
        x->low = p[rising ? begin : end];
        x->high = p[rising ? end : begin];
    };
    auto end_run = [&](int end) {
        part.chain = static_cast<int>(m_chains.size());
        place(&part, run_begin, end);
        m_runs.push_back(part);
        chain.min_x = std::min(chain.min_x, part.min_x);
        chain.max_x = std::max(chain.max_x, part.max_x);
        run_begin = end;
        part.min_x = part.max_x = p[end].x;
    };
    for (int s = 0; s < count; s++) {
        const point& a = p[s];
        const point& b = p[s + 1];
        const bool here = rises(a, b);
        if (here != rising) {
            end_run(s);
            chain.chain = static_cast<int>(m_chains.size());
            place(&chain, chain_begin, s);
            m_chains.push_back(chain);
            chain.min_x = chain.max_x = a.x;
            chain_begin = s;
            rising = here;
        } else if (s - run_begin == run_segments) {
            end_run(s);
        }
        part.min_x = std::min(part.min_x, b.x);
        part.max_x = std::max(part.max_x, b.x);
    }
    end_run(count);
    chain.chain = static_cast<int>(m_chains.size());
    place(&chain, chain_begin, count);
    m_chains.push_back(chain);
    // The box, and the lowest point, which is the lowest of some chain.
    int lowest = r.first_chain;
    for (int c = r.first_chain; c < static_cast<int>(m_chains.size()); c++) {
        const run& k = m_chains[c];
        r.min_x = std::min(r.min_x, k.min_x);
        r.max_x = std::max(r.max_x, k.max_x);
        r.max_y = std::max(r.max_y, k.high.y);
        if (chain_order(k.low, m_chains[lowest].low) < 0) {
            lowest = c;
        }
    }
    r.min_y = m_chains[lowest].low.y;
    const int low = m_chains[lowest].low_index - start == count ? 0 : m_chains[lowest].low_index - start;
    r.turn_at_lowest = left_of(p[low == 0 ? count - 1 : low - 1], p[low], p[low + 1]);
    m_rings.push_back(r);
}

void ring_set::prepare() {
    std::sort(m_runs.begin(), m_runs.end(), [](const run& a, const run& b) { return chain_order(a.low, b.low) < 0; });
    // About eight runs a column, at most 256 columns.
    m_columns = std::clamp(static_cast<int>(m_runs.size() / 8), 1, 256);
    if (m_runs.empty()) {
        return;
    }
    float max_x = m_runs.front().max_x;
    m_min_x = m_runs.front().min_x;
    for (const run& r : m_runs) {
        m_min_x = std::min(m_min_x, r.min_x);
        max_x = std::max(max_x, r.max_x);
    }
    const double width = static_cast<double>(max_x) - m_min_x;
    m_columns_per_unit = width > 0.0 ? m_columns / width : 0.0;
    for (run& r : m_runs) {
        r.first_column = column_of(r.min_x);
    }
}

int ring_set::column_of(float x) const {
    double column = (static_cast<double>(x) - m_min_x) * m_columns_per_unit;
    return column >= m_columns ? m_columns - 1 : column > 0.0 ? static_cast<int>(column) : 0;
}

int ring_set::crossings_right_of(const run& c, const point& p) const {
    if (c.low.y > p.y || c.high.y <= p.y || c.max_x < p.x) {
        return 0;
    }
    // The one segment whose upper end is the first point above the line.
    int below = 0;  // y at or below p's
    int above = c.length;
    while (above - below > 1) {
        int middle = (below + above) / 2;
        (at(c, middle).y > p.y ? above : below) = middle;
    }
    return left_of(at(c, below), at(c, above), p) > 0 ? 1 : 0;
}

int ring_set::parity_right_of(int r, const point& p) const {
    const ring& box = m_rings[r];
    if (p.x < box.min_x || p.x > box.max_x || p.y < box.min_y || p.y >= box.max_y) {
        return 0;  // outside the box: the ray crosses the ring an even number of times
    }
    const int end = r + 1 < ring_count() ? m_rings[r + 1].first_chain : static_cast<int>(m_chains.size());
    int crossings = 0;
    for (int c = box.first_chain; c < end; c++) {
        crossings += crossings_right_of(m_chains[c], p);
    }
    return crossings & 1;
}

std::vector<int> ring_set::ring_start_parities(long long* work, long long budget) const {
    const int rings = ring_count();
    std::vector<int> parities(rings, 0);
    auto start_of = [this](int r) -> const point& {
        return m_points[m_first[r]];
    };
    if (rings <= few_rings) {
        *work += static_cast<long long>(rings) * rings;
        for (int r = 0; r < rings; r++) {
            for (int q = 0; q < rings; q++) {
                parities[r] ^= q != r ? parity_right_of(q, start_of(r)) : 0;
            }
        }
        return parities;
    }
    // The starts taken from the lowest up, the rings by their lowest points; the rings that
    // reach the line of the current start are kept in a list, which rings that end below it
    // leave for good.
    std::vector<int> order(rings);
    std::vector<int> bottoms(rings);
    for (int r = 0; r < rings; r++) {
        order[r] = bottoms[r] = r;
    }
    std::sort(order.begin(), order.end(), [&](int a, int b) { return start_of(a).y < start_of(b).y; });
    std::sort(bottoms.begin(), bottoms.end(), [this](int a, int b) { return m_rings[a].min_y < m_rings[b].min_y; });
    std::vector<int> reaching;
    size_t next_ring = 0;
    for (int r : order) {
        const point& p = start_of(r);
        for (; next_ring < bottoms.size() && m_rings[bottoms[next_ring]].min_y <= p.y; next_ring++) {
            reaching.push_back(bottoms[next_ring]);
        }
        size_t kept = 0;
        for (int q : reaching) {
            if (m_rings[q].max_y > p.y) {
                reaching[kept++] = q;
                parities[r] ^= q != r ? parity_right_of(q, p) : 0;
            }
        }
        *work += static_cast<long long>(reaching.size());
        reaching.resize(kept);
        if (*work > budget) {
            return {};
        }
    }
    return parities;
}

}  // namespace tesselate_new
}  // namespace swfplayer
