#include <gtest/gtest.h>

#include <sys/wait.h>

#include <regex>
#include <sstream>
#include <vector>

#include "tests/app/ChildProcess.h"
#include "tests/support/TempDir.h"

using testing_support::ChildProcess;
using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

// The logger is built once per process and writes its last line at exit, so each run is a fresh
// process whose data folder is the given one.
void RunLoggingChild(const TempDir& dataHome, const char* message) {
    ChildProcess child = ChildProcess::Start({LOG_WRITER_EXECUTABLE, message}, "",
                                             {"XDG_DATA_HOME=" + dataHome.Path().string()},
                                             (dataHome / "output.txt").string());
    ASSERT_TRUE(child.Started());
    std::optional<int> status = child.WaitFor(std::chrono::seconds(10));
    ASSERT_TRUE(status);
    ASSERT_TRUE(WIFEXITED(*status));
    ASSERT_EQ(WEXITSTATUS(*status), 0) << ReadFile(dataHome / "output.txt");
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST(Logger, writes_framed_log_in_created_user_folder_without_debug_lines) {
    TempDir home;
    RunLoggingChild(home, "first run");
    std::vector<std::string> lines = Lines(ReadFile(home / "Pondorix/Pondorix.log"));
    ASSERT_EQ(lines.size(), 4u);
    const std::regex pattern(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d,\d{3} (INFO|ERROR): .*)");
    for (const std::string& line : lines) {
        EXPECT_TRUE(std::regex_match(line, pattern)) << line;
    }
    EXPECT_TRUE(lines[0].ends_with(" INFO: ============== Logging started =============="));
    EXPECT_TRUE(lines[1].ends_with(" INFO: info: first run"));
    EXPECT_TRUE(lines[2].ends_with(" ERROR: error 42"));
    EXPECT_TRUE(lines[3].ends_with(" INFO: ============== Logging finished =============="));
}

TEST(Logger, second_start_empties_the_log) {
    TempDir home;
    RunLoggingChild(home, "first run");
    RunLoggingChild(home, "second run");
    std::string log = ReadFile(home / "Pondorix/Pondorix.log");
    EXPECT_EQ(log.find("first run"), std::string::npos);
    EXPECT_NE(log.find("second run"), std::string::npos);
    EXPECT_EQ(Lines(log).size(), 4u);
}
