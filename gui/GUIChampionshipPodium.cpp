#include "gui/GUIChampionshipPodium.h"

#include "app/Application.h"
#include "app/SoundManager.h"
#include "game/Globbo.h"
#include "gui/FocusLinks.h"
#include "gui/GUIDirector.h"
#include "gui/GameLayer.h"

namespace {

// The texts that name the creatures of the three places.
const char* const kNameTexts[3] = {"globbo1", "globbo2", "globbo3"};

}  // namespace

const std::array<b2Vec2, 3> GUIChampionshipPodium::kPlaces = {b2Vec2(0.0f, -40.0f), b2Vec2(40.0f, 20.0f),
                                                              b2Vec2(-40.0f, 20.0f)};

void GUIChampionshipPodium::Load(const std::string& file) {
    FlashGUI::Load(file);
    for (const char* name : {"PlayAgain", "Stats", "MainMenu"}) {
        AddFlashFocusItem(name);
    }
    SetFocus("PlayAgain");
    LinkRight(*this, "Stats", "PlayAgain");
    LinkRight(*this, "PlayAgain", "MainMenu");
    LinkRight(*this, "MainMenu", "Stats");
    m_Scene = std::make_shared<GameLayer>(kSceneLayer);
    InsertLayerBefore(m_Scene, kBackgroundLayer);
}

void GUIChampionshipPodium::Unload() {
    FlashGUI::Unload();
    m_Scene.reset();
}

void GUIChampionshipPodium::Activate() {
    FlashGUI::Activate();
    RewindLayers();
    if (m_Scene != nullptr) {
        const std::array<std::string, 3>& podium = Application::GetInstance().matchSetup.podium;
        m_Scene->Start({GameLayer::Place{podium[0], kPlaces[0]}, GameLayer::Place{podium[1], kPlaces[1]},
                        GameLayer::Place{podium[2], kPlaces[2]}},
                       kLevel, kScript);
    }
    for (size_t place = 0; place < 3; ++place) {
        const Globbo* creature = m_Scene != nullptr ? m_Scene->GetCreatureOfPlace(place) : nullptr;
        SetText(kNameTexts[place], creature != nullptr ? creature->m_Name : "");
    }
    SetAllTextsVisible(false);
    SetNavigationEnabled(false);
}

void GUIChampionshipPodium::OnFSCommand(const std::string& command) {
    FlashGUI::OnFSCommand(command);
    if (command == "PlayAgain") {
        // A new championship on a clean record, whatever was played before the podium showed
        // (the developer key shows it from any game).
        Application::GetInstance().NewSetup(MatchSetup::Championship);
        m_Director.PopScreen();
        m_Director.PushScreen(GUIDirector::kChampionshipGlobbos);
    } else if (command == "Stats") {
        m_Director.PushScreen(GUIDirector::kStatistics);
    } else if (command == "MainMenu") {
        m_Director.PopScreen();
        SoundManager& sounds = SoundManager::GetInstance();
        sounds.StopMusic();
        sounds.PlayMusic(kMenuMusic);
    } else if (command == "showtext") {
        SetTextVisible("allglory", true);
        SetTextVisible("allshame", true);
    } else {
        for (size_t place = 0; place < 3; ++place) {
            if (command == std::string(kNameTexts[place]) + "in") {
                SetTextVisible(kNameTexts[place], true);
            }
        }
    }
}
