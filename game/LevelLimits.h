#pragma once

#include "game/LevelData.h"

#include <cstddef>
#include <string>

// What one level may hold. A step costs about the square of what lies piled on one spot (balls
// started on one point stay piled, each touching every other) and every ball carries its movies:
// these bounds keep a level that piles all it may on one spot to a few milliseconds a step and a
// few megabytes, while the shipped levels stay far below them (at most 3 bodies, 9 balls, 16
// fixtures making 77 shapes, and 160 outline points).
class LevelLimits {
public:
    // Bodies of the level file.
    static constexpr size_t kMaxBodies = 32;
    // Balls placed at the start.
    static constexpr size_t kMaxBalls = 32;
    // Fixtures of all bodies together: the records, their own and those of their outline
    // drawings, and again the shapes the world gets from them (an outline the physics cannot take
    // whole becomes several).
    static constexpr size_t kMaxFixtures = 256;
    // Vertices of all fixture records together (a circle counts its centre).
    static constexpr size_t kMaxOutlinePoints = 1024;

    // Holds the records read from the level file to the limits, keeping the first ones in file
    // order, and appends the outlines of each body's drawing (m_SVGFile) to its fixtures. Bodies
    // and balls past their limits are left out. Fixtures count body by body, a body's own before
    // its drawing's; from the first one that would pass kMaxFixtures or kMaxOutlinePoints on, no
    // fixture is kept and no drawing is read. A drawing that several bodies name is read once.
    // Each limit reached is logged once, with the file's name; a drawing that cannot be read is
    // logged and adds nothing.
    static void Apply(LevelData& level, const std::string& file);
};
