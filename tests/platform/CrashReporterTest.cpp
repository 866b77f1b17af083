#include "platform/CrashReporter.h"
#include "tests/support/TempDir.h"
#include "tests/support/TextLines.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <regex>
#include <string>

using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

// Runs the crash in a child process whose log already holds one line and returns its wait
// status; a child still running after ten seconds hangs in its handler and is killed, which the
// test sees as an unfinished child (nullopt).
std::optional<int> CrashInChild(const std::filesystem::path& log, const std::function<void()>& crash) {
    testing_support::WriteFile(log, "earlier line\n");
    const pid_t pid = fork();
    if (pid == 0) {
        if (!platform::InstallCrashReporter(log.string())) {
            _exit(3);
        }
        crash();
        _exit(4);  // the crash did not end the process
    }
    int status = 0;
    if (testing_support::WaitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, std::chrono::seconds(10),
                                   std::chrono::milliseconds(10))) {
        return status;
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return std::nullopt;
}

// A real fault on a page that may not be touched.
void TouchForbiddenPage() {
    void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    *static_cast<volatile int*>(page) = 1;
}

}  // namespace

// Each fatal signal appends the report after the earlier line in the log's layout (the crash
// line, the crash address, and the frames walked from the faulting instruction) and then ends
// the process with that same signal.
TEST(CrashReporter, fatal_signals_write_the_report_and_end_the_process) {
    struct Case {
        const char* name;
        std::function<void()> crash;
        int signal;
        std::string codeAndName;  // a pattern
    };
    const Case cases[] = {{"access violation", TouchForbiddenPage, SIGSEGV, "0000000B: ACCESS VIOLATION"},
                          {"abort", [] { std::abort(); }, SIGABRT, "00000006: \\(unknown\\)"}};
    const std::string prefix = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d,\d{3} ERROR: )";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::optional<int> status = CrashInChild(dir / "Pondorix.log", c.crash);
        ASSERT_TRUE(status) << "the crashed child hung";
        ASSERT_TRUE(WIFSIGNALED(*status)) << "exit status " << WEXITSTATUS(*status);
        EXPECT_EQ(WTERMSIG(*status), c.signal);

        const std::vector<std::string> lines = testing_support::SplitLines(ReadFile(dir / "Pondorix.log"));
        ASSERT_GE(lines.size(), 4u);
        ASSERT_LE(lines.size(), 103u) << "at most 100 frames";
        EXPECT_EQ(lines[0], "earlier line");
        EXPECT_TRUE(std::regex_match(lines[1], std::regex(prefix + "CRASHED! Error code " + c.codeAndName +
                                                          R"(, \$ADDRESS:[0-9A-F]{8,16}, Flags: [0-9A-F]{8})")))
            << lines[1];
        EXPECT_TRUE(std::regex_match(lines[2], std::regex(prefix + R"(Crash \$ADDRESS:[0-9A-F]{8,16})"))) << lines[2];
        for (size_t i = 3; i < lines.size(); ++i) {
            EXPECT_TRUE(std::regex_match(lines[i],
                                         std::regex(prefix + R"(Crash frame [ \d]\d at \$ADDRESS:[0-9A-F]{8,16} .*)")))
                << lines[i];
        }
        const std::string crashAddress = lines[2].substr(lines[2].find("$ADDRESS:"));
        EXPECT_NE(lines[3].find(crashAddress), std::string::npos) << "the walk starts at the fault: " << lines[3];
    }
}

TEST(CrashReporter, unwritable_log_sends_report_to_standard_error) {
    TempDir dir;
    const std::filesystem::path err = dir / "stderr.txt";
    // The log path is a folder, so it cannot be opened for writing.
    std::filesystem::create_directory(dir / "log-folder");
    std::optional<int> status = CrashInChild(dir / "log-folder", [&] {
        if (!freopen(err.c_str(), "w", stderr)) {
            _exit(5);
        }
        std::abort();
    });
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFSIGNALED(*status));
    EXPECT_NE(ReadFile(err).find("CRASHED! Error code 00000006"), std::string::npos);
}
