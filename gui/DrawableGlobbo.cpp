#include "gui/DrawableGlobbo.h"

#include "game/Globbo.h"
#include "game/ScreenMapping.h"

#include <claw/tween/easing/easing_quad.hpp>
#include <claw/tween/single_tweener.hpp>

#include <cmath>

namespace {

// The creature is drawn as a match draws it: the arena's half extents and pixels per unit.
const ScreenMapping kMatchMapping{b2Vec2(50.0f, 37.5f), 8.0f};

double Finite(double value, double fallback) {
    return std::isfinite(value) ? value : fallback;
}

// Glides the value to the target; a glide whose length is not a positive number is instant.
void Glide(claw::tween::tweener_group& tweens, double& value, double target, double duration) {
    target = Finite(target, value);
    if (!std::isfinite(duration) || duration <= 0.0) {
        value = target;
        return;
    }
    // The glide writes through a callback of its own: the tweener is copied into the group, so
    // nothing in it may point back at the tweener it was made as.
    double* written = &value;
    tweens.insert(claw::tween::single_tweener(
        value, target, duration, [written](double now) { *written = now; }, claw::tween::easing_quad::ease_in_out));
}

}  // namespace

DrawableGlobbo::DrawableGlobbo(Globbo& creature, const sf::Vector2f& position, double scale)
    : m_Creature(&creature), m_X(Finite(position.x, 0.0)), m_Y(Finite(position.y, 0.0)), m_Scale(Finite(scale, 1.0)) {}

void DrawableGlobbo::MoveTo(const sf::Vector2f& target, double duration) {
    Glide(m_Tweens, m_X, target.x, duration);
    Glide(m_Tweens, m_Y, target.y, duration);
}

void DrawableGlobbo::ScaleTo(double target, double duration) {
    Glide(m_Tweens, m_Scale, target, duration);
}

void DrawableGlobbo::Update(float dt) {
    if (std::isfinite(dt) && dt > 0.0f) {
        m_Tweens.update(dt);
    }
}

void DrawableGlobbo::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    states.transform.translate(static_cast<float>(m_X), static_cast<float>(m_Y));
    states.transform.scale(static_cast<float>(m_Scale), static_cast<float>(m_Scale));
    m_Creature->Render(target, states, kMatchMapping, sf::Vector2f(0.0f, 0.0f));
}
