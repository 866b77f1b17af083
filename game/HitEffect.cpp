#include "game/HitEffect.h"

#include "game/FlashClip.h"
#include "game/Globbo.h"
#include "game/Level.h"

#include <box2d/b2_body.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace hit_effect {

float Rotation(const b2Vec2& d) {
    return static_cast<float>(std::atan2(-d.y, -d.x) / std::numbers::pi * 180.0 - 90.0);
}

}  // namespace hit_effect

void AddHitEffect(Level& level, const Globbo& struck, const b2Body& ball, const b2Vec2& d) {
    auto clip = std::make_unique<FlashClip>(hit_effect::kMovie);
    FlashMovie& movie = clip->GetMovie();
    movie.setPosition(level.GetPhysics().ToPixels(ball.GetPosition()));
    movie.setOrigin(hit_effect::kCentreX, hit_effect::kCentreY);
    movie.setRotation(hit_effect::Rotation(d));
    const sf::Color& colour = struck.m_BodyColor;
    movie.SetColor(colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f, colour.a / 255.0f);
    level.AddEffect(std::move(clip));
}
