#pragma once

#include "app/EventAdapter.h"
#include "app/GameStatistics.h"
#include "app/InputStatusProvider.h"
#include "app/MatchSetup.h"
#include "app/ScreenDirector.h"
#include "app/TinyxmlPhysfsProxy.h"
#include "flash/FlashMovie.h"
#include "flash/sigslot.h"
#include "serializeme/Serializable.h"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Graphics/View.hpp>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The game's one window and its main loop. main asks it to start up (Init), to run frames until
// the window closes (Run) and to shut down (Shutdown). It maps the fixed 800 x 600 logical
// screen onto any window size with letterbox bars, owns the input controllers, the overlay movie
// and the font, and holds the match being set up; screens and gameplay read and write its public
// fields. The fields from levelFile to currentGame (the MatchRecord base) are the current match.
class Application : public sf::RenderWindow,
                    public InputStatusProvider,
                    public sigslot::has_slots<>,
                    public MatchRecord {
public:
    // The contents of "application.xml" (record "application").
    struct Data : public sme::Serializable {
        bool Serialize(sme::StorageBuffer& buffer) override;
        const char* TypeName() const override { return "application"; }

        // The controller description files, in the order the controllers are built.
        std::vector<std::string> m_Controllers;
    };

    static Application& GetInstance();

    // Starts the virtual file system, reads the application data, opens the window, builds the
    // controllers and loads the overlay, icon and font, then shows the first screen of the screen
    // director that screens gives (called only then, so the director is the last service made);
    // a director that already shows a screen when screens returns it (a tool's own) keeps it.
    // Without screens the window shows none. Always true.
    bool Init(const std::function<ScreenDirector&()>& screens = {});
    // Runs frames until the window is closed. Each frame (its events, update steps and drawing)
    // is one frame of the movies (MovieFrame): one script budget and one network allowance.
    void Run();
    // Saves the preferences and releases the screens, the sounds and the file system.
    void Shutdown();

    // Fits windowView to a window of width x height pixels (0: the window's current size) so that
    // the whole logical screen shows, centred. A zero-sized (minimised) window keeps the view.
    void FitView(unsigned int width, unsigned int height);
    // Closes the window as the window manager's close button does, keeping its size in the
    // windowSize preference first; nothing when the window is closed already.
    void CloseWindow();
    // The controller itself when it is one of controllers, else null.
    Controller* FindController(Controller* controller) const;
    // Detaches every controller from its creature.
    void DetachControllers();
    // A new game of the mode: the set-up and the current match start afresh, with nothing of an
    // earlier game left in them (the running match, if any, stays the screen's).
    void NewSetup(int32_t mode);
    // Shows the championship podium with fixed places (a developer key).
    void ShowDebugPodium();

    float GetJoystickAxis(unsigned int joystick, unsigned int axis) override;
    bool IsKeyDown(unsigned int key) override;

    Data data;
    // No update steps run while set.
    bool paused = false;
    // Draw the performance overlay.
    bool showCounters = false;
    // Matches draw the physics debug view.
    bool debugDraw = false;
    // XML file access over the virtual file system, current from Init to Shutdown.
    TinyxmlPhysfsProxy proxy;
    // Built at start-up from data.m_Controllers; they live until the program ends.
    std::vector<std::unique_ptr<Controller>> controllers;
    // The logical screen, (0, 0) to (800, 600).
    sf::View logicalView;
    // The view set on the window: the logical screen at the window's aspect.
    sf::View windowView;
    // Black bars left and right of the logical screen, seen in windows wider than 4:3.
    sf::RectangleShape leftBar;
    sf::RectangleShape rightBar;
    // The match results and the file they are kept in.
    StatisticsStore statistics;
    // Drawn over everything each frame.
    FlashMovie overlay;
    // "data/child.ttf".
    sf::Font font;
    MatchSetup matchSetup;
    // When set, the next frame counts a fixed 0.016 s instead of its measured time; every screen
    // push sets it.
    bool frameSkip = false;

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

private:
    Application();
    ~Application() override;

    void MountFileSystem();
    // Removes what saves of the preferences and the statistics left when the game was killed
    // while it wrote them: their temporary files, beside the files, that no save holds open.
    void RemoveLeftoverSaves();
    void CreateMainWindow();
    void LoadIcon();
    void ShowFirstScreen(ScreenDirector& screens);
    // Handles the window's events of one frame.
    void HandleEvents();
    void HandleKeyPressed(const sf::Event& event);
    // Runs the frame's update steps and draws the frame.
    void UpdateAndDraw(float frameSeconds);

    // The screens, from the end of Init on; null without them.
    ScreenDirector* m_Screens = nullptr;
    // The font file's bytes, which the font reads from for as long as it lives.
    std::vector<char> m_FontBytes;
    // Measures the time between frames.
    sf::Clock m_FrameClock;
    // Turns the window's key and joystick events into the controllers' input events.
    EventAdapter m_EventAdapter;
};
