#include "platform/TcpSocket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <utility>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until deadline, never below 0.
int MillisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

TcpTransfer Transferred(ssize_t result) {
    TcpTransfer transfer;
    if (result > 0) {
        transfer.status = TcpTransfer::Status::Done;
        transfer.bytes = static_cast<size_t>(result);
    } else if (result == 0) {
        transfer.status = TcpTransfer::Status::Closed;
    } else if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
        transfer.status = TcpTransfer::Status::WouldBlock;
    } else if (errno == ENOBUFS) {
        transfer.status = TcpTransfer::Status::NoBuffers;
    } else {
        transfer.error = errno;
    }
    return transfer;
}

}  // namespace

TcpSocket::~TcpSocket() {
    Close();
}

TcpSocket::TcpSocket(TcpSocket&& other) noexcept : m_Handle(std::exchange(other.m_Handle, -1)) {}

TcpSocket& TcpSocket::operator=(TcpSocket&& other) noexcept {
    if (this != &other) {
        Close();
        m_Handle = std::exchange(other.m_Handle, -1);
    }
    return *this;
}

bool TcpSocket::Open() {
    Close();
    m_Handle = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_TCP);
    return m_Handle >= 0;
}

void TcpSocket::Close() {
    if (m_Handle >= 0) {
        // The descriptor is gone after close whatever it answers; it is never closed twice.
        close(std::exchange(m_Handle, -1));
    }
}

bool TcpSocket::Connect(uint32_t address, int port, int timeoutMs) {
    if (m_Handle < 0 || port < 1 || port > 65535) {
        return false;
    }
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<uint16_t>(port));
    peer.sin_addr.s_addr = address;
    if (connect(m_Handle, reinterpret_cast<const sockaddr*>(&peer), sizeof(peer)) == 0) {
        return true;
    }
    if (errno != EINPROGRESS && errno != EINTR) {
        return false;
    }
    if (!WaitWritable(timeoutMs)) {
        return false;
    }
    int error = 0;
    socklen_t length = sizeof(error);
    return getsockopt(m_Handle, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

TcpTransfer TcpSocket::Receive(void* buffer, size_t count) {
    if (m_Handle < 0) {
        TcpTransfer transfer;
        transfer.error = EBADF;
        return transfer;
    }
    return Transferred(recv(m_Handle, buffer, count, MSG_DONTWAIT));
}

TcpTransfer TcpSocket::Send(const void* buffer, size_t count) {
    if (m_Handle < 0) {
        TcpTransfer transfer;
        transfer.error = EBADF;
        return transfer;
    }
    if (count == 0) {
        TcpTransfer transfer;
        transfer.status = TcpTransfer::Status::Done;
        return transfer;
    }
    return Transferred(send(m_Handle, buffer, count, MSG_NOSIGNAL | MSG_DONTWAIT));
}

bool TcpSocket::WaitReadable(int timeoutMs) const {
    return Wait(POLLIN, timeoutMs);
}

bool TcpSocket::WaitWritable(int timeoutMs) const {
    return Wait(POLLOUT, timeoutMs);
}

bool TcpSocket::Wait(short events, int timeoutMs) const {
    if (m_Handle < 0) {
        return false;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs > 0 ? timeoutMs : 0);
    for (;;) {
        pollfd entry{m_Handle, events, 0};
        const int ready = poll(&entry, 1, MillisecondsUntil(deadline));
        if (ready > 0) {
            // An ended or failed connection counts as ready: the next call reports it at once.
            return (entry.revents & (events | POLLHUP | POLLERR)) != 0;
        }
        if (ready == 0 || errno != EINTR) {
            return false;
        }
    }
}

bool ParseIpv4Address(const char* text, uint32_t* address) {
    in_addr parsed{};
    if (text == nullptr || inet_pton(AF_INET, text, &parsed) != 1) {
        return false;
    }
    *address = parsed.s_addr;
    return true;
}

bool LookUpIpv4Address(const char* name, uint32_t* address) {
    if (name == nullptr || name[0] == '\0') {
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0 || found == nullptr) {
        return false;
    }
    *address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(found);
    return true;
}

void SleepMilliseconds(int ms) {
    if (ms > 0) {
        poll(nullptr, 0, ms);
    }
}

}  // namespace platform
