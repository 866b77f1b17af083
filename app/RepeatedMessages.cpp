#include "app/RepeatedMessages.h"

#include <algorithm>

namespace {

bool IsPowerOfTen(uint64_t value) {
    while (value >= 10 && value % 10 == 0) {
        value /= 10;
    }
    return value == 1;
}

}  // namespace

std::vector<std::string> RepeatedMessages::Take(const std::vector<std::string>& message) {
    std::vector<std::string> lines;
    auto found =
        std::find_if(m_Entries.begin(), m_Entries.end(), [&](const Entry& entry) { return entry.lines == message; });
    if (found != m_Entries.end()) {
        m_Entries.splice(m_Entries.begin(), m_Entries, found);
        Entry& entry = m_Entries.front();
        ++entry.count;
        if (IsPowerOfTen(entry.count)) {
            lines.push_back(CountLine(entry, "so far"));
            entry.written = entry.count;
        }
        return lines;
    }
    if (m_Entries.size() == kRemembered) {
        AddTotal(m_Entries.back(), lines);
        m_Entries.pop_back();
    }
    m_Entries.push_front(Entry{message});
    lines.insert(lines.end(), message.begin(), message.end());
    return lines;
}

std::vector<std::string> RepeatedMessages::Flush() {
    std::vector<std::string> lines;
    for (auto entry = m_Entries.rbegin(); entry != m_Entries.rend(); ++entry) {
        AddTotal(*entry, lines);
    }
    m_Entries.clear();
    return lines;
}

std::string RepeatedMessages::CountLine(const Entry& entry, const char* when) {
    const std::string first = entry.lines.empty() ? std::string() : entry.lines.front();
    return std::to_string(entry.count) + " times " + when + ": " + first;
}

void RepeatedMessages::AddTotal(const Entry& entry, std::vector<std::string>& lines) {
    if (entry.count > entry.written) {
        lines.push_back(CountLine(entry, "in all"));
    }
}
