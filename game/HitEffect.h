#pragma once

#include <box2d/b2_math.h>

class Globbo;
class Level;
class b2Body;

// The splash shown where a ball owned by one creature strikes another: "data/ball_hit.swf",
// played once in the level's front layer and dropped when it stops.
namespace hit_effect {

constexpr const char* kMovie = "data/ball_hit.swf";
// The point of the movie (pixels) that sits where the ball struck.
constexpr float kCentreX = 35.0f;
constexpr float kCentreY = 28.0f;

// The movie's rotation in degrees (clockwise on the screen, as SFML turns) that points its up
// direction along d, the unit direction from the struck creature's centre to the ball.
float Rotation(const b2Vec2& d);

}  // namespace hit_effect

// Adds the splash at the ball, turned along d and tinted with the struck creature's body colour
// (alpha included), to the level's temporary effects.
void AddHitEffect(Level& level, const Globbo& struck, const b2Body& ball, const b2Vec2& d);
