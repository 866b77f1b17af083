#pragma once

#include "app/standin/GUIDirector.h"
#include "game/Level.h"
#include "game/SpitGame.h"

#include <SFML/Graphics/Transform.hpp>

#include <array>
#include <memory>
#include <string>
#include <vector>

// Whole matches, one level after another, as the game's match screen plays them: the match is
// built from the level (the windmill variant for the windmill level) and the two creatures, it is
// the application's current match, the first two controllers steer its creatures, and it is
// drawn zoomed by the level's view zoom about the screen's centre (in a training set-up the
// match's bot steers the second creature instead). Window events and the movies' FSCommands go to
// it. When a match ends, its result is appended to the statistics file; the finished match stays
// on the screen for a moment, then the next level starts.
class MatchScreen : public standin::Screen {
public:
    // How long a finished match stays on the screen, in seconds.
    static constexpr float kFinishedSeconds = 3.0f;

    // levels: the level files played in turn, starting with first (a name of the virtual file
    // system); creatures: the two creatures' files.
    MatchScreen(const std::vector<std::string>& levels, const std::string& first,
                const std::array<std::string, 2>& creatures);
    // The controllers let go of the creatures, and the match is no longer the current one.
    ~MatchScreen() override;

    // Starts a match on the level; false (nothing runs) when the level cannot be read.
    bool Start(const std::string& levelFile);

    void Update(Application& application, float dt) override;
    void Render(sf::RenderTarget& target) override;
    void OnEvent(const sf::Event& event) override;
    void OnFSCommand(const char* command) override;

    SpitGame* GetGame() const { return m_Game.get(); }
    const std::string& GetLevelFile() const { return m_LevelFile; }
    // The transform the match is drawn with: its zoom about the 800 x 600 screen's centre.
    const sf::Transform& GetZoom() const { return m_Zoom; }

private:
    void Stop();
    // Appends the finished match's result to the statistics file.
    void KeepResult(Application& application);
    // The level after the current one, round to the first.
    std::string NextLevel() const;

    std::vector<std::string> m_Levels;
    std::array<std::string, 2> m_CreatureFiles;
    std::string m_LevelFile;
    std::unique_ptr<Level> m_Level;
    // Destroyed before the level, whose world holds its bodies.
    std::unique_ptr<SpitGame> m_Game;
    sf::Transform m_Zoom;
    // Seconds since the match finished; negative while it runs.
    float m_FinishedFor = -1.0f;
};
