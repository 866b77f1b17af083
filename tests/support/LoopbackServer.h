#pragma once

#include <memory>
#include <string>

namespace testing_support {

// One connection a LoopbackServer accepted, driven by the test between the frames of the code
// under test and closed with the object. Every wait ends after 5 s, so a broken test fails
// instead of hanging.
class LoopbackPeer {
public:
    static constexpr int kWaitMs = 5000;

    explicit LoopbackPeer(int handle) : m_Handle(handle) {}
    ~LoopbackPeer() { Close(); }

    bool Send(const std::string& bytes);
    // What arrived up to and including marker; with an empty marker, up to the end.
    std::string ReadUntil(const std::string& marker);
    // An HTTP request: its head and the body its Content-Length gives.
    std::string ReadRequest();
    // Whether the other side ends the connection, with nothing more sent.
    bool SeesEnd();
    void Close();
    // Ends the connection with a reset instead of an orderly end.
    void Reset();

private:
    bool ReceiveMore(int waitMs);

    int m_Handle;
    std::string m_Pending;  // received, not yet handed out
};

// A TCP server on 127.0.0.1 at a port the system picks: no name look-ups, no outside network.
// It accepts at most kMaxConnections; later ones stay queued (their connect has succeeded)
// until it goes. A receiveBufferBytes above 0 caps what the system buffers per connection.
class LoopbackServer {
public:
    static constexpr int kMaxConnections = 8;

    explicit LoopbackServer(int receiveBufferBytes = 0);
    ~LoopbackServer();

    int Port() const { return m_Port; }
    // "http://127.0.0.1:<port>" followed by path.
    std::string Url(const std::string& path) const;
    // The next connection within 5 s; null when none came or kMaxConnections were taken.
    std::unique_ptr<LoopbackPeer> Accept();

private:
    int m_Handle = -1;
    int m_Port = 0;
    int m_Accepted = 0;
};

// A port on 127.0.0.1 where nothing listens.
int RefusingPort();
// The descriptors the process holds open.
int OpenDescriptorCount();

}  // namespace testing_support
