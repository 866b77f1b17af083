#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

// Keeps a stream of messages (each one or more lines) from flooding a log. A message that equals
// one of the last kRemembered different messages is not written again but counted; its count is
// written when it reaches 10, 100, 1,000 and so on ("1000 times so far: " and its first line),
// and once more when the message is forgotten (kRemembered different ones came after it) or at
// Flush ("1234 times in all: " and its first line), unless that count was written already. A
// message repeated n times thus costs its own lines and at most about log10(n) + 1 lines more,
// however its repeats interleave with other messages', as long as fewer than kRemembered others
// take turns with it.
class RepeatedMessages {
public:
    static constexpr size_t kRemembered = 32;

    // The lines to write for the next message (its lines, none of them empty): the message's own
    // lines when it is not remembered, preceded by the total of the message it makes the filter
    // forget; a count line when the count of a remembered message reaches a power of ten;
    // otherwise nothing.
    std::vector<std::string> Take(const std::vector<std::string>& message);
    // The totals of the remembered messages whose count has grown since it was last written, the
    // most recent message last; then forgets every message.
    std::vector<std::string> Flush();

private:
    struct Entry {
        std::vector<std::string> lines;
        // How many times the message came, and the count written last (1: the message itself).
        uint64_t count = 1;
        uint64_t written = 1;
    };

    // "<count> times <when>: <first line>".
    static std::string CountLine(const Entry& entry, const char* when);
    // Appends the entry's total when it has grown since it was last written.
    static void AddTotal(const Entry& entry, std::vector<std::string>& lines);

    // The remembered messages, the most recently seen first.
    std::list<Entry> m_Entries;
};
