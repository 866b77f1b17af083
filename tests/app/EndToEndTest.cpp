#include "tests/app/GameProcess.h"
#include "tests/support/TextLines.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/X11TestDisplay.h"

#include <gtest/gtest.h>

using testing_support::GameProcess;
using testing_support::ReadFile;
using testing_support::Rgb;
using testing_support::Window;
using testing_support::X11TestDisplay;

namespace {

const Rgb kClearColour{193, 249, 242};
const Rgb kBlack{0, 0, 0};

// Polls until the window has the size and shows the expected colours at the points, at most ten
// seconds; the last colours read go to `seen`, for the failure message.
bool WaitForPicture(X11TestDisplay& x, Window window, std::pair<int, int> size,
                    const std::vector<std::pair<int, int>>& points, const std::vector<Rgb>& expected,
                    std::string& seen) {
    return testing_support::WaitUntil(
        [&] {
            std::optional<std::vector<Rgb>> colours;
            if (x.Size(window) == size && (colours = x.ReadPixels(window, points))) {
                seen.clear();
                for (const Rgb& c : *colours) {
                    seen += "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ") ";
                }
            }
            return colours == expected;
        },
        std::chrono::seconds(10), std::chrono::milliseconds(50));
}

}  // namespace

// The real program in a working folder of its own, on an X server of its own: its window, the
// letterbox at two window shapes, and a clean end when the window is closed.
TEST(EndToEnd, game_window_letterboxes_and_closes_cleanly) {
    X11TestDisplay x(1700, 1100);
    ASSERT_TRUE(x.Ready()) << "no Xvfb server";

    GameProcess game;
    game.TurnBitmapsOff();
    ASSERT_TRUE(game.Start(PONDORIX_EXECUTABLE, x));
    Window window = game.WaitForWindow(x, std::chrono::seconds(15));
    ASSERT_NE(window, 0u) << "no window titled Pondorix; output: " << game.Output();

    // No window size in the preferences yet: the default one.
    EXPECT_EQ(x.Size(window), (std::pair{1024, 768}));

    // Wider than 4:3: the logical screen in the middle, black bars at both sides.
    std::string seen;
    x.MoveResize(window, 1600, 600);
    EXPECT_TRUE(WaitForPicture(x, window, {1600, 600}, {{800, 300}, {20, 300}, {1580, 300}, {401, 5}, {1198, 595}},
                               {kClearColour, kBlack, kBlack, kClearColour, kClearColour}, seen))
        << seen;

    // Taller than 4:3: full width, the clear colour above and below the logical screen.
    x.MoveResize(window, 800, 1000);
    EXPECT_TRUE(WaitForPicture(x, window, {800, 1000}, {{400, 20}, {400, 500}, {400, 980}, {2, 500}, {797, 500}},
                               std::vector<Rgb>(5, kClearColour), seen))
        << seen;

    EXPECT_EQ(game.CloseWindow(x, window), "") << game.Output();
    const std::string log = game.Log();
    EXPECT_NE(log.find(" INFO: Main window ready.\n"), std::string::npos) << log;
    const std::vector<std::string> lines = testing_support::SplitLines(log);
    EXPECT_TRUE(!lines.empty() && lines.back().ends_with(" INFO: ============== Logging finished =============="))
        << log;

    // The window size at closing is kept for the next start; the other preferences are kept too.
    const std::string preferences = ReadFile(game.Folder() / "home/Pondorix/preferences.xml");
    EXPECT_NE(preferences.find("enableBitmaps=\"false\""), std::string::npos) << preferences;
    EXPECT_NE(preferences.find("<vec2 x=\"800\" y=\"1000\" name=\"windowSize\""), std::string::npos) << preferences;
}
