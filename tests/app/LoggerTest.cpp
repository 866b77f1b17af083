#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <regex>
#include <sstream>
#include <vector>

#include "app/Log.h"
#include "app/Logger.h"
#include "tests/support/TempDir.h"

using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

// The logger is a process-wide object written at exit, so each run happens in a child process
// whose data folder is the given one.
void RunLoggingChild(const TempDir& dataHome, const char* message) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        setenv("XDG_DATA_HOME", dataHome.Path().c_str(), 1);
        log_debug("debug line %d", 1);
        log_info("info: %s", message);
        log_error("error %d", 42);
        exit(0);  // runs static destructors, so the logger writes its last line
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
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
