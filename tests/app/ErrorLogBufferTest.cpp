#include "app/ErrorLogBuffer.h"
#include "app/Logger.h"
#include "tests/app/helpers/ThreadErrorLine.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileTail.h"
#include "tests/support/TempDir.h"
#include "tests/support/TextLines.h"

#include <SFML/System/Err.hpp>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
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

    // The buffer's Flush hands on the lines a thread ended; the line it has not ended stays with
    // it, to go on whole at the thread's own flush.
    stream << "ended\nnot ended";
    buffer.Flush();
    EXPECT_EQ(written.back(), "ended");
    stream << " yet" << std::endl;
    EXPECT_EQ(written.back(), "not ended yet");
    EXPECT_EQ(written.size(), 7u);
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

namespace {

// Whether the text after a log line's time and level is one that sfml_errors_at_exit writes whole:
// the message every thread repeats, a count of it, a thread's own line, or a line of the log's own.
bool IsWholeLine(const std::string& text) {
    static const std::string kRepeated = "Failed to play audio stream: sound parameters have not been initialized";
    static const std::regex kCount(R"(\d+ times (so far|in all): )" + kRepeated);
    if (!text.starts_with("SFML: ")) {
        return true;
    }
    const std::string message = text.substr(6);
    int thread = 0;
    long line = 0;
    return message == kRepeated || std::regex_match(message, kCount) ||
           (std::sscanf(message.c_str(), "thread %d line %ld:", &thread, &line) == 2 &&
            message == ThreadErrorLine(thread, line));
}

}  // namespace

// Threads that write long lines to SFML's error stream, in pieces, while the program ends by
// returning from main or by exit() (sfml_errors_at_exit): the log's end and their lines exclude
// each other, so no run crashes or draws a sanitizer report on its output, and each log ends with
// its last line, every line before it one that a thread wrote whole. The runs go four at a time,
// so that the machine is busy as a player's may be.
TEST(SfmlErrorLog, threads_writing_while_the_program_ends_neither_crash_it_nor_follow_the_last_line) {
    constexpr int kRuns = 300;
    constexpr int kAtOnce = 4;
    const std::regex prefix(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d,\d{3} INFO: )");
    constexpr size_t kPrefix = 30;
    int failed = 0;
    for (int first = 0; first < kRuns; first += kAtOnce) {
        std::vector<std::unique_ptr<testing_support::TempDir>> homes;
        std::vector<testing_support::ChildProcess> runs;
        for (int i = 0; i < kAtOnce; ++i) {
            const testing_support::TempDir& home = *homes.emplace_back(std::make_unique<testing_support::TempDir>());
            std::vector<std::string> command = {SFML_ERRORS_AT_EXIT_EXECUTABLE};
            if (i % 2 == 1) {
                command.push_back("exit");
            }
            runs.push_back(testing_support::ChildProcess::Start(command, "", {"XDG_DATA_HOME=" + home.Path().string()},
                                                                (home / "output.txt").string()));
        }
        for (int i = 0; i < kAtOnce; ++i) {
            const std::optional<int> status = runs[i].WaitFor(std::chrono::seconds(60));
            const std::string output = testing_support::ReadFile(*homes[i] / "output.txt");
            const std::vector<std::string> log =
                testing_support::SplitLines(testing_support::ReadFile(*homes[i] / "Pondorix/Pondorix.log"));
            const auto cut = std::find_if(log.begin(), log.end(), [&](const std::string& line) {
                return !std::regex_match(line.substr(0, kPrefix), prefix) || !IsWholeLine(line.substr(kPrefix));
            });
            if (!status || !WIFEXITED(*status) || WEXITSTATUS(*status) != 0 || !output.empty() || cut != log.end() ||
                log.empty() || !log.back().ends_with(" INFO: ============== Logging finished ==============")) {
                ADD_FAILURE() << "run " << first + i << ": wait status " << status.value_or(-1) << ", output:\n"
                              << output << "log's first cut line: " << (cut == log.end() ? "" : cut->substr(0, 200))
                              << "\nlog's last line: " << (log.empty() ? "" : log.back().substr(0, 200));
                ++failed;
            }
        }
    }
    EXPECT_EQ(failed, 0);
}
