// Where the game's window opens: centred on the screen and never past its top or left edge, also
// with no window manager to place it (the test's own X server has none).
#include "app/WindowPlacement.h"
#include "tests/support/GameProcess.h"
#include "tests/support/WaitUntil.h"
#include "tests/support/X11TestDisplay.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowPlacement, a_window_opens_centred_and_never_past_the_top_or_left_edge) {
    const struct {
        sf::Vector2u screen, window;
        sf::Vector2i position;
    } rows[] = {
        {{1024, 768}, {800, 600}, {112, 84}},
        {{1024, 768}, {1024, 768}, {0, 0}},
        {{1920, 1080}, {1024, 768}, {448, 156}},
        {{800, 600}, {1024, 768}, {0, 0}},
        {{1024, 768}, {1023, 767}, {0, 0}},
        {{0, 0}, {4294967295u, 4294967295u}, {0, 0}},
        {{4294967295u, 4294967295u}, {1, 1}, {2147483647, 2147483647}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(CentredWindowPosition(row.screen, row.window), row.position)
            << row.screen.x << " x " << row.screen.y << ", " << row.window.x << " x " << row.window.y;
    }
}

// The game's window on a screen it fills, and on a larger one, where no window manager places it.
TEST(WindowPlacement, the_game_window_opens_inside_the_screen_without_a_window_manager) {
    const struct {
        int width, height;
        std::pair<int, int> position;
    } screens[] = {{1024, 768, {0, 0}}, {1700, 1100, {338, 166}}};
    for (const auto& screen : screens) {
        SCOPED_TRACE(screen.width);
        testing_support::X11TestDisplay x(screen.width, screen.height);
        // No window size in the preferences: the default one, 1024 x 768.
        testing_support::GameProcess game(x, PONDORIX_GAME_DIR);
        ASSERT_TRUE(game.Start({PONDORIX_EXECUTABLE}));
        std::pair<int, int> position;
        EXPECT_TRUE(testing_support::WaitUntil(
            [&] {
                position = x.Position(game.GetWindow());
                return position == screen.position;
            },
            std::chrono::seconds(5), std::chrono::milliseconds(50)))
            << "at " << position.first << ", " << position.second;
        EXPECT_EQ(x.Size(game.GetWindow()), (std::pair{1024, 768}));
        EXPECT_TRUE(game.Close());
    }
}

}  // namespace
