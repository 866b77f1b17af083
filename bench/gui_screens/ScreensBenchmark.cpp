// One frame of a screen as the game runs it, in a real 800 x 600 window (Mesa's software
// OpenGL under Xvfb): the director's update of one step and its drawing, then the empty overlay
// movie and the display. The screens: the main menu (its two movies, the cursor's ring and the
// hint waiting at its checkpoint), the title (its movie and the demonstration match replayed
// from its recording) and the statistics' overall table of 50 players. Their peer is the frame
// without any screen: the clear, the empty overlay and the display. Each frame ends with
// glFinish, so its time includes the rasterising; the counter cpu_ms is the CPU time of the whole
// frame (targets: the menu and the statistics at most 8 ms, the title at most 10 ms, inside the
// 16.7 ms of a frame at 60 a second).
// Run: xvfb-run -a bench_gui_screens --benchmark_enable_random_interleaving=true
//      --benchmark_repetitions=10
#include "app/Application.h"
#include "app/EventPlayer.h"
#include "app/TiXmlIOProxy.h"
#include "app/TinyxmlPhysfsProxy.h"
#include "app/UserPreferences.h"
#include "flash/FlashMovie.h"
#include "game/StatisticsFile.h"
#include "gui/GUIDirector.h"
#include "gui/GUIGameTitle.h"
#include "gui/GUIStatistics.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <physfs.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr float kStep = 1.0f / 60.0f;

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

double Min(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

// The game's data mounted, a user folder of the benchmark's own as the write folder, and the
// application's window open as the game opens it, with the logical view, and the overlay movie.
struct Stage {
    Stage() {
        PHYSFS_init(nullptr);
        PHYSFS_mount(PONDORIX_GAME_DIR, nullptr, 0);
        std::filesystem::create_directories(user / "data");
        PHYSFS_mount(user.c_str(), "/userfolder", 0);
        PHYSFS_setWriteDir(user.c_str());
        TiXmlIOProxy::SetCurrent(&proxy);
        Application& application = Application::GetInstance();
        application.create(sf::VideoMode(800, 600), "screens benchmark", sf::Style::None,
                           sf::ContextSettings(24, 8, 4));
        application.setView(sf::View(sf::FloatRect(0, 0, 800, 600)));
        overlay.Load("data/empty.swf");
    }
    const std::filesystem::path user = std::filesystem::temp_directory_path() / "pondorix_bench_screens";
    TinyxmlPhysfsProxy proxy;
    FlashMovie overlay;
};

Stage& GetStage() {
    static Stage stage;
    return stage;
}

// The main menu on top, its first-time hint waiting at its checkpoint over it.
GUIDirector& Menu() {
    static GUIDirector director;
    static const bool shown = [] {
        UserPreferences::GetInstance().hintMenuControls = true;
        director.PushScreen(GUIDirector::kMainMenu);
        for (int i = 0; i < 60; ++i) {
            director.Update(kStep);
        }
        return true;
    }();
    (void)shown;
    return director;
}

// The title on top, from its own description, as the game starts it.
GUIDirector& Title(GUIGameTitle*& title) {
    static GUIDirector director;
    static GUIGameTitle* screen = [] {
        auto owned = std::make_unique<GUIGameTitle>(director);
        GUIGameTitle* made = owned.get();
        director.RegisterTitle(std::move(owned));
        director.PushScreen(GUIDirector::kTitle);
        return made;
    }();
    title = screen;
    return director;
}

// The statistics from the menu: an overall table of 50 players, each in two of 50 results.
GUIDirector& Statistics() {
    static GUIDirector director;
    static const bool shown = [] {
        StatisticsStore store;
        for (int i = 0; i < 50; ++i) {
            GameStatistics record;
            record.winner = 1 + i % 3;
            record.player1.playerId = "player" + std::to_string(i);
            record.player1.score = i;
            record.player1.numShots = 2 * i;
            record.player2.playerId = "player" + std::to_string((i + 1) % 50);
            record.player2.score = 50 - i;
            record.player2.numShots = i;
            store.records.push_back(record);
        }
        SaveStatistics(store);
        director.RegisterScreen(GUIDirector::kStatistics, std::make_unique<GUIStatistics>());
        director.PushScreen(GUIDirector::kStatistics);
        return true;
    }();
    (void)shown;
    return director;
}

void EndFrame(Stage& stage, Application& application) {
    application.draw(stage.overlay);
    application.display();
    glFinish();
}

void BM_MainMenuFrame(benchmark::State& state) {
    Stage& stage = GetStage();
    Application& application = Application::GetInstance();
    GUIDirector& director = Menu();
    double cpu = 0;
    for (auto _ : state) {
        const double start = ThreadCpuSeconds();
        application.clear();
        director.Update(kStep);
        director.Draw(application);
        EndFrame(stage, application);
        cpu += ThreadCpuSeconds() - start;
    }
    state.counters["cpu_ms"] = benchmark::Counter(1e3 * cpu / static_cast<double>(state.iterations()));
    state.counters["hint_waits"] = director.GetHint().IsWaiting() ? 1 : 0;
}
BENCHMARK(BM_MainMenuFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", Min);

void BM_TitleFrame(benchmark::State& state) {
    Stage& stage = GetStage();
    Application& application = Application::GetInstance();
    GUIGameTitle* title = nullptr;
    GUIDirector& director = Title(title);
    double cpu = 0;
    for (auto _ : state) {
        // The demonstration plays on: before its recording runs out or the movie leaves the title,
        // the title starts again (untimed).
        if (director.GetCurrentScreenId() != GUIDirector::kTitle ||
            title->GetRecording()->NextFrameTime() >= EventPlayer::kNoFrameLeft) {
            state.PauseTiming();
            director.PopAll();
            title->Load("data/gui/gametitle.xml");
            director.PushScreen(GUIDirector::kTitle);
            state.ResumeTiming();
        }
        const double start = ThreadCpuSeconds();
        application.clear();
        director.Update(kStep);
        director.Draw(application);
        EndFrame(stage, application);
        cpu += ThreadCpuSeconds() - start;
    }
    state.counters["cpu_ms"] = benchmark::Counter(1e3 * cpu / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_TitleFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", Min);

void BM_StatisticsFrame(benchmark::State& state) {
    Stage& stage = GetStage();
    Application& application = Application::GetInstance();
    GUIDirector& director = Statistics();
    double cpu = 0;
    for (auto _ : state) {
        const double start = ThreadCpuSeconds();
        application.clear();
        director.Update(kStep);
        director.Draw(application);
        EndFrame(stage, application);
        cpu += ThreadCpuSeconds() - start;
    }
    state.counters["cpu_ms"] = benchmark::Counter(1e3 * cpu / static_cast<double>(state.iterations()));
    const auto* screen = static_cast<const GUIStatistics*>(director.GetScreen(GUIDirector::kStatistics));
    state.counters["rows"] = static_cast<double>(screen->GetRows().size());
}
BENCHMARK(BM_StatisticsFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", Min);

void BM_EmptyFrame(benchmark::State& state) {
    Stage& stage = GetStage();
    Application& application = Application::GetInstance();
    double cpu = 0;
    for (auto _ : state) {
        const double start = ThreadCpuSeconds();
        application.clear();
        EndFrame(stage, application);
        cpu += ThreadCpuSeconds() - start;
    }
    state.counters["cpu_ms"] = benchmark::Counter(1e3 * cpu / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", Min);

}  // namespace
