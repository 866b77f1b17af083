#pragma once

#include <box2d/b2_math.h>

#include <vector>

// Turns a level outline into polygons that Box2D's polygon shape takes without tripping one of
// its assertions: convex, 3 to 8 vertices, no two closer than Box2D welds, no three in a line,
// a real area. A convex outline of up to 8 points stays whole (in its own order, cleaned); any
// other simple outline is split into convex pieces of at most 8 vertices, made of its own points,
// whose areas add up to the outline's. Outlines that are degenerate, cross or touch themselves,
// or hold more than kMaxPoints points give nothing.
class ConvexPieces {
public:
    static constexpr int kMaxPieceVertices = 8;
    static constexpr int kMaxPoints = 256;
    // Points closer than this (units) count as one; far above Box2D's own welding distance.
    static constexpr float kWeldDistance = 0.01f;
    // Outlines and pieces of a smaller area (square units) are degenerate.
    static constexpr double kMinArea = 1.0e-5;

    enum class Outcome {
        kWhole,         // convex, up to 8 points: one piece, in the outline's own order
        kSplit,         // split into convex pieces, each counter-clockwise (positive area)
        kDegenerate,    // fewer than 3 distinct points off one line, or no area
        kSelfCrossing,  // two edges cross or touch
        kTooManyPoints,
    };

    struct Result {
        Outcome outcome = Outcome::kDegenerate;
        std::vector<std::vector<b2Vec2>> pieces;
    };

    static Result Split(const std::vector<b2Vec2>& outline);

    // The enclosed area, positive when the outline runs counter-clockwise in y-up terms (the
    // orientation Box2D builds polygons in).
    static double SignedArea(const std::vector<b2Vec2>& outline);
    // The polygon as the level hands it to Box2D: in its own order when its first three points
    // turn counter-clockwise (in y-up terms), else reversed.
    static std::vector<b2Vec2> Oriented(const std::vector<b2Vec2>& polygon);
    // Whether every turn of the outline goes the same way as its area, clearly.
    static bool IsConvex(const std::vector<b2Vec2>& outline);
};
