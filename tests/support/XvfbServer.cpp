#include "tests/support/XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>

namespace testing_support {

XvfbServer::XvfbServer(int screenWidth, int screenHeight) {
    // Xvfb picks a free display number and writes it to the descriptor given with -displayfd once
    // it accepts connections.
    int fds[2];
    if (pipe(fds) != 0) {
        return;
    }
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    const std::string screen = std::to_string(screenWidth) + "x" + std::to_string(screenHeight) + "x24";
    m_Process.emplace(
        ChildProcess::Start({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen, "-nolisten", "tcp"},
                            "", {}, "/dev/null"));
    close(fds[1]);
    std::string number;
    pollfd readable{fds[0], POLLIN, 0};
    char c = 0;
    for (auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
         std::chrono::steady_clock::now() < deadline;) {
        if (poll(&readable, 1, 100) > 0) {
            if (read(fds[0], &c, 1) != 1 || c == '\n') {
                break;
            }
            number += c;
        }
    }
    close(fds[0]);
    if (!number.empty()) {
        m_Name = ":" + number;
    }
}

}  // namespace testing_support
