#include "swfplayer/base/base_file.h"
#include "swfplayer/base/membuf.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

using swfplayer::base_file;
using swfplayer::membuf;
using swfplayer::memory_buffer;

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
    EXPECT_TRUE(borrowed.is_read_only());
    membuf copy = borrowed;  // a copy owns its bytes
    EXPECT_FALSE(copy.is_read_only());
    copy[0] = 'B';
    EXPECT_EQ('b', static_cast<const membuf&>(borrowed)[0]);
    membuf moved = std::move(copy);  // a move takes the bytes
    EXPECT_EQ(0, copy.size());
    EXPECT_EQ('B', moved[0]);
}

TEST(MemoryFile, writes_reads_and_clamps_seeks) {
    base_file file(memory_buffer);
    EXPECT_EQ(10, file.write_bytes("0123456789", 10));
    EXPECT_TRUE(file.get_eof());
    file.set_position(12);
    EXPECT_EQ(10, file.get_position());
    char bytes[20] = {};
    EXPECT_EQ(0, file.read_bytes(bytes, 1));
    EXPECT_TRUE(file.get_eof());

    file.set_position(-3);
    EXPECT_EQ(0, file.get_position());
    EXPECT_EQ(10, file.read_bytes(bytes, 20));
    EXPECT_STREQ("0123456789", bytes);
    file.set_position(8);
    EXPECT_EQ(4, file.write_bytes("abcd", 4));  // overwrites two bytes and grows by two
    file.go_to_end();
    EXPECT_EQ(12, file.get_position());
    file.set_position(6);
    EXPECT_EQ(6, file.read_bytes(bytes, 6));
    EXPECT_EQ(0, std::memcmp("67abcd", bytes, 6));
    EXPECT_EQ(0, file.read_bytes(bytes, -4));

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
    base_file file(memory_buffer);
    file.write_float32(1.0f);
    file.write_double64(-2.5);
    file.write_byte(0xAB);
    file.write_float32(std::numeric_limits<float>::infinity());
    file.write_double64(std::numeric_limits<double>::denorm_min());
    file.set_position(0);
    uint8_t raw[4];
    file.read_bytes(raw, 4);
    EXPECT_EQ(0, std::memcmp("\x00\x00\x80\x3F", raw, 4));
    EXPECT_EQ(-2.5, file.read_double64());
    EXPECT_EQ(0xAB, file.read_byte());
    EXPECT_EQ(std::numeric_limits<float>::infinity(), file.read_float32());
    EXPECT_EQ(std::numeric_limits<double>::denorm_min(), file.read_double64());
    EXPECT_EQ(0, file.read_byte());  // past the end
    EXPECT_EQ(0.0f, file.read_float32());
}

TEST(BaseFile, read_string_stops_at_the_delimiter_the_limit_or_the_end) {
    base_file file(memory_buffer);
    file.write_string("AB");
    file.write_bytes("CDEFGH;xy", 9);
    file.set_position(0);
    char text[8];
    EXPECT_EQ(2, file.read_string(text, 8));
    EXPECT_STREQ("AB", text);
    EXPECT_EQ(-1, file.read_string(text, 4, ';'));
    EXPECT_STREQ("CDE", text);
    EXPECT_EQ(2, file.read_string(text, 8, ';'));  // the cut consumed F; G and H remain
    EXPECT_STREQ("GH", text);
    file.set_position(9);
    EXPECT_EQ(0, file.read_string(text, 8, ';'));
    EXPECT_STREQ("", text);
    EXPECT_EQ(-1, file.read_string(text, 8, ';'));  // the file ends before any ';'
    EXPECT_STREQ("xy", text);
    EXPECT_EQ(-1, file.read_string(text, 0));
}

TEST(BaseFile, copies_between_files_and_into_buffers) {
    std::vector<uint8_t> bytes(10000);
    for (size_t i = 0; i < bytes.size(); i++) {
        bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    }
    base_file source(memory_buffer, static_cast<int>(bytes.size()), bytes.data());
    base_file whole(memory_buffer);
    whole.copy_from(&source);
    EXPECT_EQ(10000, whole.get_position());

    source.set_position(100);
    base_file part(memory_buffer);
    EXPECT_EQ(5000, part.copy_bytes(&source, 5000));
    EXPECT_EQ(4900, part.copy_bytes(&source, 6000));  // the source runs dry

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
    EXPECT_EQ(0.5f, in.read_float32());
    EXPECT_EQ(0, in.read_byte());
    EXPECT_TRUE(in.get_eof());
    in.set_position(2);  // seeking clears the end-of-file state
    EXPECT_FALSE(in.get_eof());
    EXPECT_EQ('a', in.read_byte());

    base_file missing((dir / "missing.bin").string().c_str(), "rb");
    EXPECT_EQ(base_file::open_error, missing.get_error());
    EXPECT_EQ(0, missing.read_bytes(text, 4));
    EXPECT_EQ(0, missing.write_bytes(text, 4));
    missing.set_position(3);
    missing.go_to_end();
    EXPECT_EQ(0, missing.get_position());
    EXPECT_TRUE(missing.get_eof());

    FILE* fp = std::fopen((dir / "shared.txt").string().c_str(), "w+b");
    ASSERT_NE(nullptr, fp);
    {
        base_file borrowed(fp, false);
        borrowed.write_string("abc");
    }
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
        EXPECT_EQ(0x5A, file.read_byte());
        EXPECT_EQ(5, file.get_position());  // the tell callback's answer
        // Missing callbacks fail instead of crashing; without an end test there is nothing to read.
        EXPECT_EQ(0, file.write_bytes("abc", 3));
        file.set_position(7);
        file.go_to_end();
        EXPECT_TRUE(file.get_eof());
        EXPECT_EQ("read ", calls);
    }
    EXPECT_EQ("read close", calls);
}

}  // namespace
