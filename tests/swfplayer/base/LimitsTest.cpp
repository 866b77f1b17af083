#include "swfplayer/base/base_file.h"
#include "swfplayer/base/base_string.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <stdexcept>

using swfplayer::base_file;
using swfplayer::base_string;

namespace {

// A standard file's position past what an int holds reads as unknown, not as a wrapped-around
// (negative or small) position. The file is sparse, so it takes no disk space.
TEST(Limits, a_file_position_past_int_reads_as_unknown) {
    testing_support::TempDir dir;
    std::FILE* fp = std::fopen((dir / "sparse.bin").c_str(), "w+b");
    ASSERT_NE(fp, nullptr);
    const struct {
        long position;
        int expected;
    } rows[] = {{0, 0}, {INT_MAX, INT_MAX}, {static_cast<long>(INT_MAX) + 1, -1}, {3L << 30, -1}, {5L << 30, -1}};
    for (const auto& row : rows) {
        ASSERT_EQ(std::fseek(fp, row.position, SEEK_SET), 0);
        base_file file(fp, false);
        EXPECT_EQ(file.get_position(), row.expected) << row.position;
    }
    std::fclose(fp);
}

// Growing a text past the longest one an int can measure throws and keeps the text; the
// storage is only reserved, never written, so this takes no real memory.
TEST(Limits, a_string_never_grows_past_its_longest_length) {
    base_string text("kept");
    EXPECT_THROW(text.resize(INT_MAX - 1), std::length_error);
    EXPECT_THROW(text.resize(INT_MAX), std::length_error);
    EXPECT_EQ(text, "kept");

    base_string longest;
    longest.resize(base_string::max_length);
    EXPECT_THROW(longest += "xy", std::length_error);
    EXPECT_THROW(longest += 'x', std::length_error);
    EXPECT_EQ(longest.size(), base_string::max_length);
}

}  // namespace
