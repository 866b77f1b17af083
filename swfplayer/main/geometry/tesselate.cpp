#include "swfplayer/main/geometry/tesselate.h"

#include "swfplayer/base/array.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/geometry/even_odd_rings.h"
#include "swfplayer/main/geometry/fill_rings.h"
#include "swfplayer/main/geometry/triangulate.h"

#include <cassert>
#include <cmath>
#include <map>
#include <vector>

namespace swfplayer {
namespace tesselate_new {

namespace {

// Curve halving stops at this depth (the whole curve is depth 1) and ends the piece with its
// chord, so a curve makes at most 2^16 segments. With finite coordinates and a sane tolerance
// the depth stays far below it; a tolerance of 0 or below would otherwise halve without end.
constexpr int kMaxCurveDepth = 17;

// Ring buffers of more points than this are released after a shape.
constexpr size_t max_kept_ring_points = 1 << 16;

// The midpoint of two floats, computed so that it cannot overflow.
float middle(float a, float b) {
    return static_cast<float>((static_cast<double>(a) + b) * 0.5);
}

// The state of the shape in progress.
class tesselator {
public:
    void begin_shape(mesh_accepter* accepter, float tolerance);
    void begin_path(int fill0, int fill1, int line, float ax, float ay);
    void add_line_segment(float ax, float ay);
    void add_curve_segment(float cx, float cy, float ax, float ay);
    void end_path();
    void end_shape();

private:
    void flatten(const point& p0, const point& control, const point& p1, int depth);
    void triangulate_fills();
    void reset();

    mesh_accepter* m_accepter = nullptr;
    float m_tolerance = 1.0f;
    std::vector<fill_path> m_paths;
    std::vector<std::vector<point>> m_rings;  // the closed rings of one fill style
    point m_last;
};

void tesselator::reset() {
    m_accepter = nullptr;
    std::vector<fill_path>().swap(m_paths);  // releases the memory too
    // The rings' buffers serve the next shape, unless a big shape left them big.
    size_t kept = 0;
    for (const std::vector<point>& ring : m_rings) {
        kept += ring.capacity();
    }
    if (kept > max_kept_ring_points) {
        std::vector<std::vector<point>>().swap(m_rings);
    }
}

void tesselator::begin_shape(mesh_accepter* accepter, float tolerance) {
    assert(accepter != nullptr);
    if (m_accepter != nullptr || !m_paths.empty()) {
        log_error("tesselate_new::begin_shape: the previous shape was never finished; dropped\n");
        reset();
    }
    m_accepter = accepter;
    m_tolerance = tolerance;
}

void tesselator::begin_path(int fill0, int fill1, int line, float ax, float ay) {
    fill_path path;
    path.fill0 = fill0;
    path.fill1 = fill1;
    path.line = line;
    m_last = point(ax, ay);
    path.points.push_back(m_last);
    m_paths.push_back(std::move(path));
}

void tesselator::add_line_segment(float ax, float ay) {
    assert(!m_paths.empty());
    m_last = point(ax, ay);
    m_paths.back().points.push_back(m_last);
}

void tesselator::add_curve_segment(float cx, float cy, float ax, float ay) {
    if (cx == ax && cy == ay) {
        add_line_segment(ax, ay);
        return;
    }
    flatten(m_last, point(cx, cy), point(ax, ay), 1);
}

void tesselator::flatten(const point& p0, const point& control, const point& p1, int depth) {
    point chord_mid(middle(p0.x, p1.x), middle(p0.y, p1.y));
    point curve_mid(middle(chord_mid.x, control.x), middle(chord_mid.y, control.y));
    float dist = std::fabs(chord_mid.x - curve_mid.x) + std::fabs(chord_mid.y - curve_mid.y);
    if (dist >= m_tolerance && depth < kMaxCurveDepth) {
        flatten(p0, point(middle(p0.x, control.x), middle(p0.y, control.y)), curve_mid, depth + 1);
        flatten(curve_mid, point(middle(control.x, p1.x), middle(control.y, p1.y)), p1, depth + 1);
    } else {
        add_line_segment(p1.x, p1.y);
    }
}

void tesselator::end_path() {
    assert(m_accepter != nullptr && !m_paths.empty());
    const fill_path& path = m_paths.back();
    if (path.line >= 0 && path.points.size() >= 2) {
        m_accepter->accept_line_strip(path.line, path.points.data(), static_cast<int>(path.points.size()));
    }
}

void tesselator::triangulate_fills() {
    // The closed rings of each fill style, styles in the order of their first ring.
    std::map<int, size_t> group_of_style;
    std::vector<std::pair<int, std::vector<const fill_path*>>> groups;
    for (fill_path& path : m_paths) {
        if (path.processed || path.fill1 < 0 || !path.closed || path.points.empty()) {
            continue;
        }
        path.processed = true;
        auto found = group_of_style.find(path.fill1);
        if (found == group_of_style.end()) {
            found = group_of_style.emplace(path.fill1, groups.size()).first;
            groups.emplace_back(path.fill1, std::vector<const fill_path*>());
        }
        groups[found->second].second.push_back(&path);
    }

    for (const auto& [style, paths] : groups) {
        // Each ring without its closing point. A path of one point closes on itself and makes
        // no ring. The rings' memory serves every style and shape.
        std::vector<std::vector<point>>& rings = m_rings;
        rings.resize(paths.size());
        size_t count = 0;
        for (const fill_path* path : paths) {
            if (path->points.size() >= 2) {
                rings[count++].assign(path->points.begin(), path->points.end() - 1);
            }
        }
        rings.resize(count);
        orient_even_odd(&rings);
        array<array<float>> input;
        input.resize(static_cast<int>(rings.size()));
        for (size_t r = 0; r < rings.size(); r++) {
            array<float>& ring = input[static_cast<int>(r)];
            ring.resize(2 * static_cast<int>(rings[r].size()));
            for (size_t i = 0; i < rings[r].size(); i++) {
                ring[2 * i] = rings[r][i].x;
                ring[2 * i + 1] = rings[r][i].y;
            }
        }
        if (input.empty()) {
            continue;
        }
        array<float> triangles;
        triangulate::compute(&triangles, input.size(), input.begin());
        if (triangles.size() < 6) {
            continue;
        }
        std::vector<point> corners(static_cast<size_t>(triangles.size() / 2));
        for (size_t i = 0; i < corners.size(); i++) {
            corners[i] = point(triangles[2 * i], triangles[2 * i + 1]);
        }
        m_accepter->begin_trilist(style, triangles.size() / 6);
        m_accepter->accept_trilist_batch(corners.data(), static_cast<int>(corners.size()));
        m_accepter->end_trilist();
    }
}

void tesselator::end_shape() {
    assert(m_accepter != nullptr);
    normalise_fill_sides(&m_paths);
    join_open_rings(&m_paths);
    triangulate_fills();
    mesh_accepter* accepter = m_accepter;
    reset();
    accepter->end_shape();
}

// The player tessellates one shape at a time on its one thread.
tesselator& the_tesselator() {
    static tesselator instance;
    return instance;
}

}  // namespace

void begin_shape(mesh_accepter* accepter, float curve_error_tolerance) {
    the_tesselator().begin_shape(accepter, curve_error_tolerance);
}

void begin_path(int fill0, int fill1, int line, float ax, float ay) {
    the_tesselator().begin_path(fill0, fill1, line, ax, ay);
}

void add_line_segment(float ax, float ay) {
    the_tesselator().add_line_segment(ax, ay);
}

void add_curve_segment(float cx, float cy, float ax, float ay) {
    the_tesselator().add_curve_segment(cx, cy, ax, ay);
}

void end_path() {
    the_tesselator().end_path();
}

void end_shape() {
    the_tesselator().end_shape();
}

}  // namespace tesselate_new
}  // namespace swfplayer
