#pragma once

#include "game/Level.h"
#include "game/SpitGame.h"
#include "gui/ScreenRoles.h"

#include <SFML/Graphics/Transform.hpp>

#include <array>
#include <memory>
#include <string>
#include <vector>

// Whole matches, one level after another, in the in-match screen's place, played as the game's
// match screen plays them: the director's push starts the first (its pop or shutdown ends it);
// the match is built from the level (the windmill variant for the windmill level) and the two
// creatures, it is the application's current match, the first two controllers steer its
// creatures (in a training set-up the match's bot steers the second instead), and it is drawn
// zoomed by the level's view zoom about the screen's centre. Window events and the movies'
// FSCommands go to it. When a match ends, its result is appended to the
// statistics file; the finished match stays on the screen for a moment, then the next level
// starts.
class MatchViewScreen : public MatchScreen {
public:
    // How long a finished match stays on the screen, in seconds.
    static constexpr float kFinishedSeconds = 3.0f;

    // levels: the level files played in turn, starting with first (a name of the virtual file
    // system); creatures: the two creatures' files.
    MatchViewScreen(const std::vector<std::string>& levels, std::string first,
                    const std::array<std::string, 2>& creatures);
    ~MatchViewScreen() override { EndMatch(); }

    // Starts a match on the first level; without a playable level nothing runs.
    void StartMatch() override;
    // The controllers let go of the creatures, and the match (no longer the current one) and its
    // level go.
    void EndMatch() override;
    // Whether a match runs (the level could be read).
    bool IsPlayable() const { return m_Game != nullptr; }
    SpitGame* GetGame() const { return m_Game.get(); }

    void Render(sf::RenderTarget& target, sf::RenderStates states) const override;
    void Update(Application& application, float dt) override;
    void OnEvent(const sf::Event& event) override;
    void OnCommand(Controller*, int) override {}
    void Activate() override {}
    void OnFSCommand(const std::string& command) override;
    bool IsOverlay() const override { return false; }
    bool UpdatesBelow() const override { return false; }
    Controller* GetHandOver() const override { return nullptr; }
    void TakeHandOver(Controller*) override {}

private:
    // Starts a match on the level; false (nothing runs) when the level cannot be read.
    bool Start(const std::string& levelFile);
    // Appends the finished match's result to the statistics file.
    void KeepResult(Application& application);
    // The level after the current one, round to the first.
    std::string NextLevel() const;

    std::vector<std::string> m_Levels;
    std::array<std::string, 2> m_CreatureFiles;
    std::string m_First;
    std::string m_LevelFile;
    std::unique_ptr<Level> m_Level;
    // Destroyed before the level, whose world holds its bodies.
    std::unique_ptr<SpitGame> m_Game;
    sf::Transform m_Zoom;
    // Seconds since the match finished; negative while it runs.
    float m_FinishedFor = -1.0f;
};
