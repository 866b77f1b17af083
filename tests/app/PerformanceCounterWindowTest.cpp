#include "tests/app/GameProcess.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/X11TestDisplay.h"

#include <gtest/gtest.h>

using testing_support::GameProcess;
using testing_support::Rgb;
using testing_support::WaitUntil;
using testing_support::Window;
using testing_support::X11TestDisplay;

namespace {

// Pixels of the overlay's blue text (50, 50, 250), blended with the light clear colour at the
// glyphs' edges, in the 320 x 140 top-left part of the window where its lines are drawn; the
// clear colour (193, 249, 242) has no such pixel.
int CountTextPixels(X11TestDisplay& x, Window window) {
    std::vector<std::pair<int, int>> points;
    for (int py = 0; py < 140; ++py) {
        for (int px = 0; px < 320; ++px) {
            points.emplace_back(px, py);
        }
    }
    std::optional<std::vector<Rgb>> colours = x.ReadPixels(window, points);
    if (!colours) {
        return -1;
    }
    int count = 0;
    for (const Rgb& c : *colours) {
        count += c.b > 200 && c.r < 150 && c.g < 150 ? 1 : 0;
    }
    return count;
}

}  // namespace

// The real game on an X server of its own: Alt+F shows the frame-rate overlay in the top-left
// corner of the window, and Alt+F again hides it.
TEST(PerformanceCounterWindow, alt_f_shows_and_hides_the_overlay_text) {
    X11TestDisplay x(1100, 900);
    ASSERT_TRUE(x.Ready()) << "no Xvfb server";
    GameProcess game;
    game.TurnBitmapsOff();
    ASSERT_TRUE(game.Start(PONDORIX_EXECUTABLE, x));
    Window window = game.WaitForWindow(x, std::chrono::seconds(15));
    ASSERT_NE(window, 0u) << "no window titled Pondorix; output: " << game.Output();
    // The whole window on the screen, where its pixels can be read.
    x.MoveResize(window, 1024, 768);
    const std::string xdotoolOutput = (game.Folder() / "xdotool.txt").string();
    const std::vector<std::string> altF = {"key", "--window", std::to_string(window), "alt+f"};
    const auto tenSeconds = std::chrono::seconds(10);
    const auto poll = std::chrono::milliseconds(100);

    // Frames are drawn (the clear colour shows). The overlay starts hidden: were it shown, the
    // first Alt+F would hide it and its text would never come.
    Rgb centre{};
    ASSERT_TRUE(WaitUntil(
        [&] {
            std::optional<std::vector<Rgb>> colours = x.ReadPixels(window, {{512, 384}});
            centre = colours ? (*colours)[0] : Rgb{};
            return centre == Rgb{193, 249, 242};
        },
        tenSeconds, poll))
        << "the centre shows (" << centre.r << ", " << centre.g << ", " << centre.b << ")";

    ASSERT_TRUE(x.XDoTool(altF, xdotoolOutput)) << testing_support::ReadFile(xdotoolOutput);
    int shown = 0;
    EXPECT_TRUE(WaitUntil([&] { return (shown = CountTextPixels(x, window)) >= 100; }, tenSeconds, poll))
        << "only " << shown << " text pixels in the top-left corner";

    ASSERT_TRUE(x.XDoTool(altF, xdotoolOutput));
    EXPECT_TRUE(WaitUntil([&] { return CountTextPixels(x, window) == 0; }, tenSeconds, poll));

    EXPECT_EQ(game.CloseWindow(x, window), "") << game.Output();
    const std::string log = game.Log();
    // The sound table and the overlay's font load cleanly.
    EXPECT_EQ(log.find("SoundManager"), std::string::npos) << log;
    EXPECT_EQ(log.find("PerformanceCounter"), std::string::npos) << log;
}
