#pragma once

#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/X11TestDisplay.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// A program of the game on an X server of the caller's, running from a fresh copy of a game's
// working folder (application.xml and data/, without the movies' cache files, which would be
// taken for fresh) with its user folder under "home" in that copy and sound going to OpenAL's
// null output; what it prints goes to "output.txt" in the copy. It is driven with real key
// presses (xdotool) and watched through its window's pixels, its log and screenshots. The
// program may be started again in the same copy once it has ended.
class GameProcess {
public:
    // How long the game may take for a step a test waits for: its own seconds stretch on a busy
    // machine, and a failure only comes this much later.
    static constexpr std::chrono::seconds kTimeout{30};
    // The least time between two keys typed by Keys.
    static constexpr std::chrono::milliseconds kKeyGap{10};
    // Whether the counters show (CounterTextPixels at least this many).
    static constexpr int kCounterTextShown = 100;

    // Copies the game folder and writes the preferences file when its record is given (an
    // element "userpreferences" named "prefs").
    GameProcess(X11TestDisplay& display, const std::string& gameFolder, const std::string& preferences = "");

    // Starts the command (a path and its arguments) with the extra environment variables, which
    // replace those the class sets (such as ALSOFT_DRIVERS=null) where they name the same.
    testing::AssertionResult Launch(const std::vector<std::string>& command,
                                    const std::vector<std::string>& environment = {});
    // Launches the command and waits at most kTimeout for its window titled "Pondorix".
    testing::AssertionResult Start(const std::vector<std::string>& command,
                                   const std::vector<std::string>& environment = {});
    // Starts the command as Start does on a display not connected to yet, which connects only
    // once the program's log says that its window is ready: until then the program is the
    // server's only client.
    testing::AssertionResult StartAsOnlyClient(const std::vector<std::string>& command);

    const TempDir& Folder() const { return m_Folder; }
    // The launched program's process id; 0 before a launch.
    pid_t Pid() const { return m_Process ? m_Process->Pid() : 0; }
    Window GetWindow() const { return m_Window; }
    std::string Output() const;
    // The game's log, "Pondorix.log" in its user folder.
    std::string Log() const;
    std::string Preferences() const;
    // Polls the log until it holds the text count times, at most kTimeout, or until the program
    // has ended without writing it.
    bool WaitForLog(const std::string& text, int count = 1);

    // Runs xdotool on the display; a failure is reported.
    bool XDoTool(const std::vector<std::string>& arguments);
    // Focuses the window and types the keys (xdotool names) one after the other, each held for
    // a moment, with the pause (at least kKeyGap) between them. Each key is its own xdotool run,
    // which ends only once the server has taken the key, so a key typed twice reaches the game
    // as two presses however busy the machine is: the window system takes a release and a press
    // of one key that the server stamps a few milliseconds apart for the key held down, and
    // drops both.
    bool Keys(const std::vector<std::string>& keys, std::chrono::milliseconds pause = std::chrono::milliseconds(150));
    // While the game is paused (its debug key P), runs it for the given time of its own, however
    // slow the machine: Space runs one update step (kMaxStepSeconds). Returns once the game has
    // run the steps (WaitForGame).
    bool StepGame(std::chrono::milliseconds time);
    // Runs the running game for at least the given time of its own: pauses it, steps it and lets
    // it go on, and returns once it has (WaitForGame). What the game did before the call (a
    // screen it showed, a line it logged) is thus at least that much of its time old when the
    // next key arrives, and a key or button held down through the call is down in every step. In
    // a match P also saves the level's sketch into the user folder.
    bool RunGameTime(std::chrono::milliseconds time);
    // Waits until the game has taken every key sent to it before and drawn a frame after them:
    // shows its counters (Alt+F) until their text shows, then hides them until it is gone.
    bool WaitForGame();
    // How many pixels of the window's top-left corner show the counters' own blue text (50, 50,
    // 250, blended with the picture at the glyphs' edges): no picture of the game's is that blue.
    int CounterTextPixels();
    // Clicks at the point of the window and waits until the log holds the text (WaitForLog).
    bool ClickUntilLog(int x, int y, const std::string& text);
    // Polls until the window has the size and shows the colours at the points, at most kTimeout;
    // the failure names the last colours read.
    testing::AssertionResult ShowsPicture(std::pair<int, int> size, const std::vector<std::pair<int, int>>& points,
                                          const std::vector<Rgb>& expected);
    std::optional<std::vector<Rgb>> ReadPixels(const std::vector<std::pair<int, int>>& points);
    // Writes the window's picture as a PNG file (ImageMagick's import).
    bool Screenshot(const std::string& path);

    // Closes the window as a window manager does and expects the program to end with exit code 0
    // within kTimeout.
    testing::AssertionResult Close();
    // Expects the program to end by itself with the exit code within the timeout.
    testing::AssertionResult Ends(int exitCode = 0, std::chrono::seconds timeout = kTimeout);
    // Launches the command and expects it to refuse to start: exit code 1, nothing on its output
    // but "<program>: <line>" (the program named by the command's file name), the same line in
    // its log as an error of the start-up check, and no crash report.
    testing::AssertionResult RefusesToStart(const std::vector<std::string>& command,
                                            const std::vector<std::string>& environment, const std::string& line);

private:
    // Waits at most kTimeout for the launched program's window titled "Pondorix".
    testing::AssertionResult WaitForWindow();
    // Sends the keys to the window through the display; a failure is reported.
    bool SendKeys(const std::vector<std::string>& keys);
    // Focuses the window, moves the pointer to the point of the window and, once the server has it
    // there, clicks the left button, held down while the game runs kClickGameTime of its own time:
    // the game reads the button as it is held, once an update, so however busy the machine, some
    // update sees it down.
    bool Click(int x, int y);
    static constexpr std::chrono::milliseconds kClickGameTime{100};

    X11TestDisplay& m_Display;
    TempDir m_Folder;
    std::optional<ChildProcess> m_Process;
    Window m_Window = 0;
};

}  // namespace testing_support
