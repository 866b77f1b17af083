#pragma once

#include "tools/levels/Art.h"

#include <box2d/b2_math.h>

#include <string>
#include <vector>

// One arena as its author describes it, in world units (8 pixels a unit, y down, the origin in
// the middle of the screen). The level tool turns it into the level file, its outline drawing,
// its movies and its pictures.

// A static outline of the arena body, read from the outline drawing: a polygon, or a round stone
// (radius above 0). A green outline never makes path-finding walls. A path transform, when set,
// is written into the drawing ("translate(x,y)" or "matrix(a,b,c,d,x,y)") and the outline's points
// relative to it.
struct Outline {
    std::vector<b2Vec2> points;
    b2Vec2 centre{0.0f, 0.0f};
    float radius = 0.0f;
    bool green = false;
    std::string transform;
    b2Vec2 transformOffset{0.0f, 0.0f};
};

// A moving body with outlines of its own (body units), its art (body units, drawn on the body)
// and an optional joint to the ground at its anchor.
struct Mover {
    std::string name;
    b2Vec2 position{0.0f, 0.0f};
    float rotation = 0.0f;
    std::vector<std::vector<b2Vec2>> fixtures;
    art::Drawing art;
    // "" (none), "revolute" or "revolutespring" with the stiffness and largest torque.
    std::string joint;
    float stiffness = 0.0f;
    float maxTorque = 0.0f;
    float density = 1.0f;
    float restitution = 0.3f;
    // The movie's centre is the body's origin; else the origin lies where the art's bounds say.
    bool centred = true;
};

// A decorative movie centred at the position.
struct Decoration {
    std::string movie;
    b2Vec2 position{0.0f, 0.0f};
};

struct Teleport {
    b2Vec2 entry{0.0f, 0.0f};
    b2Vec2 exit{0.0f, 0.0f};
};

struct Arena {
    // The file names: "<folder><name>.xml" and its companions.
    std::string name;
    std::string folder = "data/levels/";
    // The extent of the art around the origin; the screen shows it whole at the view zoom.
    float halfWidth = 50.0f;
    float halfHeight = 37.5f;
    float zoom = 1.0f;
    // The background picture (water, light and bubbles); an arena without one paints its
    // backdrop in its back art.
    bool background = true;
    swfkit::Color waterTop;
    swfkit::Color waterBottom;

    std::vector<Outline> outlines;
    std::vector<Mover> movers;
    std::vector<b2Vec2> balls;
    b2Vec2 start1{0.0f, 0.0f};
    b2Vec2 start2{0.0f, 0.0f};
    std::vector<Teleport> teleports;
    std::vector<Decoration> decorations;

    // The arena body's movie: drawn behind the balls and in front of them.
    art::Drawing back;
    art::Drawing front;
};

// The arenas the game ships, in level order.
std::vector<Arena> ShippedArenas();

// The scenes played outside matches, beside "data/levels" rather than in it: the title's two
// demonstrations ("data/gametitle_level_empty.xml", "data/gametitle_level_bottle.xml"), the
// championship's podium ("data/championship_podium_level.xml") and the tutorial's two
// ("data/tutorial_level.xml", "data/tutorial_level_fun.xml", whose plank "Plank" the tutorial pins).
std::vector<Arena> SpecialArenas();
