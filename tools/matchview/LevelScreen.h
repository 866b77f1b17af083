#pragma once

#include "game/Level.h"
#include "gui/ScreenRoles.h"

#include <SFML/Graphics/Transform.hpp>

#include <memory>
#include <string>

// One level as a match shows it, without creatures, in the place of the in-match screen: the
// director's push starts it (loads the level) and its pop or shutdown ends it. Each update steps
// the world and runs the level; the level is drawn back layer, balls, front layer (and the debug
// overlay while the application's debug drawing is on, Alt+D), zoomed by its view zoom about the
// screen's centre. Window events go to the level's outline sketch.
class LevelScreen : public MatchScreen {
public:
    explicit LevelScreen(std::string file) : m_File(std::move(file)) {}

    // Makes the level (the windmill variant for the windmill level's file, the plain level for
    // any other) and loads it; without a playable level the screen shows nothing.
    void StartMatch() override;
    void EndMatch() override { m_Level.reset(); }
    // Whether the level was loaded and can be played.
    bool IsPlayable() const { return m_Level != nullptr; }

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
    std::unique_ptr<Level> m_Level;
    sf::Transform m_Zoom;
};
