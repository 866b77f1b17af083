#include "tests/support/LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iterator>
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
    return handle >= 0 && poll(&entry, 1, waitMs) > 0;
}

// A blocking socket bound to 127.0.0.1 at a port the system picks, written to *port.
int BoundSocket(int* port) {
    int handle = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        getsockname(handle, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("LoopbackServer: cannot bind to 127.0.0.1");
    }
    *port = ntohs(address.sin_port);
    return handle;
}

}  // namespace

void LoopbackPeer::Close() {
    if (m_Handle >= 0) {
        close(m_Handle);
        m_Handle = -1;
    }
}

void LoopbackPeer::Reset() {
    linger abort{1, 0};
    setsockopt(m_Handle, SOL_SOCKET, SO_LINGER, &abort, sizeof(abort));
    Close();
}

bool LoopbackPeer::Send(const std::string& bytes) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kWaitMs);
    for (size_t sent = 0; sent < bytes.size();) {
        if (!WaitFor(m_Handle, POLLOUT, MillisecondsUntil(deadline))) {
            return false;
        }
        ssize_t result = send(m_Handle, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (result < 0 && errno != EAGAIN) {
            return false;
        }
        sent += result > 0 ? static_cast<size_t>(result) : 0;
    }
    return true;
}

bool LoopbackPeer::ReceiveMore(int waitMs) {
    char buffer[65536];
    ssize_t result = WaitFor(m_Handle, POLLIN, waitMs) ? recv(m_Handle, buffer, sizeof(buffer), 0) : 0;
    m_Pending.append(buffer, result > 0 ? static_cast<size_t>(result) : 0);
    return result > 0;
}

std::string LoopbackPeer::ReadUntil(const std::string& marker) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kWaitMs);
    while ((marker.empty() || m_Pending.find(marker) == std::string::npos) &&
           ReceiveMore(MillisecondsUntil(deadline))) {
    }
    size_t found = marker.empty() ? std::string::npos : m_Pending.find(marker);
    size_t end = found == std::string::npos ? m_Pending.size() : found + marker.size();
    std::string taken = m_Pending.substr(0, end);
    m_Pending.erase(0, end);
    return taken;
}

std::string LoopbackPeer::ReadRequest() {
    std::string head = ReadUntil("\r\n\r\n");
    size_t at = head.find("\r\nContent-Length: ");
    size_t length = at == std::string::npos ? 0 : std::strtoul(head.c_str() + at + 18, nullptr, 10);
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(kWaitMs);
    while (m_Pending.size() < length && ReceiveMore(MillisecondsUntil(deadline))) {
    }
    std::string body = m_Pending.substr(0, length);
    m_Pending.erase(0, body.size());
    return head + body;
}

bool LoopbackPeer::SeesEnd() {
    char byte;
    return WaitFor(m_Handle, POLLIN, kWaitMs) && recv(m_Handle, &byte, 1, MSG_PEEK) <= 0;
}

LoopbackServer::LoopbackServer(int receiveBufferBytes) {
    m_Handle = BoundSocket(&m_Port);
    if (receiveBufferBytes > 0) {
        setsockopt(m_Handle, SOL_SOCKET, SO_RCVBUF, &receiveBufferBytes, sizeof(receiveBufferBytes));
    }
    listen(m_Handle, 128);
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
    m_Accepted++;
    return std::make_unique<LoopbackPeer>(accept4(m_Handle, nullptr, nullptr, SOCK_CLOEXEC));
}

int RefusingPort() {
    int port = 0;
    close(BoundSocket(&port));
    return port;
}

int OpenDescriptorCount() {
    auto entries = std::filesystem::directory_iterator("/proc/self/fd");
    return static_cast<int>(std::distance(begin(entries), end(entries)));
}

}  // namespace testing_support
