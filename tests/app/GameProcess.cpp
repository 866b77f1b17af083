#include "tests/app/GameProcess.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

namespace testing_support {

namespace {

// Extra environment for the game in the sanitizer build. Mesa unloads its GL driver when the
// window's display connection closes, before the leak check runs at exit, so the blocks that the
// driver's globals still reach would be reported as leaks of an unknown module. Preloading the
// driver keeps it in memory, so they stay reachable; the leak check still covers our own code.
std::vector<std::string> SanitizerEnvironment() {
#if defined(__SANITIZE_ADDRESS__)
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/lib", error)) {
        std::filesystem::path driver = entry.path() / "dri/swrast_dri.so";
        if (std::filesystem::is_regular_file(driver, error)) {
            const char* options = std::getenv("ASAN_OPTIONS");
            return {"LD_PRELOAD=" + driver.string(),
                    std::string("ASAN_OPTIONS=") + (options ? options : "") + ":verify_asan_link_order=0"};
        }
    }
#endif
    return {};
}

}  // namespace

GameProcess::GameProcess() {
    std::filesystem::copy(PONDORIX_GAME_DIR "/application.xml", m_Folder / "application.xml");
    std::filesystem::copy(PONDORIX_GAME_DIR "/data", m_Folder / "data", std::filesystem::copy_options::recursive);
}

void GameProcess::TurnBitmapsOff() {
    WriteFile(m_Folder / "home/Pondorix/preferences.xml",
              "<resource><userpreferences name=\"prefs\" enableBitmaps=\"false\"/></resource>");
}

bool GameProcess::Start(const std::string& executable, const X11TestDisplay& display) {
    std::vector<std::string> environment = {"DISPLAY=" + display.Name(),
                                            "XDG_DATA_HOME=" + (m_Folder / "home").string(), "ALSOFT_DRIVERS=null"};
    for (const std::string& variable : SanitizerEnvironment()) {
        environment.push_back(variable);
    }
    m_Process.emplace(
        ChildProcess::Start({executable}, m_Folder.Path().string(), environment, (m_Folder / "output.txt").string()));
    return m_Process->Started();
}

std::string GameProcess::Output() const {
    return ReadFile(m_Folder / "output.txt");
}

std::string GameProcess::Log() const {
    return ReadFile(m_Folder / "home/Pondorix/Pondorix.log");
}

Window GameProcess::WaitForWindow(X11TestDisplay& display, std::chrono::seconds timeout) {
    Window window = 0;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (window == 0 && m_Process->Running() && std::chrono::steady_clock::now() < deadline) {
        window = display.FindWindow("Pondorix");
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return window;
}

std::string GameProcess::CloseWindow(X11TestDisplay& display, Window window) {
    display.RequestClose(window);
    std::optional<int> status = m_Process->WaitFor(std::chrono::seconds(10));
    if (!status) {
        return "the program did not end after its window was closed";
    }
    if (WIFSIGNALED(*status)) {
        return "the program ended by signal " + std::to_string(WTERMSIG(*status));
    }
    return WEXITSTATUS(*status) == 0 ? "" : "the program ended with exit code " + std::to_string(WEXITSTATUS(*status));
}

}  // namespace testing_support
