#pragma once

#include <sys/resource.h>

#include <csignal>

namespace testing_support {

// While it lives, no file this process writes may grow past bytes (for root too): the disk
// refuses the rest, as a full disk or a quota would, and writes fail instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_Set = getrlimit(RLIMIT_FSIZE, &m_Saved) == 0;
        m_PreviousHandler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit tiny = m_Saved;
        tiny.rlim_cur = bytes;
        m_Set = m_Set && setrlimit(RLIMIT_FSIZE, &tiny) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_Saved);
        std::signal(SIGXFSZ, m_PreviousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // Whether the limit is in force.
    bool IsSet() const { return m_Set; }

private:
    struct rlimit m_Saved {};
    void (*m_PreviousHandler)(int) = nullptr;
    bool m_Set = false;
};

}  // namespace testing_support
