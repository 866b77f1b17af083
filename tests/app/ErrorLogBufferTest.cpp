#include "app/ErrorLogBuffer.h"
#include "app/Logger.h"
#include "tests/support/FileTail.h"
#include "tests/support/TextLines.h"

#include <SFML/System/Err.hpp>
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <regex>
#include <thread>
#include <vector>

using Lines = std::vector<std::string>;

// Each thread's text goes on at that thread's flush, as its non-empty lines, whatever other
// threads write meanwhile; text that grows too long without a flush goes on up to its last line
// end; the buffer's Flush hands on what no thread flushed.
TEST(ErrorLogBuffer, a_threads_text_goes_on_at_its_own_flush_as_whole_lines) {
    Lines written;
    ErrorLogBuffer buffer([&](const std::string& line) { written.push_back(line); });
    std::ostream stream(&buffer);
    stream << "one\n\n" << 2 << " two";
    EXPECT_EQ(written, Lines{});
    std::thread([&] {
        std::ostream other(&buffer);
        other << "other thread" << std::endl;
    }).join();
    EXPECT_EQ(written, Lines{"other thread"});
    stream << std::flush;
    EXPECT_EQ(written, (Lines{"other thread", "one", "2 two"}));

    const std::string longLine(ErrorLogBuffer::kMaxPending, 'x');
    stream << "head\n" << longLine;
    EXPECT_EQ(written.back(), "head");
    stream << '\n' << std::flush;
    EXPECT_EQ(written.back(), longLine);

    stream << "left without a flush";
    buffer.Flush();
    EXPECT_EQ(written.back(), "left without a flush");
    EXPECT_EQ(written.size(), 6u);
}

// Several threads write to SFML's error stream at once, as the audio library's threads do: each
// line reaches the game's log whole, once, and a message that every thread repeats is written
// once, then counted. In the sanitizer build this also shows that no write goes past a buffer.
TEST(SfmlErrorLog, threads_writing_at_once_log_every_line_whole) {
    constexpr int kThreads = 8;
    constexpr int kLines = 250;
    // Longer than the 64 bytes of SFML's own buffer.
    const std::string payload = "abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz0123456789abcdefghij";
    std::streambuf* const before = sf::err().rdbuf();
    ErrorLogBuffer& buffer = ErrorLogBuffer::InstallForSfml();
    const testing_support::FileTail log(Logger::GetInstance().GetLogFile());
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &payload] {
            for (int i = 0; i < kLines; ++i) {
                sf::err() << "thread " << t << " line " << i << ' ' << payload << std::endl;
                sf::err() << "A call failed in Source.cpp(" << 196 << ").\nExpression:\n   call()\n" << std::endl;
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    buffer.Flush();
    sf::err().rdbuf(before);

    const std::regex format(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d,\d{3} INFO: SFML: (.*))");
    std::map<std::string, int> seen;
    for (const std::string& line : testing_support::SplitLines(log.Text())) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, format)) << line;
        ++seen[match[1]];
    }
    std::map<std::string, int> expected = {{"A call failed in Source.cpp(196).", 1},
                                           {"Expression:", 1},
                                           {"   call()", 1},
                                           {"10 times so far: A call failed in Source.cpp(196).", 1},
                                           {"100 times so far: A call failed in Source.cpp(196).", 1},
                                           {"1000 times so far: A call failed in Source.cpp(196).", 1},
                                           {"2000 times in all: A call failed in Source.cpp(196).", 1}};
    for (int t = 0; t < kThreads; ++t) {
        for (int i = 0; i < kLines; ++i) {
            expected["thread " + std::to_string(t) + " line " + std::to_string(i) + " " + payload] = 1;
        }
    }
    EXPECT_EQ(seen, expected);
}
