// The game plays everything of one frame (the screens' updates and drawing, the movies a push
// loads) under one script budget, the frame that the application opens around it. The shipped
// screens play far within it: with a budget of a hundredth of the game's, each is pushed and
// played for two seconds, every frame inside a frame of its own as the application runs them, and
// no frame runs out of its budget, so no script of theirs is ever cut.
#include "flash/FlashMovie.h"
#include "gui/GameScreens.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "tests/gui/ScreenTestBase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gui_testing {
namespace {

using swfplayer::instruction_budget;

constexpr float kStep = 0.02f;
// Two seconds of frames of one update step each.
constexpr int kFrames = 100;

std::vector<std::string> g_Stops;

class ScreenFrameBudget : public ScreenTestBase {
protected:
    void SetUp() override {
        ScreenTestBase::SetUp();
        preferences.hintGameControls = false;
        preferences.hintMenuControls = false;
        m_Previous = swfplayer::register_log_callback([](bool, const char* message) {
            if (std::string(message).find("script stopped") != std::string::npos) {
                g_Stops.push_back(message);
            }
        });
        g_Stops.clear();
        m_Budget = instruction_budget::get_budget();
        instruction_budget::set_budget(instruction_budget::default_budget / 100);
        director.emplace();
        RegisterGameScreens(*director);
        FreshDuel();
        Application::GetInstance().matchSetup.podium = {"data/players/bubbles.xml", "data/players/sprout.xml",
                                                        "data/players/hooligan.xml"};
    }
    void TearDown() override {
        director.reset();
        instruction_budget::set_budget(m_Budget);
        swfplayer::register_log_callback(m_Previous);
        ScreenTestBase::TearDown();
    }

    // Pushes the screen in a frame of its own, then plays kFrames frames.
    void PushAndPlay(int id) {
        {
            const MovieFrame frame;
            director->PushScreen(id);
        }
        NullTarget target;
        for (int i = 0; i < kFrames; ++i) {
            const MovieFrame frame;
            director->Update(kStep);
            director->Draw(target);
        }
    }

    int64_t m_Budget = 0;
    swfplayer::log_callback m_Previous = nullptr;
};

TEST_F(ScreenFrameBudget, every_shipped_screen_plays_each_frame_within_a_hundredth_of_the_budget) {
    for (int id : {GUIDirector::kTitle, GUIDirector::kMainMenu, GUIDirector::kQuickMatchSelection,
                   GUIDirector::kTrainingSelection, GUIDirector::kLevelSelection, GUIDirector::kStatistics,
                   GUIDirector::kChampionshipGlobbos, GUIDirector::kChampionshipPodium, GUIDirector::kGame,
                   GUIDirector::kPaused}) {
        SCOPED_TRACE(id);
        PushAndPlay(id);
        EXPECT_EQ(director->GetCurrentScreenId(), id);
    }
    EXPECT_TRUE(g_Stops.empty()) << g_Stops.front();
}

}  // namespace
}  // namespace gui_testing
