#pragma once

#include "gui/FlashGUI.h"

#include <box2d/b2_math.h>

#include <array>
#include <memory>

class GUIDirector;
class GameLayer;

// The championship's podium (screen 12): behind the menu the three best creatures of the
// championship stand on their steps and the champion hops as a recorded script says; the movie
// then names them ("globbo1in" to "globbo3in"), shows the cheers ("showtext") and lets the
// controllers choose another championship ("PlayAgain"), the statistics ("Stats") or the main
// menu ("MainMenu").
class GUIChampionshipPodium : public FlashGUI {
public:
    // The name of the scene's layer, which goes just above the layer "background".
    static constexpr const char* kSceneLayer = "data/gui/championship_podium_level.xml";
    static constexpr const char* kBackgroundLayer = "background";
    static constexpr const char* kLevel = "data/championship_podium_level.xml";
    static constexpr const char* kScript = "data/podium_script.txt";
    static constexpr const char* kMenuMusic = "data/music/acoustic/track01.ogg";
    // Where the champion, the runner-up and the third stand.
    static const std::array<b2Vec2, 3> kPlaces;

    explicit GUIChampionshipPodium(GUIDirector& director) : m_Director(director) {}

    // The items "PlayAgain", "Stats" and "MainMenu" in a ring, the focus on "PlayAgain", and the
    // scene's layer.
    void Load(const std::string& file) override;
    // The scene goes with the other layers.
    void Unload() override;
    // The movies from their start, the scene started anew with the championship's places, the
    // names written and every text hidden; no navigation until the movie allows it.
    void Activate() override;
    void OnFSCommand(const std::string& command) override;

    // The scene's layer; null before a description is loaded.
    GameLayer* GetSceneLayer() const { return m_Scene.get(); }

private:
    GUIDirector& m_Director;
    std::shared_ptr<GameLayer> m_Scene;
};
