#pragma once

#include "app/standin/GUIDirector.h"
#include "game/Level.h"

#include <SFML/Graphics/Transform.hpp>

#include <memory>
#include <string>

// One level as a match shows it, without creatures: each update steps the world and runs the
// level; the level is drawn back layer, balls, front layer (and the debug overlay while the
// application's debug drawing is on, Alt+D), zoomed by its view zoom about the screen's centre.
// Window events go to the level's outline sketch.
class LevelScreen : public standin::Screen {
public:
    // The windmill variant for the windmill level's file, the plain level for any other.
    explicit LevelScreen(const std::string& file);

    // Loads the level; false when it cannot be played.
    bool Load();

    void Update(Application& application, float dt) override;
    void Render(sf::RenderTarget& target) override;
    void OnEvent(const sf::Event& event) override;

    Level& GetLevel() { return *m_Level; }
    // The transform the level is drawn with: its zoom about the 800 x 600 screen's centre.
    const sf::Transform& GetZoom() const { return m_Zoom; }

private:
    std::string m_File;
    std::unique_ptr<Level> m_Level;
    sf::Transform m_Zoom;
};
