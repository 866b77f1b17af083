#include "game/SpitGame.h"

#include "app/Application.h"
#include "app/Controller.h"
#include "app/Log.h"
#include "app/SoundManager.h"
#include "game/BallStates.h"
#include "game/BodyRegistry.h"
#include "game/Bot.h"
#include "game/Globbo.h"
#include "game/Level.h"
#include "game/b2ConstantVolumeJoint.h"

#include <SFML/Audio/Sound.hpp>
#include <box2d/b2_body.h>
#include <box2d/b2_world.h>

#include <algorithm>
#include <cmath>
#include <cstring>

SpitGame::SpitGame(const std::string& levelFile, Level* level, bool noBot, const std::string& player1File,
                   const std::string& player2File)
    : m_Level(level), m_HasBot(!noBot) {
    LoadLevel(levelFile);
    const LevelData& data = m_Level->GetData();
    m_Globbo1 = MakeCreature(player1File, data.m_Player1StartPos);
    m_Globbo2 = MakeCreature(player2File, data.m_Player2StartPos);
    if (m_HasBot) {
        m_Bot = std::make_unique<Bot>(*m_Globbo2, *m_Globbo1, *m_Level);
        m_Bot->LoadSettings(player2File);
    }
    m_Statistics.player1.playerId = m_Globbo1->m_Name;
    m_Statistics.player2.playerId = m_Globbo2->m_Name;
    LoadScoreMovie();
    UpdateLifebars();
    m_State = Application::GetInstance().matchSetup.mode == MatchSetup::Championship ? kWaiting : kCountdown;
    m_CountdownMovie.Load(kCountdownMovie);
}

SpitGame::SpitGame(const std::string& levelFile, Level* level, const std::string& player1File,
                   const b2Vec2& player1Position, Controller* controller1, const std::string& player2File,
                   const b2Vec2& player2Position, Controller* controller2)
    : m_State(kPlaying), m_Controller1(controller1), m_Controller2(controller2), m_Level(level), m_Scripted(true) {
    LoadLevel(levelFile);
    m_Globbo1 = MakeCreature(player1File, player1Position);
    m_Globbo2 = MakeCreature(player2File, player2Position);
}

SpitGame::~SpitGame() {
    if (b2World* world = m_Level->GetPhysics().GetWorld();
        world != nullptr && world->GetContactManager().m_contactListener == this) {
        world->SetContactListener(nullptr);
    }
    Application& application = Application::GetInstance();
    std::vector<Controller*> controllers = {m_Controller1, m_Controller2};
    for (const std::unique_ptr<Controller>& controller : application.controllers) {
        controllers.push_back(controller.get());
    }
    for (Controller* controller : controllers) {
        const Steerable* steered = controller != nullptr ? controller->GetCreature() : nullptr;
        if (steered != nullptr &&
            (steered == m_Globbo1.get() || steered == m_Globbo2.get() || steered == m_BothCreatures.get())) {
            controller->Attach(nullptr);
        }
    }
}

void SpitGame::AttachControllers(Controller* controller1, Controller* controller2) {
    m_Controller1 = controller1;
    m_Controller2 = controller2;
    if (controller1 != nullptr && controller1 == controller2) {
        m_BothCreatures = std::make_unique<SteerablePair>(*m_Globbo1, *m_Globbo2);
        controller1->Attach(m_BothCreatures.get());
        return;
    }
    if (controller1 != nullptr) {
        controller1->Attach(m_Globbo1.get());
    }
    if (controller2 != nullptr) {
        controller2->Attach(m_Globbo2.get());
    }
}

void SpitGame::LoadLevel(const std::string& levelFile) {
    m_HasLevel = m_Level->Load(levelFile, &Application::GetInstance());
    if (b2World* world = m_Level->GetPhysics().GetWorld()) {
        world->SetContactListener(this);
    }
}

std::unique_ptr<Globbo> SpitGame::MakeCreature(const std::string& file, const b2Vec2& position) {
    auto creature = std::make_unique<Globbo>(m_Level->GetPhysics(), file, position.x, position.y);
    creature->SetTakeBallCallback(this, &SpitGame::TakeBallCallback);
    creature->SetMayTakeBallCallback(this, &SpitGame::MayTakeBallCallback);
    creature->SetLetGoBallCallback(this, &SpitGame::LetGoBallCallback);
    if (b2ConstantVolumeJoint* joint = creature->GetJoint()) {
        joint->Inflate(kInflation);
    }
    return creature;
}

// The owner draws the match zoomed by the level's view zoom s about the screen's centre; the score
// movie is placed and sized so that, zoomed so, it covers the logical screen exactly.
void SpitGame::LoadScoreMovie() {
    m_ScoreMovie.Load(kScoreMovie);
    const float zoom = m_Level->GetData().m_ViewZoom;
    const float scale = 1.0f / zoom;
    m_ScoreMovie.setPosition(-(1.0f - zoom) * kScreenWidth * 0.5f * scale,
                             -(1.0f - zoom) * kScreenHeight * 0.5f * scale);
    if (m_ScoreMovie.GetWidth() > 0.0f && m_ScoreMovie.GetHeight() > 0.0f) {
        m_ScoreMovie.setScale(kScreenWidth * scale / m_ScoreMovie.GetWidth(),
                              kScreenHeight * scale / m_ScoreMovie.GetHeight());
    }
}

bool SpitGame::Update(Application& application, float dt) {
    log_debug("SpitGame::Update: deltaTime=%f", dt);
    m_Level->GetPhysics().Step(dt);
    m_ScoreMovie.Advance(dt);
    switch (m_State) {
    case kCountdown: m_CountdownMovie.Update(&application, dt); break;
    case kPlaying:
        if (m_Controller1 != nullptr) {
            m_Controller1->Update(dt);
        }
        if (m_Bot != nullptr) {
            m_Bot->Think(dt);
        } else if (m_Controller2 != nullptr && m_Controller2 != m_Controller1) {
            m_Controller2->Update(dt);
        }
        break;
    case kOver:
        UpdateLifebars();
        m_State = kFinished;
        break;
    default: break;
    }
    m_Globbo1->Update(dt);
    m_Globbo2->Update(dt);
    m_Level->Update(&application, dt);
    m_Contacts.TakeIn();
    ApplyEndRule();
    m_FramesSinceScoreChange = CountUpdate(m_FramesSinceScoreChange);
    ball_states::RunNeutralTimers(*m_Level, dt, true);
    return m_State != kFinished;
}

void SpitGame::ApplyEndRule() {
    if (!m_AutoEnd || m_State != kPlaying) {
        return;
    }
    const int half = static_cast<int>(m_Level->GetBalls().size()) / 2;
    if (m_FramesSinceScoreChange > kPlayer1Wait && m_Statistics.player1.score > half) {
        EndMatch();
    } else if (m_Statistics.player2.score > half) {
        EndMatch();
    }
}

void SpitGame::PostSolve(b2Contact* contact, const b2ContactImpulse* impulse) {
    m_Contacts.OnPostSolve(*m_Level, contact, impulse);
}

// A burden counts a point for its owner as long as it sits in the creature that took it: it keeps
// its owner and state until it leaves that creature, even where the owner's own outline overlaps
// it meanwhile (taken back, it would go free later while still counted).
void SpitGame::OnTakeBall(Globbo* taker, b2Body* ball) {
    BodyRecord* record = FindBodyRecord(ball);
    if (record == nullptr || record->kind != kBallBody || record->state == kBallBurden) {
        return;
    }
    ball_states::TakeBall(*m_Level, *record, taker);
    if (record->state == kBallBurden) {
        Score(record->owner, 1);
    }
}

bool SpitGame::MayTakeBall(Globbo* asker, b2Body* ball) const {
    return ball_states::MayTakeBall(asker, ball);
}

void SpitGame::OnLetGoBall(Globbo* creature, b2Body* ball) {
    BodyRecord* record = FindBodyRecord(ball);
    if (record == nullptr || record->kind != kBallBody) {
        return;
    }
    Globbo* owner = record->owner;
    ball_states::LetGoBall(*m_Level, *record, creature);
    if (owner != nullptr && owner != creature) {
        Score(owner, -1);
    }
    if (IsOver()) {
        return;
    }
    if (owner != nullptr && owner == m_Globbo1.get()) {
        m_Statistics.player1.numShots += 1;
    } else if (owner != nullptr && owner == m_Globbo2.get()) {
        m_Statistics.player2.numShots += 1;
    }
}

void SpitGame::Score(const Globbo* owner, int change) {
    if (IsOver()) {
        return;
    }
    if (owner == m_Globbo1.get()) {
        m_Statistics.player1.score += change;
    } else if (owner == m_Globbo2.get()) {
        m_Statistics.player2.score += change;
    }
    m_FramesSinceScoreChange = 0;
    UpdateLifebars();
}

void SpitGame::UpdateLifebars() {
    UpdateLifebar("LifebarL", m_Statistics.player1.score, m_Globbo1.get());
    UpdateLifebar("LifebarR", m_Statistics.player2.score, m_Globbo2.get());
}

void SpitGame::UpdateLifebar(const char* name, int score, const Globbo* creature) {
    swfplayer::character* bar = m_ScoreMovie.GetCharacter(name);
    if (bar == nullptr) {
        return;
    }
    bar->goto_frame(std::clamp(score, 0, std::max(bar->get_frame_count() - 1, 0)));
    m_ScoreMovie.Advance(0.0f);
    if (creature != nullptr) {
        const sf::Color& colour = creature->m_BodyColor;
        for (const char* part : {"LifebarStart", "Lifebar"}) {
            m_ScoreMovie.SetChildCharacterColor(name, part, colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f,
                                                1.0f);
        }
    }
}

void SpitGame::EndMatch() {
    if (IsOver()) {
        return;
    }
    const int32_t score1 = m_Statistics.player1.score;
    const int32_t score2 = m_Statistics.player2.score;
    m_Statistics.winner = score1 > score2   ? GameStatistics::kPlayer1
                          : score1 < score2 ? GameStatistics::kPlayer2
                                            : GameStatistics::kDraw;
    if (!m_Scripted) {
        UpdateLifebars();
    }
    PlayMatchOverSound();
    DetachControllers();
    m_State = kOver;
}

// Without an audio device the sound has nothing to play.
void SpitGame::PlayMatchOverSound() {
    sf::Sound* sound = SoundManager::GetInstance().PlaySound(kMatchOverSound);
    if (sound != nullptr && sound->getBuffer() != nullptr && sound->getBuffer()->getSampleCount() > 0) {
        sound->setLoop(false);
        sound->play();
    }
}

void SpitGame::DetachControllers() {
    if (!m_Scripted) {
        Application::GetInstance().DetachControllers();
        return;
    }
    for (Controller* controller : {m_Controller1, m_Controller2}) {
        if (controller != nullptr) {
            controller->Attach(nullptr);
        }
    }
}

void SpitGame::OnFSCommand(const char* command) {
    if (command == nullptr || std::strcmp(command, "Go") != 0 || m_State != kCountdown) {
        return;
    }
    m_State = kPlaying;
    SoundManager& sounds = SoundManager::GetInstance();
    sounds.StopMusic();
    sounds.PlayMusic(kMatchMusic);
}

void SpitGame::HandleEvent(const sf::Event& event) {
    if (m_State == kPlaying) {
        m_Level->HandleEvent(event, Application::GetInstance(), m_DrawTransform);
    }
}

void SpitGame::Draw(sf::RenderTarget& target, const sf::RenderStates& states) {
    const sf::Clock clock;
    m_DrawTransform = states.transform;
    DrawArena(*m_Level, {m_Globbo1.get(), m_Globbo2.get()}, target, states);
    target.draw(m_ScoreMovie, states);
    if (m_State == kCountdown) {
        target.draw(m_CountdownMovie, states);
    }
    if (Application::GetInstance().debugDraw) {
        m_Level->DrawOverlay(target, states);
        if (m_Bot != nullptr) {
            m_Bot->DrawDebug(target, states);
        }
    }
    CountDrawnFrame(clock);
}

void SpitGame::TakeBallCallback(void* context, Globbo* creature, b2Body* ball) {
    static_cast<SpitGame*>(context)->OnTakeBall(creature, ball);
}

bool SpitGame::MayTakeBallCallback(void* context, Globbo* creature, b2Body* ball) {
    return static_cast<SpitGame*>(context)->MayTakeBall(creature, ball);
}

void SpitGame::LetGoBallCallback(void* context, Globbo* creature, b2Body* ball) {
    static_cast<SpitGame*>(context)->OnLetGoBall(creature, ball);
}
