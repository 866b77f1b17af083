#include "platform/CrashReporter.h"
#include "tests/support/TempDir.h"
#include "tests/support/TextLines.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <regex>
#include <string>

using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

// Runs the crash in a child process with the crash reporter installed, whose log already holds
// one line, and returns its wait status; a child still running after ten seconds hangs in its
// handler and is killed, which the test sees as an unfinished child (nullopt).
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

std::atomic<int> g_Ready{0};
volatile int g_DepthLimit = 1 << 30;

// Recurses until the thread's stack runs out.
int Overflow(int depth) {
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    return depth < g_DepthLimit ? Overflow(depth + 1) + frame[0] : 0;
}

void* OverflowWithCrashStack(void*) {
    platform::ThreadCrashStack stack;
    if (!stack.IsInstalled()) {
        _exit(6);
    }
    return reinterpret_cast<void*>(static_cast<intptr_t>(Overflow(0)));
}

void* FaultTogether(void* count) {
    platform::ThreadCrashStack stack;
    g_Ready++;
    while (g_Ready < *static_cast<int*>(count)) {
    }
    TouchForbiddenPage();
    return nullptr;
}

// Starts threads of `body` on small stacks and waits for them.
void RunThreads(void* (*body)(void*), int threads) {
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 256 * 1024);
    std::vector<pthread_t> ids(static_cast<size_t>(threads));
    for (pthread_t& id : ids) {
        pthread_create(&id, &attributes, body, &threads);
    }
    for (pthread_t id : ids) {
        pthread_join(id, nullptr);
    }
}

}  // namespace

// Each fatal signal appends the report after the earlier line in the log's layout (the crash
// line, the crash address, and at most 100 frames walked from the faulting instruction, each a
// line of its number and address alone with its symbols on an indented line after it) and then
// ends the process with that same signal: on the main thread, on a started thread whose stack
// overflowed, and when six threads fault at once (one whole report, finished before the end).
TEST(CrashReporter, fatal_signals_write_one_whole_report_and_end_the_process) {
    struct Case {
        const char* name;
        std::function<void()> crash;
        int signal;
        std::string codeAndName;  // a pattern
        int rounds;
    };
    const std::string segv = "0000000B: ACCESS VIOLATION";
    const Case cases[] = {{"access violation", TouchForbiddenPage, SIGSEGV, segv, 1},
                          {"abort", [] { std::abort(); }, SIGABRT, "00000006: \\(unknown\\)", 1},
                          {"stack overflow", [] { RunThreads(OverflowWithCrashStack, 1); }, SIGSEGV, segv, 1},
                          {"faults together", [] { RunThreads(FaultTogether, 6); }, SIGSEGV, segv, 10}};
    const std::string prefix = R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d,\d{3} ERROR: )";
    for (const Case& c : cases) {
        for (int round = 0; round < c.rounds; ++round) {
            SCOPED_TRACE(testing::Message() << c.name << ", round " << round);
            TempDir dir;
            std::optional<int> status = CrashInChild(dir / "Pondorix.log", c.crash);
            ASSERT_TRUE(status) << "the crashed child hung";
            ASSERT_TRUE(WIFSIGNALED(*status)) << "exit status " << WEXITSTATUS(*status);
            EXPECT_EQ(WTERMSIG(*status), c.signal);

            const std::vector<std::string> lines = testing_support::SplitLines(ReadFile(dir / "Pondorix.log"));
            ASSERT_GE(lines.size(), 5u);
            ASSERT_LE(lines.size(), 203u) << "at most 100 frames";
            ASSERT_EQ(lines.size() % 2, 1u) << "each frame's line and its symbols' line";
            EXPECT_EQ(lines[0], "earlier line");
            EXPECT_TRUE(std::regex_match(lines[1], std::regex(prefix + "CRASHED! Error code " + c.codeAndName +
                                                              R"(, \$ADDRESS:[0-9A-F]{8,16}, Flags: [0-9A-F]{8})")))
                << lines[1];
            EXPECT_TRUE(std::regex_match(lines[2], std::regex(prefix + R"(Crash \$ADDRESS:[0-9A-F]{8,16})")))
                << lines[2];
            for (size_t i = 3; i + 1 < lines.size(); i += 2) {
                const size_t frame = (i - 3) / 2;
                const std::string number = (frame < 10 ? " " : "") + std::to_string(frame);
                EXPECT_TRUE(std::regex_match(
                    lines[i], std::regex(prefix + "Crash frame " + number + R"( at \$ADDRESS:[0-9A-F]{8,16})")))
                    << lines[i];
                EXPECT_TRUE(std::regex_match(lines[i + 1], std::regex(R"(    \S.*)"))) << lines[i + 1];
            }
            const std::string crashAddress = lines[2].substr(lines[2].find("$ADDRESS:"));
            EXPECT_NE(lines[3].find(crashAddress), std::string::npos) << "the walk starts at the fault: " << lines[3];
        }
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
