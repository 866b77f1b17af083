#include "tools/matchview/LevelScreen.h"

#include "app/Application.h"
#include "game/LevelWindmill.h"
#include "game/PhysicalShape.h"
#include "game/b2ConstantVolumeJoint.h"

namespace {

constexpr float kScreenWidth = 800.0f;
constexpr float kScreenHeight = 600.0f;

}  // namespace

void LevelScreen::StartMatch() {
    EndMatch();
    if (m_File == Level::kWindmillLevel) {
        m_Level = std::make_unique<LevelWindmill>();
    } else {
        m_Level = std::make_unique<Level>();
    }
    Application& application = Application::GetInstance();
    if (!m_Level->Load(m_File, &application)) {
        m_Level.reset();
        return;
    }
    const float zoom = m_Level->GetData().m_ViewZoom;
    m_Zoom = sf::Transform::Identity;
    m_Zoom.translate((kScreenWidth - kScreenWidth * zoom) / 2.0f, (kScreenHeight - kScreenHeight * zoom) / 2.0f);
    m_Zoom.scale(zoom, zoom);
    const b2Vec2 starts[2] = {m_Level->GetData().m_Player1StartPos, m_Level->GetData().m_Player2StartPos};
    for (size_t i = 0; i < m_Creatures.size(); ++i) {
        m_Creatures[i] = std::make_unique<Globbo>(m_Level->GetPhysics(), m_CreatureFiles[i], starts[i].x, starts[i].y);
        if (b2ConstantVolumeJoint* joint = m_Creatures[i]->GetJoint()) {
            joint->Inflate(kInflation);
        }
        if (i < application.controllers.size()) {
            application.controllers[i]->Attach(m_Creatures[i].get());
        }
    }
}

void LevelScreen::EndMatch() {
    if (m_Creatures[0] != nullptr) {
        Application::GetInstance().DetachControllers();
    }
    for (std::unique_ptr<Globbo>& creature : m_Creatures) {
        creature.reset();
    }
    m_Level.reset();
}

void LevelScreen::Update(Application& application, float dt) {
    if (!m_Level) {
        return;
    }
    m_Level->GetPhysics().Step(dt);
    for (size_t i = 0; i < m_Creatures.size() && i < application.controllers.size(); ++i) {
        application.controllers[i]->Update(dt);
    }
    for (const std::unique_ptr<Globbo>& creature : m_Creatures) {
        creature->Update(dt);
    }
    m_Level->Update(&application, dt);
}

void LevelScreen::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    if (!m_Level) {
        return;
    }
    states.transform *= m_Zoom;
    const ScreenMapping mapping = ScreenMapping::Of(m_Level->GetPhysics());
    m_Level->DrawBack(target, states);
    for (const std::unique_ptr<Globbo>& creature : m_Creatures) {
        creature->DrawOutline(target, states, mapping);
    }
    m_Level->DrawBalls(target, states);
    for (const std::unique_ptr<Globbo>& creature : m_Creatures) {
        creature->DrawParts(target, states, mapping);
    }
    m_Level->DrawFront(target, states);
    if (Application::GetInstance().debugDraw) {
        m_Level->DrawOverlay(target, states);
        for (const std::unique_ptr<Globbo>& creature : m_Creatures) {
            if (PhysicalShape* mouth = creature->GetMouthShape()) {
                mouth->DrawFront(target, states, m_Level->GetPhysics());
            }
        }
    }
}

void LevelScreen::OnEvent(const sf::Event& event) {
    if (m_Level) {
        m_Level->HandleEvent(event, Application::GetInstance(), m_Zoom);
    }
}
