// The game from its title, under a virtual X server and driven with real keys: the title's
// demonstration moves and a key opens the main menu; a training against a bot is chosen, played
// for a moment and ended from the pause, which records nothing; the statistics from the menu;
// "quit" ends the game cleanly.
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/ScreenViews.h"
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

// A grid of points over the rectangle.
std::vector<std::pair<int, int>> Grid(int left, int top, int right, int bottom, int step) {
    std::vector<std::pair<int, int>> points;
    for (int y = top; y <= bottom; y += step) {
        for (int x = left; x <= right; x += step) {
            points.emplace_back(x, y);
        }
    }
    return points;
}

int Changed(const std::vector<Rgb>& a, const std::vector<Rgb>& b) {
    int changed = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        changed += std::abs(a[i].r - b[i].r) + std::abs(a[i].g - b[i].g) + std::abs(a[i].b - b[i].b) > 30 ? 1 : 0;
    }
    return changed;
}

// Every statistics file under the folder, with its contents.
std::map<std::string, std::string> StatisticsFiles(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.path().filename() == "statistics.xml") {
            files[entry.path().string()] = testing_support::ReadFile(entry.path());
        }
    }
    return files;
}

class TitleAndTrainingEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(game.Start({PONDORIX_EXECUTABLE}));
        x.MoveResize(game.GetWindow(), kWidth, kHeight);
        ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 1"));
    }
    // Whether more than five of the points change within one second, in some second before the
    // game's time-out: on a busy machine the game may start drawing late, and draw seldom.
    bool Moves(const std::vector<std::pair<int, int>>& points) {
        return testing_support::WaitUntil(
            [&] {
                const auto before = game.ReadPixels(points);
                std::this_thread::sleep_for(std::chrono::seconds(1));
                const auto after = game.ReadPixels(points);
                return before && after && Changed(*before, *after) > 5;
            },
            testing_support::GameProcess::kTimeout);
    }
    // Whether more than five of the points come to differ from the colours before, within the
    // game's time-out.
    bool ChangesFrom(const std::vector<Rgb>& before, const std::vector<std::pair<int, int>>& points) {
        return testing_support::WaitUntil(
            [&] {
                const auto now = game.ReadPixels(points);
                return now && Changed(before, *now) > 5;
            },
            testing_support::GameProcess::kTimeout);
    }
    void Keys(const std::vector<std::string>& keys) { ASSERT_TRUE(game.Keys(keys, std::chrono::milliseconds(400))); }

    testing_support::X11TestDisplay x{1024, 768};
    testing_support::GameProcess game{x, PONDORIX_GAME_DIR};
};

TEST_F(TitleAndTrainingEndToEnd, the_title_plays_and_a_training_against_a_bot_ends_from_the_pause) {
    // The demonstration runs below the title's name, where the movie itself stands still.
    EXPECT_TRUE(Moves(Grid(10, 380, 790, 560, 15)));
    EXPECT_TRUE(game.Screenshot("title.png"));
    const auto statistics = StatisticsFiles(game.Folder().Path());

    Keys({"Return"});
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 4"));
    Keys({"Right", "Return"});
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 6"));
    // The first creature of the shelf, once the movie has begun the choice (two frames in), then
    // the slide to the monitor of bots.
    ASSERT_TRUE(game.RunGameTime(std::chrono::milliseconds(200)));
    Keys({"Return"});
    ASSERT_TRUE(TrainingBotsTakeKeys(game));
    // A bot's name shows on the monitor's glass and its personality under the monitor.
    const std::vector<std::pair<int, int>> texts = Grid(260, 225, 560, 265, 6);
    const std::vector<std::pair<int, int>> personality = Grid(30, 405, 700, 425, 6);
    const auto before = game.ReadPixels(texts);
    const auto personalityBefore = game.ReadPixels(personality);
    Keys({"Right"});
    ASSERT_TRUE(before && personalityBefore);
    EXPECT_TRUE(ChangesFrom(*before, texts));
    EXPECT_TRUE(ChangesFrom(*personalityBefore, personality));
    EXPECT_TRUE(game.Screenshot("training_bots.png"));

    Keys({"Return"});
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 7"));
    Keys({"Return"});
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 13"));
    // The bot's creature moves by itself.
    EXPECT_TRUE(Moves(Grid(60, 80, 740, 440, 20)));
    EXPECT_TRUE(game.Screenshot("training_match.png"));

    Keys({"Escape"});
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 14"));
    Keys({"Right", "Return"});
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 4", 2));
    EXPECT_EQ(StatisticsFiles(game.Folder().Path()), statistics);

    // The statistics from the menu, back, and "quit".
    Keys({"Right", "Down", "Return"});
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 16"));
    EXPECT_TRUE(game.Screenshot("statistics_overall.png"));
    Keys({"Escape"});
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 16"));
    // The menu's focus is back on its first item.
    Keys({"Right", "Down", "Right", "Right", "Return"});
    EXPECT_TRUE(game.Ends());
    EXPECT_NE(game.Preferences(), "");
    for (const std::string& line : testing_support::SplitLines(game.Log())) {
        EXPECT_EQ(line.find(" ERROR: "), std::string::npos) << line;
    }
}

}  // namespace
}  // namespace gui_testing
