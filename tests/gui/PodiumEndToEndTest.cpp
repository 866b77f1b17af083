// The game under a virtual X server, driven with real key presses: Alt+O on the main menu shows
// the debug podium, its three creatures at their places in their body colours and their names
// once the movie has named them; "Stats" opens the statistics over it and Back returns to it;
// "MainMenu" returns to the main menu, and "quit" ends the game cleanly.
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/PodiumView.h"
#include "tests/support/BoundedRun.h"
#include "tests/support/GameProcess.h"
#include "tests/support/TextLines.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>

#include <thread>

namespace gui_testing {
namespace {

using testing_support::Rgb;

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The body colours of the debug podium's champion, runner-up and third: Bubbles, Sprout and
// Hooligan.
const std::vector<Rgb> kBodies = {{60, 190, 255}, {120, 215, 60}, {255, 110, 40}};

class PodiumEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(game.Start({PONDORIX_EXECUTABLE}));
        x.MoveResize(game.GetWindow(), kWidth, kHeight);
        // Skipping the title puts the quick match's selection over the main menu: Back leaves it.
        ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 5"));
        std::this_thread::sleep_for(std::chrono::seconds(1));
        ASSERT_TRUE(game.Keys({"Escape"}));
        ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 5"));
    }

    // Whether each creature's body shows in its colour at its place.
    testing::AssertionResult CreaturesShow() {
        std::string seen;
        const bool shown = testing_support::WaitUntil(
            [&] {
                const auto found = PodiumColours(game, kBodies);
                seen = found ? std::to_string((*found)[0]) + " " + std::to_string((*found)[1]) + " " +
                                   std::to_string((*found)[2])
                             : "unreadable";
                return found && *found == std::array<int, 3>{0, 1, 2};
            },
            std::chrono::seconds(10));
        return shown ? testing::AssertionSuccess() : testing::AssertionFailure() << "places show " << seen;
    }

    testing_support::X11TestDisplay x{1024, 768};
    testing_support::GameProcess game{x, PONDORIX_GAME_DIR,
                                      "<userpreferences name=\"prefs\" skipMenu=\"true\" hintMenuControls=\"false\"/>"};
};

TEST_F(PodiumEndToEnd, alt_o_shows_the_debug_podium_its_statistics_and_the_way_back) {
    ASSERT_TRUE(game.Keys({"alt+o"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 12"));
    // The champion's name waits two seconds for the movie's command; the sanitizer build's game is
    // too slow for a look within them.
    if (testing_support::kSanitizerSlowdown == 1) {
        EXPECT_EQ(NameInk(game)[0], 0);
    }
    EXPECT_TRUE(CreaturesShow());
    // The movie names the places and shows its buttons.
    ASSERT_TRUE(PodiumButtonsShow(game));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_TRUE(CreaturesShow());
    const std::array<int, 3> ink = NameInk(game);
    for (size_t place = 0; place < 3; ++place) {
        EXPECT_GT(ink[place], 5) << place;
    }
    EXPECT_TRUE(game.Screenshot("podium_debug.png"));

    // The main menu handed its controller over: its cursor is on "PlayAgain"; left of it is
    // "Stats".
    ASSERT_TRUE(game.Keys({"Left", "Return"}, std::chrono::milliseconds(400)));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 16"));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_TRUE(game.Screenshot("podium_statistics.png"));
    ASSERT_TRUE(game.Keys({"Escape"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 16"));
    EXPECT_TRUE(CreaturesShow());

    // The movie shows its buttons again. The statistics had no command to hand over, so the
    // first key shows the cursor on "PlayAgain"; right of it is "MainMenu".
    ASSERT_TRUE(PodiumButtonsShow(game));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(game.Keys({"Right", "Right", "Return"}, std::chrono::milliseconds(400)));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 12"));
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_TRUE(game.Screenshot("podium_main_menu.png"));

    // Left of "newgamepvp" is "quit", which ends the game.
    ASSERT_TRUE(game.Keys({"Left", "Return"}, std::chrono::milliseconds(400)));
    EXPECT_TRUE(game.Ends());
    const std::string log = game.Log();
    for (const std::string& line : testing_support::SplitLines(log)) {
        EXPECT_EQ(line.find(" ERROR: "), std::string::npos) << line << "\n" << log;
    }
    EXPECT_EQ(log.find("PushScreen: 8"), std::string::npos);
}

}  // namespace
}  // namespace gui_testing
