#include "swfplayer/main/swfplayer_as_classes/http_answer.h"

#include "swfplayer/base/base_string.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string_view>

namespace swfplayer {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// The line without "\r" and 0 bytes.
std::string without_line_ends(const std::string& line) {
    std::string clean;
    for (char c : line) {
        if (c != '\r' && c != 0) {
            clean += c;
        }
    }
    return clean;
}

std::string trimmed(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && is_blank(text[first])) {
        first++;
    }
    while (last > first && is_blank(text[last - 1])) {
        last--;
    }
    return text.substr(first, last - first);
}

// The integer at the start of text as atoi reads it (blanks, a sign, digits), held to int.
int saturated_atoi(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) {
        text++;
    }
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') {
        text++;
    }
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; text++) {
        value = std::min(value * 10 + (*text - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    value = negative ? -value : std::min(value, static_cast<long long>(INT_MAX));
    return static_cast<int>(value);
}

// A number of digits in base 10 or 16 that fills all of text, held below cap; -1 when text is
// empty or holds anything else, or the number reaches cap.
long long parse_count(const std::string& text, int base, long long cap) {
    if (text.empty()) {
        return -1;
    }
    long long value = 0;
    for (char c : text) {
        int digit = c >= '0' && c <= '9'                 ? c - '0'
                    : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10
                    : base == 16 && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                         : -1;
        if (digit < 0) {
            return -1;
        }
        value = value * base + digit;
        if (value >= cap) {
            return -1;
        }
    }
    return value;
}

// Whether the last coding named by a Transfer-Encoding value is "chunked".
bool ends_with_chunked(const std::string& value) {
    const size_t comma = value.rfind(',');
    const std::string last = trimmed(value.substr(comma == std::string::npos ? 0 : comma + 1));
    const std::string_view chunked = "chunked";
    return std::equal(last.begin(), last.end(), chunked.begin(), chunked.end(),
                      [](char a, char b) { return ascii_tolower(static_cast<unsigned char>(a)) == b; });
}

}  // namespace

void http_answer::feed(const char* bytes, int count) {
    while (count > 0 && !is_finished()) {
        bool content = m_state == PARSE_CONTENT && (m_body != CHUNKED || m_chunk == CHUNK_DATA);
        int used = content ? feed_content(bytes, count) : feed_line(bytes, count);
        bytes += used;
        count -= used;
    }
}

void http_answer::end_of_input() {
    if (is_finished()) {
        return;
    }
    if (m_state == PARSE_CONTENT && m_body == UNTIL_END) {
        finish_content();
    } else {
        fail();
    }
}

int http_answer::feed_line(const char* bytes, int count) {
    const void* line_end = std::memchr(bytes, '\n', static_cast<size_t>(count));
    int take = line_end ? static_cast<int>(static_cast<const char*>(line_end) - bytes) + 1 : count;
    int* section = m_state == PARSE_CONTENT ? &m_body_bytes : &m_head_bytes;
    int section_limit = m_state == PARSE_CONTENT ? max_content_bytes : max_head_bytes;
    int line_bytes = take - (line_end ? 1 : 0);
    if (take > section_limit - *section || line_bytes >= max_line_bytes - static_cast<int>(m_line.size())) {
        fail();
        return count;
    }
    *section += take;
    m_line.append(bytes, static_cast<size_t>(line_bytes));
    if (line_end) {
        std::string line = without_line_ends(m_line);
        m_line.clear();
        if (m_state == PARSE_CONTENT) {
            take_chunk_line(line);
        } else {
            take_head_line(line);
        }
    }
    return take;
}

int http_answer::feed_content(const char* bytes, int count) {
    int take = m_body == UNTIL_END ? count : static_cast<int>(std::min<long long>(count, m_left));
    if (take > max_content_bytes - m_body_bytes) {
        fail();
        return count;
    }
    m_body_bytes += take;
    for (const char *p = bytes, *end = bytes + take; p < end;) {
        const char* line_end = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* stop = line_end ? line_end : end;
        int run = static_cast<int>(stop - p);
        if (run >= max_line_bytes - static_cast<int>(m_content_line.size())) {
            fail();
            return count;
        }
        m_content_line.append(p, static_cast<size_t>(run));
        if (line_end) {
            end_content_line();
            p = line_end + 1;
        } else {
            p = end;
        }
    }
    if (m_body != UNTIL_END) {
        m_left -= take;
        if (m_left == 0) {
            if (m_body == BY_LENGTH) {
                finish_content();
            } else {
                m_chunk = CHUNK_DATA_END;
            }
        }
    }
    return take;
}

void http_answer::take_head_line(const std::string& line) {
    if (m_state == PARSE_REQUEST) {
        take_status_line(line);
    } else {
        take_header_line(line);
    }
}

void http_answer::take_status_line(const std::string& line) {
    size_t space = line.find(' ');
    if (space == std::string::npos || space == 0) {
        fail();
        return;
    }
    m_status = saturated_atoi(line.c_str() + space + 1);
    m_state = PARSE_HEADERS;
}

void http_answer::take_header_line(const std::string& line) {
    if (line.empty()) {
        start_body();
        return;
    }
    size_t colon = line.find(':');
    if (colon == std::string::npos) {
        return;
    }
    std::string name = line.substr(0, colon);
    std::string value = trimmed(line.substr(colon + 1));
    if (base_string::stricmp(name.c_str(), "Content-Length") == 0) {
        long long length = parse_count(value, 10, max_content_bytes + 1LL);
        if (length < 0 || (m_content_length >= 0 && length != m_content_length)) {
            fail();
            return;
        }
        m_content_length = length;
    } else if (base_string::stricmp(name.c_str(), "Transfer-Encoding") == 0 && ends_with_chunked(value)) {
        m_body = CHUNKED;
    }
}

void http_answer::start_body() {
    m_state = PARSE_CONTENT;
    if (m_body == CHUNKED) {
        m_chunk = CHUNK_SIZE;
    } else if (m_content_length >= 0) {
        m_body = BY_LENGTH;
        m_left = m_content_length;
        if (m_left == 0) {
            finish_content();
        }
    }
}

void http_answer::take_chunk_line(const std::string& line) {
    switch (m_chunk) {
    case CHUNK_SIZE: {
        // The size in hexadecimal, then optional extensions after ';', which say nothing here.
        std::string size = trimmed(line.substr(0, line.find(';')));
        m_left = parse_count(size, 16, max_content_bytes + 1LL);
        if (m_left < 0) {
            fail();
        } else {
            m_chunk = m_left == 0 ? CHUNK_TRAILERS : CHUNK_DATA;
        }
        break;
    }
    case CHUNK_DATA_END:
        // The data of a chunk ends with a line end of its own.
        if (line.empty()) {
            m_chunk = CHUNK_SIZE;
        } else {
            fail();
        }
        break;
    case CHUNK_TRAILERS:
        if (line.empty()) {
            finish_content();
        }
        break;
    case CHUNK_DATA: break;
    }
}

void http_answer::end_content_line() {
    std::string line = without_line_ends(m_content_line);
    m_content_line.clear();
    if (!line.empty()) {
        m_content += line;
        m_line_ends.push_back(static_cast<uint32_t>(m_content.size()));
    }
}

std::string_view http_answer::get_line(int index) const {
    if (index < 0 || index >= get_line_count()) {
        return std::string_view();
    }
    uint32_t start = index == 0 ? 0 : m_line_ends[static_cast<size_t>(index) - 1];
    return std::string_view(m_content).substr(start, m_line_ends[static_cast<size_t>(index)] - start);
}

void http_answer::finish_content() {
    if (!m_content_line.empty()) {
        end_content_line();
    }
    m_state = PARSE_DONE;
}

}  // namespace swfplayer
