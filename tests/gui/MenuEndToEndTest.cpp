// The game itself opens on the quick-match selection over its main menu (through the preference
// that skips the title) under a virtual X server and is driven with real key presses and a real
// mouse: the back key leads to the menu, the first-time hint waits for a move and a press, the
// arrows move the ring over every item, "howto" opens the manual in the desktop's browser (a fake
// one here), a click on the championship's bubble starts the championship, "quit" ends the
// program cleanly, and the hint is remembered as seen.
#include "gui/GUIDirector.h"
#include "tests/gui/GuiTestKit.h"
#include "tests/support/GameProcess.h"
#include "tests/support/TextLines.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace gui_testing {
namespace {

using testing_support::Rgb;

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// Where the ring of each item shows: points on its outer half, left, right and above the item,
// from the item rectangles that the game's own menu description gives.
std::map<std::string, std::vector<std::pair<int, int>>> RingPoints() {
    std::map<std::string, std::vector<std::pair<int, int>>> points;
    const GameDataCopy data;
    {
        GUIDirector director;
        for (const auto& item : director.GetMainMenu().GetFocusItems()) {
            const FocusRect r = item->GetRect();
            const float w = r.right - r.left;
            const float reach = 0.47f * w + 0.85f * w / 15.0f;
            const float aspect = (r.bottom - r.top) / w;
            const int cx = static_cast<int>((r.left + r.right) / 2);
            const int cy = static_cast<int>((r.top + r.bottom) / 2);
            points[item->GetName()] = {{static_cast<int>(cx - reach), cy},
                                       {static_cast<int>(cx + reach), cy},
                                       {cx, static_cast<int>(cy - reach * aspect)}};
        }
    }
    return points;
}

int Difference(const Rgb& a, const Rgb& b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

class MenuEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::WriteFile(bin / "xdg-open", "#!/bin/sh\necho \"$1\" > '" + (bin / "opened.part").string() +
                                                         "'\nmv '" + (bin / "opened.part").string() + "' '" +
                                                         (bin / "opened.txt").string() + "'\n");
        chmod((bin / "xdg-open").c_str(), 0755);
        const char* path = std::getenv("PATH");
        ASSERT_TRUE(
            game.Start({PONDORIX_EXECUTABLE}, {"PATH=" + bin.Path().string() + ":" + (path ? path : "/usr/bin:/bin")}));
        x.MoveResize(game.GetWindow(), kWidth, kHeight);
        ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 4"));
        ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PushScreen: 5"));
        ASSERT_TRUE(game.Keys({"Escape"}));
        ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 5"));
    }

    // The colours at the ring points of every item.
    std::map<std::string, std::vector<Rgb>> Read() {
        std::map<std::string, std::vector<Rgb>> colours;
        for (const auto& [name, at] : rings) {
            colours[name] = game.ReadPixels(at).value_or(std::vector<Rgb>(at.size()));
        }
        return colours;
    }
    // How many of an item's ring points differ from the picture without any ring.
    int RingMarks(const std::map<std::string, std::vector<Rgb>>& now, const std::string& name) {
        int marks = 0;
        for (size_t i = 0; i < now.at(name).size(); ++i) {
            marks += Difference(now.at(name)[i], bare.at(name)[i]) > 40 ? 1 : 0;
        }
        return marks;
    }
    // Waits until the ring shows around the item and around no other.
    testing::AssertionResult RingOn(const std::string& item) {
        std::string seen;
        const bool found = testing_support::WaitUntil(
            [&] {
                const auto now = Read();
                seen.clear();
                bool only = RingMarks(now, item) >= 2;
                for (const auto& [name, points] : rings) {
                    seen += name + ":" + std::to_string(RingMarks(now, name)) + " ";
                    only = only && (name == item || RingMarks(now, name) == 0);
                }
                return only;
            },
            testing_support::GameProcess::kTimeout, std::chrono::milliseconds(30));
        return found ? testing::AssertionSuccess() : testing::AssertionFailure() << "ring marks " << seen;
    }
    // Whether the hint's white panel shows at the bottom of the screen.
    bool HintShows() {
        const auto colours = game.ReadPixels({{250, 575}, {560, 575}});
        return colours && std::all_of(colours->begin(), colours->end(),
                                      [](const Rgb& c) { return c.r > 240 && c.g > 240 && c.b > 240; });
    }

    testing_support::TempDir bin;
    testing_support::X11TestDisplay x{1024, 768};
    testing_support::GameProcess game{x, PONDORIX_GAME_DIR, "<userpreferences name=\"prefs\" skipMenu=\"true\"/>"};
    std::map<std::string, std::vector<std::pair<int, int>>> rings = RingPoints();
    std::map<std::string, std::vector<Rgb>> bare;
};

TEST_F(MenuEndToEnd, keys_move_the_ring_the_mouse_starts_the_championship_and_quit_ends_the_game) {
    ASSERT_EQ(rings.size(), 5u);
    // The hint slides in and stays: mode 1 holds it at its checkpoint long after it would have
    // played out (two and a half seconds of the game's time).
    ASSERT_TRUE(testing_support::WaitUntil([&] { return HintShows(); }, testing_support::GameProcess::kTimeout));
    ASSERT_TRUE(game.RunGameTime(std::chrono::seconds(3)));
    EXPECT_TRUE(HintShows());
    EXPECT_TRUE(game.Screenshot("main_menu_hint.png"));

    // The ring pulses between a fifth and four fifths of its colour: the picture without it is
    // read where it is not. It starts on "newgamepvp", the first item, goes right and comes back;
    // "newgamepvp" has no link down, so down leaves it there.
    bare = Read();
    ASSERT_TRUE(game.Keys({"Right"}));
    ASSERT_TRUE(testing_support::WaitUntil([&] { return RingMarks(Read(), "newgamepvc") >= 2; },
                                           testing_support::GameProcess::kTimeout));
    bare["newgamepvp"] = Read().at("newgamepvp");
    ASSERT_TRUE(RingOn("newgamepvc"));
    ASSERT_TRUE(game.Keys({"Left"}));
    ASSERT_TRUE(RingOn("newgamepvp"));
    ASSERT_TRUE(game.Keys({"Down"}));
    ASSERT_TRUE(RingOn("newgamepvp"));

    // Right, down, right: the items in turn (the hint still covers "quit").
    const std::pair<const char*, const char*> path[] = {{"Right", "newgamepvc"}, {"Down", "stats"}, {"Right", "howto"}};
    for (const auto& [key, item] : path) {
        SCOPED_TRACE(item);
        ASSERT_TRUE(game.Keys({key}));
        ASSERT_TRUE(RingOn(item));
    }
    EXPECT_TRUE(HintShows());
    EXPECT_TRUE(game.Screenshot("main_menu_focus.png"));

    // A press (the spit key) on "howto" opens the manual and lets the hint go.
    ASSERT_TRUE(game.Keys({"Control_R"}));
    ASSERT_TRUE(testing_support::WaitUntil([&] { return std::filesystem::exists(bin / "opened.txt"); },
                                           testing_support::GameProcess::kTimeout));
    EXPECT_EQ(testing_support::ReadFile(bin / "opened.txt"),
              (game.Folder().Path() / "data/manual/index.html").string() + "\n");
    ASSERT_TRUE(testing_support::WaitUntil([&] { return !HintShows(); }, testing_support::GameProcess::kTimeout));
    // The item the hint covered shows now, once the hint has slid away (within a third of a second).
    ASSERT_TRUE(game.RunGameTime(std::chrono::milliseconds(500)));
    bare["quit"] = Read().at("quit");

    // The championship has no item: a click on its bubble starts it, and back leads to the menu.
    const std::pair<int, int> championship = MainMenuClipCentre("newgamechampionship");
    ASSERT_TRUE(game.ClickUntilLog(championship.first, championship.second, "INFO: GUIDirector::PushScreen: 8"))
        << game.Log();
    ASSERT_TRUE(game.Keys({"Escape"}));
    ASSERT_TRUE(game.WaitForLog("INFO: GUIDirector::PopScreen: 8"));

    // Back on the menu the ring starts on "newgamepvp" again; left of it is "quit".
    ASSERT_TRUE(game.Keys({"Left"}));
    ASSERT_TRUE(RingOn("quit"));
    ASSERT_TRUE(game.Keys({"Return"}));
    EXPECT_TRUE(game.Ends());

    const std::string log = game.Log();
    EXPECT_TRUE(log.ends_with(" INFO: ============== Logging finished ==============\n")) << log;
    // Every screen on this way is there: nothing is logged as an error.
    for (const std::string& line : testing_support::SplitLines(log)) {
        EXPECT_EQ(line.find(" ERROR: "), std::string::npos) << line;
    }
    EXPECT_NE(game.Preferences().find("hintMenuControls=\"false\""), std::string::npos) << game.Preferences();
}

}  // namespace
}  // namespace gui_testing
