// A bot's decision step beside the match step it runs in, over bot-against-bot matches on every
// shipped arena played one after another (a new match when one ends or after two minutes of
// play). Each iteration is one frame of 0.02 s: both bots think, then the match steps.
// BM_BotThink times one bot's Think, BM_MatchStep the match's Update (without the bots);
// whatever is not timed still runs, so both see the same kind of play. Counters per run: the
// median and the worst frame in microseconds of the thread's processor time (Think's worst is a
// re-plan: the path grid's walls and A* searches). Targets: Think's median at most 20 us, its
// worst frame at most 1 ms; its share of a frame is its median over the sum of both medians.
// Needs the build's game folder and an X display for the application's window. Run:
//   ALSOFT_DRIVERS=null xvfb-run -a bench_game_bot --benchmark_enable_random_interleaving=true
//   --benchmark_repetitions=10
#include "app/Application.h"
#include "bench/GameBenchmarkKit.h"
#include "game/Bot.h"
#include "game/LevelWindmill.h"
#include "game/SpitGame.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr float kStep = 0.02f;
constexpr int kMaxFrames = 6000;
const char* const kLevels[] = {"data/levels/1_nanomill.xml", "data/levels/2_nanomill.xml",
                               "data/levels/3_flipperreef.xml", "data/levels/4_portalgrotto.xml",
                               "data/levels/5_biglagoon.xml"};
const char* const kBots[] = {"data/ais/1_blaze.xml", "data/ais/2_bleep.xml", "data/ais/3_duke.xml"};

// Bot-against-bot matches, one after another, each bot steering its creature from outside the
// match (which has no bot of its own), so that the bots' thinking and the match's step can be
// timed apart.
class Matches {
public:
    Matches() { Next(); }
    // The sounds go with the matches, while the audio library's error stream made during them is
    // still there for their last words.
    ~Matches() {
        Stop();
        SoundManager::GetInstance().StopMusic();
        SoundManager::GetInstance().Clear();
    }

    Bot& Player1() { return *m_Bot1; }
    Bot& Player2() { return *m_Bot2; }
    // One step of the match; false once it has ended or has run long enough.
    bool Step() {
        ++m_Frames;
        SoundManager::GetInstance().Update();  // ended effects give their sources back, as in the game
        return m_Game->Update(Application::GetInstance(), kStep) && m_Frames < kMaxFrames;
    }
    // The next match, on the next arena.
    void Next() {
        Stop();
        const std::string level = kLevels[m_Match % 5];
        const char* bot1 = kBots[m_Match % 3];
        const char* bot2 = kBots[(m_Match / 3 + m_Match + 1) % 3];
        ++m_Match;
        m_Level = level == Level::kWindmillLevel ? std::make_unique<LevelWindmill>() : std::make_unique<Level>();
        m_Game = std::make_unique<SpitGame>(level, m_Level.get(), true, bot1, bot2);
        m_Game->OnFSCommand("Go");
        m_Bot1 = std::make_unique<Bot>(*m_Game->GetGlobbo1(), *m_Game->GetGlobbo2(), *m_Level);
        m_Bot1->LoadSettings(bot1);
        m_Bot2 = std::make_unique<Bot>(*m_Game->GetGlobbo2(), *m_Game->GetGlobbo1(), *m_Level);
        m_Bot2->LoadSettings(bot2);
        m_Frames = 0;
    }

private:
    void Stop() {
        m_Bot1.reset();
        m_Bot2.reset();
        m_Game.reset();
        m_Level.reset();
    }

    std::unique_ptr<Level> m_Level;
    std::unique_ptr<SpitGame> m_Game;
    std::unique_ptr<Bot> m_Bot1;
    std::unique_ptr<Bot> m_Bot2;
    int m_Match = 0;
    int m_Frames = 0;
};

Matches& TheMatches() {
    game_benchmark::MountGameFolder();
    static Matches matches;
    return matches;
}

// The thread's processor time in seconds: a frame's cost without the other programs of a busy
// machine.
double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The frame times' median and worst, in microseconds.
void Report(benchmark::State& state, std::vector<double>& frames) {
    std::sort(frames.begin(), frames.end());
    state.counters["median_us"] = frames[frames.size() / 2] * 1e6;
    state.counters["worst_us"] = frames.back() * 1e6;
}

void BM_BotThink(benchmark::State& state) {
    Matches& matches = TheMatches();
    std::vector<double> frames;
    for (auto _ : state) {
        const double start = CpuSeconds();
        matches.Player2().Think(kStep);
        frames.push_back(CpuSeconds() - start);
        state.SetIterationTime(frames.back());
        matches.Player1().Think(kStep);
        if (!matches.Step()) {
            matches.Next();
        }
    }
    Report(state, frames);
}

void BM_MatchStep(benchmark::State& state) {
    Matches& matches = TheMatches();
    std::vector<double> frames;
    for (auto _ : state) {
        matches.Player2().Think(kStep);
        matches.Player1().Think(kStep);
        const double start = CpuSeconds();
        const bool running = matches.Step();
        frames.push_back(CpuSeconds() - start);
        state.SetIterationTime(frames.back());
        if (!running) {
            matches.Next();
        }
    }
    Report(state, frames);
}

}  // namespace

BENCHMARK(BM_BotThink)
    ->Iterations(20000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", game_benchmark::Min);
BENCHMARK(BM_MatchStep)
    ->Iterations(20000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->ComputeStatistics("min", game_benchmark::Min);
