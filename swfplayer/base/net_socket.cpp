#include "swfplayer/base/net_socket.h"

#include "swfplayer/base/base_timer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

namespace swfplayer {

namespace {

// The longest wait any call may ask for; longer (or infinite) time-outs are cut to it.
constexpr float max_timeout_seconds = 3600.0f;
// The pause between tries while the system has no buffers to send from.
constexpr int no_buffers_pause_ms = 10;

// The tick count at which a wait of timeout_seconds ends; NaN and negative waits end at once.
uint64_t deadline_after(float timeout_seconds) {
    float seconds = timeout_seconds > 0.0f ? std::min(timeout_seconds, max_timeout_seconds) : 0.0f;
    return base_timer::get_ticks() + static_cast<uint64_t>(seconds * 1000.0f);
}

// Milliseconds left until deadline, 0 once it passed.
int milliseconds_until(uint64_t deadline) {
    uint64_t now = base_timer::get_ticks();
    return deadline > now ? static_cast<int>(deadline - now) : 0;
}

// Appends bytes to line, leaving out "\r", "\n" and 0 bytes: how a received line is stored.
void append_line_bytes(base_string* line, const char* bytes, int count) {
    int run = 0;
    for (int i = 0; i < count; i++) {
        char c = bytes[i];
        if (c == '\r' || c == '\n' || c == 0) {
            *line += base_string(bytes + run, i - run);
            run = i + 1;
        }
    }
    *line += base_string(bytes + run, count - run);
}

}  // namespace

net_socket_tcp::net_socket_tcp(platform::TcpSocket handle) : m_handle(std::move(handle)) {}

bool net_socket_tcp::is_readable() const {
    return buffered() > 0 || m_ended || m_error > 0 || m_handle.WaitReadable(0);
}

void net_socket_tcp::fail_receive(int error) {
    m_error = error > 0 ? error : EIO;
    std::fprintf(stderr, "net_socket_tcp::read() error in recv, error code = %d\n", m_error);
}

void net_socket_tcp::consume(int count) {
    m_start += static_cast<size_t>(count);
    m_scanned = m_scanned > static_cast<size_t>(count) ? m_scanned - static_cast<size_t>(count) : 0;
    if (m_start == m_buffer.size()) {
        m_buffer.clear();
        m_start = 0;
    }
}

bool net_socket_tcp::wait_readable_until(uint64_t deadline) const {
    int left = milliseconds_until(deadline);
    return left > 0 && m_handle.WaitReadable(left);
}

bool net_socket_tcp::receive_chunk() {
    int room = std::min(max_buffered_bytes - buffered(), max_chunk_bytes);
    if (m_ended || m_error > 0 || room <= 0) {
        return false;
    }
    if (m_start > 0) {
        m_buffer.erase(0, m_start);
        m_start = 0;
    }
    size_t old_size = m_buffer.size();
    m_buffer.resize(old_size + static_cast<size_t>(room));
    platform::TcpTransfer transfer = m_handle.Receive(&m_buffer[old_size], static_cast<size_t>(room));
    m_buffer.resize(old_size + transfer.bytes);
    switch (transfer.status) {
    case platform::TcpTransfer::Status::Done: return true;
    case platform::TcpTransfer::Status::Closed: m_ended = true; return true;
    case platform::TcpTransfer::Status::Failed: fail_receive(transfer.error); return true;
    default: return false;
    }
}

int net_socket_tcp::read(void* buffer, int count, float timeout_seconds) {
    if (buffer == nullptr || count <= 0) {
        return 0;
    }
    uint64_t deadline = deadline_after(timeout_seconds);
    char* out = static_cast<char*>(buffer);
    int got = std::min(buffered(), count);
    std::memcpy(out, m_buffer.data() + m_start, static_cast<size_t>(got));
    consume(got);
    while (got < count && !m_ended && m_error <= 0) {
        size_t want = static_cast<size_t>(std::min(count - got, max_chunk_bytes));
        platform::TcpTransfer transfer = m_handle.Receive(out + got, want);
        switch (transfer.status) {
        case platform::TcpTransfer::Status::Done: got += static_cast<int>(transfer.bytes); break;
        case platform::TcpTransfer::Status::Closed: m_ended = true; break;
        case platform::TcpTransfer::Status::Failed: fail_receive(transfer.error); break;
        default:
            if (!wait_readable_until(deadline)) {
                return got;
            }
        }
    }
    return got;
}

int net_socket_tcp::read_line(base_string* line, int max_bytes, float timeout_seconds) {
    m_line_cut = false;
    if (line == nullptr) {
        return 0;
    }
    const int limit = max_bytes >= 1 ? std::min(max_bytes, max_buffered_bytes) : max_buffered_bytes;
    uint64_t deadline = deadline_after(timeout_seconds);
    for (;;) {
        const char* begin = m_buffer.data() + m_start;
        const size_t window = static_cast<size_t>(std::min(buffered(), limit));
        if (m_scanned < window) {
            if (const void* end = std::memchr(begin + m_scanned, '\n', window - m_scanned)) {
                int count = static_cast<int>(static_cast<const char*>(end) - begin) + 1;
                append_line_bytes(line, begin, count);
                consume(count);
                return count;
            }
            m_scanned = window;
        }
        if (window == static_cast<size_t>(limit)) {
            append_line_bytes(line, begin, limit);
            consume(limit);
            m_line_cut = true;
            return limit;
        }
        if (m_ended) {
            // The last line may lack its end.
            int count = buffered();
            if (count == 0) {
                return -1;
            }
            append_line_bytes(line, begin, count);
            consume(count);
            return count;
        }
        if (m_error > 0) {
            return 0;
        }
        if (!receive_chunk() && !wait_readable_until(deadline)) {
            return 0;
        }
    }
}

int net_socket_tcp::write(const void* buffer, int count, float timeout_seconds) {
    if (buffer == nullptr || count <= 0) {
        return 0;
    }
    uint64_t deadline = deadline_after(timeout_seconds);
    const char* bytes = static_cast<const char*>(buffer);
    int sent = 0;
    while (sent < count) {
        platform::TcpTransfer transfer = m_handle.Send(bytes + sent, static_cast<size_t>(count - sent));
        switch (transfer.status) {
        case platform::TcpTransfer::Status::Done: sent += static_cast<int>(transfer.bytes); break;
        case platform::TcpTransfer::Status::WouldBlock:
            if (!m_handle.WaitWritable(milliseconds_until(deadline))) {
                return sent;
            }
            break;
        case platform::TcpTransfer::Status::NoBuffers:
            if (milliseconds_until(deadline) == 0) {
                return sent;
            }
            platform::SleepMilliseconds(std::min(no_buffers_pause_ms, milliseconds_until(deadline)));
            break;
        default: m_error = transfer.error > 0 ? transfer.error : EIO; return sent;
        }
    }
    return sent;
}

std::unique_ptr<net_socket_tcp> net_interface_tcp::connect(const char* host, int port, int timeout_ms) {
    if (host == nullptr || port < 1 || port > 65535) {
        return nullptr;
    }
    if (timeout_ms <= 0) {
        std::fprintf(stderr, "can't connect to '%s', port %d\n", host, port);
        return nullptr;
    }
    const uint64_t deadline = base_timer::get_ticks() + static_cast<uint64_t>(timeout_ms);
    if (!m_handle.Open()) {
        std::fprintf(stderr, "can't open listen socket\n");
        return nullptr;
    }
    m_port = port;
    uint32_t address = 0;
    bool found = host[0] >= '0' && host[0] <= '9' ? platform::ParseIpv4Address(host, &address)
                                                  : platform::LookUpIpv4Address(host, &address);
    if (!found) {
        std::fprintf(stderr, "can't find '%s'\n", host);
        m_handle.Close();
        return nullptr;
    }
    const int left_ms = milliseconds_until(deadline);
    if (left_ms == 0 || !m_handle.Connect(address, port, left_ms)) {
        std::fprintf(stderr, "can't connect to '%s', port %d\n", host, port);
        m_handle.Close();
        return nullptr;
    }
    return std::make_unique<net_socket_tcp>(std::move(m_handle));
}

}  // namespace swfplayer
