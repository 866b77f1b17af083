// One frame of a screen as the game runs it, in a real 800 x 600 window (Mesa's software OpenGL
// under Xvfb): the director's update of one step and its drawing, then the empty overlay movie
// and the display. The screens: the main menu (its two movies, the cursor's ring and the hint
// waiting at its checkpoint); the quick-match selection with eight portraits and their tubes, two
// of them chosen into the players' slots with their controllers' pictures, and the shared cursor;
// the match over on a finished, frozen match, its winner's copy flying and growing; the title, its
// movie and the demonstration replayed from its recording; the statistics' overall table of 50
// players; the tutorial's block 7, its lesson movie over the match with five balls replayed from
// its recording; a four-player championship's match table with eight portraits and its
// highlight; the championship's get-ready screen over its waiting match, which keeps running
// under it; the championship's podium with its two movies and its scene of three creatures
// replaying the podium's script from its start at each run. Their peer is the frame without any
// screen: the clear, the empty overlay and the display. Each frame ends with glFinish, so its time
// includes the rasterising; its CPU time counts every thread of the process, Mesa's rasterising
// threads among them (see FrameCpuClock.h). Targets of that CPU time: the menu, the selection, the
// statistics and the match table at most 8 ms, the match over, the title, the tutorial and the
// podium at most 10 ms, the get-ready screen at most 12 ms, inside the 16.7 ms of a frame at 60 a
// second.
// Run: xvfb-run -a bench_gui_screens --benchmark_enable_random_interleaving=true
//      --benchmark_repetitions=10
#include "app/Application.h"
#include "app/Controller.h"
#include "app/ControllerFactory.h"
#include "app/EventPlayer.h"
#include "app/TiXmlIOProxy.h"
#include "app/TinyxmlPhysfsProxy.h"
#include "app/UserPreferences.h"
#include "bench/FrameCpuClock.h"
#include "flash/FlashMovie.h"
#include "game/CinematicGame.h"
#include "game/Globbo.h"
#include "game/Level.h"
#include "game/SpitGame.h"
#include "game/StatisticsFile.h"
#include "gui/Championship.h"
#include "gui/GUIChampionshipGetReady.h"
#include "gui/GUIChampionshipMatchTable.h"
#include "gui/GUIChampionshipPodium.h"
#include "gui/GUIDirector.h"
#include "gui/GUIGame.h"
#include "gui/GUIGameTitle.h"
#include "gui/GUIMatchOver.h"
#include "gui/GUIPlayerSelection.h"
#include "gui/GUIStatistics.h"
#include "gui/GUITutorial.h"
#include "gui/GameLayer.h"
#include "platform/HeapSettings.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>
#include <physfs.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr float kStep = 1.0f / 60.0f;

double Min(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

// Two more creature files (copies of shipped ones under other names), for eight in the pool, and
// the duel level where player 1 starts holding the only ball over player 2, in a folder of the
// process's own that is mounted over the game's data.
struct ExtraData {
    ExtraData()
        : folder(std::filesystem::temp_directory_path() /
                 ("bench_gui_screens_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))) {
        const std::filesystem::path players = folder / "data/players";
        std::filesystem::create_directories(players);
        std::filesystem::create_directories(folder / "data/levels");
        std::filesystem::copy_file(PONDORIX_GAME_DIR "/data/players/sprout.xml", players / "sprout2.xml");
        std::filesystem::copy_file(PONDORIX_GAME_DIR "/data/players/sunny.xml", players / "sunny2.xml");
        std::filesystem::copy_file(DUEL_LEVEL, folder / "data/levels/test_duel.xml");
        std::filesystem::create_directories(folder / "user/data");
    }
    ~ExtraData() { std::filesystem::remove_all(folder); }
    std::filesystem::path folder;
};

// The game's data mounted with a user folder as the write folder, and the application's window
// open as the game opens it, with the logical view, the overlay movie and the game's two keyboard
// controllers.
struct Stage {
    Stage() {
        PHYSFS_init(nullptr);
        PHYSFS_mount(PONDORIX_GAME_DIR, nullptr, 0);
        PHYSFS_mount(extra.folder.c_str(), nullptr, 1);
        const std::filesystem::path user = extra.folder / "user";
        PHYSFS_mount(user.c_str(), "/userfolder", 1);
        PHYSFS_setWriteDir(user.c_str());
        TiXmlIOProxy::SetCurrent(&proxy);
        Application& application = Application::GetInstance();
        // The window as the game makes it, with its heap setting.
        platform::KeepFreedHeapMemory();
        application.create(sf::VideoMode(800, 600), "screens benchmark", sf::Style::None,
                           sf::ContextSettings(24, 8, 4));
        application.setView(sf::View(sf::FloatRect(0, 0, 800, 600)));
        overlay.Load("data/empty.swf");
        for (const char* file : {"data/controls/keyboard_arrows.xml", "data/controls/keyboard_wasd.xml"}) {
            application.controllers.emplace_back(CreateController(file));
        }
    }
    ExtraData extra;
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

// The quick-match selection with the first two creatures of the pool chosen, one by each
// keyboard.
GUIDirector& Selection() {
    static GUIDirector director([](GUIDirector& made) {
        made.RegisterScreen(GUIDirector::kQuickMatchSelection, std::make_unique<GUIPlayerSelection>(made));
    });
    static const bool shown = [] {
        director.PushScreen(GUIDirector::kQuickMatchSelection);
        auto& screen = static_cast<GUIPlayerSelection&>(*director.GetScreen(GUIDirector::kQuickMatchSelection));
        const std::vector<std::unique_ptr<Controller>>& controllers = Application::GetInstance().controllers;
        for (size_t i = 0; i < 2; ++i) {
            screen.SetControllerFocus(controllers[i].get(), screen.GetGrid().GetPoolItems()[i]->GetName());
            director.HandleCommand(controllers[i].get(), Controller::kSpit);
        }
        for (int i = 0; i < 60; ++i) {
            director.Update(kStep);
        }
        return true;
    }();
    (void)shown;
    return director;
}

// A quick match on the duel level that player 1 has won by spitting, the match over on it and
// its winner's copy on its flight.
GUIDirector& MatchOver() {
    static GUIDirector director([](GUIDirector& made) {
        made.RegisterMatch(std::make_unique<GUIGame>(made));
        made.RegisterScreen(GUIDirector::kMatchOver, std::make_unique<GUIMatchOver>(made));
    });
    static const bool shown = [] {
        auto& match = static_cast<GUIGame&>(*director.GetScreen(GUIDirector::kGame));
        Application& application = Application::GetInstance();
        application.matchSetup.mode = MatchSetup::QuickMatch;
        application.levelFile = "data/levels/test_duel.xml";
        application.player1File = "data/players/blossom.xml";
        application.player2File = "data/players/sprout.xml";
        director.PushScreen(GUIDirector::kGame);
        director.OnFSCommand("Go");
        for (int frame = 0; frame < 6000 && match.GetGame() != nullptr && !match.IsEnded(); ++frame) {
            if (frame % 25 == 10) {
                match.GetGame()->GetGlobbo1()->Shoot();
            }
            director.Update(kStep);
        }
        for (int i = 0; i < 120; ++i) {
            director.Update(kStep);
        }
        return true;
    }();
    (void)shown;
    return director;
}

// A four-player championship's match table after its first two matches: eight portraits and the
// highlight over the third match.
GUIDirector& MatchTable() {
    static GUIDirector director([](GUIDirector& made) {
        made.RegisterScreen(GUIDirector::kChampionshipMatchTable, std::make_unique<GUIChampionshipMatchTable>(made));
    });
    static const bool shown = [] {
        Application& application = Application::GetInstance();
        MatchSetup& setup = application.matchSetup;
        setup.mode = MatchSetup::Championship;
        setup.players = {"data/players/blossom.xml", "data/players/sprout.xml", "data/players/bubbles.xml",
                         "data/players/sunny.xml"};
        Championship championship(setup, application);
        championship.CreateSchedule();
        for (int winner : {1, 2}) {
            GameStatistics result;
            result.winner = winner;
            championship.RecordMatch(result);
            championship.NextMatch();
        }
        director.PushScreen(GUIDirector::kChampionshipMatchTable);
        for (int i = 0; i < 60; ++i) {
            director.Update(kStep);
        }
        return true;
    }();
    (void)shown;
    return director;
}

// A championship match on the duel level waiting under its get-ready screen, the first creature
// claimed.
GUIDirector& GetReady() {
    static GUIDirector director([](GUIDirector& made) {
        made.RegisterMatch(std::make_unique<GUIGame>(made));
        made.RegisterGetReady(std::make_unique<GUIChampionshipGetReady>(made));
    });
    static const bool shown = [] {
        Application& application = Application::GetInstance();
        application.matchSetup.mode = MatchSetup::Championship;
        application.levelFile = "data/levels/test_duel.xml";
        application.player1File = "data/players/blossom.xml";
        application.player2File = "data/players/sprout.xml";
        director.PushScreen(GUIDirector::kGame);
        director.PushScreen(GUIDirector::kChampionshipGetReady);
        Controller* controller = application.controllers[0].get();
        director.HandleCommand(controller, Controller::kStart);
        director.HandleCommand(controller, Controller::kStart);
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
    static GUIDirector director([](GUIDirector& made) { made.RegisterTitle(std::make_unique<GUIGameTitle>(made)); });
    static GUIGameTitle* screen = [] {
        director.PushScreen(GUIDirector::kTitle);
        return static_cast<GUIGameTitle*>(director.GetScreen(GUIDirector::kTitle));
    }();
    title = screen;
    return director;
}

// The statistics from the menu: an overall table of 50 players, each in two of 50 results.
GUIDirector& Statistics() {
    static GUIDirector director(
        [](GUIDirector& made) { made.RegisterScreen(GUIDirector::kStatistics, std::make_unique<GUIStatistics>()); });
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
        director.PushScreen(GUIDirector::kStatistics);
        return true;
    }();
    (void)shown;
    return director;
}

// The tutorial at the lesson of block 7, its card in, as the next button brings it there.
GUIDirector& TutorialBlock7(GUITutorial*& tutorial) {
    static GUIDirector director([](GUIDirector& made) { made.RegisterTutorial(std::make_unique<GUITutorial>(made)); });
    static GUITutorial* screen = [] {
        director.PushScreen(GUIDirector::kTutorialWithButtons);
        director.OnFSCommand("block06");
        director.OnFSCommand("nextbutton");
        for (int i = 0; i < 30; ++i) {
            director.Update(kStep);
        }
        return static_cast<GUITutorial*>(director.GetScreen(GUIDirector::kTutorial));
    }();
    tutorial = screen;
    return director;
}

// The debug podium over the main menu.
GUIDirector& Podium() {
    static GUIDirector director([](GUIDirector& made) {
        made.RegisterScreen(GUIDirector::kChampionshipPodium, std::make_unique<GUIChampionshipPodium>(made));
    });
    static const bool shown = [] {
        Application::GetInstance().matchSetup.podium = {"data/players/bubbles.xml", "data/players/sprout.xml",
                                                        "data/players/hooligan.xml"};
        director.PushScreen(GUIDirector::kMainMenu);
        director.PushScreen(GUIDirector::kChampionshipPodium);
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

// One frame of the director's screens; before each, the untimed preparation when there is one.
void ScreenFrame(benchmark::State& state, GUIDirector& director, const std::function<void()>& prepare = {}) {
    Stage& stage = GetStage();
    Application& application = Application::GetInstance();
    bench_support::FrameCpuClock cpu;
    for (auto _ : state) {
        if (prepare) {
            state.PauseTiming();
            prepare();
            state.ResumeTiming();
        }
        cpu.Start();
        // The game plays each frame's movies under one script budget, as here.
        const MovieFrame frame;
        application.clear();
        director.Update(kStep);
        director.Draw(application);
        EndFrame(stage, application);
        cpu.Stop();
    }
    cpu.Report(state);
}

void BM_MainMenuFrame(benchmark::State& state) {
    GetStage();
    GUIDirector& director = Menu();
    ScreenFrame(state, director);
    state.counters["hint_waits"] = director.GetHint().IsWaiting() ? 1 : 0;
}
BENCHMARK(BM_MainMenuFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", Min);

void BM_QuickMatchSelectionFrame(benchmark::State& state) {
    GetStage();
    GUIDirector& director = Selection();
    ScreenFrame(state, director);
    const auto& screen = static_cast<const GUIPlayerSelection&>(*director.GetScreen(GUIDirector::kQuickMatchSelection));
    state.counters["portraits"] = static_cast<double>(screen.GetGrid().GetPoolItems().size());
    state.counters["chosen"] = static_cast<double>(screen.GetGrid().GetChosen().size());
}
BENCHMARK(BM_QuickMatchSelectionFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", Min);

void BM_MatchOverFrame(benchmark::State& state) {
    GetStage();
    GUIDirector& director = MatchOver();
    ScreenFrame(state, director);
    const auto& over = static_cast<const GUIMatchOver&>(*director.GetScreen(GUIDirector::kMatchOver));
    state.counters["on_top"] = director.GetIds().empty() ? 0 : director.GetIds().front();
    state.counters["winner_copy"] = over.GetCopy() != nullptr ? 1 : 0;
}
BENCHMARK(BM_MatchOverFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", Min);

void BM_MatchTableFrame(benchmark::State& state) {
    GetStage();
    GUIDirector& director = MatchTable();
    ScreenFrame(state, director);
    const auto& table =
        static_cast<const GUIChampionshipMatchTable&>(*director.GetScreen(GUIDirector::kChampionshipMatchTable));
    state.counters["portraits"] = static_cast<double>(table.GetPortraits().size());
}
BENCHMARK(BM_MatchTableFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", Min);

void BM_GetReadyFrame(benchmark::State& state) {
    GetStage();
    GUIDirector& director = GetReady();
    ScreenFrame(state, director);
    const auto& ready =
        static_cast<const GUIChampionshipGetReady&>(*director.GetScreen(GUIDirector::kChampionshipGetReady));
    state.counters["on_top"] = director.GetIds().empty() ? 0 : director.GetIds().front();
    state.counters["claimed"] = ready.GetPlayer(0) != nullptr && ready.GetPlayer(0)->IsBound() ? 1 : 0;
}
BENCHMARK(BM_GetReadyFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", Min);
void BM_TitleFrame(benchmark::State& state) {
    GetStage();
    GUIGameTitle* title = nullptr;
    GUIDirector& director = Title(title);
    // The demonstration plays on: before its recording runs out or the movie leaves the title,
    // the title starts again.
    ScreenFrame(state, director, [&] {
        if (director.GetCurrentScreenId() != GUIDirector::kTitle ||
            title->GetRecording()->NextFrameTime() >= EventPlayer::kNoFrameLeft) {
            director.PopAll();
            title->Load("data/gui/gametitle.xml");
            director.PushScreen(GUIDirector::kTitle);
        }
    });
}
BENCHMARK(BM_TitleFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", Min);

void BM_TutorialBlock7Frame(benchmark::State& state) {
    GetStage();
    GUITutorial* tutorial = nullptr;
    GUIDirector& director = TutorialBlock7(tutorial);
    // Before the block's recording runs out, the block starts again.
    ScreenFrame(state, director, [&] {
        if (tutorial->GetRecording() == nullptr ||
            tutorial->GetRecording()->NextFrameTime() >= EventPlayer::kNoFrameLeft) {
            director.OnFSCommand("block07");
        }
    });
    state.counters["block"] = tutorial->GetBlock();
    state.counters["balls"] =
        tutorial->GetLevel() != nullptr ? static_cast<double>(tutorial->GetLevel()->GetBalls().size()) : 0.0;
}
BENCHMARK(BM_TutorialBlock7Frame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", Min);

void BM_StatisticsFrame(benchmark::State& state) {
    GetStage();
    GUIDirector& director = Statistics();
    ScreenFrame(state, director);
    const auto& screen = static_cast<const GUIStatistics&>(*director.GetScreen(GUIDirector::kStatistics));
    state.counters["rows"] = static_cast<double>(screen.GetRows().size());
}
BENCHMARK(BM_StatisticsFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", Min);

void BM_PodiumFrame(benchmark::State& state) {
    GetStage();
    GUIDirector& director = Podium();
    auto& podium = static_cast<GUIChampionshipPodium&>(*director.GetScreen(GUIDirector::kChampionshipPodium));
    // The scene from its start, past the movie's names and buttons, with its script still running.
    podium.Activate();
    for (int i = 0; i < 240; ++i) {
        director.Update(kStep);
    }
    ScreenFrame(state, director);
    const GameLayer& scene = *podium.GetSceneLayer();
    state.counters["creatures"] = scene.GetGame() ? static_cast<double>(scene.GetGame()->GetCreatures().size()) : 0;
    state.counters["script_running"] = scene.GetScript()->NextFrameTime() < EventPlayer::kNoFrameLeft ? 1 : 0;
}
BENCHMARK(BM_PodiumFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", Min);

void BM_EmptyFrame(benchmark::State& state) {
    Stage& stage = GetStage();
    Application& application = Application::GetInstance();
    bench_support::FrameCpuClock cpu;
    for (auto _ : state) {
        cpu.Start();
        application.clear();
        EndFrame(stage, application);
        cpu.Stop();
    }
    cpu.Report(state);
}
BENCHMARK(BM_EmptyFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->ComputeStatistics("min", Min);

}  // namespace
