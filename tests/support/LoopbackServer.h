#pragma once

#include <memory>
#include <string>

namespace testing_support {

// One connection a LoopbackServer accepted, closed with the object. The test drives it from its
// own thread, between the frames of the code under test; every wait ends after 5 s, so a
// broken test fails instead of hanging.
class LoopbackPeer {
public:
    static constexpr int kWaitMs = 5000;

    explicit LoopbackPeer(int handle);
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    // Sends every byte; false when the connection broke.
    bool Send(const std::string& bytes);
    // Everything received up to and including the first marker (or all that came when the
    // wait ended first).
    std::string ReadUntil(const std::string& marker);
    // An HTTP request: the head up to its empty line, and the body its Content-Length gives.
    std::string ReadRequest();
    // Everything received until the other side ends the connection.
    std::string ReadToEnd();
    // Whether the other side ends the connection within waitMs, with nothing more sent.
    bool SeesEnd(int waitMs = kWaitMs);
    // Ends this side of the connection.
    void Close();
    // Breaks the connection off: the other side gets a reset instead of an orderly end.
    void Reset();

private:
    // One receive into m_Pending, waiting at most waitMs; false at the end or on time-out.
    bool ReceiveMore(int waitMs);

    int m_Handle;
    std::string m_Pending;  // received and not yet handed out
};

// A TCP server on 127.0.0.1 at a port the system picks, for tests of network clients: no name
// look-ups and no outside network. It accepts at most kMaxConnections connections; others stay
// queued (their connect has succeeded) until the server goes.
class LoopbackServer {
public:
    static constexpr int kMaxConnections = 8;

    // receiveBufferBytes, when above 0, caps what the system buffers for each connection before
    // the test reads it, so a client that sends much soon finds no room.
    explicit LoopbackServer(int receiveBufferBytes = 0);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const { return m_Port; }
    // "http://127.0.0.1:<port>" followed by path.
    std::string Url(const std::string& path) const;
    // The next connection, waiting at most 5 s; null when none came or kMaxConnections were
    // accepted already.
    std::unique_ptr<LoopbackPeer> Accept();

private:
    int m_Handle = -1;
    int m_Port = 0;
    int m_Accepted = 0;
};

// A port on 127.0.0.1 where nothing listens, so connecting to it is refused.
int RefusingPort();

// The number of descriptors the process holds open.
int OpenDescriptorCount();

}  // namespace testing_support
