#include "platform/CrashReporter.h"
#include "tests/support/TempDir.h"
#include "tests/support/TextLines.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <string>
#include <vector>

using testing_support::ReadFile;
using testing_support::TempDir;

namespace {

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
    void* page = mmap(nullptr, 4096, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    *static_cast<volatile int*>(page) = 1;
    return nullptr;
}

// Runs threads of `body` in a forked child with the crash reporter installed and returns the
// child's wait status and the log's lines.
std::vector<std::string> CrashThreadsInChild(const TempDir& dir, void* (*body)(void*), int threads, int* status) {
    const std::filesystem::path log = dir / "Pondorix.log";
    const pid_t pid = fork();
    if (pid == 0) {
        if (!platform::InstallCrashReporter(log.string())) {
            _exit(3);
        }
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
        _exit(4);  // no crash ended the process
    }
    waitpid(pid, status, 0);
    return testing_support::SplitLines(ReadFile(log));
}

int CountContaining(const std::vector<std::string>& lines, const std::string& text) {
    int count = 0;
    for (const std::string& line : lines) {
        count += line.find(text) != std::string::npos ? 1 : 0;
    }
    return count;
}

TEST(CrashThreads, a_stack_overflow_on_a_started_thread_is_reported) {
    TempDir dir;
    int status = 0;
    const std::vector<std::string> lines = CrashThreadsInChild(dir, OverflowWithCrashStack, 1, &status);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGSEGV);
    EXPECT_EQ(CountContaining(lines, "CRASHED! Error code 0000000B: ACCESS VIOLATION"), 1);
    EXPECT_GE(CountContaining(lines, "Crash frame"), 1);
}

TEST(CrashThreads, threads_faulting_at_once_give_one_whole_report) {
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE(round);
        TempDir dir;
        int status = 0;
        const std::vector<std::string> lines = CrashThreadsInChild(dir, FaultTogether, 6, &status);
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(WTERMSIG(status), SIGSEGV);
        EXPECT_EQ(CountContaining(lines, "CRASHED!"), 1);
        EXPECT_EQ(CountContaining(lines, "Crash $ADDRESS:"), 1);
        EXPECT_GE(CountContaining(lines, "Crash frame"), 1) << "the report is finished before the process ends";
    }
}

}  // namespace
