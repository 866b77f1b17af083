// A quick match played from the menus of the game itself under a virtual X server, with real key
// presses: the game opens on the quick-match selection over its main menu (through the preference
// that skips the title), the arrows' player and the WASD player each pick a creature, the level
// selection shows the duel level remembered as the favourite, player 1 spits the only ball into
// player 2 until the match over shows the winner, and the main menu and "quit" end the game with
// one more statistics record. A second game ends its match from the pause and keeps no record. A
// third shows the statistics after the match (its names and scores) and from the menu (the
// overall table with the match's players).
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/ScreenViews.h"
#include "tests/support/GameProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TextLines.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>

#include <array>
#include <regex>

namespace gui_testing {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr const char* kDuel = "data/levels/test_duel.xml";

using testing_support::Rgb;

// The match results in the statistics file.
std::vector<std::string> Records(const std::string& statistics) {
    std::vector<std::string> records;
    const std::regex record("<gamestats[^>]*>[\\s\\S]*?</gamestats>");
    for (auto it = std::sregex_iterator(statistics.begin(), statistics.end(), record); it != std::sregex_iterator();
         ++it) {
        records.push_back(it->str());
    }
    return records;
}

class QuickMatchEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(GUI_TEST_DATA "/test_duel.xml", game.Folder().Path() / kDuel);
        ASSERT_NO_FATAL_FAILURE(Launch());
    }
    void Launch() {
        ASSERT_TRUE(game.Start({PONDORIX_EXECUTABLE}));
        x.MoveResize(game.GetWindow(), kWidth, kHeight);
        ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 4"));
    }
    std::string Statistics() const {
        const std::filesystem::path file = game.Folder().Path() / "home/Pondorix/data/statistics.xml";
        return std::filesystem::exists(file) ? testing_support::ReadFile(file) : std::string();
    }
    // From the quick-match selection to the match: the arrows' player picks with the return key
    // and the WASD player with its left control key, then "Start" and the level showing.
    void StartQuickMatch() {
        ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 5"));
        // Both players move one cursor, which waits on "Start". Up from "Start" is the last row's
        // first creature, up again the first row's.
        ASSERT_TRUE(game.Keys({"Up", "Up", "Return"}));
        // The cursor moved onto the filled slot; up from there is the last row's first creature.
        ASSERT_TRUE(game.Keys({"w", "Control_L"}));
        EXPECT_TRUE(game.Screenshot("quick_match_selection.png"));
        // The cursor moved onto the second slot; right of it is "Start".
        ASSERT_TRUE(game.Keys({"Right", "Return"}));
        ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 7"));
        EXPECT_TRUE(game.Screenshot("level_selection.png"));
        ASSERT_TRUE(game.Keys({"Return"}));
        ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 13"));
    }
    // Plays until the match over shows and takes keys: player 1 holds the ball from the start and
    // spits it into player 2 below (spits during the countdown do nothing).
    void PlayToMatchOver() {
        const bool over = testing_support::WaitUntil(
            [&] {
                game.Keys({"Control_R"}, std::chrono::milliseconds(0));
                return game.Log().find("INFO: GUIDirector::PushScreen: 15") != std::string::npos;
            },
            std::chrono::minutes(2), std::chrono::milliseconds(400));
        if (!over) {
            game.Screenshot("match_not_over.png");
        }
        ASSERT_TRUE(over) << game.Log();
        // The winner flies to the middle and the caption shows under it.
        ASSERT_TRUE(MatchOverTextShows(game));
    }
    // Main menu: left of the first item is "quit".
    void Quit() {
        ASSERT_TRUE(game.Keys({"Left", "Return"}));
        EXPECT_TRUE(game.Ends());
        const std::string log = game.Log();
        EXPECT_TRUE(log.ends_with(" INFO: ============== Logging finished ==============\n")) << log;
        EXPECT_EQ(log.find(" ERROR: "), std::string::npos) << log;
    }

    testing_support::X11TestDisplay x{1024, 768};
    testing_support::GameProcess game{
        x, PONDORIX_GAME_DIR,
        "<userpreferences name=\"prefs\" skipMenu=\"true\" hintMenuControls=\"false\" favouriteLevel=\"" +
            std::string(kDuel) + "\"/>"};
};

TEST_F(QuickMatchEndToEnd, two_players_play_a_quick_match_from_the_menu_and_back) {
    ASSERT_NO_FATAL_FAILURE(StartQuickMatch());
    ASSERT_NO_FATAL_FAILURE(PlayToMatchOver());
    EXPECT_TRUE(game.Screenshot("match_over.png"));

    // "PlayAgain" has the focus: one step right is "MainMenu" (from "Stats" it would be
    // "PlayAgain").
    ASSERT_TRUE(game.Keys({"Right", "Return"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 13"));
    const std::string log = game.Log();
    EXPECT_EQ(log.find("PushScreen: 5", log.find("PopScreen: 13")), std::string::npos) << log;
    ASSERT_NO_FATAL_FAILURE(Quit());

    // One record: player 1 won, with both creatures named.
    const std::vector<std::string> records = Records(Statistics());
    ASSERT_EQ(records.size(), 1u) << Statistics();
    EXPECT_NE(records[0].find("winner=\"1\""), std::string::npos) << records[0];
    const std::regex ids(
        "playerId=\"([^\"]+)\"[^>]*name=\"player1\"[\\s\\S]*playerId=\"([^\"]+)\"[^>]*name=\"player2\"");
    std::smatch names;
    ASSERT_TRUE(std::regex_search(records[0], names, ids)) << records[0];
    EXPECT_NE(names[1].str(), names[2].str());
    // The preferences keep the level played and the hint seen.
    EXPECT_NE(game.Preferences().find("favouriteLevel=\"data/levels/test_duel.xml\""), std::string::npos);
    EXPECT_NE(game.Preferences().find("hintGameControls=\"false\""), std::string::npos);

    // A second game: the match is ended from the pause and keeps nothing.
    ASSERT_NO_FATAL_FAILURE(Launch());
    const std::string before = Statistics();
    ASSERT_NO_FATAL_FAILURE(StartQuickMatch());
    ASSERT_TRUE(game.Keys({"Escape"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 14"));
    EXPECT_TRUE(game.Screenshot("paused.png"));
    ASSERT_TRUE(game.Keys({"Right", "Return"}));
    // The log starts anew with each game: the menu's second push.
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 4", 2));
    ASSERT_NO_FATAL_FAILURE(Quit());
    EXPECT_EQ(Statistics(), before);
}

TEST_F(QuickMatchEndToEnd, the_statistics_show_the_match_after_it_and_the_table_from_the_menu) {
    ASSERT_NO_FATAL_FAILURE(StartQuickMatch());
    ASSERT_NO_FATAL_FAILURE(PlayToMatchOver());
    // "PlayAgain" has the focus: "Stats" is left of it.
    ASSERT_TRUE(game.Keys({"Left", "Return"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 16"));
    // The names in black on their band (black, not the board's blue close to black), the scores
    // in red below them, once the screen has written them.
    const auto black = [](const Rgb& c) {
        return c.r + c.g + c.b < 12;
    };
    const auto red = [](const Rgb& c) {
        return c.r > 150 && c.g < 120 && c.b < 120;
    };
    std::array<int, 3> counts{};
    EXPECT_TRUE(testing_support::WaitUntil(
        [&] {
            counts = {CountPixels(game, 250, 172, 420, 212, black), CountPixels(game, 450, 172, 620, 212, black),
                      CountPixels(game, 280, 215, 340, 265, red)};
            return counts[0] > 20 && counts[1] > 20 && counts[2] > 20;
        },
        testing_support::GameProcess::kTimeout))
        << counts[0] << " " << counts[1] << " " << counts[2];
    EXPECT_TRUE(game.Screenshot("statistics_match.png"));

    // Back to the match over, whose focus is on "PlayAgain" again, then "MainMenu" right of it.
    ASSERT_TRUE(game.Keys({"Escape"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 16"));
    ASSERT_TRUE(game.Keys({"Right", "Return"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 13"));

    // The statistics from the menu ("newgamepvp", right, down): the overall table, its first two
    // rows the match's players.
    ASSERT_TRUE(game.Keys({"Right", "Down", "Return"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 16", 2));
    EXPECT_TRUE(testing_support::WaitUntil([&] { return CountPixels(game, 80, 192, 300, 242, red) > 20; },
                                           testing_support::GameProcess::kTimeout));
    EXPECT_TRUE(game.Screenshot("statistics_overall_after_match.png"));
    // Neither the names nor their cream cards of the current match's view.
    const auto cream = [](const Rgb& c) {
        return c.r > 240 && c.g > 230 && c.b > 195 && c.b < 230;
    };
    EXPECT_EQ(CountPixels(game, 250, 172, 420, 212, black), 0);
    EXPECT_LT(CountPixels(game, 250, 172, 420, 212, cream), 20);
    ASSERT_TRUE(game.Keys({"Escape"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 16", 2));
    // The menu's focus is back on its first item.
    ASSERT_NO_FATAL_FAILURE(Quit());
    EXPECT_EQ(Records(Statistics()).size(), 1u) << Statistics();
    EXPECT_NE(game.Preferences(), "");
}

}  // namespace
}  // namespace gui_testing
