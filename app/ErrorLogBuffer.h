#pragma once

#include "app/RepeatedMessages.h"

#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <streambuf>
#include <string>
#include <thread>
#include <vector>

// A stream buffer that any number of threads may write to at once: the buffer under an error
// stream such as SFML's (sf::err()), whose own buffer all threads share without a lock. Each
// thread's text is kept apart from the others' until that thread flushes (std::endl,
// std::flush); its lines, empty ones left out, then make one message, which goes through
// RepeatedMessages, and the lines due go to the writer one by one, whole, under the buffer's one
// lock. A thread's text that grows past kMaxPending without a flush goes on as a message up to
// its last line end. The writer must not write to a stream over this buffer.
class ErrorLogBuffer : public std::streambuf {
public:
    using LineWriter = std::function<void(const std::string& line)>;
    static constexpr size_t kMaxPending = 64 * 1024;

    explicit ErrorLogBuffer(LineWriter writer);

    // Hands on what each thread has not flushed yet up to its last line end, as one message of
    // that thread, then the totals of the repeats not yet written (RepeatedMessages::Flush). A
    // line a thread has not ended stays with it: it goes on whole once the thread ends and
    // flushes it, and never goes on if the thread does not.
    void Flush();

    // Makes SFML's error stream write into the game's log, each line as an INFO line
    // "SFML: <line>", and returns the program's one buffer for it. The first call builds the
    // logger (if main has not), then the buffer, which is flushed at exit before the log writes
    // its last line and is never destroyed: SFML's stream and its threads may still write while
    // the program ends, and lines that come once the log is gone are dropped. Call it before the
    // program makes any SFML object; a later call points the stream at the buffer again.
    static ErrorLogBuffer& InstallForSfml();

protected:
    int_type overflow(int_type character) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    // Adds text to the calling thread's pending text. Takes the lock.
    void Append(const char* text, size_t count);
    // Hands the first `length` bytes of the text on as one message and removes them. The lock is held.
    void Pass(std::string& text, size_t length);
    // Gives the lines to the writer. The lock is held.
    void Write(const std::vector<std::string>& lines);

    std::mutex m_Mutex;
    LineWriter m_Writer;
    RepeatedMessages m_Repeats;
    // Each writing thread's text since its last flush; a flush removes the thread's entry.
    std::map<std::thread::id, std::string> m_Pending;
};
