// The tessellator on glyph-like outlines made of quadratic curves: one glyph at several curve
// tolerances, the same glyph cut into one path per curve (as shapes with many style changes
// arrive), and a page of glyphs in one shape.
#include "swfplayer/main/geometry/tesselate.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

namespace bench_geometry {

namespace {

namespace tess = swfplayer::tesselate_new;

constexpr double kPi = 3.14159265358979323846;

// Counts what the tessellator delivers.
class CountingAccepter : public tess::mesh_accepter {
public:
    void begin_trilist(int, int expected) override { triangles += expected; }
    void accept_trilist_batch(const swfplayer::point*, int) override {}
    void end_trilist() override {}
    void accept_line_strip(int, const swfplayer::point*, int count) override { line_points += count; }
    void end_shape() override {}

    long triangles = 0;
    long line_points = 0;
};

struct Curve {
    float cx, cy, ax, ay;
};

// A closed contour of curves around (x, y): an ellipse with a wobble, counterclockwise or
// clockwise, starting and ending at its first anchor.
std::vector<Curve> Contour(double x, double y, double rx, double ry, int curves, bool clockwise, float* start_x,
                           float* start_y) {
    auto at = [&](double angle, double stretch) {
        double wobble = 1.0 + 0.05 * std::sin(5.0 * angle);
        return std::pair<float, float>(static_cast<float>(x + stretch * wobble * rx * std::cos(angle)),
                                       static_cast<float>(y + stretch * wobble * ry * std::sin(angle)));
    };
    double sign = clockwise ? -1.0 : 1.0;
    std::vector<Curve> contour;
    auto first = at(0.0, 1.0);
    *start_x = first.first;
    *start_y = first.second;
    for (int i = 1; i <= curves; i++) {
        auto control = at(sign * (i - 0.5) * 2.0 * kPi / curves, 1.0 / std::cos(kPi / curves));
        auto anchor = i == curves ? first : at(sign * i * 2.0 * kPi / curves, 1.0);
        contour.push_back(Curve{control.first, control.second, anchor.first, anchor.second});
    }
    return contour;
}

// One glyph at (x, y): an outline of 24 curves with two counters of 12, in twips of a large
// glyph (about 1400 x 2000).
void AddGlyph(double x, double y, bool one_path_per_curve) {
    struct Ring {
        double dx, dy, rx, ry;
        int curves;
        bool clockwise;
    } rings[] = {{0, 0, 700, 1000, 24, false}, {0, 450, 350, 330, 12, true}, {0, -450, 400, 350, 12, true}};
    for (const Ring& ring : rings) {
        float sx, sy;
        std::vector<Curve> contour =
            Contour(x + ring.dx, y + ring.dy, ring.rx, ring.ry, ring.curves, ring.clockwise, &sx, &sy);
        if (!one_path_per_curve) {
            tess::begin_path(-1, 0, 0, sx, sy);
        }
        for (const Curve& c : contour) {
            if (one_path_per_curve) {
                tess::begin_path(-1, 0, -1, sx, sy);
            }
            tess::add_curve_segment(c.cx, c.cy, c.ax, c.ay);
            if (one_path_per_curve) {
                tess::end_path();
            }
            sx = c.ax;
            sy = c.ay;
        }
        if (!one_path_per_curve) {
            tess::end_path();
        }
    }
}

void Glyphs(benchmark::State& state, float tolerance, int glyphs, bool one_path_per_curve) {
    CountingAccepter accepter;
    for (auto _ : state) {
        accepter = CountingAccepter();
        tess::begin_shape(&accepter, tolerance);
        for (int i = 0; i < glyphs; i++) {
            AddGlyph((i % 20) * 1600.0, (i / 20) * 2200.0, one_path_per_curve);
        }
        tess::end_shape();
        benchmark::DoNotOptimize(accepter.triangles);
    }
    state.counters["triangles"] = static_cast<double>(accepter.triangles);
    state.counters["line_points"] = static_cast<double>(accepter.line_points);
}

const bool g_Registered = [] {
    for (float tolerance : {4.0f, 1.0f, 0.25f}) {
        std::string name = "tesselate/glyph/tolerance:" + std::to_string(tolerance).substr(0, 4);
        benchmark::RegisterBenchmark(name.c_str(), [tolerance](benchmark::State& state) {
            Glyphs(state, tolerance, 1, false);
        })->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("tesselate/glyph_one_path_per_curve/tolerance:1.00", [](benchmark::State& state) {
        Glyphs(state, 1.0f, 1, true);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("tesselate/page_of_200_glyphs/tolerance:1.00", [](benchmark::State& state) {
        Glyphs(state, 1.0f, 200, false);
    })->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("tesselate/page_of_200_glyphs_one_path_per_curve/tolerance:1.00",
                                 [](benchmark::State& state) { Glyphs(state, 1.0f, 200, true); })
        ->Unit(benchmark::kMicrosecond);
    return true;
}();

}  // namespace

}  // namespace bench_geometry
