#include "tests/support/ChildProcess.h"

#include "tests/support/WaitUntil.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {
namespace {

// This process's environment with the changes made: "NAME=value" sets a variable, "NAME" unsets it.
std::vector<std::string> ChangedEnvironment(const std::vector<std::string>& changes) {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        variables.emplace_back(*variable);
    }
    for (const std::string& change : changes) {
        const size_t equals = change.find('=');
        const std::string prefix = change.substr(0, equals) + "=";
        std::erase_if(variables, [&](const std::string& variable) { return variable.starts_with(prefix); });
        if (equals != std::string::npos) {
            variables.push_back(change);
        }
    }
    return variables;
}

// The texts as the null-ended array of pointers that exec takes; valid while the texts are.
std::vector<char*> PointersTo(const std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (const std::string& text : texts) {
        pointers.push_back(const_cast<char*>(text.c_str()));
    }
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

ChildProcess ChildProcess::Start(const std::vector<std::string>& argv, const std::string& folder,
                                 const std::vector<std::string>& environment, const std::string& outputFile) {
    // All that the child needs is made before the fork: in a process with threads (the tests start
    // programs from several at once) the child may only make calls that are safe after fork. It
    // must not allocate, since another thread may have held the allocator's lock at the fork, and
    // the child would wait for it for ever.
    const std::vector<std::string> variables = ChangedEnvironment(environment);
    const std::vector<char*> args = PointersTo(argv);
    const std::vector<char*> envp = PointersTo(variables);
    if (pid_t pid = fork(); pid != 0) {
        return ChildProcess(pid);
    }
    if (!folder.empty() && chdir(folder.c_str()) != 0) {
        _exit(126);
    }
    if (int out = open(outputFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644); out >= 0) {
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
        close(out);
    }
    execvpe(args[0], args.data(), envp.data());
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
