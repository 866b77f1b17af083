#pragma once

#include "app/standin/GUIDirector.h"
#include "game/Globbo.h"
#include "game/Level.h"

#include <SFML/Graphics/Transform.hpp>

#include <array>
#include <memory>
#include <string>

// One level as a match shows it, with two creatures on it: each update steps the world, lets the
// application's first two controllers steer the creatures (spitting comes with the controllers'
// own key and button events), and runs the creatures and the level. Nothing takes the balls in:
// they bounce off the creatures. The level is drawn back layer, the creatures' outlines, the
// balls, the creatures' parts, front layer (and the debug overlay with the mouths' outlines while
// the application's debug drawing is on, Alt+D), zoomed by its view zoom about the screen's
// centre. Window events go to the level's outline sketch.
class LevelScreen : public standin::Screen {
public:
    // The windmill variant for the windmill level's file, the plain level for any other; the
    // creatures of the two files (names of the virtual file system).
    LevelScreen(const std::string& file, const std::array<std::string, 2>& creatures);
    // The controllers let go of the creatures before these go.
    ~LevelScreen() override;

    // Loads the level and puts the creatures on its start positions, their volumes inflated as a
    // match does, steered by the application's first two controllers (when there are that
    // many); false when the level cannot be played.
    bool Load();

    void Update(Application& application, float dt) override;
    void Render(sf::RenderTarget& target) override;
    void OnEvent(const sf::Event& event) override;

    Level& GetLevel() { return *m_Level; }
    Globbo* GetCreature(int index) const { return m_Creatures[index].get(); }
    // The transform the level is drawn with: its zoom about the 800 x 600 screen's centre.
    const sf::Transform& GetZoom() const { return m_Zoom; }

    // A match's creatures start with their volumes inflated by this.
    static constexpr float kInflation = 1.3f;

private:
    std::string m_File;
    std::array<std::string, 2> m_CreatureFiles;
    std::unique_ptr<Level> m_Level;
    // Destroyed before the level, whose world holds their bodies.
    std::array<std::unique_ptr<Globbo>, 2> m_Creatures;
    sf::Transform m_Zoom;
};
