// The user folder of its own that the start-up code gives every test program, fuzz target and
// benchmark, in place of the one it was started with.
#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TextLines.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

std::filesystem::path Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Runs the probe through env with the arguments (variables to set or unset) and returns what it
// printed: HOME, XDG_DATA_HOME, XAUTHORITY and its log file, one a line.
std::vector<std::string> RunProbe(const TempDir& folder, const std::vector<std::string>& environment) {
    std::vector<std::string> command = {"/usr/bin/env"};
    command.insert(command.end(), environment.begin(), environment.end());
    command.push_back(STARTUP_PROBE_EXECUTABLE);
    const std::optional<int> status =
        testing_support::ChildProcess::Start(command, "", {}, (folder / "probe.txt").string())
            .WaitFor(std::chrono::seconds(10));
    EXPECT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << ReadFile(folder / "probe.txt");
    return testing_support::SplitLines(ReadFile(folder / "probe.txt"));
}

}  // namespace

TEST(PrivateHome, home_and_data_home_are_a_fresh_folder_of_the_process_own) {
    const std::filesystem::path home = Variable("HOME");
    ASSERT_TRUE(std::filesystem::is_directory(home)) << home;
    EXPECT_TRUE(std::filesystem::is_empty(home));
    EXPECT_EQ(home.parent_path(), std::filesystem::temp_directory_path());
    EXPECT_TRUE(home.filename().string().starts_with("pondorix-home-")) << home;
    EXPECT_EQ(Variable("XDG_DATA_HOME"), home / ".local/share");
    if (const passwd* account = getpwuid(getuid())) {
        EXPECT_NE(home, std::filesystem::path(account->pw_dir));
    }
}

// The program's log goes into its own folder, which goes with the program; the folders it was
// started with stay untouched, and Xlib still finds the X server's cookies under the given HOME.
TEST(PrivateHome, the_program_logs_into_its_own_folder_which_goes_with_it) {
    const TempDir folder;
    const std::vector<std::string> lines = RunProbe(folder, {"-u", "XAUTHORITY", "HOME=" + (folder / "home").string(),
                                                             "XDG_DATA_HOME=" + (folder / "data").string()});
    ASSERT_EQ(lines.size(), 4u);
    const std::filesystem::path home = lines[0];
    EXPECT_TRUE(home.filename().string().starts_with("pondorix-home-")) << home;
    EXPECT_EQ(lines[1], (home / ".local/share").string());
    EXPECT_EQ(lines[2], (folder / "home/.Xauthority").string());
    EXPECT_EQ(lines[3], (home / ".local/share/Pondorix/Pondorix.log").string());
    EXPECT_FALSE(std::filesystem::exists(home));
    EXPECT_FALSE(std::filesystem::exists(folder / "home"));
    EXPECT_FALSE(std::filesystem::exists(folder / "data"));
}

TEST(PrivateHome, a_cookie_file_named_by_xauthority_stays) {
    const TempDir folder;
    const std::vector<std::string> lines =
        RunProbe(folder, {"XAUTHORITY=" + (folder / "cookies").string(), "HOME=" + (folder / "home").string()});
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], (folder / "cookies").string());
}

// A child made by fork that ends through exit() runs the exit handlers of the program it was
// forked from, but the folder is its parent's and stays.
TEST(PrivateHome, a_forked_child_that_exits_leaves_the_folder_to_its_parent) {
    const std::filesystem::path home = Variable("HOME");
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        std::exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(std::filesystem::is_directory(home));
}
