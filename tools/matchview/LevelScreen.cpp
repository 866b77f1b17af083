#include "tools/matchview/LevelScreen.h"

#include "game/LevelWindmill.h"

namespace {

constexpr float kScreenWidth = 800.0f;
constexpr float kScreenHeight = 600.0f;

}  // namespace

LevelScreen::LevelScreen(const std::string& file) : m_File(file) {
    if (file == Level::kWindmillLevel) {
        m_Level = std::make_unique<LevelWindmill>();
    } else {
        m_Level = std::make_unique<Level>();
    }
}

bool LevelScreen::Load() {
    if (!m_Level->Load(m_File, &Application::GetInstance())) {
        return false;
    }
    const float zoom = m_Level->GetData().m_ViewZoom;
    m_Zoom = sf::Transform::Identity;
    m_Zoom.translate((kScreenWidth - kScreenWidth * zoom) / 2.0f, (kScreenHeight - kScreenHeight * zoom) / 2.0f);
    m_Zoom.scale(zoom, zoom);
    return true;
}

void LevelScreen::Update(Application& application, float dt) {
    m_Level->GetPhysics().Step(dt);
    m_Level->Update(&application, dt);
}

void LevelScreen::Render(sf::RenderTarget& target) {
    const sf::RenderStates states(m_Zoom);
    m_Level->DrawBack(target, states);
    m_Level->DrawBalls(target, states);
    m_Level->DrawFront(target, states);
    if (Application::GetInstance().debugDraw) {
        m_Level->DrawOverlay(target, states);
    }
}

void LevelScreen::OnEvent(const sf::Event& event) {
    m_Level->HandleEvent(event, Application::GetInstance(), m_Zoom);
}
