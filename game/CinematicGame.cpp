#include "game/CinematicGame.h"

#include "app/Application.h"
#include "app/Controller.h"
#include "game/BallStates.h"
#include "game/BodyRegistry.h"
#include "game/Globbo.h"
#include "game/SpitGame.h"
#include "game/b2ConstantVolumeJoint.h"

#include <box2d/b2_world.h>

CinematicGame::CinematicGame(const std::string& levelFile) {
    m_HasLevel = m_Level.Load(levelFile, &Application::GetInstance());
    if (b2World* world = m_Level.GetPhysics().GetWorld()) {
        world->SetContactListener(this);
    }
}

CinematicGame::~CinematicGame() {
    if (b2World* world = m_Level.GetPhysics().GetWorld()) {
        world->SetContactListener(nullptr);
    }
    for (const std::unique_ptr<Controller>& controller : m_Controllers) {
        if (controller != nullptr) {
            controller->Attach(nullptr);
        }
    }
    m_Controllers.clear();
    m_Creatures.clear();
}

Globbo* CinematicGame::AddGlobbo(const std::string& file, const b2Vec2& position,
                                 std::unique_ptr<Controller> controller) {
    auto creature = std::make_unique<Globbo>(m_Level.GetPhysics(), file, position.x, position.y);
    creature->SetTakeBallCallback(this, &CinematicGame::TakeBallCallback);
    creature->SetMayTakeBallCallback(this, &CinematicGame::MayTakeBallCallback);
    creature->SetLetGoBallCallback(this, &CinematicGame::LetGoBallCallback);
    if (b2ConstantVolumeJoint* joint = creature->GetJoint()) {
        joint->Inflate(SpitGame::kInflation);
    }
    m_Creatures.push_back(std::move(creature));
    m_Controllers.push_back(std::move(controller));
    return m_Creatures.back().get();
}

Globbo* CinematicGame::GetGlobbo1() const {
    return m_Creatures.size() > 0 ? m_Creatures[0].get() : nullptr;
}

Globbo* CinematicGame::GetGlobbo2() const {
    return m_Creatures.size() > 1 ? m_Creatures[1].get() : nullptr;
}

Controller* CinematicGame::GetController(size_t index) const {
    return index < m_Controllers.size() ? m_Controllers[index].get() : nullptr;
}

bool CinematicGame::Update(Application& application, float dt) {
    m_Level.GetPhysics().Step(dt);
    for (size_t i = 0; i < m_Creatures.size(); ++i) {
        if (m_Controllers[i] != nullptr) {
            m_Controllers[i]->Update(dt);
        }
        m_Creatures[i]->Update(dt);
    }
    m_Level.Update(&application, dt);
    m_Contacts.TakeIn();
    ball_states::RunNeutralTimers(m_Level, dt, false);
    return true;
}

void CinematicGame::Draw(sf::RenderTarget& target, const sf::RenderStates& states) {
    const sf::Clock clock;
    m_DrawTransform = states.transform;
    std::vector<Globbo*> creatures;
    for (const std::unique_ptr<Globbo>& creature : m_Creatures) {
        creatures.push_back(creature.get());
    }
    DrawArena(m_Level, creatures, target, states);
    if (Application::GetInstance().debugDraw) {
        m_Level.DrawOverlay(target, states);
    }
    CountDrawnFrame(clock);
}

void CinematicGame::HandleEvent(const sf::Event& event) {
    m_Level.HandleEvent(event, Application::GetInstance(), m_DrawTransform);
}

void CinematicGame::PostSolve(b2Contact* contact, const b2ContactImpulse* impulse) {
    m_Contacts.OnPostSolve(m_Level, contact, impulse);
}

void CinematicGame::OnTakeBall(Globbo* taker, b2Body* ball) {
    BodyRecord* record = FindBodyRecord(ball);
    if (record != nullptr && record->kind == kBallBody) {
        ball_states::TakeBall(m_Level, *record, taker);
    }
}

void CinematicGame::OnLetGoBall(Globbo* creature, b2Body* ball) {
    BodyRecord* record = FindBodyRecord(ball);
    if (record != nullptr && record->kind == kBallBody) {
        ball_states::LetGoBall(m_Level, *record, creature);
    }
}

void CinematicGame::TakeBallCallback(void* context, Globbo* creature, b2Body* ball) {
    static_cast<CinematicGame*>(context)->OnTakeBall(creature, ball);
}

bool CinematicGame::MayTakeBallCallback(void*, Globbo* creature, b2Body* ball) {
    return ball_states::MayTakeBall(creature, ball);
}

void CinematicGame::LetGoBallCallback(void* context, Globbo* creature, b2Body* ball) {
    static_cast<CinematicGame*>(context)->OnLetGoBall(creature, ball);
}
