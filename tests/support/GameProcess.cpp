#include "tests/support/GameProcess.h"

#include "app/FrameSteps.h"
#include "tests/support/GameData.h"
#include "tests/support/SanitizerEnvironment.h"
#include "tests/support/WaitUntil.h"

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace testing_support {
namespace {

constexpr auto kPoll = std::chrono::milliseconds(50);

testing::AssertionResult EndedWith(const std::optional<int>& status, int exitCode, const std::string& output) {
    if (!status) {
        return testing::AssertionFailure() << "the program did not end; output: " << output;
    }
    if (!WIFEXITED(*status) || WEXITSTATUS(*status) != exitCode) {
        return testing::AssertionFailure() << "wait status " << *status << "; output: " << output;
    }
    return testing::AssertionSuccess();
}

}  // namespace

GameProcess::GameProcess(X11TestDisplay& display, const std::string& gameFolder, const std::string& preferences)
    : m_Display(display) {
    std::filesystem::copy(gameFolder + "/application.xml", m_Folder / "application.xml");
    CopyGameData(gameFolder + "/data", m_Folder / "data");
    if (!preferences.empty()) {
        WriteFile(m_Folder / "home/Pondorix/preferences.xml", "<resource>" + preferences + "</resource>");
    }
}

testing::AssertionResult GameProcess::Launch(const std::vector<std::string>& command,
                                             const std::vector<std::string>& environment) {
    if (!m_Display.Started()) {
        return testing::AssertionFailure() << "no Xvfb server";
    }
    std::vector<std::string> variables = {"DISPLAY=" + m_Display.Name(),
                                          "XDG_DATA_HOME=" + (m_Folder / "home").string(), "ALSOFT_DRIVERS=null"};
    for (const std::vector<std::string>& extra : {SanitizerEnvironment(m_Folder.Path()), environment}) {
        variables.insert(variables.end(), extra.begin(), extra.end());
    }
    m_Window = 0;
    m_Process.reset();
    m_Process.emplace(
        ChildProcess::Start(command, m_Folder.Path().string(), variables, (m_Folder / "output.txt").string()));
    return m_Process->Started() ? testing::AssertionSuccess()
                                : testing::AssertionFailure() << "the program could not be started";
}

testing::AssertionResult GameProcess::Start(const std::vector<std::string>& command,
                                            const std::vector<std::string>& environment) {
    if (testing::AssertionResult launched = Launch(command, environment); !launched) {
        return launched;
    }
    return WaitForWindow();
}

testing::AssertionResult GameProcess::StartAsOnlyClient(const std::vector<std::string>& command) {
    if (testing::AssertionResult launched = Launch(command); !launched) {
        return launched;
    }
    if (!WaitForLog(" INFO: Main window ready.\n")) {
        return testing::AssertionFailure()
               << "the log does not say that the window is ready; output: " << Output() << "\nlog:\n"
               << Log();
    }
    if (!m_Display.Connect()) {
        return testing::AssertionFailure() << "the test cannot connect to the X server";
    }
    return WaitForWindow();
}

testing::AssertionResult GameProcess::WaitForWindow() {
    WaitUntil([&] { return !m_Process->Running() || (m_Window = m_Display.FindWindow("Pondorix")) != 0; }, kTimeout,
              kPoll);
    if (m_Window == 0) {
        return testing::AssertionFailure() << "no window titled Pondorix; output: " << Output();
    }
    return testing::AssertionSuccess();
}

std::string GameProcess::Output() const {
    return ReadFile(m_Folder / "output.txt");
}

std::string GameProcess::Log() const {
    return ReadFile(m_Folder / "home/Pondorix/Pondorix.log");
}

std::string GameProcess::Preferences() const {
    return ReadFile(m_Folder / "home/Pondorix/preferences.xml");
}

bool GameProcess::WaitForLog(const std::string& text, int count) {
    bool found = false;
    WaitUntil(
        [&] {
            // Whether the program has ended is asked first: the log read after it is then whole.
            const bool ended = !m_Process || !m_Process->Running();
            const std::string log = Log();
            int times = 0;
            for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + text.size())) {
                ++times;
            }
            found = times >= count;
            return found || ended;
        },
        kTimeout, kPoll);
    return found;
}

bool GameProcess::XDoTool(const std::vector<std::string>& arguments) {
    const bool done = m_Display.XDoTool(arguments, (m_Folder / "xdotool.txt").string());
    EXPECT_TRUE(done) << ReadFile(m_Folder / "xdotool.txt");
    return done;
}

bool GameProcess::Keys(const std::vector<std::string>& keys, std::chrono::milliseconds pause) {
    for (size_t i = 0; i < keys.size(); ++i) {
        if (i > 0) {
            std::this_thread::sleep_for(std::max(pause, kKeyGap));
        }
        if (!XDoTool({"windowfocus", "--sync", std::to_string(m_Window), "key", keys[i]})) {
            return false;
        }
    }
    return true;
}

namespace {

// The keys that step the paused game for the time.
std::vector<std::string> StepKeys(std::chrono::milliseconds time) {
    const float steps = std::ceil(std::chrono::duration<float>(time).count() / kMaxStepSeconds);
    return std::vector<std::string>(static_cast<size_t>(steps), "space");
}

}  // namespace

bool GameProcess::StepGame(std::chrono::milliseconds time) {
    return SendKeys(StepKeys(time)) && WaitForGame();
}

bool GameProcess::RunGameTime(std::chrono::milliseconds time) {
    std::vector<std::string> keys = StepKeys(time);
    keys.insert(keys.begin(), "p");
    keys.push_back("p");
    return SendKeys(keys) && WaitForGame();
}

bool GameProcess::WaitForGame() {
    for (const bool shown : {true, false}) {
        if (!SendKeys({"alt+f"}) ||
            !WaitUntil([&] { return (CounterTextPixels() >= kCounterTextShown) == shown; }, kTimeout, kPoll)) {
            ADD_FAILURE() << "the counters did not " << (shown ? "show" : "go") << "; " << CounterTextPixels()
                          << " pixels of their text";
            return false;
        }
    }
    return true;
}

int GameProcess::CounterTextPixels() {
    std::vector<std::pair<int, int>> corner;
    for (int i = 0; i < 320 * 140; ++i) {
        corner.emplace_back(i % 320, i / 320);
    }
    int count = 0;
    for (const Rgb& c : ReadPixels(corner).value_or(std::vector<Rgb>{})) {
        count += c.b > 220 && c.r < 90 && c.g < 90 ? 1 : 0;
    }
    return count;
}

bool GameProcess::SendKeys(const std::vector<std::string>& keys) {
    const bool sent = m_Display.SendKeys(m_Window, keys);
    EXPECT_TRUE(sent) << "the keyboard has no key p, space or f";
    return sent;
}

bool GameProcess::Click(int x, int y) {
    const std::string window = std::to_string(m_Window);
    // xdotool's own wait for the move may end before the server has put the pointer there; a
    // button pressed then is pressed where the pointer was.
    const auto pointerThere = [&] {
        return m_Display.Pointer(m_Window) == std::pair{x, y};
    };
    return XDoTool({"windowfocus", "--sync", window, "mousemove", "--sync", "--window", window, std::to_string(x),
                    std::to_string(y)}) &&
           WaitUntil(pointerThere, kTimeout, kPoll) && XDoTool({"mousedown", "1"}) && RunGameTime(kClickGameTime) &&
           XDoTool({"mouseup", "1"});
}

bool GameProcess::ClickUntilLog(int x, int y, const std::string& text) {
    return Click(x, y) && WaitForLog(text);
}

std::optional<std::vector<Rgb>> GameProcess::ReadPixels(const std::vector<std::pair<int, int>>& points) {
    return m_Display.ReadPixels(m_Window, points);
}

testing::AssertionResult GameProcess::ShowsPicture(std::pair<int, int> size,
                                                   const std::vector<std::pair<int, int>>& points,
                                                   const std::vector<Rgb>& expected) {
    std::string seen;
    auto matches = [&] {
        std::optional<std::vector<Rgb>> colours;
        if (m_Display.Size(m_Window) == size && (colours = ReadPixels(points))) {
            seen.clear();
            for (const Rgb& c : *colours) {
                seen += "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ") ";
            }
        }
        return colours == expected;
    };
    return WaitUntil(matches, kTimeout, kPoll) ? testing::AssertionSuccess()
                                               : testing::AssertionFailure() << "seen " << seen;
}

bool GameProcess::Screenshot(const std::string& path) {
    const std::optional<int> status =
        ChildProcess::Start({"/usr/bin/import", "-window", std::to_string(m_Window), path}, "",
                            {"DISPLAY=" + m_Display.Name()}, (m_Folder / "import.txt").string())
            .WaitFor(std::chrono::seconds(20));
    return status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0;
}

testing::AssertionResult GameProcess::Close() {
    m_Display.RequestClose(m_Window);
    return Ends();
}

testing::AssertionResult GameProcess::Ends(int exitCode, std::chrono::seconds timeout) {
    // The output is read once the program has ended, so that it holds the last lines, such as the
    // sanitizers' reports at exit.
    const std::optional<int> status = m_Process->WaitFor(timeout);
    return EndedWith(status, exitCode, Output());
}

testing::AssertionResult GameProcess::RefusesToStart(const std::vector<std::string>& command,
                                                     const std::vector<std::string>& environment,
                                                     const std::string& line) {
    if (testing::AssertionResult launched = Launch(command, environment); !launched) {
        return launched;
    }
    if (testing::AssertionResult ended = Ends(1); !ended) {
        return ended;
    }
    const std::string program = std::filesystem::path(command.at(0)).filename().string();
    const std::string log = Log();
    if (Output() != program + ": " + line + "\n") {
        return testing::AssertionFailure() << "output:\n" << Output();
    }
    if (log.find(" ERROR: CheckStartup: " + line + "\n") == std::string::npos ||
        log.find("CRASHED!") != std::string::npos) {
        return testing::AssertionFailure() << "log:\n" << log;
    }
    return testing::AssertionSuccess();
}

}  // namespace testing_support
