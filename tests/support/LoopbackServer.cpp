#include "tests/support/LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace testing_support {

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsUntil(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

bool WaitFor(int handle, short events, int waitMs) {
    pollfd entry{handle, events, 0};
    return poll(&entry, 1, waitMs) > 0;
}

// A socket bound to 127.0.0.1 at a port the system picks; the port is written to *port.
int BoundSocket(int* port) {
    int handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (handle < 0) {
        throw std::runtime_error("LoopbackServer: no socket");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(handle);
        throw std::runtime_error("LoopbackServer: cannot bind to 127.0.0.1");
    }
    *port = ntohs(address.sin_port);
    return handle;
}

}  // namespace

LoopbackPeer::LoopbackPeer(int handle) : m_Handle(handle) {}

LoopbackPeer::~LoopbackPeer() {
    Close();
}

void LoopbackPeer::Close() {
    if (m_Handle >= 0) {
        close(m_Handle);
        m_Handle = -1;
    }
}

void LoopbackPeer::Reset() {
    if (m_Handle >= 0) {
        linger abort{1, 0};
        setsockopt(m_Handle, SOL_SOCKET, SO_LINGER, &abort, sizeof(abort));
        Close();
    }
}

bool LoopbackPeer::Send(const std::string& bytes) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kWaitMs);
    for (size_t sent = 0; sent < bytes.size();) {
        ssize_t result = send(m_Handle, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (result > 0) {
            sent += static_cast<size_t>(result);
        } else if (result < 0 && (errno == EAGAIN || errno == EINTR) && MillisecondsUntil(deadline) > 0) {
            WaitFor(m_Handle, POLLOUT, MillisecondsUntil(deadline));
        } else {
            return false;
        }
    }
    return true;
}

bool LoopbackPeer::ReceiveMore(int waitMs) {
    if (m_Handle < 0 || !WaitFor(m_Handle, POLLIN, waitMs)) {
        return false;
    }
    char buffer[65536];
    ssize_t result = recv(m_Handle, buffer, sizeof(buffer), 0);
    if (result <= 0) {
        return false;
    }
    m_Pending.append(buffer, static_cast<size_t>(result));
    return true;
}

std::string LoopbackPeer::ReadUntil(const std::string& marker) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kWaitMs);
    size_t found;
    while ((found = m_Pending.find(marker)) == std::string::npos && ReceiveMore(MillisecondsUntil(deadline))) {
    }
    size_t end = found == std::string::npos ? m_Pending.size() : found + marker.size();
    std::string taken = m_Pending.substr(0, end);
    m_Pending.erase(0, end);
    return taken;
}

std::string LoopbackPeer::ReadRequest() {
    std::string head = ReadUntil("\r\n\r\n");
    const std::string field = "\r\nContent-Length: ";
    size_t at = head.find(field);
    size_t length = at == std::string::npos ? 0 : std::strtoul(head.c_str() + at + field.size(), nullptr, 10);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kWaitMs);
    while (m_Pending.size() < length && ReceiveMore(MillisecondsUntil(deadline))) {
    }
    length = std::min(length, m_Pending.size());
    std::string body = m_Pending.substr(0, length);
    m_Pending.erase(0, length);
    return head + body;
}

std::string LoopbackPeer::ReadToEnd() {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kWaitMs);
    while (ReceiveMore(MillisecondsUntil(deadline))) {
    }
    std::string taken;
    taken.swap(m_Pending);
    return taken;
}

bool LoopbackPeer::SeesEnd(int waitMs) {
    if (m_Handle < 0 || !WaitFor(m_Handle, POLLIN, waitMs)) {
        return false;
    }
    char byte;
    return recv(m_Handle, &byte, 1, MSG_PEEK) <= 0;
}

LoopbackServer::LoopbackServer(int receiveBufferBytes) {
    m_Handle = BoundSocket(&m_Port);
    if (receiveBufferBytes > 0) {
        setsockopt(m_Handle, SOL_SOCKET, SO_RCVBUF, &receiveBufferBytes, sizeof(receiveBufferBytes));
    }
    if (listen(m_Handle, 128) != 0) {
        close(m_Handle);
        throw std::runtime_error("LoopbackServer: cannot listen");
    }
}

LoopbackServer::~LoopbackServer() {
    close(m_Handle);
}

std::string LoopbackServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_Port) + path;
}

std::unique_ptr<LoopbackPeer> LoopbackServer::Accept() {
    if (m_Accepted >= kMaxConnections || !WaitFor(m_Handle, POLLIN, LoopbackPeer::kWaitMs)) {
        return nullptr;
    }
    int handle = accept4(m_Handle, nullptr, nullptr, SOCK_CLOEXEC);
    if (handle < 0) {
        return nullptr;
    }
    m_Accepted++;
    return std::make_unique<LoopbackPeer>(handle);
}

int RefusingPort() {
    int port = 0;
    close(BoundSocket(&port));
    return port;
}

int OpenDescriptorCount() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        count++;
    }
    return count;
}

}  // namespace testing_support
