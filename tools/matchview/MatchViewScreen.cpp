#include "tools/matchview/MatchViewScreen.h"

#include "app/Application.h"
#include "app/Controller.h"
#include "game/Globbo.h"
#include "game/LevelWindmill.h"
#include "game/StatisticsFile.h"

#include <algorithm>

MatchViewScreen::MatchViewScreen(const std::vector<std::string>& levels, std::string first,
                                 const std::array<std::string, 2>& creatures)
    : m_Levels(levels), m_CreatureFiles(creatures), m_First(std::move(first)) {}

void MatchViewScreen::StartMatch() {
    Start(m_First);
}

void MatchViewScreen::EndMatch() {
    if (m_Game == nullptr && m_Level == nullptr) {
        return;
    }
    Application& application = Application::GetInstance();
    application.DetachControllers();
    application.currentGame = nullptr;
    m_Game.reset();
    m_Level.reset();
}

bool MatchViewScreen::Start(const std::string& levelFile) {
    EndMatch();
    Application& application = Application::GetInstance();
    m_LevelFile = levelFile;
    if (levelFile == Level::kWindmillLevel) {
        m_Level = std::make_unique<LevelWindmill>();
    } else {
        m_Level = std::make_unique<Level>();
    }
    const bool training = application.matchSetup.mode == MatchSetup::Training;
    m_Game = std::make_unique<SpitGame>(levelFile, m_Level.get(), !training, m_CreatureFiles[0], m_CreatureFiles[1]);
    if (!m_Game->HasLevel()) {
        EndMatch();
        return false;
    }
    application.currentGame = m_Game.get();
    if (application.controllers.size() > 0) {
        m_Game->m_Controller1 = application.controllers[0].get();
        m_Game->m_Controller1->Attach(m_Game->GetGlobbo1());
    }
    // In training the bot steers creature 2: no controller may spit with it.
    if (application.controllers.size() > 1 && !training) {
        m_Game->m_Controller2 = application.controllers[1].get();
        m_Game->m_Controller2->Attach(m_Game->GetGlobbo2());
    }
    const float zoom = m_Level->GetData().m_ViewZoom;
    m_Zoom = sf::Transform::Identity;
    m_Zoom.translate((SpitGame::kScreenWidth - SpitGame::kScreenWidth * zoom) / 2.0f,
                     (SpitGame::kScreenHeight - SpitGame::kScreenHeight * zoom) / 2.0f);
    m_Zoom.scale(zoom, zoom);
    m_FinishedFor = -1.0f;
    return true;
}

void MatchViewScreen::Update(Application& application, float dt) {
    if (m_Game == nullptr) {
        return;
    }
    if (m_FinishedFor < 0.0f) {
        if (!m_Game->Update(application, dt)) {
            KeepResult(application);
            m_FinishedFor = 0.0f;
        }
        return;
    }
    m_FinishedFor += dt;
    if (m_FinishedFor >= kFinishedSeconds) {
        Start(NextLevel());
    }
}

void MatchViewScreen::KeepResult(Application& application) {
    application.DetachControllers();
    LoadStatistics(application.statistics);
    application.statistics.records.push_back(m_Game->GetStatistics());
    SaveStatistics(application.statistics);
}

std::string MatchViewScreen::NextLevel() const {
    auto current = std::find(m_Levels.begin(), m_Levels.end(), m_LevelFile);
    if (m_Levels.empty()) {
        return m_LevelFile;
    }
    if (current == m_Levels.end() || ++current == m_Levels.end()) {
        return m_Levels.front();
    }
    return *current;
}

void MatchViewScreen::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    if (m_Game != nullptr) {
        states.transform *= m_Zoom;
        m_Game->Draw(target, states);
    }
}

void MatchViewScreen::OnEvent(const sf::Event& event) {
    if (m_Game != nullptr) {
        m_Game->HandleEvent(event);
    }
}

void MatchViewScreen::OnFSCommand(const std::string& command) {
    if (m_Game != nullptr) {
        m_Game->OnFSCommand(command.c_str());
    }
}
