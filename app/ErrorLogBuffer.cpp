#include "app/ErrorLogBuffer.h"

#include "app/Log.h"
#include "app/Logger.h"

#include <SFML/System/Err.hpp>

#include <cstdlib>
#include <utility>

namespace {

// The buffer that InstallForSfml made, for the flush at exit.
ErrorLogBuffer* g_SfmlBuffer = nullptr;

void FlushSfmlBuffer() {
    g_SfmlBuffer->Flush();
}

// The non-empty lines of the text.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        if (end > start) {
            lines.push_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return lines;
}

}  // namespace

ErrorLogBuffer::ErrorLogBuffer(LineWriter writer) : m_Writer(std::move(writer)) {}

void ErrorLogBuffer::Flush() {
    const std::lock_guard<std::mutex> lock(m_Mutex);
    for (auto& [thread, text] : m_Pending) {
        const size_t lastLineEnd = text.rfind('\n');
        if (lastLineEnd != std::string::npos) {
            Pass(text, lastLineEnd + 1);
        }
    }
    std::erase_if(m_Pending, [](const auto& pending) { return pending.second.empty(); });
    Write(m_Repeats.Flush());
}

ErrorLogBuffer& ErrorLogBuffer::InstallForSfml() {
    static ErrorLogBuffer& buffer = []() -> ErrorLogBuffer& {
        // The logger first: the flush registered after it runs before the log's last line.
        Logger::GetInstance();
        // SFML's stream carries its warnings too (a display without vertical synchronisation
        // at every start), and every failure the game meets is an ERROR line of its own.
        g_SfmlBuffer = new ErrorLogBuffer([](const std::string& line) { log_info("SFML: %s", line.c_str()); });
        std::atexit(FlushSfmlBuffer);
        return *g_SfmlBuffer;
    }();
    sf::err().rdbuf(&buffer);
    return buffer;
}

ErrorLogBuffer::int_type ErrorLogBuffer::overflow(int_type character) {
    if (traits_type::eq_int_type(character, traits_type::eof())) {
        return traits_type::not_eof(character);
    }
    const char c = traits_type::to_char_type(character);
    Append(&c, 1);
    return character;
}

std::streamsize ErrorLogBuffer::xsputn(const char* text, std::streamsize count) {
    if (count > 0) {
        Append(text, static_cast<size_t>(count));
    }
    return count;
}

int ErrorLogBuffer::sync() {
    const std::lock_guard<std::mutex> lock(m_Mutex);
    auto pending = m_Pending.find(std::this_thread::get_id());
    if (pending != m_Pending.end()) {
        Pass(pending->second, pending->second.size());
        m_Pending.erase(pending);
    }
    return 0;
}

void ErrorLogBuffer::Append(const char* text, size_t count) {
    const std::lock_guard<std::mutex> lock(m_Mutex);
    std::string& pending = m_Pending[std::this_thread::get_id()];
    pending.append(text, count);
    if (pending.size() > kMaxPending) {
        const size_t lastLineEnd = pending.rfind('\n');
        Pass(pending, lastLineEnd == std::string::npos ? pending.size() : lastLineEnd + 1);
    }
}

void ErrorLogBuffer::Pass(std::string& text, size_t length) {
    const std::vector<std::string> message = Lines(text.substr(0, length));
    text.erase(0, length);
    if (!message.empty()) {
        Write(m_Repeats.Take(message));
    }
}

void ErrorLogBuffer::Write(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        m_Writer(line);
    }
}
