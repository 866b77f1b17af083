#include "tests/support/ChildProcess.h"
#include "tests/support/TempDir.h"
#include "tests/support/TextLines.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <regex>

using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

// The logger is built once per process and writes its last line at exit, so each run is a fresh
// process whose data folder is the given one; returns the log's lines after the run.
std::vector<std::string> RunLoggingChild(const TempDir& dataHome, const char* message) {
    testing_support::ChildProcess child = testing_support::ChildProcess::Start(
        {LOG_WRITER_EXECUTABLE, message}, "", {"XDG_DATA_HOME=" + dataHome.Path().string()},
        (dataHome / "output.txt").string());
    std::optional<int> status = child.WaitFor(std::chrono::seconds(10));
    EXPECT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << ReadFile(dataHome / "output.txt");
    return testing_support::SplitLines(ReadFile(dataHome / "Pondorix/Pondorix.log"));
}

}  // namespace

// The first log call creates the user folder; a second start empties the log, so only the
// latest run's framed lines are there, without DEBUG lines.
TEST(Logger, each_start_writes_a_fresh_framed_log_in_the_created_user_folder) {
    TempDir home;
    for (const char* run : {"first run", "second run"}) {
        SCOPED_TRACE(run);
        const std::vector<std::string> lines = RunLoggingChild(home, run);
        ASSERT_EQ(lines.size(), 4u);
        const std::regex pattern(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d,\d{3} (INFO|ERROR): .*)");
        for (const std::string& line : lines) {
            EXPECT_TRUE(std::regex_match(line, pattern)) << line;
        }
        EXPECT_TRUE(lines[0].ends_with(" INFO: ============== Logging started =============="));
        EXPECT_TRUE(lines[1].ends_with(std::string(" INFO: info: ") + run));
        EXPECT_TRUE(lines[2].ends_with(" ERROR: error 42"));
        EXPECT_TRUE(lines[3].ends_with(" INFO: ============== Logging finished =============="));
    }
}
