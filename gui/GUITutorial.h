#pragma once

#include "app/EventAdapter.h"
#include "gui/RecordedReplay.h"
#include "gui/ScreenRoles.h"

#include <memory>
#include <string>

class Controller;
class EventPlayer;
class GUIDirector;
class Level;
class SpitGame;
struct TutorialBlock;

// The tutorial (screens 2 and 3): lessons in numbered blocks. The movie drives the lessons: the
// first frame of each lesson sends "block<NN>", and some blocks replay a short recorded match on a
// tutorial level behind the lesson. The clips "pausebutton" (stops and restarts the movie and the
// match) and "nextbutton" (goes on to the next lesson) are the screen's focus items; the movie
// sends "stopped" at its end, and the screen then leaves for the main menu.
//
// The screen owns its block's level, match, recording and controllers; the match only borrows
// the controllers. Pushed as id 2 its buttons are off and any command ends it.
class GUITutorial : public TutorialScreen {
public:
    // The live controllers of record mode.
    static constexpr const char* kRecordGamepadFile = "data/controls/gamepad_1.xml";
    static constexpr const char* kRecordKeyboardFile = "data/controls/keyboard_arrows.xml";
    // The movie's lessons are labelled "block00" to "block99"; other numbers are refused.
    static constexpr int kLastBlock = 99;
    // At most this many recorded steps are replayed in one update; time beyond them is dropped,
    // so a long stall (or a huge dt) never replays the whole recording in one frame.
    static constexpr int kMaxStepsPerUpdate = 8;

    explicit GUITutorial(GUIDirector& director);
    ~GUITutorial() override;
    GUITutorial(const GUITutorial&) = delete;
    GUITutorial& operator=(const GUITutorial&) = delete;

    // Loads the description, adds the items "pausebutton" and "nextbutton" (each the other's
    // right and left neighbour), then resets.
    void Load(const std::string& file) override;
    // The block's match goes with the movie (the director unloads every screen at shutdown,
    // while the sounds and bodies that a match holds are still there to let go of).
    void Unload() override;
    // The cursor goes onto "pausebutton".
    void Activate() override;
    // The block's match (or, without one, plain water) behind the lesson movie.
    void Render(sf::RenderTarget& target, sf::RenderStates states) const override;
    // The movie, then (unless paused) the match: replayed in its recorded steps, or in record
    // mode stepped by dt with each step recorded. Once the running flag is clear the screen pops
    // itself (pushing the main menu when nothing is below) and is running again for its next
    // visit.
    void Update(Application& application, float dt) override;
    // The movies get the mouse; in record mode the event is recorded and goes to the match and
    // its controllers.
    void OnEvent(const sf::Event& event) override;
    // With the buttons off, any command ends the tutorial at the next update.
    void OnCommand(Controller* controller, int command) override;
    // "block<NN>", "stopped", "pausebutton" and "nextbutton"; the rest goes to the framework
    // ("EnableNavigation").
    void OnFSCommand(const std::string& command) override;

    // The match, level and recording go, the texts hide, and the movie starts again from its
    // first frame at block 0, running and not paused.
    void Reset() override;
    // Switches the clips "pausebutton" and "nextbutton" on or off.
    void EnableButtons(bool enabled) override;

    // Live controllers instead of the recording; every step and input event is recorded into the
    // block's recording file.
    void SetRecordMode(bool record) { m_RecordMode = record; }

    // State for tests.
    int GetBlock() const { return m_Block; }
    bool IsPaused() const { return m_Paused; }
    bool AreButtonsEnabled() const { return m_ButtonsEnabled; }
    float GetPlaybackTime() const { return m_Replay.GetClock(); }
    SpitGame* GetGame() const { return m_Game.get(); }
    Level* GetLevel() const { return m_Level.get(); }
    EventPlayer* GetRecording() const { return m_Recording.get(); }
    const std::string& GetLevelFile() const { return m_LevelFile; }

private:
    void SetUpBlock(int number);
    // Builds the block's match; on a missing recording or level nothing is left of it.
    void StartMatch(const TutorialBlock& block);
    // The match, its controllers, the recording and the level go, in that order.
    void DeleteMatch();
    void Leave();

    GUIDirector& m_Director;
    std::unique_ptr<Level> m_Level;
    std::unique_ptr<SpitGame> m_Game;
    std::unique_ptr<EventPlayer> m_Recording;
    std::unique_ptr<Controller> m_Controller1;
    std::unique_ptr<Controller> m_Controller2;
    std::string m_LevelFile;
    EventAdapter m_Adapter;
    bool m_ButtonsEnabled = true;
    bool m_Paused = false;
    bool m_RecordMode = false;
    int m_Block = 0;
    RecordedReplay m_Replay{kMaxStepsPerUpdate};
};
