#pragma once

#include "platform/TcpSocket.h"
#include "swfplayer/base/base_string.h"

#include <memory>
#include <string>

namespace swfplayer {

// A connected byte stream of the script networking classes. Every call is bounded by the
// time-out it is given, in seconds; 0 only takes what has already arrived.
class net_socket {
public:
    virtual ~net_socket() = default;

    // The last error code of the connection, 0 while none happened.
    virtual int get_error() const = 0;
    // True until an error happened.
    virtual bool is_open() const = 0;
    // True when a read can make progress: bytes are waiting, the peer ended the connection or
    // the connection failed.
    virtual bool is_readable() const = 0;
    // Reads up to count bytes, waiting at most timeout seconds for them; stops early at the end
    // of the connection or on an error. The number of bytes read.
    virtual int read(void* buffer, int count, float timeout_seconds) = 0;
    // Appends one line to *line (see net_socket_tcp::read_line).
    virtual int read_line(base_string* line, int max_bytes, float timeout_seconds) = 0;
    // Writes count bytes, waiting at most timeout seconds for room; the number written.
    virtual int write(const void* buffer, int count, float timeout_seconds) = 0;
};

// A TCP connection. Bytes are received in chunks into a buffer of the socket's own, so a line
// that arrives over several reads (or several frames) is assembled here and never split.
class net_socket_tcp : public net_socket {
public:
    // One receive takes at most this many bytes.
    static constexpr int max_chunk_bytes = 64 * 1024;
    // The buffer holds at most this many bytes; receiving pauses while it is full, and a line
    // that fills it is handed out cut.
    static constexpr int max_buffered_bytes = 1024 * 1024;

    // Takes the connected descriptor over.
    explicit net_socket_tcp(platform::TcpSocket handle);
    ~net_socket_tcp() override = default;

    int get_error() const override { return m_error; }
    bool is_open() const override { return m_error <= 0; }
    bool is_readable() const override;
    int read(void* buffer, int count, float timeout_seconds) override;
    // One line: when its "\n" has arrived, the line without "\r", "\n" and 0 bytes is appended
    // and the result is the number of bytes it took from the stream (those three included);
    // after the end of the connection the last line may lack its "\n". Returns 0 when no whole
    // line arrived within the time-out (nothing is appended; the part that came stays here for
    // the next call) or on an error, and -1 once the connection ended with nothing left. When
    // max_bytes is at least 1 and the line reaches max_bytes bytes before its end, those bytes
    // are handed out as a line and was_line_cut() tells so; the rest comes as the next line.
    int read_line(base_string* line, int max_bytes, float timeout_seconds) override;
    int write(const void* buffer, int count, float timeout_seconds) override;

    // Whether the last line read_line handed out was cut at max_bytes.
    bool was_line_cut() const { return m_line_cut; }
    // Whether the peer ended the connection and every byte it sent has been taken.
    bool has_ended() const { return m_ended && buffered() == 0; }
    // The descriptor, for tests and diagnostics.
    int get_handle() const { return m_handle.GetHandle(); }

private:
    // The bytes received and not yet taken.
    int buffered() const { return static_cast<int>(m_buffer.size() - m_start); }
    // One receive into the buffer: true when bytes came, the connection ended or failed (the
    // state changed), false when nothing was waiting or the buffer is full.
    bool receive_chunk();
    // Records a receive error and reports it on standard error.
    void fail_receive(int error);
    // Takes count bytes from the front of the buffer.
    void consume(int count);
    // Waits for data until the deadline (ticks); false when it passed.
    bool wait_readable_until(uint64_t deadline) const;

    platform::TcpSocket m_handle;
    int m_error = 0;
    std::string m_buffer;
    size_t m_start = 0;    // where the bytes not yet taken begin
    size_t m_scanned = 0;  // bytes after m_start known to hold no "\n"
    bool m_ended = false;  // the peer ended the connection
    bool m_line_cut = false;
};

// Makes connections to servers. The descriptor of a connection being made belongs to the
// interface until the connection stands; then it moves to the new socket, its only owner.
class net_interface {
public:
    virtual ~net_interface() = default;
    // A new connected socket, or null when none is made within timeout_ms.
    virtual std::unique_ptr<net_socket_tcp> connect(const char* host, int port, int timeout_ms) = 0;
};

class net_interface_tcp : public net_interface {
public:
    // How long connecting may wait for the server.
    static constexpr int connect_timeout_ms = 2000;

    // host is four dotted numbers when it starts with a digit (never looked up), else a name
    // for the resolver; port is 1 to 65535. Null, with the reason on standard error, when no
    // socket can be made, the host is not found or the connection is not made within
    // timeout_ms, the look-up included (the resolver itself decides how long a look-up takes).
    // A connection always waits for the server's answer, so with no time to wait (timeout_ms 0
    // or less) none is tried: the call fails at once as when the server does not answer.
    std::unique_ptr<net_socket_tcp> connect(const char* host, int port, int timeout_ms) override;

    int get_port() const { return m_port; }

private:
    int m_port = 0;
    platform::TcpSocket m_handle;
};

}  // namespace swfplayer
