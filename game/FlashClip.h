#pragma once

#include "flash/FlashMovie.h"
#include "game/LevelElement.h"

#include <string>

// A movie played in the front layer: a level's decoration, or an effect the match adds that
// goes once the movie stops. Its owner places it through the movie's position.
class FlashClip : public LevelElement {
public:
    explicit FlashClip(const std::string& file);

    void DrawFront(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld& world) override;
    void DrawBack(sf::RenderTarget&, const sf::RenderStates&, const PhysicsWorld&) override {}
    void DrawOverlay(sf::RenderTarget&, const sf::RenderStates&, const PhysicsWorld&) override {}
    // Runs the movie dt seconds on; false when it has nothing loaded or has stopped.
    bool Update(Application* application, const PhysicsWorld& world, float dt) override;

    FlashMovie& GetMovie() { return m_Movie; }

private:
    FlashMovie m_Movie;
};
