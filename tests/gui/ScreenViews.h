#pragma once
// Internal to the end-to-end tests: what the game's screens show in its window, read from its
// pixels, where a screen shows that it takes the controllers' keys. A screen whose movie holds
// the navigation back until an animation ends is waited for through what it draws at that
// moment, however long the machine takes to get there.

#include "tests/support/GameProcess.h"
#include "tests/support/WaitUntil.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

namespace gui_testing {

// How many of the window's pixels in the rectangle, every second one each way, the test says
// yes to.
inline int CountPixels(testing_support::GameProcess& game, int left, int top, int right, int bottom,
                       const std::function<bool(const testing_support::Rgb&)>& test) {
    std::vector<std::pair<int, int>> points;
    for (int y = top; y <= bottom; y += 2) {
        for (int x = left; x <= right; x += 2) {
            points.emplace_back(x, y);
        }
    }
    int count = 0;
    for (const testing_support::Rgb& c : game.ReadPixels(points).value_or(std::vector<testing_support::Rgb>())) {
        count += test(c) ? 1 : 0;
    }
    return count;
}

// Waits until the match over has written "Match over!" in white over the dimmed match: it does
// on the movie's command that also lets the controllers choose.
inline bool MatchOverTextShows(testing_support::GameProcess& game) {
    return testing_support::WaitUntil(
        [&] {
            return CountPixels(game, 175, 40, 455, 75,
                               [](const testing_support::Rgb& c) { return c.r > 240 && c.g > 240 && c.b > 240; }) > 100;
        },
        testing_support::GameProcess::kTimeout);
}

// Waits until the training's selection has slid over to the bots and takes keys there: the
// monitor's dark glass reaches its place (its left edge at x 264) on the slide's last frames,
// and the movie hands the choice to the bots on the very last; a tenth of a second of the
// game's own time later, it has.
inline bool TrainingBotsTakeKeys(testing_support::GameProcess& game) {
    return testing_support::WaitUntil(
               [&] {
                   const auto glass = game.ReadPixels({{266, 200}});
                   return glass &&
                          std::abs((*glass)[0].r - 30) + std::abs((*glass)[0].g - 42) + std::abs((*glass)[0].b - 74) <
                              20;
               },
               testing_support::GameProcess::kTimeout) &&
           game.RunGameTime(std::chrono::milliseconds(100));
}

}  // namespace gui_testing
