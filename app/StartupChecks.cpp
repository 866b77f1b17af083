#include "app/StartupChecks.h"

#include "app/Log.h"
#include "app/Logger.h"
#include "platform/DisplayCheck.h"
#include "platform/UserFolder.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// One line on standard error after the program's name, and in the log.
void Tell(const char* program, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", program, text.c_str());
    log_error("CheckStartup: %s", text.c_str());
}

bool HoldsApplicationData(const std::string& workingFolder) {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(workingFolder) / "application.xml", error);
}

std::string DisplayFailure() {
    const std::string display = platform::DisplayName();
    if (display.empty()) {
        return "cannot open an X display: DISPLAY is not set; it must name a running X server";
    }
    return "cannot open the X display \"" + display + "\": DISPLAY must name a running X server";
}

// Without its user folder the logger and the file system use the working folder (an empty user
// folder path); without a known base folder there is nothing to tell.
void TellAboutUserFolder(const char* program, const std::string& workingFolder) {
    const std::string wanted = platform::UserDataFolderPath();
    if (wanted.empty() || !Logger::GetInstance().GetUserFolder().empty()) {
        return;
    }
    const std::string where = platform::IsWritableFolder(workingFolder)
                                  ? "go to the working folder " + workingFolder + " instead"
                                  : "will not be saved";
    Tell(program,
         "cannot create or write the user folder " + wanted + ": the log, the preferences and the statistics " + where);
}

}  // namespace

bool CheckStartup(const char* program) {
    std::error_code error;
    const std::string workingFolder = std::filesystem::current_path(error).string();
    if (!HoldsApplicationData(workingFolder)) {
        Tell(program, "no application.xml in " + workingFolder +
                          ": the game starts from its run folder, build-game/run/, as scripts/run-game.sh does");
        return false;
    }
    if (!platform::DisplayOpens()) {
        Tell(program, DisplayFailure());
        return false;
    }
    TellAboutUserFolder(program, workingFolder);
    return true;
}
