#include "app/Application.h"
#include "app/ErrorLogBuffer.h"
#include "app/Logger.h"
#include "app/StartupChecks.h"
#include "gui/GUIDirector.h"
#include "platform/CrashReporter.h"
#include "platform/DisplayConnection.h"

// The command line is not read. Exit code 1 when the game cannot start (CheckStartup).
int main() {
    // The log comes first: it creates the user folder, and crash reports go into it.
    Logger& logger = Logger::GetInstance();
    ErrorLogBuffer::InstallForSfml();
    platform::InstallCrashReporter(logger.GetLogFile());
    // Held until the program ends, so that the X server keeps a client of this program's
    // throughout (DisplayConnection).
    const platform::DisplayConnection display;
    if (!CheckStartup("pondorix", display)) {
        return 1;
    }

    Application& application = Application::GetInstance();
    application.Init([]() -> ScreenDirector& { return GUIDirector::GetInstance(); });
    application.Run();
    application.Shutdown();
    return 0;
}
