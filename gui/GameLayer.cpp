#include "gui/GameLayer.h"

#include "app/Application.h"
#include "app/ControllerFactory.h"
#include "app/EventPlayer.h"
#include "app/GamepadController.h"
#include "app/Log.h"
#include "game/CinematicGame.h"
#include "game/Globbo.h"
#include "game/SpitGame.h"

#include <cmath>

GameLayer::GameLayer(std::string name) : FlashGUI::Layer(std::move(name)) {}

GameLayer::~GameLayer() {
    Stop();
}

// The controller goes with the scene, before the script it reads.
void GameLayer::Stop() {
    m_Game.reset();
    m_Controller = nullptr;
    m_Places = {};
    m_Script.reset();
}

void GameLayer::Start(const std::array<Place, 3>& places, const std::string& levelFile, const std::string& scriptFile) {
    Stop();
    m_Script = std::make_unique<EventPlayer>(scriptFile, m_Recording);
    m_Replay.Restart();
    m_Driven = 0;

    auto controller = std::make_unique<GamepadController>();
    ReadControllerSettings(kControllerFile, *controller);

    m_Game = std::make_unique<CinematicGame>(levelFile);
    if (!m_Game->HasLevel()) {
        log_error("GameLayer::Start: no level in '%s'; no scene plays", levelFile.c_str());
        m_Game.reset();
        return;
    }
    float zoom = m_Game->GetLevel().GetData().m_ViewZoom;
    zoom = std::isfinite(zoom) && zoom > 0.0f ? zoom : 1.0f;
    m_Zoom = sf::Transform::Identity;
    m_Zoom.translate((SpitGame::kScreenWidth - SpitGame::kScreenWidth * zoom) / 2.0f,
                     (SpitGame::kScreenHeight - SpitGame::kScreenHeight * zoom) / 2.0f);
    m_Zoom.scale(zoom, zoom);

    // An empty place (a championship of two) adds no creature and keeps the others where they
    // belong.
    for (size_t i = 0; i < places.size(); ++i) {
        if (!places[i].file.empty()) {
            m_Places[i] = m_Game->AddGlobbo(places[i].file, places[i].position,
                                            i == 0 ? std::move(controller) : std::unique_ptr<Controller>());
        }
    }
    if (m_Places[0] != nullptr) {
        m_Controller = m_Game->GetController(0);
        AttachController(m_Places[0]);
    }
    // A step of no time lays the level's pictures out on their bodies, so that the scene draws
    // right even while the script holds no step to play.
    m_Game->Update(Application::GetInstance(), 0.0f);
}

void GameLayer::AttachController(Globbo* creature) {
    if (m_Recording) {
        m_Controller->Attach(creature);
    } else {
        m_Controller->Attach(creature, m_Script.get());
    }
}

void GameLayer::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    if (m_Game != nullptr) {
        states.transform *= m_Zoom;
        m_Game->Draw(target, states);
    }
}

void GameLayer::Update(Application& application, float dt) {
    if (m_Game == nullptr) {
        return;
    }
    b2World* world = m_Game->GetLevel().GetPhysics().GetWorld();
    if (m_Recording || m_Script == nullptr) {
        m_Game->Update(application, dt);
        if (m_Script != nullptr) {
            m_Script->RecordFrame(dt, world);
        }
        return;
    }
    m_Replay.Advance(application, *m_Script, world, *m_Game, dt);
}

void GameLayer::OnEvent(const sf::Event& event) {
    FlashGUI::Layer::OnEvent(event);
    if (event.type == sf::Event::KeyPressed) {
        const std::optional<Key::Code> code = Key::FromSfml(event.key.code);
        if (code && *code == kNextCreatureKey) {
            NextCreature();
        }
    }
    if (m_Recording && m_Game != nullptr) {
        if (const std::optional<InputEvent> input = m_Adapter.Translate(event); input && m_Script != nullptr) {
            m_Script->OnEvent(*input);
        }
        m_Game->HandleEvent(event);
    }
}

void GameLayer::NextCreature() {
    if (m_Game == nullptr || m_Controller == nullptr || m_Driven + 1 >= m_Game->GetCreatures().size()) {
        return;
    }
    ++m_Driven;
    AttachController(m_Game->GetCreatures()[m_Driven].get());
}
