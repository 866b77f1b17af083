#include "game/Teleporter.h"

#include "game/PhysicsWorld.h"

namespace {

constexpr float kExitRadiusPixels = 5.0f;

void Mark(sf::CircleShape& mark, const sf::Vector2f& centre, float radius, const sf::Color& fill) {
    mark.setRadius(radius);
    mark.setOrigin(radius, radius);
    mark.setPosition(centre);
    mark.setFillColor(fill);
    mark.setOutlineThickness(1.0f);
    mark.setOutlineColor(sf::Color::Black);
}

}  // namespace

Teleporter::Teleporter(const b2Vec2& position, float radius, const b2Vec2& position2)
    : m_Position(position), m_Radius(radius), m_Position2(position2) {}

void Teleporter::DrawOverlay(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld& world) {
    Mark(m_Entry, world.ToPixels(m_Position), m_Radius * world.GetPixelsPerUnit(), sf::Color(255, 0, 0, 255));
    Mark(m_Exit, world.ToPixels(m_Position2), kExitRadiusPixels, sf::Color(0, 255, 0, 255));
    target.draw(m_Entry, states);
    target.draw(m_Exit, states);
}
