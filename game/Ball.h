#pragma once

#include "flash/FlashMovie.h"
#include "game/FlashBody.h"

#include <box2d/b2_math.h>

#include <memory>

class PhysicsWorld;

// One of the balls the creatures fight over: a registered dynamic body (kind ball, free, no
// owner) with one circle fixture of radius 1 that collides with everything but creature mouths,
// the picture "data/ball.swf" (which never turns) and a glow, "data/ball_glow.swf", shown while
// the ball lies nearly still.
class Ball : public FlashBody {
public:
    static constexpr float kRadius = 1.0f;
    // The fixture's collision filter: category 4, colliding with everything but creature mouths
    // (category 2).
    static constexpr uint16 kCategory = 4;
    static constexpr uint16 kMask = 0xFFFD;
    // The glow shows below this squared speed and goes above the second one (units^2/s^2), so a
    // ball between the two keeps whatever it shows.
    static constexpr float kGlowOnSpeedSquared = 1.0f;
    static constexpr float kGlowOffSpeedSquared = 1.5f;

    // A ball at the position; null (logged) when the world refuses the body.
    static std::unique_ptr<Ball> Create(PhysicsWorld& world, const b2Vec2& position);

    // The ball's picture, then its glow while that shows.
    void DrawFront(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld& world) override;
    // Places and runs the picture, then shows or hides the glow by the ball's speed. Always true.
    bool Update(Application* application, const PhysicsWorld& world, float dt) override;

    FlashMovie& GetGlowMovie() { return m_Glow; }
    bool IsGlowVisible() const { return m_GlowVisible; }
    // Whether the ball shows as a burden: held by a creature that does not own it. The match sets
    // it with the ball's colour.
    bool IsBurden() const { return m_Burden; }
    void SetBurden(bool burden) { m_Burden = burden; }

    // The first frame of the glow's loop for a ball resting at distance d from the origin, past
    // the frame labelled "showup": 0 to 9, so that resting balls do not pulse in step.
    static int GlowFrameOffset(float distance);

private:
    explicit Ball(b2Body* body);

    void ShowGlow();
    void HideGlow();

    FlashMovie m_Glow;
    bool m_GlowVisible = false;
    bool m_Burden = false;
};
