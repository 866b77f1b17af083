// One movie frame through the OpenGL handler in a real window (Mesa's software OpenGL under
// Xvfb): 200 meshes of 100 triangles, 200 line strips, 20 bitmaps and 4 nested masks. Its peer
// draws the same triangles, lines and bitmaps through SFML's own vertex arrays and sprites
// (without masks, which SFML lacks). Each frame ends with glFinish, so the frame time includes
// the rasterising, and its CPU time (cpu_ms) counts every thread, Mesa's rasterising threads
// among them (see FrameCpuClock.h); the counter handler_cpu_ms is the calling thread's CPU time
// in the drawing calls alone (target: at most 2 ms, so that a frame fits well inside 8 ms).
// Uploads: a 1024 x 1024 RGBA bitmap without a mip chain, and a 1024 x 1024 alpha bitmap with
// its chain, against SFML's own upload of the same RGBA pixels.
// Run: xvfb-run -a bench_flash_render --benchmark_enable_random_interleaving
//      --benchmark_repetitions=10
#include "bench/FrameCpuClock.h"
#include "flash/render_handler_ogl.h"
#include "swfplayer/base/image.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/twips.h"

#include <GL/gl.h>
#include <SFML/Graphics.hpp>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace swfplayer;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kTwips = twips_per_pixel;
constexpr int kMeshes = 200;
constexpr int kTrianglesPerMesh = 100;
constexpr int kLines = 200;
constexpr int kLinePoints = 20;
constexpr int kBitmaps = 20;
constexpr int kMasks = 4;

sf::RenderWindow& Window() {
    static sf::RenderWindow window(sf::VideoMode(kWidth, kHeight), "render benchmark", sf::Style::None,
                                   sf::ContextSettings(24, 8, 4));
    window.setActive(true);
    return window;
}

// The frame's geometry in twips: strips of kTrianglesPerMesh + 2 vertices (zigzags across the
// window) and line strips (waves), both as 16-bit pairs.
struct Scene {
    std::vector<std::vector<int16_t>> meshes;
    std::vector<std::vector<int16_t>> lines;
    std::vector<std::unique_ptr<image::rgba>> images;

    Scene() {
        for (int i = 0; i < kMeshes; i++) {
            std::vector<int16_t> strip;
            const int y = (i * 37) % (kHeight - 40);
            for (int v = 0; v < kTrianglesPerMesh + 2; v++) {
                strip.push_back(static_cast<int16_t>((20 + v * 3 + i % 100) * kTwips));
                strip.push_back(static_cast<int16_t>((y + (v % 2) * 30) * kTwips));
            }
            meshes.push_back(std::move(strip));
        }
        for (int i = 0; i < kLines; i++) {
            std::vector<int16_t> line;
            for (int p = 0; p < kLinePoints; p++) {
                line.push_back(static_cast<int16_t>((10 + p * 35) * kTwips));
                line.push_back(static_cast<int16_t>(((i * 29) % kHeight + 10 * std::sin(p + i)) * kTwips));
            }
            lines.push_back(std::move(line));
        }
        for (int i = 0; i < kBitmaps; i++) {
            auto im = image::create_rgba(64, 64);
            for (int p = 0; p < 64 * 64 * 4; p++) {
                im->data[p] = static_cast<uint8_t>(p * 7 + i * 31);
            }
            images.push_back(std::move(im));
        }
    }
};

// Repetitions are judged on their minimum and median.
double Min(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

const Scene& GetScene() {
    static const Scene scene;
    return scene;
}

void SetUpProjection() {
    Window().clear(sf::Color::Black);
    Window().resetGLStates();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWidth, kHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void BM_FrameHandler(benchmark::State& state) {
    const Scene& scene = GetScene();
    render_handler_ogl handler;
    std::vector<smart_ptr<bitmap_info>> bitmaps;
    for (const auto& im : scene.images) {
        bitmaps.push_back(handler.create_bitmap_info_rgba(im.get()));
    }
    const int16_t mask_rect[] = {0, 0, kWidth * kTwips, 0, 0, kHeight * kTwips, kWidth * kTwips, kHeight * kTwips};
    double cpu = 0;
    bench_support::FrameCpuClock frame;
    for (auto _ : state) {
        frame.Start();
        SetUpProjection();
        const double start = platform::ThreadCpuSeconds();
        handler.begin_display(rgba(30, 30, 30, 255), 0, 0, kWidth, kHeight, 0, kWidth * kTwips, 0, kHeight * kTwips);
        handler.set_matrix(matrix());
        handler.set_cxform(cxform());
        for (int m = 0; m < kMasks; m++) {
            handler.begin_submit_mask();
            handler.fill_style_color(0, rgba(255, 255, 255, 255));
            handler.draw_mesh_strip(mask_rect, 4);
            handler.end_submit_mask();
        }
        for (size_t i = 0; i < scene.meshes.size(); i++) {
            handler.fill_style_color(0, rgba(static_cast<uint8_t>(i), 120, 200, 200));
            handler.draw_mesh_strip(scene.meshes[i].data(), static_cast<int>(scene.meshes[i].size() / 2));
        }
        for (const auto& line : scene.lines) {
            handler.line_style_color(rgba(250, 250, 0, 255));
            handler.line_style_width(2 * kTwips);
            handler.draw_line_strip(line.data(), static_cast<int>(line.size() / 2));
        }
        for (int b = 0; b < kBitmaps; b++) {
            matrix m;
            m.m[0][2] = static_cast<float>((b % 10) * 70 * kTwips);
            m.m[1][2] = static_cast<float>((b / 10) * 300 * kTwips);
            handler.draw_bitmap(m, bitmaps[b].get_ptr(), rect(0, 64 * kTwips, 0, 64 * kTwips), rect(0, 1, 0, 1),
                                rgba(255, 255, 255, 255));
        }
        for (int m = 0; m < kMasks; m++) {
            handler.disable_mask();
        }
        handler.end_display();
        cpu += platform::ThreadCpuSeconds() - start;
        glFinish();
        frame.Stop();
    }
    frame.Report(state);
    state.counters["handler_cpu_ms"] = benchmark::Counter(1e3 * cpu / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_FrameHandler)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", Min);

void BM_FrameSfml(benchmark::State& state) {
    const Scene& scene = GetScene();
    std::vector<sf::VertexArray> meshes;
    for (size_t i = 0; i < scene.meshes.size(); i++) {
        sf::VertexArray strip(sf::TriangleStrip);
        for (size_t v = 0; v < scene.meshes[i].size(); v += 2) {
            strip.append(sf::Vertex(sf::Vector2f(scene.meshes[i][v] / 20.0f, scene.meshes[i][v + 1] / 20.0f),
                                    sf::Color(static_cast<uint8_t>(i), 120, 200, 200)));
        }
        meshes.push_back(std::move(strip));
    }
    std::vector<sf::VertexArray> lines;
    for (const auto& line : scene.lines) {
        sf::VertexArray strip(sf::LineStrip);
        for (size_t v = 0; v < line.size(); v += 2) {
            strip.append(sf::Vertex(sf::Vector2f(line[v] / 20.0f, line[v + 1] / 20.0f), sf::Color(250, 250, 0)));
        }
        lines.push_back(std::move(strip));
    }
    std::vector<sf::Texture> textures(kBitmaps);
    for (int b = 0; b < kBitmaps; b++) {
        textures[b].create(64, 64);
        textures[b].update(scene.images[b]->data.get());
    }
    double cpu = 0;
    bench_support::FrameCpuClock frame;
    sf::RenderWindow& window = Window();
    for (auto _ : state) {
        frame.Start();
        window.clear(sf::Color(30, 30, 30));
        const double start = platform::ThreadCpuSeconds();
        for (const auto& strip : meshes) {
            window.draw(strip);
        }
        for (const auto& strip : lines) {
            window.draw(strip);
        }
        for (int b = 0; b < kBitmaps; b++) {
            sf::Sprite sprite(textures[b]);
            sprite.setPosition(static_cast<float>((b % 10) * 70), static_cast<float>((b / 10) * 300));
            window.draw(sprite);
        }
        cpu += platform::ThreadCpuSeconds() - start;
        glFinish();
        frame.Stop();
    }
    frame.Report(state);
    state.counters["handler_cpu_ms"] = benchmark::Counter(1e3 * cpu / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_FrameSfml)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", Min);

// One upload per iteration: the bitmap is made outside the timing, its first activate (the
// upload) inside, and glFinish makes the driver's copy count.
template <bool alpha>
void BM_UploadHandler(benchmark::State& state) {
    SetUpProjection();
    render_handler_ogl handler;
    auto im = image::create_rgba(1024, 1024);
    std::fill(im->data.get(), im->data.get() + 1024 * 1024 * 4, 77);
    for (auto _ : state) {
        state.PauseTiming();
        smart_ptr<bitmap_info> bi = alpha ? handler.create_bitmap_info_alpha(1024, 1024, im->data.get())
                                          : handler.create_bitmap_info_rgba(im.get());
        state.ResumeTiming();
        bi->activate();
        glFinish();
        state.PauseTiming();
        bi = nullptr;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UploadHandler<false>)
    ->Name("BM_UploadRgbaNoMips")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("min", Min);
BENCHMARK(BM_UploadHandler<true>)
    ->Name("BM_UploadAlphaWithMips")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("min", Min);

void BM_UploadSfml(benchmark::State& state) {
    Window();
    std::vector<uint8_t> pixels(1024 * 1024 * 4, 77);
    for (auto _ : state) {
        sf::Texture texture;
        texture.create(1024, 1024);
        texture.update(pixels.data());
        glFinish();
        state.PauseTiming();
        texture = sf::Texture();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UploadSfml)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", Min);

}  // namespace
