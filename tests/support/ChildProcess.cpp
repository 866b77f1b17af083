#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace testing_support {

ChildProcess ChildProcess::Start(const std::vector<std::string>& argv, const std::string& folder,
                                 const std::vector<std::string>& environment, const std::string& outputFile) {
    pid_t pid = fork();
    if (pid != 0) {
        return ChildProcess(pid);
    }
    // In the child: only calls that are safe after fork, then exec.
    if (!folder.empty() && chdir(folder.c_str()) != 0) {
        _exit(126);
    }
    int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) {
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        close(out);
    }
    for (const std::string& variable : environment) {
        putenv(const_cast<char*>(variable.c_str()));
    }
    std::vector<char*> args;
    for (const std::string& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept : m_Pid(other.m_Pid), m_Status(other.m_Status) {
    other.m_Pid = -1;
}

ChildProcess::~ChildProcess() {
    if (m_Pid > 0 && !m_Status) {
        kill(m_Pid, SIGKILL);
        int status = 0;
        waitpid(m_Pid, &status, 0);
    }
}

bool ChildProcess::Running() {
    if (m_Pid <= 0 || m_Status) {
        return false;
    }
    int status = 0;
    if (waitpid(m_Pid, &status, WNOHANG) == m_Pid) {
        m_Status = status;
        return false;
    }
    return true;
}

std::optional<int> ChildProcess::WaitFor(std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (Running()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return m_Status;
}

}  // namespace testing_support
