#pragma once

#include "gui/GetReadyFocusItem.h"
#include "gui/ScreenRoles.h"

#include <memory>
#include <string>

class GUIDirector;
class GUIGame;

// The championship's get-ready screen (screen 11), over a championship match that waits: each
// player claims a creature by pressing on it ("Player1", "Player2", about the creatures), and
// the text "ready1" or "ready2" shows under a claimed one. One second after both are claimed the
// claiming controllers take the creatures, the match starts its countdown and the screen goes.
// A claimed creature holds its controller's cursor; nothing changes during the last second.
class GUIChampionshipGetReady : public GetReadyScreen {
public:
    // How far the items reach from the creatures' centres, in pixels.
    static constexpr float kReach = 40.0f;
    // How long after the second claim the match starts, in seconds.
    static constexpr float kStartDelay = 1.0f;

    explicit GUIChampionshipGetReady(GUIDirector& director) : m_Director(director) {}

    using GetReadyScreen::Load;
    // Loads the description and places the two items about the match's creatures, linked by
    // their order from left to right, the focus on "Player1". Without a running match there is
    // nothing to claim and the screen leaves at its first update.
    void Load(const std::string& file, MatchScreen& match) override;
    // The movie and items; once both are ready and the delay has passed, the match goes.
    void Update(Application& application, float dt) override;
    // A controller that has claimed a creature cannot move its cursor off it.
    void OnCommand(Controller* controller, int command) override;
    // Presses show and hide "ready1" and "ready2", and both claimed start the delay.
    void OnFocusItemEvent(Controller* controller, FocusItem* item, int kind) override;
    void OnFSCommand(const std::string& /*command*/) override {}
    bool IsOverlay() const override { return true; }
    bool UpdatesBelow() const override { return true; }

    GetReadyFocusItem* GetPlayer(int index) const { return index == 0 ? m_Player1.get() : m_Player2.get(); }
    bool IsBothReady() const { return m_BothReady; }

private:
    std::shared_ptr<GetReadyFocusItem> AddPlayer(const std::string& name, const std::string& text, float x, float y);
    bool IsBoundController(const Controller* controller) const;
    void StartMatch(Application& application);

    GUIDirector& m_Director;
    GUIGame* m_Match = nullptr;
    std::shared_ptr<GetReadyFocusItem> m_Player1;
    std::shared_ptr<GetReadyFocusItem> m_Player2;
    bool m_BothReady = false;
    float m_ReadySeconds = 0.0f;
};
