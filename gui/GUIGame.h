#pragma once

#include "gui/ScreenRoles.h"

#include <SFML/Graphics/Transformable.hpp>

#include <memory>

class GUIDirector;
class Level;
class SpitGame;

// The in-match screen (screen 13): builds the level and the match from the game set-up, runs
// and draws it, and when the match is over keeps its result in the statistics file and opens
// the match over (screen 15) over it, once. Everything it shows is drawn by the match, zoomed by
// the level's view zoom about the centre of the screen (the screen's transform).
class GUIGame : public MatchScreen, public sf::Transformable {
public:
    explicit GUIGame(GUIDirector& director);
    ~GUIGame() override;
    GUIGame(const GUIGame&) = delete;
    GUIGame& operator=(const GUIGame&) = delete;

    // Ends any earlier match, stops the music and starts a match of the set-up's level and
    // creatures (with a bot in training). Outside a championship it attaches the set-up's
    // controllers to the creatures and shows the controls hint. A level that cannot be read
    // gives a match in an empty arena.
    void StartMatch() override;
    // The controllers let go of the creatures; the match (no longer the current one) and its
    // level go.
    void EndMatch() override;

    // Runs the match; when it has finished, detaches the controllers, records it in a running
    // championship, appends its result to the statistics file and pushes the match over, once per
    // match.
    void Update(Application& application, float dt) override;
    void Render(sf::RenderTarget& target, sf::RenderStates states) const override;
    void OnEvent(const sf::Event& event) override;
    void OnCommand(Controller* /*controller*/, int /*command*/) override {}
    void Activate() override {}
    // Everything goes to the match (the countdown's "Go" starts play).
    void OnFSCommand(const std::string& command) override;
    bool IsOverlay() const override { return false; }
    bool UpdatesBelow() const override { return false; }
    Controller* GetHandOver() const override { return nullptr; }
    void TakeHandOver(Controller* /*controller*/) override {}

    SpitGame* GetGame() const { return m_Game.get(); }
    Level* GetLevel() const { return m_Level.get(); }
    // Whether the match's end has been handled (its result kept, the match over opened).
    bool IsEnded() const { return m_Ended; }

private:
    void AttachControllers();
    void ShowControlsHint(int mode);
    void SetZoom(float zoom);
    void KeepResult(Application& application);

    GUIDirector& m_Director;
    std::unique_ptr<Level> m_Level;
    // Goes before the level, whose world holds its bodies.
    std::unique_ptr<SpitGame> m_Game;
    bool m_Ended = false;
};
