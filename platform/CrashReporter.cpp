#include "platform/CrashReporter.h"

#include <execinfo.h>
#include <fcntl.h>
#include <signal.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <ctime>

namespace platform {

namespace {

constexpr int kMaxFrames = 100;
// Frames of the handler itself and the kernel's signal trampoline come before the faulting one.
constexpr int kHandlerFrames = 8;
constexpr int kReportedSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

int g_LogFd = -1;
// The local time's offset from UTC, taken at installation: converting a time to local time
// inside a signal handler is not async-signal-safe.
long g_UtcOffsetSeconds = 0;
// Set by the first thread that reports; lock-free, so testing and setting it is safe in a
// signal handler and atomic between threads.
std::atomic_flag g_Reporting = ATOMIC_FLAG_INIT;
std::atomic<pid_t> g_ReportingThread{0};
static_assert(std::atomic<pid_t>::is_always_lock_free);
constexpr size_t kAlternateStackSize = 128 * 1024;
alignas(16) char g_AlternateStack[kAlternateStackSize];

bool UseAlternateStack(void* memory, size_t size) {
    stack_t stack{};
    stack.ss_sp = memory;
    stack.ss_size = size;
    return sigaltstack(&stack, nullptr) == 0;
}

// One line of the report, formatted into a fixed buffer with async-signal-safe code only.
class ReportLine {
public:
    ReportLine& Text(const char* text) {
        while (*text && m_Length < sizeof(m_Buffer)) {
            m_Buffer[m_Length++] = *text++;
        }
        return *this;
    }

    // Upper-case hexadecimal, at least minDigits digits with leading zeros.
    ReportLine& Hex(uint64_t value, int minDigits) {
        char digits[16];
        int count = 0;
        do {
            digits[count++] = "0123456789ABCDEF"[value & 0xF];
            value >>= 4;
        } while (value != 0);
        for (int i = count; i < minDigits; ++i) {
            Text("0");
        }
        while (count > 0) {
            char one[2] = {digits[--count], '\0'};
            Text(one);
        }
        return *this;
    }

    // Decimal, at least width characters, padded on the left with pad.
    ReportLine& Decimal(uint64_t value, int width, char pad) {
        char digits[20];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        for (int i = count; i < width; ++i) {
            char one[2] = {pad, '\0'};
            Text(one);
        }
        while (count > 0) {
            char one[2] = {digits[--count], '\0'};
            Text(one);
        }
        return *this;
    }

    // The log's line start: "YYYY-MM-DD HH:MM:SS,mmm ERROR: " in local time.
    ReportLine& ErrorPrefix() {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        int64_t seconds = static_cast<int64_t>(now.tv_sec) + g_UtcOffsetSeconds;
        int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
        int64_t secondOfDay = seconds - days * 86400;
        // Civil date from days since 1970-01-01 (proleptic Gregorian calendar).
        int64_t z = days + 719468;
        int64_t era = (z >= 0 ? z : z - 146096) / 146097;
        int64_t dayOfEra = z - era * 146097;
        int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
        int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
        int64_t monthIndex = (5 * dayOfYear + 2) / 153;
        int64_t day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
        int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
        int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
        Decimal(static_cast<uint64_t>(year), 4, '0').Text("-");
        Decimal(static_cast<uint64_t>(month), 2, '0').Text("-");
        Decimal(static_cast<uint64_t>(day), 2, '0').Text(" ");
        Decimal(static_cast<uint64_t>(secondOfDay / 3600), 2, '0').Text(":");
        Decimal(static_cast<uint64_t>(secondOfDay / 60 % 60), 2, '0').Text(":");
        Decimal(static_cast<uint64_t>(secondOfDay % 60), 2, '0').Text(",");
        Decimal(static_cast<uint64_t>(now.tv_nsec / 1000000), 3, '0');
        return Text(" ERROR: ");
    }

    void WriteTo(int fd) const {
        size_t written = 0;
        while (written < m_Length) {
            ssize_t n = write(fd, m_Buffer + written, m_Length - written);
            if (n <= 0) {
                return;
            }
            written += static_cast<size_t>(n);
        }
    }

private:
    char m_Buffer[512];
    size_t m_Length = 0;
};

const char* SignalName(int signal, int code) {
    switch (signal) {
    case SIGSEGV: return "ACCESS VIOLATION";
    case SIGBUS: return code == BUS_ADRALN ? "DATATYPE MISALIGNMENT" : "ACCESS VIOLATION";
    case SIGFPE: return code == FPE_FLTDIV ? "FLT DIVIDE BY ZERO" : "(unknown)";
    default: return "(unknown)";
    }
}

// The address of the instruction that was running when the signal arrived.
uintptr_t InstructionAddress([[maybe_unused]] const siginfo_t* info, const void* context) {
    const auto* uc = static_cast<const ucontext_t*>(context);
#if defined(__x86_64__)
    return static_cast<uintptr_t>(uc->uc_mcontext.gregs[REG_RIP]);
#elif defined(__aarch64__)
    return static_cast<uintptr_t>(uc->uc_mcontext.pc);
#else
    (void)uc;
    return reinterpret_cast<uintptr_t>(info->si_addr);
#endif
}

// Writes the chain of stack frames, starting at the faulting instruction when the walk finds it
// (the frames before it belong to the handler), at most kMaxFrames. Each frame's line holds its
// number and address alone; the frame's module, function and offset follow on a line of their
// own, indented, so the report's lines keep one layout whatever the symbols are.
void LogStackFrames(int fd, uintptr_t crashAddress) {
    ReportLine().ErrorPrefix().Text("Crash $ADDRESS:").Hex(crashAddress, 8).Text("\n").WriteTo(fd);

    void* frames[kMaxFrames + kHandlerFrames];
    int count = backtrace(frames, kMaxFrames + kHandlerFrames);
    int first = 0;
    for (int i = 0; i < count && i < kHandlerFrames; ++i) {
        if (reinterpret_cast<uintptr_t>(frames[i]) == crashAddress) {
            first = i;
            break;
        }
    }
    for (int i = 0; first + i < count && i < kMaxFrames; ++i) {
        void* frame = frames[first + i];
        ReportLine()
            .ErrorPrefix()
            .Text("Crash frame ")
            .Decimal(static_cast<uint64_t>(i), 2, ' ')
            .Text(" at $ADDRESS:")
            .Hex(reinterpret_cast<uintptr_t>(frame), 8)
            .Text("\n    ")
            .WriteTo(fd);
        // Writes the frame's module, function and offset, and the line end.
        backtrace_symbols_fd(&frame, 1, fd);
    }
}

void CrashFilter(int signal, siginfo_t* info, void* context) {
    const pid_t self = gettid();
    if (!g_Reporting.test_and_set()) {
        g_ReportingThread = self;
        int fd = g_LogFd >= 0 ? g_LogFd : STDERR_FILENO;
        uintptr_t address = InstructionAddress(info, context);
        ReportLine()
            .ErrorPrefix()
            .Text("CRASHED! Error code ")
            .Hex(static_cast<uint32_t>(signal), 8)
            .Text(": ")
            .Text(SignalName(signal, info->si_code))
            .Text(", $ADDRESS:")
            .Hex(address, 8)
            .Text(", Flags: ")
            .Hex(static_cast<uint32_t>(info->si_code), 8)
            .Text("\n")
            .WriteTo(fd);
        LogStackFrames(fd, address);
    } else if (g_ReportingThread != self) {
        // Another thread is writing its report and ends the process when done: wait for that
        // instead of cutting the report short.
        for (;;) {
            pause();
        }
    }
    // Back to the default action; the signal raised here is delivered when the handler returns
    // and ends the process. A fault inside the report itself comes here at once.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    raise(signal);
}

}  // namespace

bool InstallCrashReporter(const std::string& logFile) {
    g_LogFd = open(logFile.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);

    time_t now = time(nullptr);
    tm local{};
    if (localtime_r(&now, &local)) {
        g_UtcOffsetSeconds = local.tm_gmtoff;
    }
    // The first backtrace loads the unwinder, which must not happen inside the handler.
    void* warmUp[1];
    backtrace(warmUp, 1);

    bool ok = UseAlternateStack(g_AlternateStack, sizeof(g_AlternateStack));

    struct sigaction action {};
    action.sa_sigaction = CrashFilter;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int signal : kReportedSignals) {
        ok = sigaction(signal, &action, nullptr) == 0 && ok;
    }
    return ok;
}

ThreadCrashStack::ThreadCrashStack() : m_Stack(new char[kAlternateStackSize]) {
    m_Installed = UseAlternateStack(m_Stack.get(), kAlternateStackSize);
}

ThreadCrashStack::~ThreadCrashStack() {
    if (m_Installed) {
        stack_t off{};
        off.ss_flags = SS_DISABLE;
        sigaltstack(&off, nullptr);
    }
}

}  // namespace platform
