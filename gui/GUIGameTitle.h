#pragma once

#include "gui/DemonstrationScene.h"
#include "gui/FlashGUI.h"
#include "gui/RecordedReplay.h"

#include <memory>

class EventPlayer;
class GUIDirector;
class Level;
class ScriptedController;
class SpitGame;

// The title screen (screen 1): over the title movie, a demonstration match between the two fixed
// creatures replays recorded input; the movie's "bottleready" switches to the second scene. Any
// controller command, or the movie's "stopped", leaves for the main menu at the end of the next
// update. The screen's loaded flag is its keep-running flag.
class GUIGameTitle : public FlashGUI {
public:
    // At most this many recorded frames are replayed in one update; the rest waits for the next,
    // so that a recording of tiny steps cannot hold a frame up.
    static constexpr int kMaxFramesPerUpdate = 16;

    // The director is the one that stacks the title; leaving goes through it.
    explicit GUIGameTitle(GUIDirector& director);
    // The scene goes first, then the screen.
    ~GUIGameTitle() override;

    // The movie, then scene 1 with its creatures thrown in.
    void Load(const std::string& file) override;
    // The movies, the replay in recorded steps, then, when leaving, the main menu replaces the
    // title.
    void Update(Application& application, float dt) override;
    // The movie, then the match over it.
    void Render(sf::RenderTarget& target, sf::RenderStates states) const override;
    // Any command leaves.
    void OnCommand(Controller* controller, int command) override;
    // "bottleready" starts scene 2, "stopped" leaves; the rest is ignored.
    void OnFSCommand(const std::string& command) override;

    SpitGame* GetMatch() const { return m_Match.get(); }
    EventPlayer* GetRecording() const { return m_Recording.get(); }
    float GetReplayClock() const { return m_Replay.GetClock(); }

private:
    // Deletes the running scene and starts the scene's match on its recording.
    void StartScene(const DemonstrationScene& scene);
    // Deletes the match, the controllers, the recording player and the level, in that order.
    void DeleteScene();
    void Replay(Application& application, float dt);

    GUIDirector& m_Director;
    std::unique_ptr<EventPlayer> m_Recording;
    std::unique_ptr<Level> m_Level;
    std::unique_ptr<SpitGame> m_Match;
    std::unique_ptr<ScriptedController> m_Controller1;
    std::unique_ptr<ScriptedController> m_Controller2;
    RecordedReplay m_Replay{kMaxFramesPerUpdate};
};
