#pragma once

#include <SFML/Graphics/Drawable.hpp>
#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/System/Vector2.hpp>
#include <claw/tween/tweener_group.hpp>

class Globbo;

// A live creature drawn on a menu, its screen centre at a point and at a scale that glide to new
// values: every glide eases in and out along the same quadratic curve.
class DrawableGlobbo : public sf::Drawable {
public:
    // The creature (not owned) shows with its screen centre at the position, at the scale.
    DrawableGlobbo(Globbo& creature, const sf::Vector2f& position, double scale);
    DrawableGlobbo(const DrawableGlobbo&) = delete;
    DrawableGlobbo& operator=(const DrawableGlobbo&) = delete;

    // Glides from where it is to the target in duration seconds.
    void MoveTo(const sf::Vector2f& target, double duration);
    // Grows or shrinks from its scale to the target in duration seconds.
    void ScaleTo(double target, double duration);
    // Runs the glides dt seconds on.
    void Update(float dt);
    // The creature through its own preview drawing, in the match's world mapping, moved to the
    // position and scaled.
    virtual void Render(sf::RenderTarget& target, sf::RenderStates states) const;

    sf::Vector2f GetPosition() const { return {static_cast<float>(m_X), static_cast<float>(m_Y)}; }
    double GetScale() const { return m_Scale; }
    Globbo& GetCreature() const { return *m_Creature; }

private:
    void draw(sf::RenderTarget& target, sf::RenderStates states) const final { Render(target, states); }

    Globbo* m_Creature;
    double m_X;
    double m_Y;
    double m_Scale;
    // The glides write into the three values above.
    claw::tween::tweener_group m_Tweens;
};
