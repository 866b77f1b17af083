#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include "tests/app/GameProcess.h"
#include "tests/app/X11TestDisplay.h"

using testing_support::GameProcess;
using testing_support::ReadFile;
using testing_support::Rgb;
using testing_support::WriteFile;
using testing_support::X11TestDisplay;

namespace {

const Rgb kClearColour{193, 249, 242};
const Rgb kBlack{0, 0, 0};

using Points = std::vector<std::pair<int, int>>;

std::string LastLine(const std::string& text) {
    std::istringstream in(text);
    std::string last;
    for (std::string line; std::getline(in, line);) {
        last = line;
    }
    return last;
}

// Polls until the window has the size and shows the expected colours at the points, at most ten
// seconds; returns the last colours read, for the failure message.
bool WaitForPicture(X11TestDisplay& x, Window window, int width, int height, const Points& points,
                    const std::vector<Rgb>& expected, std::string& seen) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (x.Size(window) == std::pair{width, height}) {
            if (std::optional<std::vector<Rgb>> colours = x.ReadPixels(window, points)) {
                seen.clear();
                for (const Rgb& c : *colours) {
                    seen += "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ") ";
                }
                if (*colours == expected) {
                    return true;
                }
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

}  // namespace

// The real program in a working folder of its own, on an X server of its own: its window, the
// letterbox at two window shapes, and a clean end when the window is closed.
TEST(EndToEnd, game_window_letterboxes_and_closes_cleanly) {
    X11TestDisplay x(1700, 1100);
    ASSERT_TRUE(x.Ready()) << "no Xvfb server";

    GameProcess game;
    // Bitmaps off: the window is cleared to the light clear colour.
    WriteFile(game.Folder() / "home/Pondorix/preferences.xml",
              "<resource><userpreferences name=\"prefs\" enableBitmaps=\"false\"/></resource>");
    ASSERT_TRUE(game.Start(PONDORIX_EXECUTABLE, x));
    Window window = game.WaitForWindow(x, std::chrono::seconds(15));
    ASSERT_NE(window, 0u) << "no window titled Pondorix; output: " << game.Output();

    // No preferences yet: the default window size.
    EXPECT_EQ(x.Size(window), (std::pair{1024, 768}));

    // Wider than 4:3: the logical screen in the middle, black bars at both sides.
    std::string seen;
    x.MoveResize(window, 1600, 600);
    EXPECT_TRUE(WaitForPicture(x, window, 1600, 600, {{800, 300}, {20, 300}, {1580, 300}, {401, 5}, {1198, 595}},
                               {kClearColour, kBlack, kBlack, kClearColour, kClearColour}, seen))
        << seen;

    // Taller than 4:3: full width, the clear colour above and below the logical screen.
    x.MoveResize(window, 800, 1000);
    EXPECT_TRUE(WaitForPicture(x, window, 800, 1000, {{400, 20}, {400, 500}, {400, 980}, {2, 500}, {797, 500}},
                               {kClearColour, kClearColour, kClearColour, kClearColour, kClearColour}, seen))
        << seen;

    x.RequestClose(window);
    std::optional<int> status = game.Process().WaitFor(std::chrono::seconds(10));
    ASSERT_TRUE(status) << "the game did not end after its window was closed";
    EXPECT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 0) << game.Output();

    std::string log = game.Log();
    EXPECT_NE(log.find(" INFO: Main window ready.\n"), std::string::npos) << log;
    EXPECT_TRUE(LastLine(log).ends_with(" INFO: ============== Logging finished ==============")) << log;

    // The window size at closing is kept for the next start; the other preferences are kept too.
    std::string preferences = ReadFile(game.Folder() / "home/Pondorix/preferences.xml");
    EXPECT_NE(preferences.find("enableBitmaps=\"false\""), std::string::npos) << preferences;
    EXPECT_NE(preferences.find("<vec2 x=\"800\" y=\"1000\" name=\"windowSize\""), std::string::npos) << preferences;
}
