#include "tests/support/KilledSave.h"

#include "platform/ReplacementFile.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace testing_support {

bool KillDuringSave(const std::string& target) {
    int ready[2];
    if (pipe(ready) != 0) {
        return false;
    }
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        platform::ReplacementFile file(target);
        const char half[] = "half of a new";
        const bool written = file.IsOpen() &&
                             std::fwrite(half, 1, sizeof(half) - 1, file.GetFile()) == sizeof(half) - 1 &&
                             std::fflush(file.GetFile()) == 0;
        const char report = written ? 'w' : 'f';
        if (write(ready[1], &report, 1) == 1) {
            pause();
        }
        _exit(1);
    }
    char report = 0;
    const bool reported = child > 0 && read(ready[0], &report, 1) == 1;
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    close(ready[0]);
    close(ready[1]);
    return reported && report == 'w';
}

}  // namespace testing_support
