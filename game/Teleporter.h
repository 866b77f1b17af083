#pragma once

#include "game/LevelElement.h"

#include <SFML/Graphics/CircleShape.hpp>
#include <box2d/b2_math.h>

// A teleporter of the level file. It has no behaviour: the debug overlay marks its entry (a red
// disc of its radius) and its exit (a small green disc).
class Teleporter : public LevelElement {
public:
    Teleporter(const b2Vec2& position, float radius, const b2Vec2& position2);

    void DrawFront(sf::RenderTarget&, const sf::RenderStates&, const PhysicsWorld&) override {}
    void DrawBack(sf::RenderTarget&, const sf::RenderStates&, const PhysicsWorld&) override {}
    void DrawOverlay(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld& world) override;
    bool Update(Application*, const PhysicsWorld&, float) override { return true; }

    const sf::CircleShape& GetEntryMark() const { return m_Entry; }
    const sf::CircleShape& GetExitMark() const { return m_Exit; }

private:
    b2Vec2 m_Position;
    float m_Radius;
    b2Vec2 m_Position2;
    sf::CircleShape m_Entry;
    sf::CircleShape m_Exit;
};
