#pragma once

#include "game/PhysicsWorld.h"

#include <SFML/System/Vector2.hpp>
#include <box2d/b2_math.h>

// Where world points show on the 800 x 600 screen: pixel = (point + offset) * scale. A match
// draws with its world's half extents and scale; a menu that shows a creature elsewhere shifts
// the offset.
struct ScreenMapping {
    b2Vec2 offset{50.0f, 37.5f};
    float scale = 8.0f;

    static ScreenMapping Of(const PhysicsWorld& world) {
        return {b2Vec2(world.GetHalfWidth(), world.GetHalfHeight()), world.GetPixelsPerUnit()};
    }

    b2Vec2 Map(const b2Vec2& point) const { return scale * (point + offset); }
    sf::Vector2f ToScreen(const b2Vec2& point) const {
        const b2Vec2 pixel = Map(point);
        return {pixel.x, pixel.y};
    }
};
