#include "tools/matchview/LevelScreen.h"

#include "app/Application.h"
#include "game/LevelWindmill.h"

namespace {

constexpr float kScreenWidth = 800.0f;
constexpr float kScreenHeight = 600.0f;

}  // namespace

void LevelScreen::StartMatch() {
    if (m_File == Level::kWindmillLevel) {
        m_Level = std::make_unique<LevelWindmill>();
    } else {
        m_Level = std::make_unique<Level>();
    }
    if (!m_Level->Load(m_File, &Application::GetInstance())) {
        m_Level.reset();
        return;
    }
    const float zoom = m_Level->GetData().m_ViewZoom;
    m_Zoom = sf::Transform::Identity;
    m_Zoom.translate((kScreenWidth - kScreenWidth * zoom) / 2.0f, (kScreenHeight - kScreenHeight * zoom) / 2.0f);
    m_Zoom.scale(zoom, zoom);
}

void LevelScreen::Update(Application& application, float dt) {
    if (m_Level) {
        m_Level->GetPhysics().Step(dt);
        m_Level->Update(&application, dt);
    }
}

void LevelScreen::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    if (!m_Level) {
        return;
    }
    states.transform *= m_Zoom;
    m_Level->DrawBack(target, states);
    m_Level->DrawBalls(target, states);
    m_Level->DrawFront(target, states);
    if (Application::GetInstance().debugDraw) {
        m_Level->DrawOverlay(target, states);
    }
}

void LevelScreen::OnEvent(const sf::Event& event) {
    if (m_Level) {
        m_Level->HandleEvent(event, Application::GetInstance(), m_Zoom);
    }
}
