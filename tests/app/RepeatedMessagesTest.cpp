#include "app/RepeatedMessages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// Takes every message in turn; all the lines the filter gives, its Flush's last.
Lines Filtered(RepeatedMessages& filter, const std::vector<Lines>& messages) {
    Lines written;
    for (const Lines& message : messages) {
        const Lines lines = filter.Take(message);
        written.insert(written.end(), lines.begin(), lines.end());
    }
    return written;
}

void Append(Lines& lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
}

}  // namespace

// The cycle in which an audio stream without a device reports its calls: A, B, C, A, over and
// over. Each message is written once; its count at 10, 100 and 1,000, and at the end the total
// that was not written yet.
TEST(RepeatedMessages, interleaved_repeats_are_written_once_and_then_counted) {
    const Lines a = {"A failed in 196.", "   detail"};
    const Lines b = {"B failed in 317."};
    const Lines c = {"C failed in 329."};
    std::vector<Lines> messages;
    for (int round = 0; round < 1000; ++round) {
        messages.insert(messages.end(), {a, b, c, a});
    }
    RepeatedMessages filter;
    Lines written = Filtered(filter, messages);
    Append(written, filter.Flush());
    Lines expected = {a[0], a[1], b[0], c[0]};
    for (const std::string count : {"10", "100", "1000"}) {
        for (const Lines& message : {a, b, c}) {
            expected.push_back(count + " times so far: " + message[0]);
        }
    }
    expected.push_back("2000 times in all: " + a[0]);
    EXPECT_EQ(written, expected);
    EXPECT_EQ(filter.Flush(), Lines{}) << "a flush forgets every count";
}

// A message is forgotten once kRemembered others came after it, with its total; it is then new
// again, as it is after a flush. Messages that differ in any line are different messages.
TEST(RepeatedMessages, forgotten_and_flushed_messages_are_written_again) {
    const Lines a = {"A", "first detail"};
    const Lines a2 = {"A", "second detail"};
    RepeatedMessages filter;
    EXPECT_EQ(Filtered(filter, {a, a, a2, a}), (Lines{"A", "first detail", "A", "second detail"}));

    std::vector<Lines> others;
    for (size_t i = 0; i < RepeatedMessages::kRemembered - 1; ++i) {
        others.push_back({"other " + std::to_string(i)});
    }
    EXPECT_EQ(Filtered(filter, others).size(), others.size()) << "a2, seen once, goes without a total";
    EXPECT_EQ(filter.Take({"one more"}), (Lines{"3 times in all: A", "one more"}));
    EXPECT_EQ(filter.Take(a), a);
    EXPECT_EQ(filter.Take(a), Lines{});
    EXPECT_EQ(filter.Flush(), (Lines{"2 times in all: A"}));
    EXPECT_EQ(filter.Take(a), a);
}
