#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// What one send or receive did. Bytes is the count moved when Status is Done; Error is the
// system's error number when Status is Failed.
struct TcpTransfer {
    enum class Status { Done, WouldBlock, NoBuffers, Closed, Failed };
    Status status = Status::Failed;
    size_t bytes = 0;
    int error = 0;
};

// One IPv4 TCP stream socket, the sole owner of its descriptor: it is closed exactly once, by
// Close or the destructor, and a move hands it over. The socket is non-blocking from the start
// and is not inherited by programs the game starts. Waiting is done in poll with a time-out;
// nothing here spins or blocks without one, and sending to a peer that went away never raises
// SIGPIPE.
class TcpSocket {
public:
    TcpSocket() = default;
    ~TcpSocket();
    TcpSocket(TcpSocket&& other) noexcept;
    TcpSocket& operator=(TcpSocket&& other) noexcept;
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Makes a new socket, closing one held before; false when the system gives none.
    bool Open();
    bool IsOpen() const { return m_Handle >= 0; }
    // The descriptor, -1 when none.
    int GetHandle() const { return m_Handle; }
    void Close();

    // Connects to address (network byte order) and port (1 to 65535), waiting at most
    // timeoutMs. False when the peer refused, could not be reached or did not answer in time.
    bool Connect(uint32_t address, int port, int timeoutMs);

    // One receive of at most count bytes; Done with the bytes, Closed when the peer ended the
    // connection, WouldBlock when nothing is waiting.
    TcpTransfer Receive(void* buffer, size_t count);
    // One send of at most count bytes; Done with the bytes taken, WouldBlock or NoBuffers when
    // the system cannot take any now.
    TcpTransfer Send(const void* buffer, size_t count);

    // Waits at most timeoutMs (0: only looks) until a receive would not block: data waits, the
    // peer ended the connection or the socket failed.
    bool WaitReadable(int timeoutMs) const;
    // The same for a send.
    bool WaitWritable(int timeoutMs) const;

private:
    bool Wait(short events, int timeoutMs) const;

    int m_Handle = -1;
};

// The address of a host written as four dotted decimal numbers ("127.0.0.1"), in network byte
// order; false for any other text. Nothing is looked up.
bool ParseIpv4Address(const char* text, uint32_t* address);

// The first IPv4 address the system's resolver gives for a host name, in network byte order;
// false when it knows none. The resolver decides how long this takes.
bool LookUpIpv4Address(const char* name, uint32_t* address);

// Sleeps for ms milliseconds (nothing for 0 or less).
void SleepMilliseconds(int ms);

}  // namespace platform
