#pragma once

#include "app/EventAdapter.h"
#include "app/KeyCodes.h"
#include "flash/sigslot.h"
#include "gui/FlashGUI.h"
#include "gui/RecordedReplay.h"

#include <SFML/Graphics/Transform.hpp>
#include <box2d/b2_math.h>

#include <array>
#include <memory>
#include <string>

class CinematicGame;
class Controller;
class EventPlayer;
class Globbo;

// A screen layer that plays a small scene behind a menu: up to three creatures on a level of
// their own, the first steered by a gamepad controller whose stick is a recorded script. The
// script replays in its recorded steps whatever the length of the screen's updates. In recording
// mode the controller takes the live input instead, and the script records the scene.
//
// The scene owns the controller (it goes with the scene); the layer keeps it only to move it from
// creature to creature.
class GameLayer : public FlashGUI::Layer, public sigslot::has_slots<> {
public:
    // The controller's settings.
    static constexpr const char* kControllerFile = "data/controls/gamepad_1.xml";
    // The key that moves the controller to the next creature (N).
    static constexpr uint32_t kNextCreatureKey = Key::N;
    // The most recorded steps one update replays; the time beyond is dropped.
    static constexpr int kMaxStepsPerUpdate = 50;

    explicit GameLayer(std::string name);
    // The scene goes first (with the controller), then the script.
    ~GameLayer() override;

    // One place of the scene: a creature file (empty for none) and where it stands.
    struct Place {
        std::string file;
        b2Vec2 position{0.0f, 0.0f};
    };

    // Starts the scene anew on the level, the script opened for playback (or for recording):
    // the old scene, its controller and the old script go first. The first place's creature is
    // steered by the controller, the others stand; a place without a file adds no creature.
    void Start(const std::array<Place, 3>& places, const std::string& levelFile, const std::string& scriptFile);

    // Draws the scene in the level's view zoom about the screen's centre.
    void Render(sf::RenderTarget& target, sf::RenderStates states) const override;
    // Playback: replays the script's steps that dt makes due, each with a scene step of its
    // recorded length. Recording (or without a script): a scene step of dt, recorded.
    void Update(Application& application, float dt) override;
    // The layer's mouse handling; N moves the controller to the next creature; in recording the
    // event is also recorded and goes to the scene.
    void OnEvent(const sf::Event& event) override;

    // Whether Start records (true) or plays back the script; takes effect at the next Start.
    void SetRecording(bool recording) { m_Recording = recording; }
    bool IsRecording() const { return m_Recording; }

    CinematicGame* GetGame() const { return m_Game.get(); }
    EventPlayer* GetScript() const { return m_Script.get(); }
    Controller* GetController() const { return m_Controller; }
    // The creature of the place (0 first); null when the place has none.
    Globbo* GetCreatureOfPlace(size_t place) const { return place < m_Places.size() ? m_Places[place] : nullptr; }
    size_t GetDrivenIndex() const { return m_Driven; }
    float GetAccumulator() const { return m_Replay.GetClock(); }

private:
    void Stop();
    void NextCreature();
    // Binds the controller to the creature, with the script as its input in playback.
    void AttachController(Globbo* creature);

    std::unique_ptr<CinematicGame> m_Game;
    std::unique_ptr<EventPlayer> m_Script;
    Controller* m_Controller = nullptr;
    std::array<Globbo*, 3> m_Places{};
    EventAdapter m_Adapter;
    sf::Transform m_Zoom;
    bool m_Recording = false;
    RecordedReplay m_Replay{kMaxStepsPerUpdate};
    size_t m_Driven = 0;
};
