#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace swfplayer {

// The server's answer to one HTTP/1.1 request, read from bytes fed in pieces of any size as
// they arrive: the status line, the header lines, then the body, whose end is told by
// Content-Length, by chunked transfer coding or by the end of the connection. The body is taken
// as lines (without "\r", "\n" and 0 bytes); the content is those lines joined without a
// separator. The same bytes give the same answer however they are cut into pieces.
//
// A peer cannot make it hold more than about two megabytes, and every way an answer can be
// broken ends in the failed state: a status line without a space (or starting with one), a line
// of max_line_bytes or more, a head or body over its limit, an unreadable Content-Length or
// chunk size, or a connection that ends before the answer does.
class http_answer {
public:
    // The parse states; the first four keep the numbers they have always had.
    enum parse_state {
        PARSE_REQUEST = 0,  // the status line is expected
        PARSE_HEADERS = 1,
        PARSE_CONTENT = 2,
        PARSE_FAILED = 3,
        PARSE_DONE = 4,
    };

    // A line (without its "\n") may not reach this many bytes.
    static constexpr int max_line_bytes = 100000;
    // Bytes of the status line and the headers together.
    static constexpr int max_head_bytes = 1024 * 1024;
    // Bytes of the body as sent (chunk sizes and line ends included).
    static constexpr int max_content_bytes = 1024 * 1024;

    // Takes the next bytes of the answer. Bytes after the end of a finished answer are ignored.
    void feed(const char* bytes, int count);
    // The connection ended: a body that runs to the end is complete, its last line may lack a
    // "\n"; an answer that ends anywhere else has failed.
    void end_of_input();
    // Fails the answer (the caller gave up on it).
    void fail() { m_state = PARSE_FAILED; }

    bool is_finished() const { return m_state == PARSE_DONE || m_state == PARSE_FAILED; }
    bool has_failed() const { return m_state == PARSE_FAILED; }
    parse_state get_state() const { return m_state; }
    // The status code read from the status line, 0 until then.
    int get_status() const { return m_status; }
    // The body lines joined, and the lines one by one (the empty ones left out).
    const std::string& get_content() const { return m_content; }
    int get_line_count() const { return static_cast<int>(m_line_ends.size()); }
    std::string_view get_line(int index) const;

private:
    enum body_kind { UNTIL_END, BY_LENGTH, CHUNKED };
    enum chunk_part { CHUNK_SIZE, CHUNK_DATA, CHUNK_DATA_END, CHUNK_TRAILERS };

    // Feeds the head or a chunk's framing line by line; the bytes used.
    int feed_line(const char* bytes, int count);
    // Feeds body bytes that belong to the content; the bytes used.
    int feed_content(const char* bytes, int count);
    void take_head_line(const std::string& line);
    void take_status_line(const std::string& line);
    void take_header_line(const std::string& line);
    void take_chunk_line(const std::string& line);
    // Ends the head: the body starts, or the answer is complete at once.
    void start_body();
    // Stores the content line assembled so far and starts the next.
    void end_content_line();
    void finish_content();

    parse_state m_state = PARSE_REQUEST;
    int m_status = 0;
    body_kind m_body = UNTIL_END;
    chunk_part m_chunk = CHUNK_SIZE;
    long long m_content_length = -1;  // -1 until a Content-Length header is read
    long long m_left = 0;             // bytes left of the body (BY_LENGTH) or of the chunk
    int m_head_bytes = 0;
    int m_body_bytes = 0;
    std::string m_line;          // the head or framing line being assembled, "\r" kept
    std::string m_content_line;  // the content line being assembled, "\r" kept
    std::string m_content;
    std::vector<uint32_t> m_line_ends;  // where each line ends in m_content
};

}  // namespace swfplayer
