#include "tests/support/FullListener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

namespace testing_support {

namespace {

// Connections tried before the queue must have filled; the system keeps a handful at most for
// the shortest backlog.
constexpr int kMaxQueued = 16;
// How long a connection to a listener with room takes at most on 127.0.0.1.
constexpr int kAnswerWaitMs = 300;

// Connects a non-blocking socket to 127.0.0.1:port; the socket, or -1 when no answer came.
int ConnectNow(int port) {
    int handle = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 && errno != EINPROGRESS) {
        close(handle);
        return -1;
    }
    pollfd entry{handle, POLLOUT, 0};
    int error = 0;
    socklen_t length = sizeof(error);
    if (poll(&entry, 1, kAnswerWaitMs) != 1 || getsockopt(handle, SOL_SOCKET, SO_ERROR, &error, &length) != 0 ||
        error != 0) {
        close(handle);
        return -1;
    }
    return handle;
}

}  // namespace

FullListener::FullListener() {
    m_Handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (bind(m_Handle, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        getsockname(m_Handle, reinterpret_cast<sockaddr*>(&address), &length) != 0 || listen(m_Handle, 0) != 0) {
        close(m_Handle);
        throw std::runtime_error("FullListener: cannot listen on 127.0.0.1");
    }
    m_Port = ntohs(address.sin_port);
    // The shortest backlog still takes a connection or two; the first that gets no answer shows
    // the queue is full.
    while (static_cast<int>(m_Queued.size()) < kMaxQueued) {
        int queued = ConnectNow(m_Port);
        if (queued < 0) {
            m_Full = true;
            break;
        }
        m_Queued.push_back(queued);
    }
}

FullListener::~FullListener() {
    for (int queued : m_Queued) {
        close(queued);
    }
    close(m_Handle);
}

std::string FullListener::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_Port) + path;
}

}  // namespace testing_support
