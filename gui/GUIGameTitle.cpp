#include "gui/GUIGameTitle.h"

#include "app/EventPlayer.h"
#include "app/ScriptedController.h"
#include "game/Globbo.h"
#include "game/Level.h"
#include "game/SpitGame.h"
#include "gui/GUIDirector.h"

GUIGameTitle::GUIGameTitle(GUIDirector& director) : m_Director(director) {}

GUIGameTitle::~GUIGameTitle() {
    DeleteScene();
}

void GUIGameTitle::DeleteScene() {
    // The match lets go of the controllers' creatures before the controllers go; the controllers
    // listen to the recording player, which goes after them; the level's world goes last.
    m_Match.reset();
    m_Controller1.reset();
    m_Controller2.reset();
    m_Recording.reset();
    m_Level.reset();
}

void GUIGameTitle::Load(const std::string& file) {
    DeleteScene();
    FlashGUI::Load(file);
    m_Replay.Restart();
    StartScene(kTitleScene1);
}

void GUIGameTitle::StartScene(const DemonstrationScene& scene) {
    DeleteScene();
    m_Recording = std::make_unique<EventPlayer>(scene.recordingFile, false);
    m_Level = std::make_unique<Level>();
    m_Controller1 = std::make_unique<ScriptedController>(m_Recording.get(), true);
    m_Controller2 = std::make_unique<ScriptedController>(m_Recording.get(), false);
    m_Match = StartDemonstrationMatch(scene, *m_Level, m_Controller1.get(), m_Controller2.get());
    m_Controller1->Attach(m_Match->GetGlobbo1(), m_Recording.get());
    m_Controller2->Attach(m_Match->GetGlobbo2(), m_Recording.get());
    ThrowInCreatures(scene, *m_Match);
}

void GUIGameTitle::Update(Application& application, float dt) {
    FlashGUI::Update(application, dt);
    Replay(application, dt);
    if (!IsLoaded()) {
        m_Director.PopScreen();
        m_Director.PushScreen(GUIDirector::kMainMenu);
    }
}

void GUIGameTitle::Replay(Application& application, float dt) {
    if (m_Match == nullptr) {
        return;
    }
    m_Replay.Advance(application, *m_Recording, m_Level->GetPhysics().GetWorld(), *m_Match, dt);
}

void GUIGameTitle::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    FlashGUI::Render(target, states);
    if (m_Match != nullptr) {
        m_Match->Draw(target, states);
    }
}

void GUIGameTitle::OnCommand(Controller* controller, int command) {
    SetLoaded(false);
    FlashGUI::OnCommand(controller, command);
}

void GUIGameTitle::OnFSCommand(const std::string& command) {
    if (command == "bottleready") {
        StartScene(kTitleScene2);
    } else if (command == "stopped") {
        SetLoaded(false);
    }
}
