#include "app/ErrorLogBuffer.h"
#include "app/Logger.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileTail.h"
#include "tests/support/TempDir.h"
#include "tests/support/TextLines.h"

#include <SFML/System/Err.hpp>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <map>
#include <memory>
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

// Threads that write to SFML's error stream while the program ends (sfml_errors_at_exit): the
// log's end and their lines exclude each other, so no run crashes or draws a sanitizer report on
// its output, and each log ends with its last line, every line before it whole. The runs go four
// at a time, so that the machine is busy as a player's may be.
TEST(SfmlErrorLog, threads_writing_while_the_program_ends_neither_crash_it_nor_follow_the_last_line) {
    constexpr int kRuns = 300;
    constexpr int kAtOnce = 4;
    const std::regex format(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d,\d{3} INFO: .*)");
    int failed = 0;
    for (int first = 0; first < kRuns; first += kAtOnce) {
        std::vector<std::unique_ptr<testing_support::TempDir>> homes;
        std::vector<testing_support::ChildProcess> runs;
        for (int i = 0; i < kAtOnce; ++i) {
            const testing_support::TempDir& home = *homes.emplace_back(std::make_unique<testing_support::TempDir>());
            runs.push_back(testing_support::ChildProcess::Start({SFML_ERRORS_AT_EXIT_EXECUTABLE}, "",
                                                                {"XDG_DATA_HOME=" + home.Path().string()},
                                                                (home / "output.txt").string()));
        }
        for (int i = 0; i < kAtOnce; ++i) {
            const std::optional<int> status = runs[i].WaitFor(std::chrono::seconds(60));
            const std::string output = testing_support::ReadFile(*homes[i] / "output.txt");
            const std::vector<std::string> log =
                testing_support::SplitLines(testing_support::ReadFile(*homes[i] / "Pondorix/Pondorix.log"));
            const bool whole = std::all_of(log.begin(), log.end(),
                                           [&](const std::string& line) { return std::regex_match(line, format); });
            if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0 || !output.empty() || !whole ||
                log.empty() || !log.back().ends_with(" INFO: ============== Logging finished ==============")) {
                ADD_FAILURE() << "run " << first + i << ": wait status " << status.value_or(-1) << ", output:\n"
                              << output << "log's last line: " << (log.empty() ? "" : log.back());
                ++failed;
            }
        }
    }
    EXPECT_EQ(failed, 0);
}
