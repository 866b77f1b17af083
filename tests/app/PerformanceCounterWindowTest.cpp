#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <functional>
#include <thread>

#include "tests/app/GameProcess.h"
#include "tests/app/X11TestDisplay.h"

using testing_support::ChildProcess;
using testing_support::GameProcess;
using testing_support::ReadFile;
using testing_support::Rgb;
using testing_support::TempDir;
using testing_support::WriteFile;
using testing_support::X11TestDisplay;

namespace {

// The part of a 1024 x 768 window where the overlay's lines are drawn.
constexpr int kRegionWidth = 320;
constexpr int kRegionHeight = 140;

// Pixels of the overlay's blue text (50, 50, 250), blended with the light clear colour at the
// glyphs' edges, against the clear colour (193, 249, 242) that has no such pixel.
int CountTextPixels(X11TestDisplay& x, Window window) {
    std::vector<std::pair<int, int>> points;
    for (int py = 0; py < kRegionHeight; ++py) {
        for (int px = 0; px < kRegionWidth; ++px) {
            points.emplace_back(px, py);
        }
    }
    std::optional<std::vector<Rgb>> colours = x.ReadPixels(window, points);
    if (!colours) {
        return -1;
    }
    int count = 0;
    for (const Rgb& c : *colours) {
        if (c.b > 200 && c.r < 150 && c.g < 150) {
            ++count;
        }
    }
    return count;
}

// Polls for at most ten seconds until the condition holds.
bool WaitFor(const std::function<bool()>& condition) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return condition();
}

// Sends a key press with modifiers ("alt+f") to the window through xdotool.
bool SendKey(X11TestDisplay& x, Window window, const std::string& keys, const TempDir& work) {
    ChildProcess xdotool = ChildProcess::Start({"xdotool", "key", "--window", std::to_string(window), keys}, "",
                                               {"DISPLAY=" + x.Name()}, (work / "xdotool.txt").string());
    std::optional<int> status = xdotool.WaitFor(std::chrono::seconds(10));
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

}  // namespace

// The real game on an X server of its own: Alt+F shows the frame-rate overlay in the top-left
// corner of the window, and Alt+F again hides it.
TEST(PerformanceCounterWindow, alt_f_shows_and_hides_the_overlay_text) {
    X11TestDisplay x(1100, 900);
    ASSERT_TRUE(x.Ready()) << "no Xvfb server";
    GameProcess game;
    const TempDir& work = game.Folder();
    // Bitmaps off: the window is cleared to the light clear colour.
    WriteFile(work / "home/Pondorix/preferences.xml",
              "<resource><userpreferences name=\"prefs\" enableBitmaps=\"false\"/></resource>");
    ASSERT_TRUE(game.Start(PONDORIX_EXECUTABLE, x));
    Window window = game.WaitForWindow(x, std::chrono::seconds(15));
    ASSERT_NE(window, 0u) << "no window titled Pondorix; output: " << game.Output();
    // The whole window on the screen, where its pixels can be read.
    x.MoveResize(window, 1024, 768);

    // Frames are drawn (the clear colour shows) and a report is due, but the overlay is off.
    Rgb centre{};
    ASSERT_TRUE(WaitFor([&] {
        std::optional<std::vector<Rgb>> colours = x.ReadPixels(window, {{512, 384}});
        centre = colours ? (*colours)[0] : Rgb{};
        return centre == Rgb{193, 249, 242};
    })) << "the centre shows (" << centre.r << ", " << centre.g << ", " << centre.b << ")";
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_EQ(CountTextPixels(x, window), 0);

    ASSERT_TRUE(SendKey(x, window, "alt+f", work)) << ReadFile(work / "xdotool.txt");
    int shown = 0;
    EXPECT_TRUE(WaitFor([&] { return (shown = CountTextPixels(x, window)) >= 100; }))
        << "only " << shown << " text pixels in the top-left corner";

    ASSERT_TRUE(SendKey(x, window, "alt+f", work));
    EXPECT_TRUE(WaitFor([&] { return CountTextPixels(x, window) == 0; }));

    x.RequestClose(window);
    std::optional<int> status = game.Process().WaitFor(std::chrono::seconds(10));
    ASSERT_TRUE(status) << "the game did not end after its window was closed";
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << game.Output();
    const std::string log = game.Log();
    // The sound table and the overlay's font load cleanly.
    EXPECT_EQ(log.find("SoundManager"), std::string::npos) << log;
    EXPECT_EQ(log.find("PerformanceCounter"), std::string::npos) << log;
}
