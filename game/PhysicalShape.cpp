#include "game/PhysicalShape.h"

#include "game/PhysicsWorld.h"

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/ConvexShape.hpp>
#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>

namespace {

constexpr float kOutlineThickness = 1.0f;

// The element's colour, edged in black one pixel wide.
void Style(sf::Shape& shape, const sf::Color& color) {
    shape.setFillColor(color);
    shape.setOutlineThickness(kOutlineThickness);
    shape.setOutlineColor(sf::Color::Black);
}

void PlaceCircle(sf::CircleShape& circle, const sf::Vector2f& centre, float radius) {
    circle.setRadius(radius);
    circle.setOrigin(radius, radius);
    circle.setPosition(centre);
}

}  // namespace

PhysicalShape::PhysicalShape(b2Body* body, float scale) : m_Body(body) {
    for (const b2Fixture* fixture = body->GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        Outline outline;
        if (fixture->GetType() == b2Shape::e_circle) {
            const auto* circle = static_cast<const b2CircleShape*>(fixture->GetShape());
            outline = {{circle->m_p}, circle->m_radius, true};
            auto shape = std::make_unique<sf::CircleShape>();
            PlaceCircle(*shape, sf::Vector2f(0.0f, 0.0f), circle->m_radius * scale);
            m_Shapes.push_back(std::move(shape));
        } else if (fixture->GetType() == b2Shape::e_polygon) {
            const auto* polygon = static_cast<const b2PolygonShape*>(fixture->GetShape());
            outline.points.assign(polygon->m_vertices, polygon->m_vertices + polygon->m_count);
            auto shape = std::make_unique<sf::ConvexShape>(outline.points.size());
            for (size_t i = 0; i < outline.points.size(); ++i) {
                shape->setPoint(i, sf::Vector2f(outline.points[i].x * scale, outline.points[i].y * scale));
            }
            m_Shapes.push_back(std::move(shape));
        } else {
            continue;
        }
        Style(*m_Shapes.back(), m_Color);
        m_Outlines.push_back(std::move(outline));
    }
}

void PhysicalShape::DrawFront(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld&) {
    for (const auto& shape : m_Shapes) {
        target.draw(*shape, states);
    }
}

bool PhysicalShape::Update(Application*, const PhysicsWorld& world, float) {
    const b2Transform& transform = m_Body->GetTransform();
    for (size_t i = 0; i < m_Outlines.size(); ++i) {
        const Outline& outline = m_Outlines[i];
        if (outline.circle) {
            const float radius = outline.radius * world.GetPixelsPerUnit();
            auto& circle = static_cast<sf::CircleShape&>(*m_Shapes[i]);
            PlaceCircle(circle, world.ToPixels(b2Mul(transform, outline.points.front())), radius);
            Style(circle, m_Color);
        } else {
            auto& polygon = static_cast<sf::ConvexShape&>(*m_Shapes[i]);
            for (size_t p = 0; p < outline.points.size(); ++p) {
                polygon.setPoint(p, world.ToPixels(b2Mul(transform, outline.points[p])));
            }
        }
    }
    return true;
}
