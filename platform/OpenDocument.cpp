#include "platform/OpenDocument.h"

#include <spawn.h>
#include <sys/wait.h>

#include <vector>

extern char** environ;

namespace platform {
namespace {

// Openers started and not yet reaped.
std::vector<pid_t>& Openers() {
    static std::vector<pid_t> openers;
    return openers;
}

void ReapEndedOpeners() {
    std::vector<pid_t>& openers = Openers();
    std::erase_if(openers, [](pid_t pid) {
        int status = 0;
        return waitpid(pid, &status, WNOHANG) != 0;
    });
}

}  // namespace

bool OpenDocument(const std::string& address) {
    ReapEndedOpeners();
    std::string program = "xdg-open";
    std::string argument = address;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0) {
        return false;
    }
    Openers().push_back(pid);
    return true;
}

}  // namespace platform
