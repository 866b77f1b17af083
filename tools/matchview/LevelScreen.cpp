#include "tools/matchview/LevelScreen.h"

#include "game/LevelWindmill.h"
#include "game/PhysicalShape.h"
#include "game/b2ConstantVolumeJoint.h"

namespace {

constexpr float kScreenWidth = 800.0f;
constexpr float kScreenHeight = 600.0f;

}  // namespace

LevelScreen::LevelScreen(const std::string& file, const std::array<std::string, 2>& creatures)
    : m_File(file), m_CreatureFiles(creatures) {
    if (file == Level::kWindmillLevel) {
        m_Level = std::make_unique<LevelWindmill>();
    } else {
        m_Level = std::make_unique<Level>();
    }
}

LevelScreen::~LevelScreen() {
    Application::GetInstance().DetachControllers();
}

bool LevelScreen::Load() {
    Application& application = Application::GetInstance();
    if (!m_Level->Load(m_File, &application)) {
        return false;
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
    return true;
}

void LevelScreen::Update(Application& application, float dt) {
    m_Level->GetPhysics().Step(dt);
    for (size_t i = 0; i < m_Creatures.size() && i < application.controllers.size(); ++i) {
        application.controllers[i]->Update(dt);
    }
    for (const std::unique_ptr<Globbo>& creature : m_Creatures) {
        creature->Update(dt);
    }
    m_Level->Update(&application, dt);
}

void LevelScreen::Render(sf::RenderTarget& target) {
    const sf::RenderStates states(m_Zoom);
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
    m_Level->HandleEvent(event, Application::GetInstance(), m_Zoom);
}
