// The reader of HTTP answers, fed whole, a byte at a time and in random pieces: the pieces must
// never change the answer.
#include "swfplayer/main/swfplayer_as_classes/http_answer.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>

using swfplayer::http_answer;

namespace {

// State, status, content and lines of the answer to input (followed by the end of the
// connection when end), fed in pieces of the sizes piece_size gives.
template <class PieceSize>
std::string Read(const std::string& input, bool end, PieceSize piece_size) {
    http_answer answer;
    for (size_t at = 0, size; at < input.size(); at += size) {
        size = std::min(input.size() - at, piece_size());
        answer.feed(input.data() + at, static_cast<int>(size));
    }
    if (end) {
        answer.end_of_input();
    }
    std::string lines;
    for (int i = 0; i < answer.get_line_count(); i++) {
        lines += (i ? "|" : "") + std::string(answer.get_line(i));
    }
    return std::to_string(answer.get_state()) + " " + std::to_string(answer.get_status()) + " [" +
           answer.get_content() + "] [" + lines + "]";
}

TEST(HttpAnswerTest, answers_come_out_the_same_however_their_bytes_are_cut) {
    const std::string ok = "HTTP/1.1 200 OK\r\n", chunked = ok + "Transfer-Encoding: chunked\r\n\r\n";
    const std::string line_of_max(http_answer::max_line_bytes, 'b'), head_over_max(http_answer::max_head_bytes, 'h');
    const struct {
        std::string input;
        bool end;  // the connection ends after the input
        std::string outcome;
    } cases[] = {
        {ok + "A: b\r\n\r\na=1\r\n\r\nb=2", true, "4 200 [a=1b=2] [a=1|b=2]"},
        {ok + "\r\na=1\n", false, "2 200 [a=1] [a=1]"},
        {ok + "content-length: 8\r\n\r\na=1\r\nb=2GARBAGE", false, "4 200 [a=1b=2] [a=1|b=2]"},
        {ok + "Content-Length: 0\r\n\r\n", false, "4 200 [] []"},
        {chunked + "4\r\na=1&\r\n5;ext=1\r\nb=2\nc\r\n0\r\nTrailer: x\r\n\r\n", false, "4 200 [a=1&b=2c] [a=1&b=2|c]"},
        {ok + "Content-Length: 1\r\nTransfer-Encoding: gzip, Chunked\r\n\r\n2\r\nab\r\n0\r\n\r\n", false,
         "4 200 [ab] [ab]"},
        {"HTTP/1.1 404\r\n\r\n", true, "4 404 [] []"},  // a status line with one space
        {"HTTP/1.1 99999999999 Big\r\n\r\n", true, "4 " + std::to_string(INT_MAX) + " [] []"},
        {ok + "\r\n" + std::string("a\0b\r\rc\n", 7), true, "4 200 [abc] [abc]"},
        {"HTTP/1.1\r\n\r\nA=1", true, "3 0 [] []"},
        {" 200 OK\r\n\r\n", true, "3 0 [] []"},
        {"", true, "3 0 [] []"},
        {ok + "X: y\r\n", true, "3 200 [] []"},
        {ok + "Content-Length: 10\r\n\r\nabc", true, "3 200 [] []"},
        {chunked + "1\r\na\r\n", true, "3 200 [] []"},
        {ok + "Content-Length: 1x\r\n\r\n", false, "3 200 [] []"},
        {ok + "Content-Length: 1\r\nContent-Length: 2\r\n\r\n", false, "3 200 [] []"},
        {ok + "Content-Length: " + std::to_string(http_answer::max_content_bytes + 1) + "\r\n\r\n", false,
         "3 200 [] []"},
        {chunked + "fffffffffffffffff\r\n", false, "3 200 [] []"},
        {chunked + "1\r\nab\r\n", false, "3 200 [] []"},
        {ok + "\r\n" + std::string(http_answer::max_content_bytes + 1, '\n'), true, "3 200 [] []"},
        {ok + "X: " + head_over_max + "\r\n\r\n", true, "3 200 [] []"},
        {ok + "\r\n" + line_of_max + "\n", true, "3 200 [] []"},
        {ok + "\r\n" + line_of_max.substr(1) + "\n", true,
         "4 200 [" + line_of_max.substr(1) + "] [" + line_of_max.substr(1) + "]"},
    };
    std::mt19937 random(7);
    for (const auto& c : cases) {
        EXPECT_EQ(Read(c.input, c.end, [&] { return c.input.size(); }), c.outcome) << c.input.substr(0, 80);
        if (c.input.size() < 5000) {
            EXPECT_EQ(Read(c.input, c.end, [] { return size_t(1); }), c.outcome) << c.input.substr(0, 80);
        }
        EXPECT_EQ(Read(c.input, c.end, [&] { return 1 + random() % 4096; }), c.outcome) << c.input.substr(0, 80);
    }
}

}  // namespace
