#pragma once

#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>

class Application;
class PhysicsWorld;

// Whatever a level owns, draws and animates besides the creatures: movies on bodies, outlines,
// clips, teleporter marks and the balls. The level draws its elements in three layers through
// the render states it is given (a match's zoom) and updates them once per step.
class LevelElement {
public:
    virtual ~LevelElement() = default;

    virtual void DrawFront(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld& world) = 0;
    virtual void DrawBack(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld& world) = 0;
    // The debug overlay.
    virtual void DrawOverlay(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld& world) = 0;
    // dt seconds on; the application (may be null) is handed on to the movies. False once the
    // element has finished: the level then drops it when it is a temporary effect.
    virtual bool Update(Application* application, const PhysicsWorld& world, float dt) = 0;
};
