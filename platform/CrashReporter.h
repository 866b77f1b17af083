#pragma once

#include <memory>
#include <string>

namespace platform {

// Installs the crash reporter for the rest of the process. When the process is hit by SIGSEGV,
// SIGBUS, SIGFPE, SIGILL or SIGABRT, a crash report is appended to the log file in the log's own
// line layout, at ERROR:
//
//   CRASHED! Error code 0000000B: ACCESS VIOLATION, $ADDRESS:<instruction>, Flags: <si_code>
//   Crash $ADDRESS:<instruction>
//   Crash frame  0 at $ADDRESS:<address>
//       <module(function+offset) [address]>
//   ...                                  (at most 100 frames, starting at the faulting one)
//
// The error code is the signal number and the flags are the signal's si_code; the name is
// "ACCESS VIOLATION" (SIGSEGV, and SIGBUS other than misalignment), "DATATYPE MISALIGNMENT"
// (misaligned SIGBUS), "FLT DIVIDE BY ZERO" (SIGFPE from a floating-point division by zero) or
// "(unknown)". The process then ends through the signal's default action.
//
// The handler runs on an alternate stack (so a stack overflow is reported too) and uses only
// async-signal-safe calls. The first fault reports; a fault on another thread meanwhile waits
// for that report to end the process. The log file is opened for appending here, once; when
// that fails the report goes to standard error. Returns false when a handler could not be
// installed.
//
// The alternate stack installed here serves the calling (main) thread. Every other thread the
// program starts makes a ThreadCrashStack first. Threads that libraries start on their own
// (SFML's and OpenAL's audio threads) have none: a fault on them is reported, but a stack
// overflow there ends the process without a report.
bool InstallCrashReporter(const std::string& logFile);

// An alternate signal stack for the calling thread, so that a stack overflow on it is reported
// too; made at the start of a thread's function and kept until it returns.
class ThreadCrashStack {
public:
    ThreadCrashStack();
    ~ThreadCrashStack();
    ThreadCrashStack(const ThreadCrashStack&) = delete;
    ThreadCrashStack& operator=(const ThreadCrashStack&) = delete;

    bool IsInstalled() const { return m_Installed; }

private:
    std::unique_ptr<char[]> m_Stack;
    bool m_Installed = false;
};

}  // namespace platform
