#include "app/KeyCodes.h"
#include "tests/app/GameProcess.h"
#include "tests/support/TextLines.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/X11TestDisplay.h"

#include <gtest/gtest.h>

using testing_support::GameProcess;
using testing_support::Window;
using testing_support::X11TestDisplay;

namespace {

// The probe's own lines of the program's output, which also holds the libraries' messages.
std::vector<std::string> ProbeLines(const GameProcess& game) {
    std::vector<std::string> lines;
    for (const std::string& line : testing_support::SplitLines(game.Output())) {
        if (line.starts_with("ready ") || line.starts_with("key ") || line.starts_with("command ")) {
            lines.push_back(line);
        }
    }
    return lines;
}

// Polls the program's output until it has at least count probe lines, at most ten seconds.
std::vector<std::string> WaitForLines(const GameProcess& game, size_t count) {
    testing_support::WaitUntil([&] { return ProbeLines(game).size() >= count; }, std::chrono::seconds(10),
                               std::chrono::milliseconds(50));
    return ProbeLines(game);
}

}  // namespace

// Real key presses, typed into the game's window on an X server of its own, reach the
// controllers that the game builds from its shipped application.xml and control files: each as
// its stored key code, and each key of a layout as that layout's menu command.
TEST(ControllerEndToEnd, typed_keys_reach_the_shipped_controllers_as_stored_codes_and_commands) {
    X11TestDisplay x(1200, 900);
    ASSERT_TRUE(x.Ready()) << "no Xvfb server";
    GameProcess game;
    ASSERT_TRUE(game.Start(CONTROLLER_PROBE_EXECUTABLE, x));
    Window window = game.WaitForWindow(x, std::chrono::seconds(15));
    ASSERT_NE(window, 0u) << "no window titled Pondorix; output: " << game.Output();
    ASSERT_EQ(WaitForLines(game, 1), std::vector<std::string>{"ready 3"}) << game.Log();

    // The keys of the arrows layout (menu number 1), then those of the other layout (2), then a
    // key that no layout has.
    const std::vector<std::pair<std::string, uint32_t>> keys = {{"Left", Key::Left},
                                                                {"Right", Key::Right},
                                                                {"Up", Key::Up},
                                                                {"Down", Key::Down},
                                                                {"Control_R", Key::RControl},
                                                                {"Return", Key::Return},
                                                                {"Escape", Key::Escape},
                                                                {"a", Key::A},
                                                                {"d", Key::D},
                                                                {"w", Key::W},
                                                                {"s", Key::S},
                                                                {"Control_L", Key::LControl},
                                                                {"Tab", Key::Tab},
                                                                {"q", Key::Q},
                                                                {"x", Key::X}};
    std::vector<std::string> arguments = {"windowfocus", "--sync", std::to_string(window), "key", "--delay", "60"};
    std::vector<std::string> expected = {"ready 3"};
    for (size_t i = 0; i < keys.size(); ++i) {
        arguments.push_back(keys[i].first);
        // xdotool types the right Control key as a Control modifier plus that key, so the left
        // Control key, which is the other layout's spit key, goes down first.
        if (keys[i].first == "Control_R") {
            expected.push_back("command 2 5");
            expected.push_back("key " + std::to_string(Key::LControl));
        }
        // The game's controllers come first, the printing one after them.
        if (i < 14) {
            expected.push_back("command " + std::to_string(i < 7 ? 1 : 2) + " " + std::to_string(i % 7 + 1));
        }
        expected.push_back("key " + std::to_string(keys[i].second));
    }
    ASSERT_TRUE(x.XDoTool(arguments, (game.Folder() / "xdotool.txt").string()))
        << testing_support::ReadFile(game.Folder() / "xdotool.txt");
    EXPECT_EQ(WaitForLines(game, expected.size()), expected);

    EXPECT_EQ(game.CloseWindow(x, window), "") << game.Output();
}
