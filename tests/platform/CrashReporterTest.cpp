#include <gtest/gtest.h>

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/CrashReporter.h"
#include "tests/support/TempDir.h"

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

struct ChildEnd {
    bool finished = false;
    int status = 0;
};

// Runs the crash in a child process whose log already holds one line, and waits for it to end,
// at most ten seconds: a child that hangs in its handler is killed and reported as unfinished.
ChildEnd CrashInChild(const std::filesystem::path& log, const std::function<void()>& crash) {
    WriteFile(log, "earlier line\n");
    pid_t pid = fork();
    if (pid == 0) {
        if (!platform::InstallCrashReporter(log.string())) {
            _exit(3);
        }
        crash();
        _exit(4);  // the crash did not end the process
    }
    ChildEnd end;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (waitpid(pid, &end.status, WNOHANG) == pid) {
            end.finished = true;
            return end;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &end.status, 0);
    return end;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Checks the report that follows the earlier line: the crash line, the crash address line and
// at least one frame line, all in the log's layout.
void ExpectReport(const std::string& log, const std::string& codeAndName) {
    std::vector<std::string> lines = Lines(log);
    ASSERT_GE(lines.size(), 4u) << log;
    EXPECT_EQ(lines[0], "earlier line");
    const std::string prefix = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d,\d{3} ERROR: )";
    EXPECT_TRUE(std::regex_match(
        lines[1], std::regex(prefix + "CRASHED! Error code " + codeAndName + R"(, \$ADDRESS:[0-9A-F]{8,16}, Flags: [0-9A-F]{8})")))
        << lines[1];
    EXPECT_TRUE(std::regex_match(lines[2], std::regex(prefix + R"(Crash \$ADDRESS:[0-9A-F]{8,16})"))) << lines[2];
    size_t frames = 0;
    for (size_t i = 3; i < lines.size(); ++i) {
        EXPECT_TRUE(std::regex_match(lines[i], std::regex(prefix + R"(Crash frame [ \d]\d at \$ADDRESS:[0-9A-F]{8,16} .*)")))
            << lines[i];
        ++frames;
    }
    EXPECT_GE(frames, 1u);
    EXPECT_LE(frames, 100u);
    // The walk starts at the faulting instruction.
    std::string crashAddress = lines[2].substr(lines[2].find("$ADDRESS:"));
    EXPECT_NE(lines[3].find(crashAddress), std::string::npos) << lines[3];
}

}  // namespace

TEST(CrashReporter, access_violation_writes_report_and_ends_process) {
    TempDir dir;
    ChildEnd end = CrashInChild(dir / "Pondorix.log", [] {
        // A real fault on a page that may not be touched.
        void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        *static_cast<volatile int*>(page) = 1;
    });
    ASSERT_TRUE(end.finished) << "the crashed child hung";
    ASSERT_TRUE(WIFSIGNALED(end.status)) << "exit status " << WEXITSTATUS(end.status);
    EXPECT_EQ(WTERMSIG(end.status), SIGSEGV);
    ExpectReport(ReadFile(dir / "Pondorix.log"), "0000000B: ACCESS VIOLATION");
}

TEST(CrashReporter, abort_writes_report_and_ends_process) {
    TempDir dir;
    ChildEnd end = CrashInChild(dir / "Pondorix.log", [] { std::abort(); });
    ASSERT_TRUE(end.finished) << "the aborted child hung";
    ASSERT_TRUE(WIFSIGNALED(end.status)) << "exit status " << WEXITSTATUS(end.status);
    EXPECT_EQ(WTERMSIG(end.status), SIGABRT);
    ExpectReport(ReadFile(dir / "Pondorix.log"), "00000006: \\(unknown\\)");
}

TEST(CrashReporter, unwritable_log_sends_report_to_standard_error) {
    TempDir dir;
    std::filesystem::path err = dir / "stderr.txt";
    // The log path is a folder, so it cannot be opened for writing.
    std::filesystem::create_directory(dir / "log-folder");
    ChildEnd end = CrashInChild(dir / "log-folder", [&] {
        if (!freopen(err.c_str(), "w", stderr)) {
            _exit(5);
        }
        std::abort();
    });
    ASSERT_TRUE(end.finished);
    EXPECT_TRUE(WIFSIGNALED(end.status));
    EXPECT_NE(ReadFile(err).find("CRASHED! Error code 00000006"), std::string::npos);
}
