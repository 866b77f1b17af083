// The reader of HTTP answers, fed whole, a byte at a time and in random pieces: the pieces must
// never change the answer.
#include "swfplayer/main/swfplayer_as_classes/http_answer.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

using swfplayer::http_answer;

namespace {

constexpr const char* kOk = "HTTP/1.1 200 OK\r\n";

// What an answer came to, in one line: state, status, content and the lines.
std::string Outcome(const http_answer& answer) {
    std::string lines;
    for (int i = 0; i < answer.get_line_count(); i++) {
        lines += (i ? "|" : "") + std::string(answer.get_line(i));
    }
    return std::to_string(answer.get_state()) + " " + std::to_string(answer.get_status()) + " [" +
           answer.get_content() + "] [" + lines + "]";
}

// Feeds input in pieces of the sizes piece_size gives, then the end of the connection when end.
template <class PieceSize>
std::string Read(const std::string& input, bool end, PieceSize piece_size) {
    http_answer answer;
    for (size_t at = 0; at < input.size();) {
        size_t size = std::min(input.size() - at, piece_size());
        answer.feed(input.data() + at, static_cast<int>(size));
        at += size;
    }
    if (end) {
        answer.end_of_input();
    }
    return Outcome(answer);
}

std::string Chunked(const std::string& chunks) {
    return std::string(kOk) + "Transfer-Encoding: chunked\r\n\r\n" + chunks;
}

TEST(HttpAnswerTest, answers_come_out_the_same_however_their_bytes_are_cut) {
    const std::string long_head_line(http_answer::max_line_bytes, 'h');
    const std::string many_headers = [] {
        std::string headers;
        while (headers.size() <= static_cast<size_t>(http_answer::max_head_bytes)) {
            headers += "X-Filler: " + std::string(1000, 'f') + "\r\n";
        }
        return headers;
    }();
    const struct {
        const char* name;
        std::string input;
        bool end;  // the connection ends after the input
        std::string outcome;
    } cases[] = {
        {"body to the end", std::string(kOk) + "A: b\r\nC: d\r\n\r\na=1&b=x%41", true,
         "4 200 [a=1&b=x%41] [a=1&b=x%41]"},
        {"body to the end, not ended yet", std::string(kOk) + "\r\na=1\n", false, "2 200 [a=1] [a=1]"},
        {"lines joined without separator", std::string(kOk) + "\r\na=1\r\n\r\nb=2\n", true, "4 200 [a=1b=2] [a=1|b=2]"},
        {"Content-Length ends the body, later bytes ignored",
         std::string(kOk) + "content-length: 8\r\n\r\na=1\r\nb=2GARBAGE", false, "4 200 [a=1b=2] [a=1|b=2]"},
        {"Content-Length 0", std::string(kOk) + "Content-Length: 0\r\n\r\n", false, "4 200 [] []"},
        {"Content-Length given twice alike", std::string(kOk) + "Content-Length: 1\r\nContent-Length: 1\r\n\r\nx",
         false, "4 200 [x] [x]"},
        {"chunked", Chunked("4\r\na=1&\r\n5;ext=1\r\nb=2\nc\r\n0\r\nTrailer: x\r\n\r\n"), false,
         "4 200 [a=1&b=2c] [a=1&b=2|c]"},
        {"chunked, last coding of several",
         std::string(kOk) + "Transfer-Encoding: gzip, Chunked\r\n\r\n1\r\nz\r\n0\r\n\r\n", false, "4 200 [z] [z]"},
        {"chunked wins over Content-Length",
         std::string(kOk) + "Content-Length: 1\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nab\r\n0\r\n\r\n", false,
         "4 200 [ab] [ab]"},
        {"status line with one space", "HTTP/1.1 404\r\n\r\n", true, "4 404 [] []"},
        {"status text that is no number", "HTTP/1.1 abc\r\n\r\n", true, "4 0 [] []"},
        {"status held to int", "HTTP/1.1 99999999999 Big\r\n\r\n", true, "4 " + std::to_string(INT_MAX) + " [] []"},
        {"status line without a space", "HTTP/1.1\r\n\r\nA=1", true, "3 0 [] []"},
        {"status line starting with a space", " 200 OK\r\n\r\n", true, "3 0 [] []"},
        {"nothing at all", "", true, "3 0 [] []"},
        {"cut off in the status line", "HTTP/1.1 20", true, "3 0 [] []"},
        {"cut off in the headers", std::string(kOk) + "X: y\r\n", true, "3 200 [] []"},
        {"cut off in a Content-Length body", std::string(kOk) + "Content-Length: 10\r\n\r\nabc", true, "3 200 [] []"},
        {"cut off in a chunk", Chunked("5\r\nab"), true, "3 200 [] []"},
        {"cut off before the last chunk", Chunked("1\r\na\r\n"), true, "3 200 [] []"},
        {"unreadable Content-Length", std::string(kOk) + "Content-Length: 1x\r\n\r\n", false, "3 200 [] []"},
        {"negative Content-Length", std::string(kOk) + "Content-Length: -1\r\n\r\n", false, "3 200 [] []"},
        {"conflicting Content-Lengths", std::string(kOk) + "Content-Length: 1\r\nContent-Length: 2\r\n\r\n", false,
         "3 200 [] []"},
        {"Content-Length over the content limit",
         std::string(kOk) + "Content-Length: " + std::to_string(http_answer::max_content_bytes + 1) + "\r\n\r\n", false,
         "3 200 [] []"},
        {"unreadable chunk size", Chunked("zz\r\n"), false, "3 200 [] []"},
        {"chunk size over the content limit", Chunked("fffffffffffffffff\r\n"), false, "3 200 [] []"},
        {"chunk data without its line end", Chunked("1\r\nab\r\n"), false, "3 200 [] []"},
        {"body over the content limit",
         std::string(kOk) + "\r\n" + std::string(http_answer::max_content_bytes + 1, '\n'), true, "3 200 [] []"},
        {"head over its limit", std::string(kOk) + many_headers + "\r\n", true, "3 200 [] []"},
        {"status line of max_line_bytes", long_head_line + " 200\r\n\r\n", true, "3 0 [] []"},
        {"body line of max_line_bytes",
         std::string(kOk) + "\r\n" + std::string(http_answer::max_line_bytes, 'b') + "\n", true, "3 200 [] []"},
        {"body line just under max_line_bytes",
         std::string(kOk) + "\r\n" + std::string(http_answer::max_line_bytes - 1, 'b') + "\n", true,
         "4 200 [" + std::string(http_answer::max_line_bytes - 1, 'b') + "] [" +
             std::string(http_answer::max_line_bytes - 1, 'b') + "]"},
        {"0 bytes and CR left out of lines", std::string(kOk) + "\r\n" + std::string("a\0b\r\rc\n", 7), true,
         "4 200 [abc] [abc]"},
    };
    std::mt19937 random(7);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Read(c.input, c.end, [&] { return c.input.size(); }), c.outcome) << "whole";
        if (c.input.size() < 5000) {
            EXPECT_EQ(Read(c.input, c.end, [] { return size_t(1); }), c.outcome) << "byte by byte";
        }
        EXPECT_EQ(Read(c.input, c.end, [&] { return size_t(1) + random() % 4096; }), c.outcome) << "random pieces";
    }
}

TEST(HttpAnswerTest, a_failed_or_finished_answer_takes_no_more_bytes) {
    http_answer answer;
    answer.feed("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nab", 40);
    ASSERT_EQ(answer.get_state(), http_answer::PARSE_DONE);
    answer.feed("cd\n", 3);
    answer.end_of_input();
    EXPECT_EQ(answer.get_content(), "ab");
    answer.fail();
    EXPECT_TRUE(answer.has_failed());
    answer.feed("x\n", 2);
    EXPECT_EQ(answer.get_state(), http_answer::PARSE_FAILED);
}

}  // namespace
