#include "tests/support/BoundedRun.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <thread>

namespace testing_support {

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

constexpr size_t kMegabyte = 1024 * 1024;

// A "Name:   123 kB" line of /proc/self/status in bytes; 0 when absent.
size_t StatusBytes(const char* name) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return 0;
    }
    char line[256];
    size_t kilobytes = 0;
    const size_t length = std::strlen(name);
    while (std::fgets(line, sizeof(line), status)) {
        if (std::strncmp(line, name, length) == 0 && line[length] == ':') {
            kilobytes = std::strtoull(line + length + 1, nullptr, 10);
            break;
        }
    }
    std::fclose(status);
    return kilobytes * 1024;
}

// In the child: limits the address space, runs the work and reports the resident peak above the
// start through the pipe. Exit status 0 when the work returned, 3 when it threw.
[[noreturn]] void RunChild(const std::function<void()>& work, size_t memoryLimit, int reportFd) {
    const size_t startResident = StatusBytes("VmRSS");
    if (!kAddressSanitizer) {
        const rlim_t limit = StatusBytes("VmSize") + memoryLimit;
        const struct rlimit bound = {limit, limit};
        setrlimit(RLIMIT_AS, &bound);
    }
    int status = 0;
    try {
        work();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "RunBounded: %s\n", error.what());
        status = 3;
    } catch (...) {
        status = 3;
    }
    const size_t peak = StatusBytes("VmHWM");
    const size_t growth = peak > startResident ? peak - startResident : 0;
    ssize_t written = write(reportFd, &growth, sizeof(growth));
    _exit(written == static_cast<ssize_t>(sizeof(growth)) ? status : 4);
}

}  // namespace

const size_t kAllocatorSlack = kAddressSanitizer ? 320 * kMegabyte : 0;
const int kSanitizerSlowdown = kAddressSanitizer ? 8 : 1;

std::string BoundedRun::Describe() const {
    char text[160];
    std::snprintf(text, sizeof(text), "%s after %.2f s, resident peak +%.1f MB",
                  finished ? "finished" : (timedOut ? "killed at the time limit" : "died"), seconds,
                  static_cast<double>(peakGrowth) / kMegabyte);
    return text;
}

BoundedRun RunBounded(const std::function<void()>& work, std::chrono::milliseconds timeout, size_t memoryLimit) {
    BoundedRun run;
    int report[2];
    if (pipe(report) != 0) {
        return run;
    }
    std::fflush(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        close(report[0]);
        RunChild(work, memoryLimit, report[1]);
    }
    close(report[1]);
    int status = 0;
    bool ended = false;
    while (pid > 0 && !ended) {
        ended = waitpid(pid, &status, WNOHANG) == pid;
        if (!ended && std::chrono::steady_clock::now() - start >= timeout * kSanitizerSlowdown) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            run.timedOut = true;
            break;
        }
        if (!ended) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    size_t growth = 0;
    if (ended && read(report[0], &growth, sizeof(growth)) == static_cast<ssize_t>(sizeof(growth))) {
        run.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        run.peakGrowth = growth;
    }
    close(report[0]);
    return run;
}

}  // namespace testing_support
