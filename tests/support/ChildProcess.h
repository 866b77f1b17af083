#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// A program started in the background; killed and reaped when the object goes away unless it
// has ended by then.
class ChildProcess {
public:
    // Starts argv[0] (a path) in folder with the environment changed ("NAME=value" sets a
    // variable, "NAME" unsets it), its output going to outputFile. Returns an object that has no
    // process when fork failed. Safe to call from several threads at once.
    static ChildProcess Start(const std::vector<std::string>& argv, const std::string& folder,
                              const std::vector<std::string>& environment, const std::string& outputFile);

    ChildProcess(ChildProcess&& other) noexcept : m_Pid(other.m_Pid), m_Status(other.m_Status) { other.m_Pid = -1; }
    ChildProcess& operator=(ChildProcess&&) = delete;
    ~ChildProcess();

    bool Started() const { return m_Pid > 0; }
    // The process's id; not 0 or below once Started.
    pid_t Pid() const { return m_Pid; }
    // Whether the process is still running (reaps it when it has ended).
    bool Running();
    // Waits at most timeout for the process to end; its wait status, or nothing on time-out.
    std::optional<int> WaitFor(std::chrono::milliseconds timeout);

private:
    explicit ChildProcess(pid_t pid) : m_Pid(pid) {}

    pid_t m_Pid;
    std::optional<int> m_Status;
};

}  // namespace testing_support
