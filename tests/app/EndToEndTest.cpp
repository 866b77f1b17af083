#include "app/KeyCodes.h"
#include "tests/support/GameProcess.h"
#include "tests/support/SoundlessRuns.h"
#include "tests/support/TextLines.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/X11TestDisplay.h"

#include <gtest/gtest.h>

using testing_support::ReadFile;
using testing_support::Rgb;
using testing_support::WaitUntil;

namespace {

constexpr auto kTenSeconds = std::chrono::seconds(10);
constexpr auto kPoll = std::chrono::milliseconds(50);
const Rgb kClearColour{193, 249, 242};
const Rgb kBlack{0, 0, 0};
// The title's sky: its top band, and the band across the middle of the logical screen.
const Rgb kTopSky{127, 208, 246};
const Rgb kMiddleSky{152, 219, 248};
// The sandy floor along the bottom of the logical screen.
const Rgb kSand{246, 217, 139};

// The game, or a program built like it, on an X server of the test's own, with bitmaps off or
// not (off, it clears its window to the light clear colour).
class EndToEnd : public ::testing::Test {
protected:
    void Start(const char* executable, bool bitmaps) {
        game.emplace(x, PONDORIX_GAME_DIR, bitmaps ? "" : "<userpreferences name=\"prefs\" enableBitmaps=\"false\"/>");
        ASSERT_TRUE(game->Start({executable}));
        window = game->GetWindow();
    }

    testing_support::X11TestDisplay x{1700, 1100};
    std::optional<testing_support::GameProcess> game;
    testing_support::Window window = 0;
};

}  // namespace

// The real game, on its title: Alt+F shows the frame-rate overlay's blue text (50, 50, 250,
// blended with the picture at the glyphs' edges) in the top-left corner and Alt+F again hides it;
// the letterbox at two window shapes; a clean end whose window size is kept for the next start.
TEST_F(EndToEnd, game_window_shows_the_overlay_letterboxes_and_closes_cleanly) {
    ASSERT_NO_FATAL_FAILURE(Start(PONDORIX_EXECUTABLE, false));
    // No window size in the preferences yet: the default one.
    EXPECT_EQ(x.Size(window), (std::pair{1024, 768}));
    // Frames are drawn. The overlay starts hidden: were it shown, the first Alt+F would hide it
    // and its text would never come.
    x.MoveResize(window, 1024, 768);
    ASSERT_TRUE(game->ShowsPicture({1024, 768}, {{512, 384}}, {kMiddleSky}));
    const std::vector<std::string> altF = {"key", "--window", std::to_string(window), "alt+f"};
    ASSERT_TRUE(game->XDoTool(altF));
    EXPECT_TRUE(WaitUntil([&] { return game->CounterTextPixels() >= testing_support::GameProcess::kCounterTextShown; },
                          kTenSeconds, kPoll))
        << game->CounterTextPixels();
    ASSERT_TRUE(game->XDoTool(altF));
    EXPECT_TRUE(WaitUntil([&] { return game->CounterTextPixels() == 0; }, kTenSeconds, kPoll))
        << game->CounterTextPixels();

    // Wider than 4:3: the logical screen in the middle, black bars at both sides.
    x.MoveResize(window, 1600, 600);
    EXPECT_TRUE(game->ShowsPicture({1600, 600}, {{800, 300}, {20, 300}, {1580, 300}, {401, 5}, {1198, 595}},
                                   {kMiddleSky, kBlack, kBlack, kTopSky, kSand}));
    // Taller than 4:3: full width, the clear colour above and below the logical screen.
    x.MoveResize(window, 800, 1000);
    EXPECT_TRUE(game->ShowsPicture({800, 1000}, {{400, 20}, {400, 500}, {400, 980}, {2, 500}, {797, 500}},
                                   {kClearColour, kMiddleSky, kClearColour, kMiddleSky, kMiddleSky}));

    EXPECT_TRUE(game->Close());
    const std::string log = game->Log();
    EXPECT_NE(log.find(" INFO: Main window ready.\n"), std::string::npos) << log;
    EXPECT_TRUE(log.ends_with(" INFO: ============== Logging finished ==============\n")) << log;
    // The sound table and the overlay's font load cleanly.
    EXPECT_EQ(log.find("SoundManager"), std::string::npos) << log;
    EXPECT_EQ(log.find("PerformanceCounter"), std::string::npos) << log;
    const std::string preferences = game->Preferences();
    EXPECT_NE(preferences.find("enableBitmaps=\"false\""), std::string::npos) << preferences;
    EXPECT_NE(preferences.find("<vec2 x=\"800\" y=\"1000\" name=\"windowSize\""), std::string::npos) << preferences;
}

// Real key presses reach the controllers that the game builds from its shipped application.xml
// and control files, as the probe prints them: each as its stored key code, and each key of a
// layout as that layout's menu command. The keys of the arrows layout (menu number 1) come first,
// then those of the other layout (2), then a key that no layout has.
TEST_F(EndToEnd, typed_keys_reach_the_shipped_controllers_as_stored_codes_and_commands) {
    ASSERT_NO_FATAL_FAILURE(Start(CONTROLLER_PROBE_EXECUTABLE, true));
    // The probe's own lines of the program's output, which also holds the libraries' messages.
    auto probeLines = [&] {
        std::vector<std::string> lines;
        for (const std::string& line : testing_support::SplitLines(game->Output())) {
            if (line.starts_with("ready ") || line.starts_with("key ") || line.starts_with("command ")) {
                lines.push_back(line);
            }
        }
        return lines;
    };
    WaitUntil([&] { return !probeLines().empty(); }, kTenSeconds, kPoll);
    ASSERT_EQ(probeLines(), std::vector<std::string>{"ready 3"}) << game->Output();

    const std::string names[] = {"Left", "Right", "Up", "Down",      "Control_R", "Return", "Escape", "a",
                                 "d",    "w",     "s",  "Control_L", "Tab",       "q",      "x"};
    const uint32_t codes[] = {Key::Left,   Key::Right,    Key::Up,  Key::Down, Key::RControl,
                              Key::Return, Key::Escape,   Key::A,   Key::D,    Key::W,
                              Key::S,      Key::LControl, Key::Tab, Key::Q,    Key::X};
    std::vector<std::string> arguments = {"windowfocus", "--sync", std::to_string(window), "key", "--delay", "60"};
    std::vector<std::string> expected = {"ready 3"};
    for (size_t i = 0; i < std::size(names); ++i) {
        arguments.push_back(names[i]);
        // xdotool types the right Control key as a Control modifier plus that key, so the left
        // Control key, which is the other layout's spit key, goes down first.
        if (names[i] == "Control_R") {
            expected.push_back("command 2 5");
            expected.push_back("key " + std::to_string(Key::LControl));
        }
        // The game's controllers come first, the printing one after them.
        if (i < 14) {
            expected.push_back("command " + std::to_string(i < 7 ? 1 : 2) + " " + std::to_string(i % 7 + 1));
        }
        expected.push_back("key " + std::to_string(codes[i]));
    }
    ASSERT_TRUE(game->XDoTool(arguments));
    WaitUntil([&] { return probeLines().size() >= expected.size(); }, kTenSeconds, kPoll);
    EXPECT_EQ(probeLines(), expected);
    EXPECT_TRUE(game->Close());
}

// Where no audio device opens, four games at once stay on their title (the demonstrations
// playing, with their music and collision sounds) for 2,000 update steps of their own time: each
// says so once in its log, keeps its standard output and error short, and ends cleanly.
TEST(EndToEndWithoutSound, four_games_stay_on_the_title_silent_and_end_cleanly) {
    testing_support::ExpectSoundlessRuns({PONDORIX_EXECUTABLE}, PONDORIX_GAME_DIR, 4, std::chrono::seconds(40));
}
