// One frame of the main menu as the game runs it, in a real 800 x 600 window (Mesa's software
// OpenGL under Xvfb): the director's update of one step (the menu's two movies, the cursor's
// ring and the hint waiting at its checkpoint) and its drawing, then the empty overlay movie and
// the display. Its peer is the frame without any screen: the clear, the empty overlay and the
// display. Each frame ends with glFinish, so its time includes the rasterising; the counter
// cpu_ms is the CPU time of the whole frame (target: at most 8 ms, well inside the 16.7 ms of a
// frame at 60 a second).
// The championship's podium is measured the same way: its two movies, the scene with three
// creatures replaying the podium's script (started again, outside the timing, when it is over)
// and its texts (target: at most 10 ms of CPU).
// Run: xvfb-run -a bench_gui_screens --benchmark_enable_random_interleaving=true
//      --benchmark_repetitions=10
#include "app/Application.h"
#include "app/EventPlayer.h"
#include "app/UserPreferences.h"
#include "flash/FlashMovie.h"
#include "game/CinematicGame.h"
#include "gui/GUIChampionshipPodium.h"
#include "gui/GUIDirector.h"
#include "gui/GameLayer.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <physfs.h>

#include <algorithm>
#include <ctime>
#include <memory>
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

// The game's data mounted and the application's window open as the game opens it, with the
// logical view, and the overlay movie.
struct Stage {
    Stage() {
        PHYSFS_init(nullptr);
        PHYSFS_mount(PONDORIX_GAME_DIR, nullptr, 0);
        Application& application = Application::GetInstance();
        application.create(sf::VideoMode(800, 600), "screens benchmark", sf::Style::None,
                           sf::ContextSettings(24, 8, 4));
        application.setView(sf::View(sf::FloatRect(0, 0, 800, 600)));
        overlay.Load("data/empty.swf");
    }
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

// The debug podium on top, its movie over: the names, the cheers and the buttons show.
GUIDirector& Podium() {
    static GUIDirector director;
    static const bool shown = [] {
        director.RegisterScreen(GUIDirector::kChampionshipPodium, std::make_unique<GUIChampionshipPodium>(director));
        Application::GetInstance().matchSetup.podium = {"data/players/bubbles.xml", "data/players/sprout.xml",
                                                        "data/players/hooligan.xml"};
        director.PushScreen(GUIDirector::kMainMenu);
        director.PushScreen(GUIDirector::kChampionshipPodium);
        for (int i = 0; i < 240; ++i) {
            director.Update(kStep);
        }
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

void BM_PodiumFrame(benchmark::State& state) {
    Stage& stage = GetStage();
    Application& application = Application::GetInstance();
    GUIDirector& director = Podium();
    auto& podium = static_cast<GUIChampionshipPodium&>(*director.GetScreen(GUIDirector::kChampionshipPodium));
    double cpu = 0;
    int creatures = 0;
    for (auto _ : state) {
        if (podium.GetSceneLayer()->GetScript()->NextFrameTime() == EventPlayer::kNoFrameLeft) {
            state.PauseTiming();
            podium.Activate();
            state.ResumeTiming();
        }
        const double start = ThreadCpuSeconds();
        application.clear();
        director.Update(kStep);
        director.Draw(application);
        EndFrame(stage, application);
        cpu += ThreadCpuSeconds() - start;
    }
    if (const CinematicGame* scene = podium.GetSceneLayer()->GetGame()) {
        creatures = static_cast<int>(scene->GetCreatures().size());
    }
    state.counters["cpu_ms"] = benchmark::Counter(1e3 * cpu / static_cast<double>(state.iterations()));
    state.counters["creatures"] = creatures;
}
BENCHMARK(BM_PodiumFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", Min);

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
