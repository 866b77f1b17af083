// Shapes as the player draws them, side by side with Mesa's GLU tessellator triangulating the
// same flattened outlines: a curve-heavy movie's shapes tessellated at 10, 1 and 0.1 twips, the
// game's creature outline redrawn on a canvas each frame, and a morph rebuilt at each change of
// ratio. Our side includes flattening the curves; GLU gets the outlines already flattened.
#include "bench/swfplayer_geometry/GluTriangulator.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/shapes/canvas.h"
#include "swfplayer/main/shapes/morph2_character_def.h"
#include "swfplayer/main/shapes/shape_character_def.h"
#include "tools/swfkit/ShapeBuilder.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace bench_geometry {

namespace {

using swfplayer::smart_ptr;

constexpr double kPi = 3.14159265358979323846;
const swfkit::Color kRed{255, 0, 0, 255};
const swfkit::Color kBlue{0, 0, 255, 255};

swfplayer::player* Owner() {
    static smart_ptr<swfplayer::player> owner = new swfplayer::player();
    return owner.get_ptr();
}

// A closed wobbly contour of curves around (x, y), clockwise on screen.
void Contour(swfkit::ShapeBuilder& b, double x, double y, double r, int curves, double wobble) {
    auto at = [&](double angle, double stretch) {
        double radius = r * stretch * (1.0 + wobble * std::sin(7.0 * angle));
        return std::pair<int, int>(static_cast<int>(x + radius * std::cos(angle)),
                                   static_cast<int>(y + radius * std::sin(angle)));
    };
    auto start = at(0, 1.0);
    b.MoveTo(start.first, start.second);
    for (int i = 1; i <= curves; i++) {
        auto control = at((i - 0.5) * 2 * kPi / curves, 1.0 / std::cos(kPi / curves));
        auto anchor = i == curves ? start : at(i * 2 * kPi / curves, 1.0);
        b.CurveTo(control.first, control.second, anchor.first, anchor.second);
    }
}

// The movie: 16 shapes, each a curved outline of 64 curves with two curved holes, every path
// outlined so the mesh sets' strips give the flattened outlines.
std::vector<smart_ptr<swfplayer::shape_character_def>> CurveHeavyMovie() {
    std::vector<smart_ptr<swfplayer::shape_character_def>> shapes;
    for (int i = 0; i < 16; i++) {
        swfkit::ShapeBuilder b;
        b.SetFillStyle1(b.AddFillStyle(swfkit::FillStyle::Solid(kRed)));
        b.SetLineStyle(b.AddLineStyle({20, kBlue}));
        Contour(b, 0, 0, 6000 + 100 * i, 64, 0.08);
        Contour(b, -2500, 0, 1200, 24, 0.05);
        Contour(b, 2500, 0, 1200 + 20 * i, 24, 0.05);
        swfkit::Bytes body = swfkit::DefineShapeBody(1, b, 3);
        swfplayer::base_file file(swfplayer::memory_buffer, static_cast<int>(body.size() - 2), body.data() + 2);
        swfplayer::stream in(&file);
        smart_ptr<swfplayer::shape_character_def> shape = new swfplayer::shape_character_def(Owner());
        shape->read(&in, 32, true, nullptr);
        shapes.push_back(shape);
    }
    return shapes;
}

// The flattened outlines of a mesh set: its line strips as rings.
Rings StripRings(const swfplayer::mesh_set& set) {
    Rings rings;
    for (const swfplayer::layer& l : set.get_layers()) {
        for (const auto& strip : l.m_line_strips) {
            rings.emplace_back(strip->m_coords.begin(), strip->m_coords.end() - 2);  // the closing point
        }
    }
    return rings;
}

long Triangles(const swfplayer::mesh_set& set) {
    long values = 0;
    for (const swfplayer::layer& l : set.get_layers()) {
        for (const auto& m : l.m_meshes) {
            values += m ? static_cast<long>(m->m_triangle_list.size()) : 0;
        }
    }
    return values / 6;
}

void MovieOurs(benchmark::State& state, float tolerance) {
    auto shapes = CurveHeavyMovie();
    long triangles = 0;
    for (auto _ : state) {
        triangles = 0;
        for (const auto& shape : shapes) {
            swfplayer::mesh_set set(shape.get_ptr(), tolerance);
            triangles += Triangles(set);
        }
        benchmark::DoNotOptimize(triangles);
    }
    state.counters["triangles"] = static_cast<double>(triangles);
}

void MovieGlu(benchmark::State& state, float tolerance) {
    std::vector<std::unique_ptr<GluTriangulator>> peers;
    for (const auto& shape : CurveHeavyMovie()) {
        peers.push_back(std::make_unique<GluTriangulator>(StripRings(swfplayer::mesh_set(shape.get_ptr(), tolerance))));
    }
    long triangles = 0;
    for (auto _ : state) {
        triangles = 0;
        for (const auto& peer : peers) {
            triangles += static_cast<long>(peer->Run().size() / 6);
        }
        benchmark::DoNotOptimize(triangles);
    }
    state.counters["triangles"] = static_cast<double>(triangles);
}

// The game's creature outline: 42 body points joined by curves through control points pushed
// out from the chords.
void DrawCreature(swfplayer::canvas* c, double phase) {
    const int points = 42;
    auto at = [&](double angle, double stretch) {
        double r = 1500.0 * stretch * (1.0 + 0.1 * std::sin(3.0 * angle + phase));
        return std::pair<float, float>(static_cast<float>(4000 + r * std::cos(angle)),
                                       static_cast<float>(4000 + r * std::sin(angle)));
    };
    c->clear();
    c->begin_fill(swfplayer::rgba(200, 120, 40, 255));
    c->set_line_style(60, swfplayer::rgba(0, 0, 0, 255));
    auto start = at(0, 1.0);
    c->move_to(start.first, start.second);
    for (int i = 1; i <= points; i++) {
        auto control = at((i - 0.5) * 2 * kPi / points, 1.08);
        auto anchor = at(i * 2 * kPi / points, 1.0);
        c->curve_to(control.first, control.second, anchor.first, anchor.second);
    }
    c->close_path();
}

void CanvasOurs(benchmark::State& state) {
    smart_ptr<swfplayer::canvas> c = new swfplayer::canvas(Owner());
    swfplayer::matrix identity;
    double phase = 0.0;
    for (auto _ : state) {
        DrawCreature(c.get_ptr(), phase);
        c->display(identity, swfplayer::cxform(), 1.0f, c->m_fill_styles, c->m_line_styles);
        phase += 0.01;
    }
    state.counters["triangles"] = static_cast<double>(Triangles(*c->get_cached_meshes().back()));
}

void CanvasGlu(benchmark::State& state) {
    smart_ptr<swfplayer::canvas> c = new swfplayer::canvas(Owner());
    DrawCreature(c.get_ptr(), 0.0);
    GluTriangulator peer(StripRings(swfplayer::mesh_set(c.get_ptr(), 7.5f)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(peer.Run().size());
    }
    state.counters["triangles"] = static_cast<double>(peer.Run().size() / 6);
}

smart_ptr<swfplayer::morph2_character_def> Morph() {
    swfkit::ShapeBuilder start;
    start.SetFillStyle0(1);
    start.SetLineStyle(1);
    Contour(start, 0, 0, 3000, 48, 0.0);
    swfkit::ShapeBuilder end;
    end.SetFillStyle0(1);
    end.SetLineStyle(1);
    Contour(end, 500, 0, 4000, 48, 0.15);
    swfkit::Bytes body =
        swfkit::DefineMorphShapeBody(1, {{swfkit::FillStyle::Solid(kRed), swfkit::FillStyle::Solid(kBlue)}},
                                     {{{20, kRed}, {60, kBlue}}}, start, end, 1);
    swfplayer::base_file file(swfplayer::memory_buffer, static_cast<int>(body.size() - 2), body.data() + 2);
    swfplayer::stream in(&file);
    smart_ptr<swfplayer::morph2_character_def> morph = new swfplayer::morph2_character_def(Owner());
    morph->read(&in, 46, true, nullptr);
    return morph;
}

void MorphOurs(benchmark::State& state) {
    auto morph = Morph();
    swfplayer::matrix identity;
    int frame = 0;
    for (auto _ : state) {
        morph->display(identity, swfplayer::cxform(), 1.0f, (frame++ % 100) / 100.0f);
    }
    state.counters["rebuilds"] = morph->get_mesh_builds();
}

void MorphGlu(benchmark::State& state) {
    auto morph = Morph();
    morph->display(swfplayer::matrix(), swfplayer::cxform(), 1.0f, 0.5f);
    GluTriangulator peer(StripRings(swfplayer::mesh_set(morph.get_ptr(), 7.5f)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(peer.Run().size());
    }
}

const bool g_Registered = [] {
    for (float tolerance : {10.0f, 1.0f, 0.1f}) {
        std::string suffix = "/tolerance:" + std::to_string(tolerance).substr(0, 4);
        benchmark::RegisterBenchmark(("shapes/ours/curve_heavy_movie" + suffix).c_str(), [tolerance](
                                                                                             benchmark::State& state) {
            MovieOurs(state, tolerance);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("shapes/glu/curve_heavy_movie" + suffix).c_str(), [tolerance](
                                                                                            benchmark::State& state) {
            MovieGlu(state, tolerance);
        })->Unit(benchmark::kMicrosecond);
    }
    benchmark::RegisterBenchmark("shapes/ours/canvas_creature_42_redraw", CanvasOurs)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("shapes/glu/canvas_creature_42_redraw", CanvasGlu)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("shapes/ours/morph_rebuild_per_ratio", MorphOurs)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("shapes/glu/morph_rebuild_per_ratio", MorphGlu)->Unit(benchmark::kMicrosecond);
    return true;
}();

}  // namespace

}  // namespace bench_geometry
