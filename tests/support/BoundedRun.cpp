#include "tests/support/BoundedRun.h"

#include "tests/support/AddressSanitizer.h"
#include "tests/support/OwnTime.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <thread>

#if PONDORIX_ADDRESS_SANITIZER
// The sanitizer allocator's own interface (sanitizer/allocator_interface.h, which GCC does not
// ship).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, size_t),
                                              void (*freeHook)(const volatile void*));
size_t __sanitizer_get_allocated_size(const volatile void* pointer);
}
#endif

namespace testing_support {

namespace {

constexpr size_t kMegabyte = 1024 * 1024;

#if PONDORIX_ADDRESS_SANITIZER
constexpr bool kAddressSanitizer = true;

// The bytes the program asked the sanitizer's allocator for and has not freed yet, counted from
// the moment CountHeapFromNow was called (frees of older blocks count too, so it can go below
// zero), and the highest value it reached since. What the allocator holds besides for its checks
// (freed blocks in quarantine, red zones, shadow memory) is not counted.
std::atomic<long long> g_HeldBytes{0};
std::atomic<long long> g_PeakHeldBytes{0};
bool g_HooksInstalled = false;

void CountAllocation(const volatile void*, size_t size) {
    const long long held =
        g_HeldBytes.fetch_add(static_cast<long long>(size), std::memory_order_relaxed) + static_cast<long long>(size);
    long long peak = g_PeakHeldBytes.load(std::memory_order_relaxed);
    while (held > peak && !g_PeakHeldBytes.compare_exchange_weak(peak, held, std::memory_order_relaxed)) {
    }
}

// Called before the block is freed, while the allocator still knows its size.
void CountRelease(const volatile void* pointer) {
    g_HeldBytes.fetch_sub(static_cast<long long>(__sanitizer_get_allocated_size(pointer)), std::memory_order_relaxed);
}

// Counts the heap afresh from now on. The hooks are installed once; a child forked later keeps them.
void CountHeapFromNow() {
    g_HeldBytes = 0;
    g_PeakHeldBytes = 0;
    if (!g_HooksInstalled) {
        g_HooksInstalled = __sanitizer_install_malloc_and_free_hooks(CountAllocation, CountRelease) != 0;
    }
}
#else
constexpr bool kAddressSanitizer = false;

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
#endif

// In the child: limits the address space, runs the work and reports the peak growth of the memory
// it holds through the pipe: of the resident memory, or of the heap in the sanitizer build. Exit
// status 0 when the work returned, 3 when it threw.
[[noreturn]] void RunChild(const std::function<void()>& work, [[maybe_unused]] size_t memoryLimit, int reportFd) {
#if PONDORIX_ADDRESS_SANITIZER
    CountHeapFromNow();
#else
    const size_t startResident = StatusBytes("VmRSS");
    const rlim_t limit = StatusBytes("VmSize") + memoryLimit;
    const struct rlimit bound = {limit, limit};
    setrlimit(RLIMIT_AS, &bound);
#endif
    int status = 0;
    try {
        work();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "RunBounded: %s\n", error.what());
        status = 3;
    } catch (...) {
        status = 3;
    }
#if PONDORIX_ADDRESS_SANITIZER
    const long long heapPeak = g_PeakHeldBytes.load();
    const size_t growth = heapPeak > 0 ? static_cast<size_t>(heapPeak) : 0;
#else
    const size_t peak = StatusBytes("VmHWM");
    const size_t growth = peak > startResident ? peak - startResident : 0;
#endif
    ssize_t written = write(reportFd, &growth, sizeof(growth));
    _exit(written == static_cast<ssize_t>(sizeof(growth)) ? status : 4);
}

}  // namespace

const int kSanitizerSlowdown = kAddressSanitizer ? 8 : 1;

std::string BoundedRun::Describe() const {
    char text[160];
    std::snprintf(text, sizeof(text), "%s after %.2f s, %s peak +%.1f MB",
                  finished ? "finished" : (timedOut ? "killed at the time limit" : "died"), seconds,
                  kAddressSanitizer ? "heap" : "resident", static_cast<double>(peakGrowth) / kMegabyte);
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
    // The child's own time is read while it can still be read: an ended child stays a zombie,
    // with its figures, until it is reaped below.
    while (pid > 0) {
        siginfo_t ended{};
        const bool hasEnded =
            waitid(P_PID, static_cast<id_t>(pid), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 && ended.si_pid == pid;
        const std::chrono::nanoseconds own = std::chrono::steady_clock::now() - start - RunDelay(pid);
        run.seconds = std::chrono::duration<double>(own).count();
        if (hasEnded) {
            break;
        }
        if (own >= timeout * kSanitizerSlowdown) {
            kill(pid, SIGKILL);
            run.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    int status = 0;
    const bool reaped = pid > 0 && waitpid(pid, &status, 0) == pid;
    size_t growth = 0;
    if (reaped && !run.timedOut && read(report[0], &growth, sizeof(growth)) == static_cast<ssize_t>(sizeof(growth))) {
        run.finished = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        run.peakGrowth = growth;
    }
    close(report[0]);
    return run;
}

}  // namespace testing_support
