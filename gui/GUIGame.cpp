#include "gui/GUIGame.h"

#include "app/Application.h"
#include "app/SoundManager.h"
#include "app/UserPreferences.h"
#include "game/LevelWindmill.h"
#include "game/SpitGame.h"
#include "game/StatisticsFile.h"
#include "gui/Championship.h"
#include "gui/GUIDirector.h"

#include <cmath>

namespace {

constexpr float kScreenWidth = 800.0f;
constexpr float kScreenHeight = 600.0f;

}  // namespace

GUIGame::GUIGame(GUIDirector& director) : m_Director(director) {}

GUIGame::~GUIGame() {
    EndMatch();
}

void GUIGame::StartMatch() {
    EndMatch();
    SoundManager::GetInstance().StopMusic();
    Application& application = Application::GetInstance();
    const int mode = application.matchSetup.mode;
    if (application.levelFile == Level::kWindmillLevel) {
        m_Level = std::make_unique<LevelWindmill>();
    } else {
        m_Level = std::make_unique<Level>();
    }
    m_Game = std::make_unique<SpitGame>(application.levelFile, m_Level.get(), mode != MatchSetup::Training,
                                        application.player1File, application.player2File);
    application.currentGame = m_Game.get();
    m_Ended = false;
    if (mode != MatchSetup::Championship) {
        AttachControllers();
        ShowControlsHint(mode);
    }
    SetZoom(m_Level->GetData().m_ViewZoom);
}

void GUIGame::AttachControllers() {
    const Application& application = Application::GetInstance();
    m_Game->AttachControllers(application.player1Controller, application.player2Controller);
}

// The first quick or training match after start-up waits with its hint until the player has
// moved and spat; later ones only show it.
void GUIGame::ShowControlsHint(int mode) {
    UserPreferences& preferences = UserPreferences::GetInstance();
    const int hintMode = preferences.hintGameControls ? 2 : 0;
    if (mode == MatchSetup::QuickMatch) {
        m_Director.GetHint().ShowHint("quickmatch controls", hintMode);
    } else if (mode == MatchSetup::Training) {
        m_Director.GetHint().ShowHint("training controls", hintMode);
    }
    preferences.hintGameControls = false;
}

// A zoom that is not a positive number counts as 1.
void GUIGame::SetZoom(float zoom) {
    if (!std::isfinite(zoom) || zoom <= 0.0f) {
        zoom = 1.0f;
    }
    setScale(zoom, zoom);
    setPosition((kScreenWidth - kScreenWidth * zoom) / 2.0f, (kScreenHeight - kScreenHeight * zoom) / 2.0f);
}

void GUIGame::EndMatch() {
    if (m_Game != nullptr) {
        // The controllers let go before the creatures they steer are gone.
        Application& application = Application::GetInstance();
        application.DetachControllers();
        m_Game.reset();
        application.currentGame = nullptr;
    }
    m_Level.reset();
}

void GUIGame::Update(Application& application, float dt) {
    if (m_Game == nullptr || m_Ended || m_Game->Update(application, dt)) {
        return;
    }
    m_Ended = true;
    application.DetachControllers();
    Championship(application.matchSetup, application).RecordMatch(m_Game->GetStatistics());
    KeepResult(application);
    m_Director.PushScreen(GUIDirector::kMatchOver);
}

void GUIGame::KeepResult(Application& application) {
    LoadStatistics(application.statistics);
    application.statistics.records.push_back(m_Game->GetStatistics());
    SaveStatistics(application.statistics);
}

void GUIGame::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    if (m_Game != nullptr) {
        states.transform *= getTransform();
        m_Game->Draw(target, states);
    }
}

void GUIGame::OnEvent(const sf::Event& event) {
    if (m_Game != nullptr) {
        m_Game->HandleEvent(event);
    }
}

void GUIGame::OnFSCommand(const std::string& command) {
    if (m_Game != nullptr) {
        m_Game->OnFSCommand(command.c_str());
    }
}
