#include "app/StartupChecks.h"

#include "app/Log.h"
#include "app/Logger.h"
#include "platform/DisplayConnection.h"
#include "platform/ReadableFile.h"
#include "platform/UserFolder.h"

#include <physfs.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// One line on standard error after the program's name, and in the log.
void Tell(const char* program, const std::string& text) {
    std::fprintf(stderr, "%s: %s\n", program, text.c_str());
    log_error("CheckStartup: %s", text.c_str());
}

// Whether the archive holds the file at its top. The file system is not running yet when the
// program starts; it runs just long enough to look.
bool ArchiveHolds(const std::filesystem::path& archive, const char* name) {
    if (PHYSFS_init(nullptr) == 0) {
        return false;
    }
    PHYSFS_Stat stat;
    const bool holds = PHYSFS_mount(archive.c_str(), nullptr, 0) != 0 && PHYSFS_stat(name, &stat) != 0 &&
                       stat.filetype == PHYSFS_FILETYPE_REGULAR;
    PHYSFS_deinit();
    return holds;
}

// What keeps the game's file system from reading "application.xml" where it reads it from the
// working folder: loose there, or in the archive "data.bin" there, which it searches first. Empty
// when nothing does; a loose file that is there but cannot be read is told with the system's reason.
// A "data.bin" that is not a regular file is told before anything opens it: the file system would
// wait for ever on a pipe.
std::string ApplicationDataProblem(const std::string& workingFolder) {
    const std::filesystem::path folder(workingFolder);
    if (const std::string why = platform::WhyNotRegularFile((folder / "data.bin").string()); !why.empty()) {
        return "cannot read data.bin in " + workingFolder + ": " + why;
    }
    const std::filesystem::path loose = folder / "application.xml";
    const std::string unreadable = platform::WhyUnreadable(loose.string());
    std::error_code error;
    if (unreadable.empty() ||
        (std::filesystem::exists(folder / "data.bin", error) && ArchiveHolds(folder / "data.bin", "application.xml"))) {
        return std::string();
    }
    if (std::filesystem::symlink_status(loose, error).type() == std::filesystem::file_type::not_found) {
        return "no application.xml in " + workingFolder +
               ": the game starts from its run folder, build-game/run/, as scripts/run-game.sh does";
    }
    return "cannot read application.xml in " + workingFolder + ": " + unreadable;
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

bool CheckStartup(const char* program, const platform::DisplayConnection& display) {
    std::error_code error;
    const std::string workingFolder = std::filesystem::current_path(error).string();
    if (error) {
        // The folder the program was started from has been deleted, or cannot be reached.
        Tell(program, "cannot find the working folder: " + error.message());
        return false;
    }
    const std::string problem = ApplicationDataProblem(workingFolder);
    if (!problem.empty()) {
        Tell(program, problem);
        return false;
    }
    if (!display.IsOpen()) {
        Tell(program, DisplayFailure());
        return false;
    }
    TellAboutUserFolder(program, workingFolder);
    return true;
}
