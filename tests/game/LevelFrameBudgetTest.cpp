// A level's bodies each play a movie of their own, and one frame of the game plays them all: under
// the frame the application opens, their scripts share one budget however many bodies the level
// holds and however many update steps the frame runs. Bodies whose movies loop for ever thus cost
// a game frame one budget's time, not one each.
#include "app/FrameSteps.h"
#include "flash/FlashMovie.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "tests/game/LevelTestKit.h"
#include "tests/swfplayer/main/player/HostileMovies.h"

#include <ctime>
#include <string>
#include <utility>

namespace {

using namespace level_testing;
using swfplayer::instruction_budget;

// The bodies of the test's level, each drawn by the endless movie.
constexpr int kBodies = 8;
// The line the player logs when a frame's budget runs out.
constexpr const char* kStopped = "script stopped after";

int g_Stops = 0;

// A level of kBodies fixed bodies whose movie loops for ever, and the player's budget stops
// counted (its other log lines are dropped). Each frame's budget is budget instructions.
class LevelFrameBudget : public LevelFolder {
protected:
    void SetUp() override {
        LevelFolder::SetUp();
        m_Previous = swfplayer::register_log_callback([](bool, const char* message) {
            g_Stops += std::string(message).find(kStopped) != std::string::npos ? 1 : 0;
        });
        m_Budget = instruction_budget::get_budget();
        // Small enough that a spent budget takes milliseconds.
        instruction_budget::set_budget(200000);
        Write("data/endless.swf", hostile_movies::EndlessLoops());
        LevelData data;
        for (int i = 0; i < kBodies; ++i) {
            data.m_Bodies.push_back(
                Body("body" + std::to_string(i), {static_cast<float>(i * 3 - 12), 0.0f}, 0.0f, {Polygon(Box(1, 1))}));
            data.m_Bodies.back().m_FlashFile = "data/endless.swf";
        }
        Write("data/levels/endless.xml", data);
        g_Stops = 0;
    }
    void TearDown() override {
        instruction_budget::set_budget(m_Budget);
        swfplayer::register_log_callback(m_Previous);
        LevelFolder::TearDown();
    }

    bool LoadLevel() { return m_Level.Load("data/levels/endless.xml", nullptr); }
    // The update steps of one frame of the game at its longest, as the application runs them.
    void UpdateSteps() {
        for (int step = 0; step < kMaxStepsPerFrame; ++step) {
            m_Level.Update(nullptr, kMaxStepSeconds);
        }
    }
    // One frame of the game: the update steps inside the frame the application opens.
    void GameFrame() {
        const MovieFrame frame;
        UpdateSteps();
    }
    // The budget stops logged since the last call.
    int TakeStops() { return std::exchange(g_Stops, 0); }

    Level m_Level;
    int64_t m_Budget = 0;
    swfplayer::log_callback m_Previous = nullptr;
};

TEST_F(LevelFrameBudget, loading_the_level_inside_a_game_frame_spends_one_budget_for_all_its_bodies) {
    {
        const MovieFrame frame;
        ASSERT_TRUE(LoadLevel());
    }
    EXPECT_EQ(TakeStops(), 1);
    ASSERT_EQ(m_Level.GetElements().size(), static_cast<size_t>(kBodies));
    // Loaded with no frame open, each body's movie spends a budget of its own as it is prepared.
    Level alone;
    ASSERT_TRUE(alone.Load("data/levels/endless.xml", nullptr));
    EXPECT_EQ(TakeStops(), kBodies);
}

TEST_F(LevelFrameBudget, every_game_frame_spends_one_budget_for_all_bodies_and_steps) {
    {
        const MovieFrame frame;
        ASSERT_TRUE(LoadLevel());
    }
    TakeStops();
    for (int frame = 0; frame < 3; ++frame) {
        GameFrame();
        EXPECT_EQ(TakeStops(), 1) << "frame " << frame;
    }
    // Advanced with no frame open (a tool, a player's test), each movie is a frame of its own: every
    // tick of every body spends a budget.
    UpdateSteps();
    EXPECT_GE(TakeStops(), kBodies * kMaxStepsPerFrame / 2);
}

// The frame's time, measured in processor time so that other work on the machine does not count:
// a game frame of the eight bodies takes about what one endless movie played alone takes.
TEST_F(LevelFrameBudget, a_game_frame_of_endless_bodies_takes_about_the_time_of_one_budget) {
    instruction_budget::set_budget(instruction_budget::default_budget / 10);
    {
        const MovieFrame frame;
        ASSERT_TRUE(LoadLevel());
    }
    FlashMovie single("data/endless.swf");
    ASSERT_TRUE(single.GetRoot());
    TakeStops();
    const std::clock_t singleStart = std::clock();
    single.Advance(single.GetRoot()->get_frame_time());
    const double singleSeconds = static_cast<double>(std::clock() - singleStart) / CLOCKS_PER_SEC;
    EXPECT_EQ(TakeStops(), 1);
    const std::clock_t frameStart = std::clock();
    GameFrame();
    const double frameSeconds = static_cast<double>(std::clock() - frameStart) / CLOCKS_PER_SEC;
    EXPECT_EQ(TakeStops(), 1);
    EXPECT_LT(frameSeconds, 1.5 * singleSeconds) << "one movie: " << singleSeconds << " s";
}

}  // namespace
