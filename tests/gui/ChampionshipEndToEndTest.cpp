// A three-player championship played from the main menu of the game itself under a virtual X
// server, started with a click on its bubble and played with real key presses: the arrows' player picks three
// creatures, the test level set (the duel level, remembered as the favourite) starts it, the match table shows the
// known portraits, the arrows claim "Player1" and WASD "Player2" before each match, player 1 spits the only ball into
// player 2 until the match is over, "NextMatch" twice and "GetAwards" after the third; the statistics file holds three
// more results. The podium then shows the three creatures at their places in their body colours and names them; "Stats"
// opens the statistics over it and Back returns, "MainMenu" leaves it, and "quit" ends the game.
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/PodiumView.h"
#include "tests/gui/ScreenViews.h"
#include "tests/support/GameProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TextLines.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>

#include <regex>

namespace gui_testing {
namespace {

using namespace std::chrono_literals;

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr const char* kDuel = "data/levels/test_duel.xml";
constexpr const char* kTestSet = "data/levelsets/test_short.xml";

// The match table's places: the centres of matches 1 to 3, player 1 and player 2 (as the game's
// own table movie draws them).
const std::vector<std::pair<int, int>> kPlaces = {{320, 165}, {480, 165}, {320, 277},
                                                  {480, 277}, {320, 389}, {480, 389}};

size_t Records(const std::string& statistics) {
    const std::regex record("<gamestats[^>]*>");
    return static_cast<size_t>(
        std::distance(std::sregex_iterator(statistics.begin(), statistics.end(), record), std::sregex_iterator()));
}

int Difference(const testing_support::Rgb& a, const testing_support::Rgb& b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

class ChampionshipEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        const std::filesystem::path data = game.Folder().Path() / "data";
        std::filesystem::copy(GUI_TEST_DATA "/test_duel.xml", data / "levels/test_duel.xml");
        testing_support::WriteFile(data / "levelsets/test_short.xml",
                                   "<?xml version=\"1.0\" ?>\n<resource>\n<levelset screenshot=\"data/levelsets/"
                                   "first_dive.png\" name=\"data\">\n<array name=\"levels\">\n<element value=\"" +
                                       std::string(kDuel) + "\" />\n</array>\n</levelset>\n</resource>\n");
        ASSERT_TRUE(game.Start({PONDORIX_EXECUTABLE}));
        x.MoveResize(game.GetWindow(), kWidth, kHeight);
        ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 5"));
    }
    std::string Statistics() const {
        const std::filesystem::path file = game.Folder().Path() / "home/Pondorix/data/statistics.xml";
        return std::filesystem::exists(file) ? testing_support::ReadFile(file) : std::string();
    }
    // Both claim their creatures on the get-ready screen (each controller's first key only makes
    // its cursor, on "Player1"), and the match starts a second later.
    void Claim(int match) {
        ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 11", match));
        ASSERT_TRUE(game.Keys({"Return", "Return"}));
        ASSERT_TRUE(game.Keys({"d", "d", "Control_L"}));
        ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 11", match)) << game.Log();
    }
    // Player 1 spits until the match over shows, and the match over lets the players choose once
    // its texts show.
    void PlayToTheEnd(int match) {
        const std::string over = "INFO: GUIDirector::PushScreen: 15";
        const bool ended = testing_support::WaitUntil(
            [&] {
                game.Keys({"Control_R"}, 0ms);
                return CountOf(game.Log(), over) >= match;
            },
            2min, 400ms);
        if (!ended) {
            game.Screenshot("championship_match_not_over.png");
        }
        ASSERT_TRUE(ended) << game.Log();
        ASSERT_TRUE(MatchOverTextShows(game));
    }
    static int CountOf(const std::string& text, const std::string& part) {
        int count = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
            ++count;
        }
        return count;
    }

    testing_support::X11TestDisplay x{1024, 768};
    testing_support::GameProcess game{
        x, PONDORIX_GAME_DIR,
        "<userpreferences name=\"prefs\" skipMenu=\"true\" hintMenuControls=\"false\" hintGameControls=\"false\" "
        "favouriteLevelSet=\"" +
            std::string(kTestSet) + "\"/>"};
};

TEST_F(ChampionshipEndToEnd, three_players_play_a_championship_from_the_menu_to_the_awards) {
    const size_t before = Records(Statistics());
    // From the quick match's selection back to the menu, and a click on the championship's bubble.
    ASSERT_TRUE(game.Keys({"Escape"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 5"));
    // The menu's bubbles take their places.
    ASSERT_TRUE(game.RunGameTime(std::chrono::milliseconds(700)));
    const std::pair<int, int> championship = MainMenuClipCentre("newgamechampionship");
    ASSERT_TRUE(game.ClickUntilLog(championship.first, championship.second, "INFO: GUIDirector::PushScreen: 8"))
        << game.Log();
    // Three creatures by the arrows: up twice from "Start" is the first row; each choice moves the
    // cursor onto its slot, from where up twice is the first row's first creature left.
    for (const std::vector<std::string>& keys : {std::vector<std::string>{"Up", "Up", "Return"},
                                                 {"Up", "Up", "Right", "Return"},
                                                 {"Up", "Up", "Right", "Right", "Return"}}) {
        ASSERT_TRUE(game.Keys(keys));
    }
    EXPECT_TRUE(game.Screenshot("championship_selection.png"));
    // Down from the slots is "Start".
    ASSERT_TRUE(game.Keys({"Down", "Return"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 9")) << game.Log();
    EXPECT_TRUE(game.Screenshot("championship_level_sets.png"));
    ASSERT_TRUE(game.Keys({"Return"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 10")) << game.Log();
    // Match 1's two players and match 2's first are known; the other three places are open (on
    // rows of slightly different colours), once the table has drawn them.
    std::string seen;
    EXPECT_TRUE(testing_support::WaitUntil(
        [&] {
            const std::vector<testing_support::Rgb> p =
                game.ReadPixels(kPlaces).value_or(std::vector<testing_support::Rgb>());
            if (p.size() != kPlaces.size()) {
                return false;
            }
            seen.clear();
            for (const testing_support::Rgb& c : p) {
                seen += "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ") ";
            }
            return Difference(p[3], p[4]) < 40 && Difference(p[4], p[5]) < 40 && Difference(p[0], p[3]) > 120 &&
                   Difference(p[1], p[3]) > 120 && Difference(p[2], p[3]) > 120;
        },
        testing_support::GameProcess::kTimeout))
        << "places show " << seen;
    EXPECT_TRUE(game.Screenshot("championship_table.png"));

    for (int match = 1; match <= 3; ++match) {
        SCOPED_TRACE(match);
        if (match > 1) {
            ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 10", match));
        }
        ASSERT_TRUE(game.Keys({"Return"}));
        ASSERT_NO_FATAL_FAILURE(Claim(match));
        ASSERT_NO_FATAL_FAILURE(PlayToTheEnd(match));
        if (match == 3) {
            EXPECT_TRUE(game.Screenshot("championship_awards.png"));
        }
        // The focus rests on "NextMatch", after the last match on "GetAwards".
        ASSERT_TRUE(game.Keys({"Return"}));
    }
    // The awards: the podium (where the game has one) after the match and its match over go.
    const bool awarded = testing_support::WaitUntil(
        [&] {
            const std::string log = game.Log();
            return log.find("PushScreen: 12") != std::string::npos || log.find("no screen 12") != std::string::npos;
        },
        testing_support::GameProcess::kTimeout, 200ms);
    EXPECT_TRUE(awarded) << game.Log();
    EXPECT_EQ(game.Log().find("no next match"), std::string::npos) << game.Log();
    EXPECT_EQ(Records(Statistics()), before + 3) << Statistics();

    // The podium: three different creatures of the game, each at its place in its body colour,
    // named once the movie has shown its buttons.
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 12")) << game.Log();
    ASSERT_TRUE(PodiumButtonsShow(game));
    const std::vector<testing_support::Rgb> bodies = {{255, 115, 195}, {60, 190, 255}, {255, 110, 40},
                                                      {160, 95, 235},  {120, 215, 60}, {255, 210, 30}};
    // The champion hops now and then: the places are read while all three rest.
    std::array<int, 3> standing{-1, -1, -1};
    EXPECT_TRUE(testing_support::WaitUntil(
        [&] {
            standing = PodiumColours(game, bodies).value_or(standing);
            return standing[0] >= 0 && standing[1] >= 0 && standing[2] >= 0;
        },
        testing_support::GameProcess::kTimeout, 100ms))
        << standing[0] << " " << standing[1] << " " << standing[2];
    EXPECT_NE(standing[0], standing[1]);
    EXPECT_NE(standing[1], standing[2]);
    EXPECT_NE(standing[0], standing[2]);
    const std::array<int, 3> ink = NameInk(game);
    for (size_t place = 0; place < 3; ++place) {
        EXPECT_GT(ink[place], 5) << place;
    }
    EXPECT_TRUE(game.Screenshot("championship_podium.png"));

    // The arrows' cursor came over from the match table onto "PlayAgain"; left of it is "Stats".
    ASSERT_TRUE(game.Keys({"Left", "Return"}, 400ms));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 16")) << game.Log();
    EXPECT_TRUE(game.Screenshot("championship_podium_statistics.png"));
    ASSERT_TRUE(game.Keys({"Escape"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 16")) << game.Log();
    // Back on the podium, from its start; the first key shows the cursor on "PlayAgain", right of
    // it is "MainMenu".
    ASSERT_TRUE(PodiumButtonsShow(game));
    ASSERT_TRUE(game.Keys({"Right", "Right", "Return"}, 400ms));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 12")) << game.Log();
    EXPECT_TRUE(game.Screenshot("championship_after_podium.png"));

    // Left of "newgamepvp" is "quit", which ends the game cleanly.
    ASSERT_TRUE(game.Keys({"Left", "Return"}, 400ms));
    EXPECT_TRUE(game.Ends());
    EXPECT_TRUE(game.Log().ends_with(" INFO: ============== Logging finished ==============\n")) << game.Log();
    EXPECT_EQ(Records(Statistics()), before + 3) << Statistics();
}

}  // namespace
}  // namespace gui_testing
