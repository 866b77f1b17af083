#include "gui/GUIChampionshipGetReady.h"

#include "app/Application.h"
#include "app/Controller.h"
#include "app/Log.h"
#include "game/Globbo.h"
#include "game/SpitGame.h"
#include "gui/FocusLinks.h"
#include "gui/GUIDirector.h"
#include "gui/GUIGame.h"

void GUIChampionshipGetReady::Load(const std::string& file, MatchScreen& match) {
    FlashGUI::Load(file);
    m_BothReady = false;
    m_ReadySeconds = 0.0f;
    m_Player1.reset();
    m_Player2.reset();
    m_Match = dynamic_cast<GUIGame*>(&match);
    const SpitGame* game = m_Match != nullptr ? m_Match->GetGame() : nullptr;
    if (game == nullptr || game->GetGlobbo1() == nullptr || game->GetGlobbo2() == nullptr) {
        m_Match = nullptr;
        return;
    }
    // The creatures are drawn through the match screen's zoom.
    const sf::Transform& zoom = m_Match->getTransform();
    const b2Vec2& c1 = game->GetGlobbo1()->m_ScreenCenter;
    const b2Vec2& c2 = game->GetGlobbo2()->m_ScreenCenter;
    const sf::Vector2f p1 = zoom.transformPoint(c1.x, c1.y);
    const sf::Vector2f p2 = zoom.transformPoint(c2.x, c2.y);
    m_Player1 = AddPlayer("Player1", "ready1", p1.x, p1.y);
    m_Player2 = AddPlayer("Player2", "ready2", p2.x, p2.y);
    if (p1.x <= p2.x) {
        LinkRight(m_Player1.get(), m_Player2.get());
    } else {
        LinkRight(m_Player2.get(), m_Player1.get());
    }
    SetFocus("Player1");
}

std::shared_ptr<GetReadyFocusItem> GUIChampionshipGetReady::AddPlayer(const std::string& name, const std::string& text,
                                                                      float x, float y) {
    auto item = std::make_shared<GetReadyFocusItem>(name, FocusRect{x - kReach, y - kReach, x + kReach, y + kReach});
    InsertFocusItemBefore(item, std::string());
    SetTextPosition(text, {x - kReach, y + kReach});
    SetTextVisible(text, false);
    return item;
}

bool GUIChampionshipGetReady::IsBoundController(const Controller* controller) const {
    return (m_Player1 && m_Player1->IsBound() && m_Player1->GetController() == controller) ||
           (m_Player2 && m_Player2->IsBound() && m_Player2->GetController() == controller);
}

void GUIChampionshipGetReady::OnCommand(Controller* controller, int command) {
    if (m_BothReady) {
        return;
    }
    if (command >= Controller::kLeft && command <= Controller::kDown && IsBoundController(controller)) {
        return;
    }
    FlashGUI::OnCommand(controller, command);
}

void GUIChampionshipGetReady::OnFocusItemEvent(Controller* /*controller*/, FocusItem* /*item*/, int kind) {
    if (m_BothReady || kind != kPressed || !m_Player1 || !m_Player2) {
        return;
    }
    SetTextVisible("ready1", m_Player1->IsBound());
    SetTextVisible("ready2", m_Player2->IsBound());
    if (m_Player1->IsBound() && m_Player2->IsBound()) {
        m_BothReady = true;
        m_ReadySeconds = 0.0f;
    }
}

void GUIChampionshipGetReady::Update(Application& application, float dt) {
    FlashGUI::Update(application, dt);
    if (m_Match == nullptr || m_Match->GetGame() == nullptr) {
        log_error("GUIChampionshipGetReady: no match to get ready for");
        m_Match = nullptr;
        m_Director.PopScreen();
        return;
    }
    if (!m_BothReady) {
        return;
    }
    m_ReadySeconds += dt;
    if (m_ReadySeconds > kStartDelay) {
        StartMatch(application);
    }
}

// A controller no longer listed by the application steers nothing; one that claimed both
// creatures steers both.
void GUIChampionshipGetReady::StartMatch(Application& application) {
    SpitGame& game = *m_Match->GetGame();
    game.AttachControllers(application.FindController(m_Player1->GetController()),
                           application.FindController(m_Player2->GetController()));
    if (game.m_State == SpitGame::kWaiting) {
        game.m_State = SpitGame::kCountdown;
    }
    m_BothReady = false;
    m_Director.PopScreen();
}
