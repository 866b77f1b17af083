#pragma once
// Internal to the end-to-end tests: what the championship's podium shows in the game's window,
// read from its pixels: which creature stands at each place (by its body colour) and whether the
// places' names are written.

#include "tests/support/GameProcess.h"
#include "tests/support/WaitUntil.h"

#include <array>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace gui_testing {

// Where the creatures of the podium rest, in its order: the champion, the runner-up, the third.
inline const std::array<std::pair<int, int>, 3> kPodiumPlaces = {{{400, 76}, {624, 412}, {176, 412}}};

inline int ColourDistance(const testing_support::Rgb& a, const testing_support::Rgb& b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

// For each place, the index of the body colour that shows there, or -1: points in the lower half
// of a resting creature's body (around its mouth) vote for the colour nearest to them, when they
// are nearer to it than the background beside the creature is by a clear margin; a colour needs
// three of the five votes. Nothing when the window cannot be read.
inline std::optional<std::array<int, 3>> PodiumColours(testing_support::GameProcess& game,
                                                       const std::vector<testing_support::Rgb>& bodies) {
    const std::pair<int, int> inside[] = {{-17, 8}, {-12, 13}, {12, 13}, {17, 8}, {-20, 0}};
    std::array<int, 3> found{-1, -1, -1};
    for (size_t place = 0; place < 3; ++place) {
        const auto [cx, cy] = kPodiumPlaces[place];
        std::vector<std::pair<int, int>> points = {{cx - 48, cy}};
        for (const auto& [dx, dy] : inside) {
            points.emplace_back(cx + dx, cy + dy);
        }
        const auto colours = game.ReadPixels(points);
        if (!colours) {
            return std::nullopt;
        }
        std::vector<int> votes(bodies.size(), 0);
        for (size_t p = 1; p < colours->size(); ++p) {
            size_t best = 0;
            for (size_t i = 1; i < bodies.size(); ++i) {
                if (ColourDistance((*colours)[p], bodies[i]) < ColourDistance((*colours)[p], bodies[best])) {
                    best = i;
                }
            }
            if (ColourDistance((*colours)[p], bodies[best]) + 40 < ColourDistance((*colours)[0], bodies[best])) {
                ++votes[best];
            }
        }
        for (size_t i = 0; i < bodies.size(); ++i) {
            if (votes[i] >= 3) {
                found[place] = static_cast<int>(i);
            }
        }
    }
    return found;
}

// For each place, how many points along its name's line show the names' dark ink.
inline std::array<int, 3> NameInk(testing_support::GameProcess& game) {
    const std::array<std::pair<int, int>, 3> starts = {{{452, 68}, {590, 347}, {142, 347}}};
    std::array<int, 3> ink{};
    for (size_t place = 0; place < 3; ++place) {
        std::vector<std::pair<int, int>> points;
        for (int x = 0; x < 100; x += 2) {
            points.emplace_back(starts[place].first + x, starts[place].second);
        }
        const auto colours = game.ReadPixels(points);
        for (size_t i = 0; colours && i < colours->size(); ++i) {
            ink[place] += ColourDistance((*colours)[i], {22, 50, 79}) < 90 ? 1 : 0;
        }
    }
    return ink;
}

// Waits until the podium's buttons have faded in: the green of "PlayAgain" (deep enough for its
// white label) shows in its lower half. The movie enables the navigation on the frame the
// buttons become opaque, and a frame before, at nine tenths of their colour over the scene's
// cream, the green is still further off than the tolerance: once they show, keys reach them.
inline bool PodiumButtonsShow(testing_support::GameProcess& game) {
    return testing_support::WaitUntil(
        [&] {
            const auto colours = game.ReadPixels({{340, 566}});
            return colours && ColourDistance((*colours)[0], {30, 126, 79}) < 30;
        },
        testing_support::GameProcess::kTimeout);
}

}  // namespace gui_testing
