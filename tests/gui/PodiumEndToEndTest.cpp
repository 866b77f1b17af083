// The game under a virtual X server, driven with real key presses: Alt+O on the main menu shows
// the debug podium, its three creatures at their places in their body colours and their names
// as the movie's time comes to them (held and stepped with the game's debug keys); "Stats" opens
// the statistics over it and Back returns to it; "MainMenu" returns to the main menu, and "quit"
// ends the game cleanly.
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/PodiumView.h"
#include "tests/support/GameProcess.h"
#include "tests/support/TextLines.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>

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
            testing_support::GameProcess::kTimeout);
        return shown ? testing::AssertionSuccess() : testing::AssertionFailure() << "places show " << seen;
    }

    testing_support::X11TestDisplay x{1024, 768};
    testing_support::GameProcess game{x, PONDORIX_GAME_DIR,
                                      "<userpreferences name=\"prefs\" skipMenu=\"true\" hintMenuControls=\"false\"/>"};
};

TEST_F(PodiumEndToEnd, alt_o_shows_the_debug_podium_its_statistics_and_the_way_back) {
    // The game pauses (its debug key) before the podium shows, so the podium stays at its start
    // however long each look takes: the creatures stand at their places and no name is written.
    ASSERT_TRUE(game.Keys({"p", "alt+o"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 12"));
    EXPECT_TRUE(CreaturesShow());
    EXPECT_EQ(NameInk(game), (std::array<int, 3>{0, 0, 0}));
    // The movie names the third place half a second into its time, the second a little over a
    // second in and the champion at two seconds: a second and a half of the game's time names
    // the two lower places only.
    ASSERT_TRUE(game.StepGame(std::chrono::milliseconds(1500)));
    std::array<int, 3> ink{};
    EXPECT_TRUE(testing_support::WaitUntil(
        [&] {
            ink = NameInk(game);
            return ink[1] > 5 && ink[2] > 5;
        },
        testing_support::GameProcess::kTimeout))
        << ink[1] << " " << ink[2];
    EXPECT_EQ(NameInk(game)[0], 0);
    // Going on, the movie names the champion before it shows its buttons.
    ASSERT_TRUE(game.Keys({"p"}));
    ASSERT_TRUE(PodiumButtonsShow(game));
    EXPECT_TRUE(CreaturesShow());
    ink = NameInk(game);
    for (size_t place = 0; place < 3; ++place) {
        EXPECT_GT(ink[place], 5) << place;
    }
    EXPECT_TRUE(game.Screenshot("podium_debug.png"));

    // The main menu handed its controller over: its cursor is on "PlayAgain"; left of it is
    // "Stats".
    ASSERT_TRUE(game.Keys({"Left", "Return"}, std::chrono::milliseconds(400)));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 16"));
    EXPECT_TRUE(game.Screenshot("podium_statistics.png"));
    ASSERT_TRUE(game.Keys({"Escape"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 16"));
    EXPECT_TRUE(CreaturesShow());

    // The movie shows its buttons again, which lets the controllers in. The statistics had no
    // command to hand over, so the first key shows the cursor on "PlayAgain"; right of it is
    // "MainMenu".
    ASSERT_TRUE(PodiumButtonsShow(game));
    ASSERT_TRUE(game.Keys({"Right", "Right", "Return"}, std::chrono::milliseconds(400)));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 12"));
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
