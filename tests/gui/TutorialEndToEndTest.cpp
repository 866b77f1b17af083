// The game itself under a virtual X server, driven with real key presses and a real mouse: the
// title gives way to the main menu, where a click on the tutorial's bubble opens the tutorial;
// every lesson with a match shows its creatures moving, the pause button freezes the arena and
// frees it again, the next button goes through every lesson until the movie ends the tutorial,
// and the main menu comes back with its cursor on "newgamepvp"; "quit" then ends the game
// cleanly, the statistics untouched. Through the lessons the game stays paused (its debug key P)
// and runs only the steps the test gives it: a lesson's recorded match lasts forty seconds of the
// game's time, and a game left running while a busy machine takes its time over each look would
// play it to its end, where the creatures stand still.
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/ScreenViews.h"
#include "tests/support/GameProcess.h"
#include "tests/support/TextLines.h"
#include "tests/support/WaitUntil.h"

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

namespace gui_testing {
namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
// The arena between the lesson card and the buttons.
constexpr unsigned kArenaTop = 180;
constexpr unsigned kArenaBottom = 520;
// The blocks whose lessons start a match, or go on with the match of the block before.
constexpr int kLastBlock = 13;

class TutorialEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(game.Folder().Path() / "home/Pondorix/data");
        testing_support::WriteFile(statistics, kStatistics);
        ASSERT_TRUE(game.Start({PONDORIX_EXECUTABLE}));
        x.MoveResize(game.GetWindow(), kWidth, kHeight);
    }

    // The arena's pixels in a screenshot, as RGB rows.
    std::vector<uint8_t> Arena(const std::string& name) {
        const std::string path = (game.Folder().Path() / name).string();
        sf::Image image;
        if (!game.Screenshot(path) || !image.loadFromFile(path) || image.getSize().y < kArenaBottom) {
            ADD_FAILURE() << "no screenshot " << name;
            return {};
        }
        std::vector<uint8_t> pixels;
        for (unsigned y = kArenaTop; y < kArenaBottom; ++y) {
            for (unsigned x = 0; x < image.getSize().x; ++x) {
                const sf::Color c = image.getPixel(x, y);
                pixels.insert(pixels.end(), {c.r, c.g, c.b});
            }
        }
        return pixels;
    }
    // Whether two screenshots of the arena differ (the creatures move), or are equal, with a
    // third of a second of the game's own time between them, in some try within a few seconds.
    bool Moves(const std::string& name, bool moving) {
        int shot = 0;
        return testing_support::WaitUntil(
            [&] {
                const std::vector<uint8_t> first = Arena(name + "_" + std::to_string(shot++) + ".png");
                const bool ran = Run(std::chrono::milliseconds(300));
                const std::vector<uint8_t> second = Arena(name + "_" + std::to_string(shot++) + ".png");
                return ran && !first.empty() && (first != second) == moving;
            },
            testing_support::GameProcess::kTimeout, std::chrono::milliseconds(10));
    }
    // Presses the focused button with the spit key, once the lesson's card is in and the
    // navigation on again: the card slides in over a quarter of a second of the movie's time
    // after the lesson's first frames.
    bool Press() { return WaitForCard() && game.Keys({"Control_R"}); }
    bool WaitForCard() { return Run(std::chrono::milliseconds(500)); }
    // Runs the game for the time of its own: steps it while it is paused, else pauses it for the
    // steps and lets it go on.
    bool Run(std::chrono::milliseconds time) { return gamePaused ? game.StepGame(time) : game.RunGameTime(time); }
    // Runs the game on until its log holds the text, within a few seconds of the test's.
    bool RunUntilLog(const std::string& text) {
        return testing_support::WaitUntil(
            [&] { return Count(text) > 0 || (Run(std::chrono::milliseconds(100)) && Count(text) > 0); },
            testing_support::GameProcess::kTimeout);
    }
    // Pauses the running game, or lets the paused game go on (its debug key P).
    bool TogglePause() {
        gamePaused = !gamePaused;
        return game.Keys({"p"});
    }
    int Count(const std::string& text) {
        const std::string log = game.Log();
        int found = 0;
        for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) {
            ++found;
        }
        return found;
    }

    static constexpr const char* kStatistics =
        "<?xml version=\"1.0\" ?>\n<resource><gamestats winner=\"1\"><playerstats name=\"player1\" "
        "playerId=\"Bubbles\" score=\"2\" numShots=\"3\"/><playerstats name=\"player2\" playerId=\"Sprout\" "
        "score=\"0\" numShots=\"1\"/></gamestats></resource>\n";
    testing_support::X11TestDisplay x{1024, 768};
    testing_support::GameProcess game{x, PONDORIX_GAME_DIR,
                                      "<userpreferences name=\"prefs\" hintMenuControls=\"false\"/>"};
    std::filesystem::path statistics = game.Folder().Path() / "home/Pondorix/data/statistics.xml";
    bool gamePaused = false;
};

TEST_F(TutorialEndToEnd, the_menu_opens_the_tutorial_whose_lessons_play_pause_and_end_back_in_the_menu) {
    // Any key leaves the title for the main menu; a click on the tutorial's bubble opens it.
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 1"));
    ASSERT_TRUE(game.Keys({"Left"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 4"));
    // The menu's bubbles take their places.
    ASSERT_TRUE(game.RunGameTime(std::chrono::milliseconds(700)));
    const std::pair<int, int> tutorial = MainMenuClipCentre("tutorial");
    ASSERT_TRUE(game.ClickUntilLog(tutorial.first, tutorial.second, "INFO: GUIDirector::PushScreen: 3")) << game.Log();
    ASSERT_TRUE(TogglePause());
    EXPECT_TRUE(game.Screenshot((game.Folder().Path() / "tutorial_welcome.png").string()));

    // The cursor starts on the pause button; the next button is to its right.
    ASSERT_TRUE(WaitForCard());
    ASSERT_TRUE(game.Keys({"Right"}));
    bool paused = false;
    for (int block = 2; block <= kLastBlock; ++block) {
        SCOPED_TRACE(block);
        ASSERT_TRUE(Press());
        // The blocks that set something up name themselves in the log.
        if (block == 4 || block == 5 || block == 7 || block == 8 || block == 11 || block == 12) {
            ASSERT_TRUE(RunUntilLog("INFO: GUITutorial: block " + std::to_string(block)));
            EXPECT_TRUE(Moves("block" + std::to_string(block), true)) << "the creatures move";
        }
        if (block == 7 && !paused) {
            // The pause button freezes the arena, and it stays frozen; pressed again, the match
            // goes on.
            ASSERT_TRUE(game.Keys({"Left"}));
            ASSERT_TRUE(Press());
            EXPECT_TRUE(Moves("paused", false)) << "the arena freezes";
            const std::vector<uint8_t> frozen = Arena("frozen.png");
            ASSERT_TRUE(Run(std::chrono::milliseconds(800)));
            EXPECT_TRUE(!frozen.empty() && frozen == Arena("still.png")) << "the arena stays frozen";
            ASSERT_TRUE(Press());
            EXPECT_TRUE(Moves("resumed", true)) << "the match goes on";
            ASSERT_TRUE(game.Keys({"Right"}));
            paused = true;
        }
    }
    EXPECT_TRUE(game.Screenshot((game.Folder().Path() / "tutorial_end.png").string()));
    // The last lesson ends the tutorial by itself as its time goes on; the menu's cursor is back
    // on the quick match, which the spit key then opens once the game runs again.
    ASSERT_TRUE(RunUntilLog("INFO: GUIDirector::PopScreen: 3"));
    ASSERT_TRUE(TogglePause());
    EXPECT_EQ(Count("INFO: GUIDirector::PushScreen: 5"), 0);
    ASSERT_TRUE(Press());
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 5"));
    ASSERT_TRUE(game.Keys({"Escape"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 5"));

    // Right four times reaches "quit".
    ASSERT_TRUE(game.Keys({"Right", "Right", "Right", "Right"}));
    ASSERT_TRUE(Press());
    EXPECT_TRUE(game.Ends());
    EXPECT_EQ(testing_support::ReadFile(statistics), kStatistics);
    const std::string log = game.Log();
    for (const std::string& line : testing_support::SplitLines(log)) {
        EXPECT_EQ(line.find(" ERROR: "), std::string::npos) << line;
    }
    EXPECT_TRUE(log.ends_with(" INFO: ============== Logging finished ==============\n")) << log;
}

}  // namespace
}  // namespace gui_testing
