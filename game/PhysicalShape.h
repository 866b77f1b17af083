#pragma once

#include "game/LevelElement.h"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Shape.hpp>
#include <box2d/b2_math.h>

#include <memory>
#include <vector>

class b2Body;

// The outline of a body's fixtures, drawn in the front layer: one shape per circle or polygon
// fixture, in the body's fixture-list order, filled with the element's colour (white) and edged
// in black. The geometry is copied when the element is made; each update places it where the
// body is.
class PhysicalShape : public LevelElement {
public:
    // The shapes at their body-local geometry times scale, until the first update.
    PhysicalShape(b2Body* body, float scale);

    void DrawFront(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld& world) override;
    void DrawBack(sf::RenderTarget&, const sf::RenderStates&, const PhysicsWorld&) override {}
    void DrawOverlay(sf::RenderTarget&, const sf::RenderStates&, const PhysicsWorld&) override {}
    // Moves every shape onto the body's pixels: polygon points to the transformed vertices,
    // circles rebuilt around the transformed centre with the radius in pixels. Always true.
    bool Update(Application* application, const PhysicsWorld& world, float dt) override;

    // The shapes, for drawing and inspection.
    const std::vector<std::unique_ptr<sf::Shape>>& GetShapes() const { return m_Shapes; }

private:
    // A fixture's geometry in body units: a circle has one point (its centre) and a radius.
    struct Outline {
        std::vector<b2Vec2> points;
        float radius = 0.0f;
        bool circle = false;
    };

    b2Body* m_Body;
    sf::Color m_Color{255, 255, 255, 255};
    std::vector<Outline> m_Outlines;
    std::vector<std::unique_ptr<sf::Shape>> m_Shapes;
};
