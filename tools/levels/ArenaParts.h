#pragma once

#include "tools/levels/Arena.h"

#include <cstdint>
#include <string>
#include <vector>

// Building blocks of the arenas: each adds its outlines (the physics) and its art (what the
// player sees) to an arena together, so the two always match. World units throughout.
namespace parts {

// The colours of one arena's rocks, stones and weed.
struct Palette {
    swfkit::Color rock;
    swfkit::Color stone;
    swfkit::Color weed;
};

// A small deterministic generator, so that every build draws the same pebbles and blades.
class Random {
public:
    explicit Random(uint32_t seed) : m_State(seed * 2654435761u + 1u) {}
    // A number in [low, high).
    double Next(double low, double high);

private:
    uint32_t m_State;
};

// Wavy rock walls along the four edges of the arena: thickness in units from each edge, the
// inner edge waving by amplitude.
void AddBorders(Arena& arena, const Palette& palette, float top, float bottom, float side, float amplitude,
                uint32_t seed);
// A rock of the given outline, with its shadow and pebbles. A transform (see Outline) is written
// into the outline drawing.
void AddRock(Arena& arena, const std::vector<b2Vec2>& points, const Palette& palette, uint32_t seed,
             const std::string& transform = "", const b2Vec2& transformOffset = b2Vec2(0.0f, 0.0f));
// A round stone: an arc in the outline drawing.
void AddStone(Arena& arena, const b2Vec2& centre, float radius, const Palette& palette);
// A green mound of weed standing on y = base between x0 and x1: solid, but never a path wall.
void AddWeed(Arena& arena, float x0, float x1, float base, float height, const Palette& palette, uint32_t seed);
// Dim reef shapes and kelp in the distance, behind everything.
void AddDistantReef(Arena& arena, uint32_t seed);
// The whole backdrop in flat bands of water from the arena's top colour to its bottom one, with
// rays of light: for arenas without a background picture.
void AddWaterBands(Arena& arena);

// A pinwheel of blades (lengths in units) on a hub, turning about its origin.
Mover Windmill(const std::string& name, const b2Vec2& position, float rotation, int blades, float length, float width,
               const swfkit::Color& first, const swfkit::Color& second, const swfkit::Color& hub);
// A paddle from its pivot (the origin) along x, sprung back to its starting angle.
Mover Flipper(const std::string& name, const b2Vec2& pivot, float rotation, float length, const swfkit::Color& color,
              const swfkit::Color& tip);

// A star outline of the given points, radii and turn.
std::vector<b2Vec2> Star(const b2Vec2& centre, int points, float outer, float inner, float rotation);
// A rounded blob whose radius swells in lobes.
std::vector<b2Vec2> Blob(const b2Vec2& centre, float radius, int lobes, float depth, float phase, int count);
// A capsule-topped pillar standing from below the arena up to the top y.
std::vector<b2Vec2> Pillar(float x, float halfWidth, float top, float bottom);

}  // namespace parts
