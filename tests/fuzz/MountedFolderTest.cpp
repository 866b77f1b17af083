// The folder a fuzz run works in, tried in a child process that ends as a fuzz run does: what the
// code under test saves lands in the folder, nothing in the working folder, and the folder is gone
// once the run has ended.
#include "app/XmlFileOutput.h"
#include "fuzz/MountedFolder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace {

using testing_support::TempDir;

TEST(MountedFolder, saves_land_in_the_folder_which_is_gone_when_the_run_ends) {
    const TempDir temporary;
    const TempDir working;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        setenv("TMPDIR", temporary.Path().c_str(), 1);
        if (chdir(working.Path().c_str()) != 0) {
            _exit(3);
        }
        const std::filesystem::path& folder = fuzz_support::MountedFolder();
        const bool saved = XmlFileOutput::Write("<saved/>\n", "saved.xml");
        const bool inside = folder.parent_path() == temporary.Path() && std::filesystem::exists(folder / "saved.xml");
        std::exit(saved && inside ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save did not land in the run's folder";
    EXPECT_TRUE(std::filesystem::is_empty(temporary.Path())) << "the run's folder is left behind";
    EXPECT_TRUE(std::filesystem::is_empty(working.Path())) << "the run wrote into its working folder";
}

}  // namespace
