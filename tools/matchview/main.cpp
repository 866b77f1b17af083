// match_view <level file>: opens the game's window on one level (a name of the virtual file
// system, such as "data/levels/1_nanomill.xml") and runs it until the window is closed.
#include "app/Application.h"
#include "app/Logger.h"
#include "app/standin/GUIDirector.h"
#include "platform/CrashReporter.h"
#include "tools/matchview/LevelScreen.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: match_view <level file>\n");
        return 2;
    }
    Logger& logger = Logger::GetInstance();
    platform::InstallCrashReporter(logger.GetLogFile());

    Application& application = Application::GetInstance();
    application.Init();
    // The screen lives in this frame: an exit from inside the main loop (the window system ending
    // the program) leaves it alone rather than destroying it after the services it uses.
    LevelScreen screen(argv[1]);
    if (!screen.Load()) {
        std::fprintf(stderr, "match_view: cannot play the level %s (see the log)\n", argv[1]);
        application.Shutdown();
        return 1;
    }
    standin::GUIDirector::GetInstance().ShowScreen(&screen);
    application.Run();
    application.Shutdown();
    return 0;
}
