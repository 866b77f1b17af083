#pragma once

#include <string>
#include <vector>

namespace testing_support {

// A TCP listener on 127.0.0.1 whose accept queue is full and which never accepts: the system
// drops the first packet of every further connection, so connecting to it waits for an answer
// that never comes, as it does for an overloaded server or one behind a firewall that drops.
// The connections that fill the queue are held by the object and closed with it.
class FullListener {
public:
    FullListener();
    ~FullListener();
    FullListener(const FullListener&) = delete;
    FullListener& operator=(const FullListener&) = delete;

    int Port() const { return m_Port; }
    // "http://127.0.0.1:<port>" followed by path.
    std::string Url(const std::string& path) const;
    // Whether the queue was filled: a further connection got no answer.
    bool IsFull() const { return m_Full; }

private:
    int m_Handle = -1;
    int m_Port = 0;
    bool m_Full = false;
    std::vector<int> m_Queued;
};

}  // namespace testing_support
