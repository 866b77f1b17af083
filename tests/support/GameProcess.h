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
    static constexpr std::chrono::seconds kTimeout{10};

    // Copies the game folder and writes the preferences file when its record is given (an
    // element "userpreferences" named "prefs").
    GameProcess(X11TestDisplay& display, const std::string& gameFolder, const std::string& preferences = "");

    // Starts the command (a path and its arguments) with the extra environment variables.
    testing::AssertionResult Launch(const std::vector<std::string>& command,
                                    const std::vector<std::string>& environment = {});
    // Launches the command and waits at most 15 seconds for its window titled "Pondorix".
    testing::AssertionResult Start(const std::vector<std::string>& command,
                                   const std::vector<std::string>& environment = {});

    const TempDir& Folder() const { return m_Folder; }
    Window GetWindow() const { return m_Window; }
    std::string Output() const;
    // The game's log, "Pondorix.log" in its user folder.
    std::string Log() const;
    std::string Preferences() const;
    // Polls the log until it holds the text count times, at most kTimeout.
    bool WaitForLog(const std::string& text, int count = 1) const;

    // Runs xdotool on the display; a failure is reported.
    bool XDoTool(const std::vector<std::string>& arguments);
    // Focuses the window and types the keys (xdotool names) one after the other, each held for
    // a moment, with the pause between them.
    bool Keys(const std::vector<std::string>& keys, std::chrono::milliseconds pause = std::chrono::milliseconds(150));
    // Clicks at the point of the window until the log holds the text (WaitForLog), at most three
    // times: a busy game that takes longer over a frame than the click is held does not see it.
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

private:
    // Focuses the window, moves the pointer to the point of the window and clicks the left button,
    // held down for a moment: the game reads the button as it is held, once a frame.
    bool Click(int x, int y);

    X11TestDisplay& m_Display;
    TempDir m_Folder;
    std::optional<ChildProcess> m_Process;
    Window m_Window = 0;
};

}  // namespace testing_support
