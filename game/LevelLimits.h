#pragma once

#include "game/LevelData.h"

#include <cstddef>
#include <string>

// What one level may hold. A step costs about the square of what lies piled on one spot (balls
// started on one point stay piled, each touching every other), more again for what starts inside
// fixed outlines, and every ball carries its movies: these bounds keep the worst level a file can
// describe to a few milliseconds a step and a few megabytes, while the shipped levels stay far
// below them (at most 3 bodies, 9 balls, 16 fixtures making 77 shapes, 8 of them on moving
// bodies, 160 outline points, and nothing that starts inside a fixed outline).
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
    // Shapes of the moving bodies together (the balls not counted): moving shapes piled on one
    // spot all touch each other.
    static constexpr size_t kMaxMovingShapes = 64;
    // Vertices of all fixture records together (a circle counts its centre).
    static constexpr size_t kMaxOutlinePoints = 1024;
    // Shapes of fixed bodies that the moving bodies and the balls, all together, start inside of
    // (a pair of shapes that overlap counts once). The physics engine's continuous collision goes
    // through every such pair again and again within each step: a body started deep inside the
    // walls' outlines would hold up every frame for seconds. The level stops the moving bodies
    // and leaves out the balls that would pass it (see Level::Load).
    static constexpr size_t kMaxStartingOverlaps = 32;

    // Holds the records read from the level file to the limits, keeping the first ones in file
    // order, and appends the outlines of each body's drawing (m_SVGFile) to its fixtures. Bodies
    // and balls past their limits are left out. Fixtures count body by body, a body's own before
    // its drawing's; from the first one that would pass kMaxFixtures or kMaxOutlinePoints on, no
    // fixture is kept and no drawing is read. A drawing that several bodies name is read once.
    // Each limit reached is logged once, with the file's name; a drawing that cannot be read is
    // logged and adds nothing.
    static void Apply(LevelData& level, const std::string& file);
};
