#include "swfplayer/base/base_file.h"
#include "swfplayer/base/membuf.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

using swfplayer::base_file;
using swfplayer::membuf;
using swfplayer::memory_buffer;
using Ints = std::vector<long long>;

namespace {

TEST(Membuf, grows_in_4096_byte_steps_keeps_one_step_when_emptied_and_appends_its_own_bytes) {
    membuf buffer;
    EXPECT_EQ(0, buffer.capacity());
    buffer.resize(4097);
    EXPECT_EQ(8192, buffer.capacity());
    buffer.resize(0);
    EXPECT_EQ(4096, buffer.capacity());
    for (int i = 0; i < 5000; i++) {
        buffer.append(static_cast<uint8_t>(i));
    }
    EXPECT_EQ(static_cast<uint8_t>(4999), buffer[4999]);
    buffer.append(buffer.data(), 100);  // from its own bytes across a reallocation
    EXPECT_EQ(5100, buffer.size());
    EXPECT_EQ(0, std::memcmp(static_cast<const uint8_t*>(buffer.data()) + 5000, buffer.data(), 100));

    const char text[] = "borrowed";
    membuf borrowed(text, 8);
    membuf copy = borrowed;  // a copy owns its bytes
    EXPECT_TRUE(borrowed.is_read_only() && !copy.is_read_only());
    copy[0] = 'B';
    EXPECT_EQ('b', static_cast<const membuf&>(borrowed)[0]);
    membuf moved = std::move(copy);  // a move takes the bytes
    EXPECT_EQ((Ints{copy.size(), moved[0]}), (Ints{0, 'B'}));
}

TEST(MemoryFile, writes_reads_and_clamps_seeks) {
    base_file file(memory_buffer);
    EXPECT_EQ(10, file.write_bytes("0123456789", 10));
    EXPECT_TRUE(file.get_eof());
    file.set_position(12);
    char bytes[20] = {};
    EXPECT_EQ((Ints{file.get_position(), file.read_bytes(bytes, 1)}), (Ints{10, 0}));
    EXPECT_TRUE(file.get_eof());
    file.set_position(-3);
    EXPECT_EQ((Ints{file.get_position(), file.read_bytes(bytes, 20)}), (Ints{0, 10}));
    EXPECT_STREQ("0123456789", bytes);
    file.set_position(8);
    EXPECT_EQ(4, file.write_bytes("abcd", 4));  // overwrites two bytes and grows by two
    file.go_to_end();
    EXPECT_EQ(12, file.get_position());
    file.set_position(6);
    EXPECT_EQ((Ints{file.read_bytes(bytes, 6), file.read_bytes(bytes, -4)}), (Ints{6, 0}));
    EXPECT_EQ(0, std::memcmp("67abcd", bytes, 6));

    char data[] = "fixed";
    base_file borrowed(memory_buffer, 5, data);
    EXPECT_EQ(0, borrowed.write_bytes("XY", 2));  // borrowed bytes are never written
    borrowed.go_to_end();
    EXPECT_EQ(0, borrowed.write_bytes("more", 4));
    borrowed.set_position(1);
    EXPECT_EQ(3, borrowed.read_bytes(bytes, 3));
    EXPECT_EQ(0, std::memcmp("ixe", bytes, 3));
    EXPECT_STREQ("fixed", data);
}

TEST(BaseFile, numbers_are_little_endian_ieee_values) {
    const float inf = std::numeric_limits<float>::infinity();
    const double denorm = std::numeric_limits<double>::denorm_min();
    base_file file(memory_buffer);
    file.write_float32(1.0f);
    file.write_double64(-2.5);
    file.write_byte(0xAB);
    file.write_float32(inf);
    file.write_double64(denorm);
    file.set_position(0);
    uint8_t raw[4];
    file.read_bytes(raw, 4);
    EXPECT_EQ(0, std::memcmp("\x00\x00\x80\x3F", raw, 4));
    // Past the end: zeros.
    EXPECT_EQ((std::vector<double>{file.read_double64(), double(file.read_byte()), file.read_float32(),
                                   file.read_double64(), double(file.read_byte()), file.read_float32()}),
              (std::vector<double>{-2.5, 0xAB, inf, denorm, 0, 0}));
}

TEST(BaseFile, read_string_stops_at_the_delimiter_the_limit_or_the_end) {
    base_file file(memory_buffer);
    file.write_string("AB");
    file.write_bytes("CDEFGH;xy", 9);
    file.set_position(0);
    char text[8];
    const struct {
        int position, limit;
        char delimiter;
        int result;
        const char* text;
    } reads[] = {
        {-1, 8, 0, 2, "AB"}, {-1, 4, ';', -1, "CDE"}, {-1, 8, ';', 2, "GH"},  // the cut consumed F; G and H remain
        {9, 8, ';', 0, ""},  {-1, 8, ';', -1, "xy"},                          // the file ends before any ';'
    };
    for (const auto& r : reads) {
        if (r.position >= 0) {
            file.set_position(r.position);
        }
        EXPECT_EQ(r.result, file.read_string(text, r.limit, r.delimiter)) << r.text;
        EXPECT_STREQ(r.text, text);
    }
    EXPECT_EQ(-1, file.read_string(text, 0));
}

TEST(BaseFile, copies_between_files_and_into_buffers) {
    std::vector<uint8_t> bytes(10000);
    for (size_t i = 0; i < bytes.size(); i++) {
        bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    }
    base_file source(memory_buffer, static_cast<int>(bytes.size()), bytes.data());
    base_file whole(memory_buffer), part(memory_buffer);
    whole.copy_from(&source);
    EXPECT_EQ(10000, whole.get_position());
    source.set_position(100);
    EXPECT_EQ((Ints{part.copy_bytes(&source, 5000), part.copy_bytes(&source, 6000)}), (Ints{5000, 4900}));

    membuf collected;
    collected.append(static_cast<uint8_t>(0xEE));
    whole.set_position(1);
    whole.copy_to(&collected);
    ASSERT_EQ(10000, collected.size());
    EXPECT_EQ(0xEE, collected[0]);
    EXPECT_EQ(0, std::memcmp(static_cast<const uint8_t*>(collected.data()) + 1, bytes.data() + 1, 9999));
}

TEST(BaseFile, standard_files_open_read_write_and_report_failure) {
    testing_support::TempDir dir;
    std::string path = (dir / "data.bin").string();
    {
        base_file out(path.c_str(), "w+b");
        ASSERT_EQ(0, out.get_error());
        EXPECT_EQ(6, out.write_bytes("header", 6));
        out.write_float32(0.5f);
        out.go_to_end();
        EXPECT_EQ(10, out.get_position());
    }
    base_file in(path.c_str(), "rb");
    ASSERT_EQ(0, in.get_error());
    char text[7] = {};
    EXPECT_EQ(6, in.read_bytes(text, 6));
    EXPECT_STREQ("header", text);
    EXPECT_EQ((Ints{in.read_float32() == 0.5f, in.read_byte(), in.get_eof()}), (Ints{1, 0, 1}));
    in.set_position(2);  // seeking clears the end-of-file state
    EXPECT_EQ((Ints{in.get_eof(), in.read_byte()}), (Ints{0, 'a'}));

    base_file missing((dir / "missing.bin").string().c_str(), "rb");
    EXPECT_EQ((Ints{missing.get_error(), missing.read_bytes(text, 4), missing.write_bytes(text, 4)}),
              (Ints{base_file::open_error, 0, 0}));
    missing.set_position(3);
    missing.go_to_end();
    EXPECT_EQ((Ints{missing.get_position(), missing.get_eof()}), (Ints{0, 1}));

    FILE* fp = std::fopen((dir / "shared.txt").string().c_str(), "w+b");
    ASSERT_NE(nullptr, fp);
    base_file(fp, false).write_string("abc");
    EXPECT_EQ(0, std::fseek(fp, 0, SEEK_SET));  // a borrowed file stays open
    EXPECT_EQ('a', std::fgetc(fp));
    std::fclose(fp);
    EXPECT_EQ(base_file::open_error, base_file(static_cast<FILE*>(nullptr), true).get_error());
}

TEST(BaseFile, callbacks_receive_their_data_word_and_close_runs_once) {
    std::string calls;
    {
        base_file file(
            &calls,
            [](void* dst, int bytes, void* data) {
                *static_cast<std::string*>(data) += "read ";
                std::memset(dst, 0x5A, bytes);
                return bytes;
            },
            nullptr, nullptr, nullptr,
            [](void* data) { return static_cast<int>(static_cast<std::string*>(data)->size()); }, nullptr,
            [](void* data) {
                *static_cast<std::string*>(data) += "close";
                return 0;
            });
        // The tell callback answers the position. Missing callbacks fail instead of crashing;
        // without an end test there is nothing to read.
        EXPECT_EQ((Ints{file.read_byte(), file.get_position(), file.write_bytes("abc", 3)}), (Ints{0x5A, 5, 0}));
        file.set_position(7);
        file.go_to_end();
        EXPECT_TRUE(file.get_eof());
        EXPECT_EQ("read ", calls);
    }
    EXPECT_EQ("read close", calls);
}

// A standard file's position past what an int holds reads as unknown, not as a wrapped-around
// (negative or small) position. The file is sparse, so it takes no disk space.
TEST(BaseFile, a_file_position_past_int_reads_as_unknown) {
    testing_support::TempDir dir;
    std::FILE* fp = std::fopen((dir / "sparse.bin").c_str(), "w+b");
    ASSERT_NE(fp, nullptr);
    const struct {
        long position;
        int expected;
    } rows[] = {{0, 0}, {INT_MAX, INT_MAX}, {static_cast<long>(INT_MAX) + 1, -1}, {3L << 30, -1}, {5L << 30, -1}};
    for (const auto& row : rows) {
        ASSERT_EQ(std::fseek(fp, row.position, SEEK_SET), 0);
        EXPECT_EQ(base_file(fp, false).get_position(), row.expected) << row.position;
    }
    std::fclose(fp);
}

}  // namespace
