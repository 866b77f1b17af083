#pragma once

#include "game/Globbo.h"
#include "game/Level.h"
#include "gui/ScreenRoles.h"

#include <SFML/Graphics/Transform.hpp>

#include <array>
#include <memory>
#include <string>

// One level as a match shows it, with two creatures on it, in the place of the in-match screen:
// the director's push starts it (loads the level and puts the creatures on its start positions)
// and its pop or shutdown ends it. Each update steps the world, lets the application's first two
// controllers steer the creatures (spitting comes with the controllers' own key and button
// events), and runs the creatures and the level. Nothing takes the balls in: they bounce off the
// creatures. The level is drawn back layer, the creatures' outlines, the balls, the creatures'
// parts, front layer (and the debug overlay with the mouths' outlines while the application's
// debug drawing is on, Alt+D), zoomed by its view zoom about the screen's centre. Window events
// go to the level's outline sketch.
class LevelScreen : public MatchScreen {
public:
    // A match's creatures start with their volumes inflated by this.
    static constexpr float kInflation = 1.3f;

    // The level file and the creatures' files (names of the virtual file system).
    LevelScreen(std::string file, const std::array<std::string, 2>& creatures)
        : m_File(std::move(file)), m_CreatureFiles(creatures) {}
    ~LevelScreen() override { EndMatch(); }

    // Makes the level (the windmill variant for the windmill level's file, the plain level for
    // any other) and loads it, then the creatures, steered by the application's first two
    // controllers (when there are that many); without a playable level the screen shows nothing.
    void StartMatch() override;
    // The controllers let go of the creatures, which go before the level.
    void EndMatch() override;
    // Whether the level was loaded and can be played.
    bool IsPlayable() const { return m_Level != nullptr; }
    Globbo* GetCreature(int index) const { return m_Creatures[index].get(); }

    void Render(sf::RenderTarget& target, sf::RenderStates states) const override;
    void Update(Application& application, float dt) override;
    void OnEvent(const sf::Event& event) override;
    void OnCommand(Controller*, int) override {}
    void Activate() override {}
    void OnFSCommand(const std::string&) override {}
    bool IsOverlay() const override { return false; }
    bool UpdatesBelow() const override { return false; }
    Controller* GetHandOver() const override { return nullptr; }
    void TakeHandOver(Controller*) override {}

private:
    std::string m_File;
    std::array<std::string, 2> m_CreatureFiles;
    std::unique_ptr<Level> m_Level;
    // Destroyed before the level, whose world holds their bodies.
    std::array<std::unique_ptr<Globbo>, 2> m_Creatures;
    sf::Transform m_Zoom;
};
