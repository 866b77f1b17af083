#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace testing_support {

// Sends the process's standard output to /dev/null while the object lives, for code that prints
// large amounts (LoadVars echoes every request it sends).
class QuietStdout {
public:
    QuietStdout() {
        std::fflush(stdout);
        m_Saved = dup(1);
        int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        dup2(null, 1);
        close(null);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        dup2(m_Saved, 1);
        close(m_Saved);
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int m_Saved;
};

}  // namespace testing_support
