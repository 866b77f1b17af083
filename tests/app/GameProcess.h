#pragma once

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/X11TestDisplay.h"

#include <chrono>
#include <optional>
#include <string>

namespace testing_support {

// A program of the game running from a fresh copy of the game's working folder (application.xml
// and data/) on a test display, with its user folder under "home" in that copy and sound going
// to OpenAL's null output. Everything the program prints goes to "output.txt" in the copy. Files
// can be added to the copy before the program is started.
class GameProcess {
public:
    // Makes the copy of the working folder.
    GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Stores preferences with bitmaps off in the user folder, so that the game clears its window
    // to the light clear colour. Call before Start.
    void TurnBitmapsOff();
    // Starts the program in the copy, on the display; false when it could not be started.
    bool Start(const std::string& executable, const X11TestDisplay& display);
    // The running program; Start must have been called.
    ChildProcess& Process() { return *m_Process; }
    // The copy of the working folder the program runs in.
    const TempDir& Folder() const { return m_Folder; }
    // What the program has printed so far.
    std::string Output() const;
    // The game's log in its user folder.
    std::string Log() const;

    // Waits for the program's window, titled "Pondorix", to show on the display; 0 when it did
    // not within the time or the program ended first.
    Window WaitForWindow(X11TestDisplay& display, std::chrono::seconds timeout);
    // Closes the window as a window manager does and waits at most ten seconds for the program
    // to end; empty when it ended with exit code 0, else what happened instead.
    std::string CloseWindow(X11TestDisplay& display, Window window);

private:
    TempDir m_Folder;
    std::optional<ChildProcess> m_Process;
};

}  // namespace testing_support
