#include "tests/support/ChildProcess.h"

#include "tests/support/WaitUntil.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

ChildProcess ChildProcess::Start(const std::vector<std::string>& argv, const std::string& folder,
                                 const std::vector<std::string>& environment, const std::string& outputFile) {
    if (pid_t pid = fork(); pid != 0) {
        return ChildProcess(pid);
    }
    // In the child: only calls that are safe after fork, then exec.
    if (!folder.empty() && chdir(folder.c_str()) != 0) {
        _exit(126);
    }
    if (int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644); out >= 0) {
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

ChildProcess::~ChildProcess() {
    if (Running()) {
        kill(m_Pid, SIGKILL);
        waitpid(m_Pid, nullptr, 0);
    }
}

bool ChildProcess::Running() {
    int status = 0;
    if (m_Pid > 0 && !m_Status && waitpid(m_Pid, &status, WNOHANG) == m_Pid) {
        m_Status = status;
    }
    return m_Pid > 0 && !m_Status;
}

std::optional<int> ChildProcess::WaitFor(std::chrono::milliseconds timeout) {
    if (!WaitUntil([this] { return !Running(); }, timeout)) {
        return std::nullopt;
    }
    return m_Status;
}

}  // namespace testing_support
