// The real game started where it cannot run as it should: from a folder without application.xml,
// with a data.bin that is not a regular file, from a folder that has been deleted, where no X
// display opens, or with a user folder that cannot be made. Each says so in one line on standard
// error; all but the last end at once with exit code 1, the last plays on. And started where
// it can but a check could upset it: from a folder whose data is in data.bin, on an X server that
// resets itself whenever its last client leaves.
#include "tests/support/ChildProcess.h"
#include "tests/support/GameData.h"
#include "tests/support/GameProcess.h"
#include "tests/support/OnlyClientStarts.h"
#include "tests/support/X11TestDisplay.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

// The preferences of these starts: bitmaps off, so the title's middle shows the sky's colour.
constexpr const char* kPreferences = "<userpreferences name=\"prefs\" enableBitmaps=\"false\"/>";
constexpr testing_support::Rgb kSky{152, 219, 248};

// Whether the game shows its title, in a window of the default size.
testing::AssertionResult ShowsTitle(testing_support::GameProcess& game) {
    return game.ShowsPicture({1024, 768}, {{512, 384}}, {kSky});
}

// Packs the files and folders of the folder named into the zip archive "data.bin" there, as a
// player may keep the game's data (Python's zipfile, which the build's scripts need anyway), and
// removes them.
testing::AssertionResult PackDataBin(const std::filesystem::path& folder, const std::vector<std::string>& names) {
    std::vector<std::string> command = {"/usr/bin/env", "python3", "-m", "zipfile", "-c", "data.bin"};
    command.insert(command.end(), names.begin(), names.end());
    const std::optional<int> status =
        testing_support::ChildProcess::Start(command, folder.string(), {}, (folder / "zip.txt").string())
            .WaitFor(std::chrono::seconds(60));
    if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0) {
        return testing::AssertionFailure() << "python3 -m zipfile: " << ReadFile(folder / "zip.txt");
    }
    for (const std::string& name : names) {
        std::filesystem::remove_all(folder / name);
    }
    return testing::AssertionSuccess();
}

class StartupEndToEnd : public ::testing::Test {
protected:
    testing::AssertionResult ShowsTitle() { return ::ShowsTitle(game); }

    testing_support::X11TestDisplay x{1700, 1100};
    testing_support::GameProcess game{x, PONDORIX_GAME_DIR, kPreferences};
};

// Started from a folder that holds no application.xml (as from the clone's root), the game writes
// where it looked and where it starts from, and ends before it makes its window. Started from a
// folder that holds it (a copy of the run folder), it shows its title.
TEST_F(StartupEndToEnd, a_start_without_application_xml_ends_before_the_window_and_one_with_it_shows_the_title) {
    std::filesystem::remove(game.Folder() / "application.xml");
    EXPECT_TRUE(game.RefusesToStart({PONDORIX_EXECUTABLE}, {},
                                    "no application.xml in " + game.Folder().Path().string() +
                                        ": the game starts from its run folder, build-game/run/, as "
                                        "scripts/run-game.sh does"));
    EXPECT_EQ(game.Log().find("Creating main window"), std::string::npos) << game.Log();

    std::filesystem::copy(PONDORIX_GAME_DIR "/application.xml", game.Folder() / "application.xml");
    ASSERT_TRUE(game.Start({PONDORIX_EXECUTABLE}));
    EXPECT_TRUE(ShowsTitle());
    EXPECT_TRUE(game.Close());
}

// The game reads application.xml and its data through its file system, which searches the archive
// data.bin in the working folder first: a folder that holds them only there starts and shows the
// title. A data.bin without application.xml, or one that is no archive, is refused as a folder
// without it.
TEST_F(StartupEndToEnd, a_folder_whose_data_is_in_data_bin_shows_the_title_and_one_without_application_xml_is_refused) {
    const std::string refusal = "no application.xml in " + game.Folder().Path().string() +
                                ": the game starts from its run folder, build-game/run/, as scripts/run-game.sh does";
    ASSERT_TRUE(PackDataBin(game.Folder().Path(), {"data"}));
    std::filesystem::remove(game.Folder() / "application.xml");
    EXPECT_TRUE(game.RefusesToStart({PONDORIX_EXECUTABLE}, {}, refusal));

    std::filesystem::remove(game.Folder() / "data.bin");
    WriteFile(game.Folder() / "data.bin", "not an archive");
    EXPECT_TRUE(game.RefusesToStart({PONDORIX_EXECUTABLE}, {}, refusal));

    std::filesystem::remove(game.Folder() / "data.bin");
    testing_support::CopyGameData(PONDORIX_GAME_DIR "/data", game.Folder() / "data");
    std::filesystem::copy(PONDORIX_GAME_DIR "/application.xml", game.Folder() / "application.xml");
    ASSERT_TRUE(PackDataBin(game.Folder().Path(), {"application.xml", "data"}));
    ASSERT_FALSE(std::filesystem::exists(game.Folder() / "application.xml"));
    ASSERT_TRUE(game.Start({PONDORIX_EXECUTABLE}));
    EXPECT_TRUE(ShowsTitle());
    EXPECT_TRUE(game.Close());
}

// A loose application.xml that is there but cannot be read is told as such, with the system's
// reason, and the start ends with exit code 1: a link to itself or to a file that is not there,
// for any user, and a file without read permission, for a user other than root (who reads every
// file). A folder without one keeps its own line (above).
TEST_F(StartupEndToEnd, an_application_xml_that_cannot_be_read_is_told_with_the_systems_reason) {
    const std::filesystem::path file = game.Folder() / "application.xml";
    const std::string refusal = "cannot read application.xml in " + game.Folder().Path().string() + ": ";
    const std::vector<std::pair<std::string, int>> links = {{"application.xml", ELOOP}, {"gone.xml", ENOENT}};
    for (const auto& [target, reason] : links) {
        std::filesystem::remove(file);
        std::filesystem::create_symlink(target, file);
        EXPECT_TRUE(game.RefusesToStart({PONDORIX_EXECUTABLE}, {}, refusal + std::generic_category().message(reason)))
            << target;
    }
    if (geteuid() != 0) {
        std::filesystem::remove(file);
        std::filesystem::copy(PONDORIX_GAME_DIR "/application.xml", file);
        std::filesystem::permissions(file, std::filesystem::perms::owner_read, std::filesystem::perm_options::remove);
        EXPECT_TRUE(game.RefusesToStart({PONDORIX_EXECUTABLE}, {}, refusal + std::generic_category().message(EACCES)));
    }
}

// A data.bin that is not a regular file, a pipe or a folder, is told and the start ends, with
// application.xml beside it or without: nothing opens the pipe, which would wait for a writer for
// ever.
TEST_F(StartupEndToEnd, a_data_bin_that_is_not_a_regular_file_is_told_and_not_opened) {
    const std::filesystem::path archive = game.Folder() / "data.bin";
    const std::string refusal = "cannot read data.bin in " + game.Folder().Path().string() + ": ";
    ASSERT_EQ(mkfifo(archive.c_str(), 0600), 0);
    EXPECT_TRUE(game.RefusesToStart({PONDORIX_EXECUTABLE}, {}, refusal + "not a regular file"));
    std::filesystem::remove(game.Folder() / "application.xml");
    EXPECT_TRUE(game.RefusesToStart({PONDORIX_EXECUTABLE}, {}, refusal + "not a regular file"));
    std::filesystem::remove(archive);
    std::filesystem::create_directory(archive);
    EXPECT_TRUE(game.RefusesToStart({PONDORIX_EXECUTABLE}, {}, refusal + std::generic_category().message(EISDIR)));
}

// Started from a working folder that has since been deleted, the game says that it cannot find it.
TEST_F(StartupEndToEnd, a_start_from_a_deleted_working_folder_says_that_the_folder_cannot_be_found) {
    std::filesystem::create_directory(game.Folder() / "gone");
    ASSERT_TRUE(game.Launch({"/bin/sh", "-c", "cd gone && rmdir ../gone && exec \"$0\"", PONDORIX_EXECUTABLE}));
    EXPECT_TRUE(game.Ends(1));
    const std::string line = "cannot find the working folder: " + std::generic_category().message(ENOENT);
    EXPECT_EQ(game.Output(), "pondorix: " + line + "\n");
    EXPECT_NE(game.Log().find(" ERROR: CheckStartup: " + line + "\n"), std::string::npos) << game.Log();
}

// Each start on an X server of its own that resets itself whenever its last client leaves, the
// game its only client until its window is ready: the start-up check's connection must not leave
// the server without a client while the window library connects. Every start shows the title and
// ends cleanly.
TEST(StartupOnResettingServer, every_start_as_the_servers_only_client_shows_the_title) {
    testing_support::ExpectStartsAsOnlyClient({PONDORIX_EXECUTABLE}, PONDORIX_GAME_DIR, kPreferences, 20, 4,
                                              [](testing_support::GameProcess& game) { return ShowsTitle(game); });
}

// Where no X display opens (DISPLAY unset, or naming a display no server runs), the game ends with
// exit code 1 and one line, on standard error and in the log, that names the display it tried;
// it writes no crash report.
TEST_F(StartupEndToEnd, without_a_display_the_game_ends_with_one_line_and_no_crash_report) {
    const std::vector<std::pair<std::string, std::string>> rows = {
        {"DISPLAY", "cannot open an X display: DISPLAY is not set; it must name a running X server"},
        {"DISPLAY=:59999", "cannot open the X display \":59999\": DISPLAY must name a running X server"}};
    for (const auto& [variable, line] : rows) {
        EXPECT_TRUE(game.RefusesToStart({PONDORIX_EXECUTABLE}, {variable}, line)) << variable;
    }
}

// A user folder whose parent is a regular file cannot be made: the game says so, naming the
// folder and where its files go instead (the working folder), reaches its title, and keeps its
// log and preferences there.
TEST_F(StartupEndToEnd, a_user_folder_that_cannot_be_made_is_told_and_the_files_go_to_the_working_folder) {
    const std::filesystem::path blocked = game.Folder() / "blocked";
    WriteFile(blocked, "a file where the user folder's parent should be");
    WriteFile(game.Folder() / "preferences.xml", std::string("<resource>") + kPreferences + "</resource>");
    ASSERT_TRUE(game.Start({PONDORIX_EXECUTABLE}, {"XDG_DATA_HOME=" + blocked.string()}));
    EXPECT_TRUE(ShowsTitle());
    EXPECT_TRUE(game.Close());
    EXPECT_NE(game.Output().find("pondorix: cannot create or write the user folder " + blocked.string() +
                                 "/Pondorix/: the log, the preferences and the statistics go to the working "
                                 "folder " +
                                 game.Folder().Path().string() + " instead\n"),
              std::string::npos)
        << game.Output();
    const std::string log = ReadFile(game.Folder() / "Pondorix.log");
    EXPECT_NE(log.find(" INFO: Main window ready.\n"), std::string::npos) << log;
    EXPECT_TRUE(log.ends_with(" INFO: ============== Logging finished ==============\n")) << log;
    const std::string preferences = ReadFile(game.Folder() / "preferences.xml");
    EXPECT_NE(preferences.find("<vec2 x=\"1024\" y=\"768\" name=\"windowSize\""), std::string::npos) << preferences;
}

}  // namespace
