#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "swfplayer/main/cxform.h"
#include "swfplayer/main/matrix.h"
#include "swfplayer/main/rect.h"
#include "swfplayer/main/rgba.h"
#include "swfplayer/main/stream.h"
#include "tests/swfplayer/main/SwfLoadingFixture.h"
#include "tools/swfkit/BitWriter.h"
#include "tools/swfkit/Records.h"

namespace {

using Bytes = std::vector<uint8_t>;
using swf_testing::ByteStream;
using swf_testing::SwfLoadingFixture;

// Stream operations whose effect is what they log.
class StreamLogTest : public SwfLoadingFixture {};

Bytes Compress(const Bytes& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes packed(size);
    compress(packed.data(), &size, data.data(), static_cast<uLong>(data.size()));
    packed.resize(size);
    return packed;
}

TEST(StreamTest, bit_fields_span_bytes_and_byte_reads_drop_the_rest) {
    Bytes bytes = {0xA5, 0xFF, 0x42};
    ByteStream s(bytes);
    EXPECT_EQ(s.in.read_uint(3), 5u);
    EXPECT_EQ(s.in.read_uint(7), 23u);
    EXPECT_EQ(s.in.read_u8(), 0x42);
}

TEST(StreamTest, signed_fields_extend_their_top_bit_and_zero_bits_read_nothing) {
    Bytes bytes = {0xF8, 0x78, 0x80};  // 11111 000 | 01111 000 | 1...
    ByteStream s(bytes);
    EXPECT_EQ(s.in.read_sint(5), -1);
    EXPECT_EQ(s.in.read_uint(0), 0u);
    EXPECT_EQ(s.in.read_sint(0), 0);
    EXPECT_EQ(s.in.read_uint(3), 0u);  // the bit buffer was left as it was
    EXPECT_EQ(s.in.read_sint(5), 15);
    s.in.align();
    EXPECT_TRUE(s.in.read_bool());
}

TEST(StreamTest, full_width_fields_keep_every_bit) {
    Bytes bytes = {0x80, 0x00, 0x00, 0x01, 0xFF, 0xFF, 0xFF, 0xFF};
    ByteStream s(bytes);
    EXPECT_EQ(s.in.read_uint(32), 0x80000001u);
    EXPECT_EQ(s.in.read_sint(32), -1);
}

TEST(StreamTest, little_endian_numbers_and_fixed_point) {
    Bytes bytes = {0x34, 0x12, 0xFE, 0xFF, 0x78, 0x56, 0x34, 0x12, 0x00, 0x80, 0x01, 0x00, 0x00, 0x80, 0xFF, 0xFF};
    ByteStream s(bytes);
    EXPECT_EQ(s.in.read_u16(), 0x1234);
    EXPECT_EQ(s.in.read_s16(), -2);
    EXPECT_EQ(s.in.read_u32(), 0x12345678u);
    EXPECT_FLOAT_EQ(s.in.read_fixed(), 1.5f);
    EXPECT_FLOAT_EQ(s.in.read_fixed(), -0.5f);
}

TEST(StreamTest, sixteen_bit_floats_use_bias_sixteen) {
    Bytes bytes = {0x00, 0x3C, 0x00, 0xBC, 0x01, 0x00};
    ByteStream s(bytes);
    EXPECT_FLOAT_EQ(s.in.read_float16(), 0.5f);
    EXPECT_FLOAT_EQ(s.in.read_float16(), -0.5f);
    float denormal = s.in.read_float16();  // exponent 0: a denormal single of the same sign
    uint32_t bits;
    std::memcpy(&bits, &denormal, sizeof(bits));
    EXPECT_EQ(bits, 1u << 13);
}

TEST(StreamTest, floats_and_doubles_are_ieee_little_endian) {
    swfkit::BitWriter w;
    w.WriteFloat(-2.25f);
    w.WriteDouble(1234.5678);
    Bytes bytes = w.GetBytes();
    ByteStream s(bytes);
    EXPECT_EQ(s.in.read_float(), -2.25f);
    EXPECT_EQ(s.in.read_double(), 1234.5678);
}

TEST(StreamTest, variable_length_numbers) {
    Bytes bytes = {0x7F, 0x80, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    ByteStream s(bytes);
    EXPECT_EQ(s.in.read_vu32(), 127u);
    EXPECT_EQ(s.in.read_vu32(), 128u);
    EXPECT_EQ(s.in.read_vu32(), 0xFFFFFFFFu);
    EXPECT_EQ(s.in.read_vu32(), 0xFFFFFFFFu);  // bits of the fifth byte beyond 32 fall away
    EXPECT_EQ(s.in.get_position(), 13);
}

TEST(StreamTest, strings_terminated_counted_and_cut_short) {
    Bytes bytes = {'h', 'i', 0, 3, 'a', 0, 'b', 'x', 'y', 'z'};
    ByteStream s(bytes);
    swfplayer::base_string text = "old";
    s.in.read_string(&text);
    EXPECT_EQ(text, "hi");
    s.in.read_string_with_length(&text);
    EXPECT_EQ(text, "ab");
    EXPECT_EQ(s.in.get_position(), 7);
    s.in.read_string_with_length(0, &text);
    EXPECT_EQ(text, "");
    // No terminator before the end of the file: the string ends with the file.
    s.in.read_string(&text);
    EXPECT_EQ(text, "xyz");
    EXPECT_TRUE(s.in.hit_file_end());
}

TEST(StreamTest, long_strings_are_read_whole) {
    swfkit::BitWriter w;
    std::string longText(1000, 'q');
    w.WriteString(longText);
    Bytes bytes = w.GetBytes();
    ByteStream s(bytes);
    swfplayer::base_string text;
    s.in.read_string(&text);
    EXPECT_EQ(std::string(text.c_str()), longText);
}

TEST(StreamTest, short_and_long_tag_headers) {
    Bytes bytes = {0x3F, 0x00, 0x00, 0x00, 0x00, 0x00,  // long form, type 0, length 0
                   0x43, 0x00, 'a', 'b', 'c', 0x99};
    ByteStream s(bytes);
    EXPECT_EQ(s.in.open_tag(), 0);
    EXPECT_EQ(s.in.get_tag_end_position(), 6);
    s.in.close_tag();
    EXPECT_EQ(s.in.open_tag(), 1);
    EXPECT_EQ(s.in.get_tag_end_position(), 11);
    EXPECT_EQ(s.in.read_u8(), 'a');
    s.in.close_tag();
    EXPECT_EQ(s.in.get_position(), 11);
    EXPECT_EQ(s.in.read_u8(), 0x99);
}

TEST(StreamTest, reads_stop_at_the_tag_end) {
    Bytes bytes = {0x42, 0x00, 'a', 'b', 'c', 'd'};  // type 1, body "ab"
    ByteStream s(bytes);
    s.in.open_tag();
    swfplayer::base_string text;
    s.in.read_string(&text);
    EXPECT_EQ(text, "ab");
    EXPECT_EQ(s.in.read_u16(), 0);  // past the end: zeros, nothing consumed
    EXPECT_EQ(s.in.get_position(), 4);
    EXPECT_FALSE(s.in.hit_file_end());
    s.in.close_tag();
    EXPECT_EQ(s.in.read_u8(), 'c');
}

TEST(StreamTest, huge_tag_lengths_are_clamped_to_the_enclosing_tag) {
    swfkit::BitWriter w;
    w.WriteU16(39 << 6 | 0x3F);
    w.WriteU32(8);
    w.WriteU16(2 << 6 | 0x3F);
    w.WriteU32(0xFFFFFFF0);
    w.WriteU16(0);
    w.WriteU16(0x1234);
    Bytes bytes = w.GetBytes();
    ByteStream s(bytes);
    EXPECT_EQ(s.in.open_tag(), 39);
    EXPECT_EQ(s.in.open_tag(), 2);
    EXPECT_EQ(s.in.get_tag_end_position(), 14);  // not position + 0xFFFFFFF0
    EXPECT_EQ(s.in.get_tag_depth(), 2);
    s.in.close_tag();
    s.in.close_tag();
    EXPECT_EQ(s.in.get_position(), 14);
    EXPECT_EQ(s.in.read_u16(), 0x1234);
}

TEST(StreamTest, outermost_huge_tag_stays_in_int_range) {
    Bytes bytes = {0x3F, 0x00, 0xF0, 0xFF, 0xFF, 0xFF, 1, 2};
    ByteStream s(bytes);
    s.in.open_tag();
    EXPECT_GT(s.in.get_tag_end_position(), 6);
    EXPECT_EQ(s.in.read_u8(), 1);
    s.in.close_tag();  // the memory file stops at its end
    EXPECT_EQ(s.in.get_position(), 8);
}

TEST(StreamTest, tag_running_past_the_end_of_the_file_reads_zeros) {
    Bytes bytes = {0x4A, 0x00, 0x11, 0x22};  // type 1, declares 10 bytes, has 2
    ByteStream s(bytes);
    s.in.open_tag();
    EXPECT_EQ(s.in.read_u32(), 0x2211u);
    EXPECT_TRUE(s.in.hit_file_end());
    EXPECT_EQ(s.in.read_u8(), 0);
    s.in.close_tag();
    EXPECT_EQ(s.in.get_position(), 4);
}

TEST(StreamTest, set_position_stays_inside_the_open_tag) {
    Bytes bytes = {0x42, 0x00, 'a', 'b', 'c', 'd'};
    ByteStream s(bytes);
    s.in.open_tag();
    s.in.read_uint(3);
    s.in.set_position(100);
    EXPECT_EQ(s.in.get_position(), 4);
    s.in.set_position(2);
    EXPECT_EQ(s.in.read_u8(), 'a');
}

TEST(StreamTest, fields_across_read_ahead_blocks_and_seeks_back) {
    Bytes bytes(10000);
    for (size_t i = 0; i < bytes.size(); i++) {
        bytes[i] = static_cast<uint8_t>(i * 13 + i / 256);
    }
    auto u32_at = [&](size_t at) {
        return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
    };
    ByteStream s(bytes);
    s.in.set_position(4094);
    EXPECT_EQ(s.in.read_u32(), u32_at(4094));
    s.in.set_position(8190);
    // Bit fields take the bytes most significant first.
    uint32_t big_endian = static_cast<uint32_t>(bytes[8190]) << 24 | bytes[8191] << 16 | bytes[8192] << 8 | bytes[8193];
    EXPECT_EQ(s.in.read_uint(32), big_endian);
    s.in.set_position(10);
    EXPECT_EQ(s.in.get_position(), 10);
    EXPECT_EQ(s.in.read_u32(), u32_at(10));
    Bytes block(9000);
    EXPECT_EQ(s.in.read_bytes(block.data(), 9000), 9000);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), bytes.begin() + 14));
    EXPECT_EQ(s.in.read_bytes(block.data(), 9000), 10000 - 9014);
    EXPECT_TRUE(s.in.hit_file_end());
}

TEST(StreamTest, file_view_reads_through_the_stream_within_the_tag) {
    Bytes bytes = {0x45, 0x00, 1, 2, 3, 4, 5, 9, 9};  // type 1, body 1..5
    ByteStream s(bytes);
    s.in.open_tag();
    EXPECT_EQ(s.in.read_u8(), 1);
    swfplayer::base_file* view = s.in.get_underlying_stream();
    EXPECT_EQ(view, s.in.get_underlying_stream());
    EXPECT_EQ(view->get_position(), 3);
    uint8_t two[2];
    EXPECT_EQ(view->read_bytes(two, 2), 2);
    EXPECT_EQ(two[0], 2);
    EXPECT_EQ(s.in.get_position(), 5);
    EXPECT_EQ(s.in.read_u8(), 4);
    uint8_t rest[4];
    EXPECT_EQ(view->read_bytes(rest, 4), 1);  // the tag ends after 5
    EXPECT_TRUE(view->get_eof());
    view->set_position(2);
    EXPECT_EQ(s.in.read_u8(), 1);
}

TEST_F(StreamLogTest, inflate_wrapper_over_the_file_view_of_a_tag) {
    Bytes data(700);
    for (size_t i = 0; i < data.size(); i++) {
        data[i] = static_cast<uint8_t>(i % 251);
    }
    Bytes packed = Compress(data);
    swfkit::BitWriter w;
    w.WriteU16(36 << 6 | 0x3F);
    w.WriteU32(static_cast<uint32_t>(packed.size() + 2));
    w.WriteU16(0xBEEF);
    w.WriteBytes(packed);
    w.WriteU16(0x4242);
    Bytes bytes = w.GetBytes();
    ByteStream s(bytes);
    s.in.open_tag();
    EXPECT_EQ(s.in.read_u16(), 0xBEEF);
    Bytes out(data.size());
    EXPECT_TRUE(swfplayer::inflate_wrapper(s.in.get_underlying_stream(), out.data(), static_cast<int>(out.size())));
    EXPECT_EQ(out, data);
    EXPECT_EQ(s.in.get_tag_bytes_left(), 0);
    s.in.close_tag();
    EXPECT_EQ(s.in.read_u16(), 0x4242);
}

TEST_F(StreamLogTest, dump_tag_bytes_writes_sixteen_bytes_a_line) {
    Bytes bytes = {0x3F, 0x00, 18, 0, 0, 0};
    for (int i = 0; i < 18; i++) {
        bytes.push_back(static_cast<uint8_t>('A' + i));
    }
    bytes[6 + 1] = 0x07;
    ByteStream s(bytes);
    s.in.open_tag();
    swfplayer::dump_tag_bytes(&s.in);
    std::string text;
    for (const std::string& line : Log()) {
        text += line;
    }
    EXPECT_EQ(text,
              "41 07 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50    A.CDEFGHIJKLMNOP\n"
              "51 52 \n");
}


TEST_F(StreamLogTest, inflate_wrapper_leaves_the_file_behind_the_stream) {
    Bytes data(3000);
    for (size_t i = 0; i < data.size(); i++) {
        data[i] = static_cast<uint8_t>(i * 7);
    }
    Bytes file = Compress(data);
    size_t packedSize = file.size();
    file.push_back(0xAB);
    swfplayer::base_file in(swfplayer::memory_buffer, static_cast<int>(file.size()), file.data());
    Bytes out(data.size());
    EXPECT_TRUE(swfplayer::inflate_wrapper(&in, out.data(), static_cast<int>(out.size())));
    EXPECT_EQ(out, data);
    EXPECT_EQ(in.get_position(), static_cast<int>(packedSize));
    EXPECT_TRUE(Log().empty());
}

TEST_F(StreamLogTest, inflate_wrapper_stops_on_truncated_and_corrupt_data) {
    Bytes data(500, 0x5A);
    Bytes packed = Compress(data);
    packed.resize(packed.size() / 2);
    swfplayer::base_file cut(swfplayer::memory_buffer, static_cast<int>(packed.size()), packed.data());
    Bytes out(data.size(), 0x11);
    EXPECT_FALSE(swfplayer::inflate_wrapper(&cut, out.data(), static_cast<int>(out.size())));
    EXPECT_EQ(out.back(), 0x11);  // the rest of the buffer stays as it was

    Bytes garbage = {0x12, 0x34, 0x56, 0x78, 0x9A};
    swfplayer::base_file bad(swfplayer::memory_buffer, static_cast<int>(garbage.size()), garbage.data());
    EXPECT_FALSE(swfplayer::inflate_wrapper(&bad, out.data(), static_cast<int>(out.size())));
    EXPECT_TRUE(Logged("error: inflate_wrapper() inflate() returned"));
}

// Record readers of the geometry types, fed by the kit's record writers and by hand-made bits.

TEST(RecordReaderTest, matrix_records) {
    Bytes identity = {0x00};
    ByteStream a(identity);
    swfplayer::matrix m;
    m.m[0][0] = 7.0f;
    m.read(&a.in);
    EXPECT_EQ(m.m[0][0], 1.0f);
    EXPECT_EQ(m.m[1][1], 1.0f);
    EXPECT_EQ(m.m[0][2], 0.0f);
    EXPECT_EQ(a.in.get_position(), 1);

    swfkit::BitWriter w;
    swfkit::Matrix k;
    k.scaleX = 1.0;
    k.scaleY = 2.5;
    k.rotate0 = 0.25;
    k.rotate1 = -0.75;
    k.translateX = 20;
    k.translateY = -400;
    swfkit::WriteMatrix(w, k);
    Bytes bytes = w.GetBytes();
    ByteStream b(bytes);
    m.read(&b.in);
    EXPECT_FLOAT_EQ(m.m[0][0], 1.0f);
    EXPECT_FLOAT_EQ(m.m[1][1], 2.5f);
    EXPECT_FLOAT_EQ(m.m[1][0], 0.25f);
    EXPECT_FLOAT_EQ(m.m[0][1], -0.75f);
    EXPECT_FLOAT_EQ(m.m[0][2], 20.0f);
    EXPECT_FLOAT_EQ(m.m[1][2], -400.0f);
    EXPECT_EQ(b.in.get_position(), static_cast<int>(bytes.size()));
}

TEST(RecordReaderTest, colour_transform_records) {
    swfkit::ColorTransform k;
    k.hasAdd = true;
    k.hasMult = true;
    k.mult[0] = 512;
    k.mult[1] = 128;
    k.mult[2] = -256;
    k.mult[3] = 64;
    k.add[0] = 10;
    k.add[1] = -20;
    k.add[2] = 255;
    k.add[3] = 7;

    swfkit::BitWriter rgb;
    swfkit::WriteColorTransform(rgb, k, false);
    Bytes rgbBytes = rgb.GetBytes();
    ByteStream a(rgbBytes);
    swfplayer::cxform c;
    c.read_rgb(&a.in);
    EXPECT_FLOAT_EQ(c.m[0][0], 2.0f);
    EXPECT_FLOAT_EQ(c.m[1][0], 0.5f);
    EXPECT_FLOAT_EQ(c.m[2][0], -1.0f);
    EXPECT_FLOAT_EQ(c.m[3][0], 1.0f);  // no alpha terms in the RGB form
    EXPECT_FLOAT_EQ(c.m[0][1], 10.0f);
    EXPECT_FLOAT_EQ(c.m[2][1], 255.0f);
    EXPECT_FLOAT_EQ(c.m[3][1], 0.0f);

    swfkit::BitWriter withAlpha;
    swfkit::WriteColorTransform(withAlpha, k, true);
    Bytes rgbaBytes = withAlpha.GetBytes();
    ByteStream b(rgbaBytes);
    c.read_rgba(&b.in);
    EXPECT_FLOAT_EQ(c.m[3][0], 0.25f);
    EXPECT_FLOAT_EQ(c.m[3][1], 7.0f);
    EXPECT_EQ(b.in.get_position(), static_cast<int>(rgbaBytes.size()));

    Bytes addOnly = {0x80};  // has_add, no mult, 0 bits: every term identity
    ByteStream d(addOnly);
    c.read_rgba(&d.in);
    EXPECT_FLOAT_EQ(c.m[0][0], 1.0f);
    EXPECT_FLOAT_EQ(c.m[0][1], 0.0f);
}

TEST(RecordReaderTest, rect_and_colour_records) {
    swfkit::BitWriter w;
    swfkit::WriteRect(w, {-100, 11000, 5, 8000});
    w.WriteU8(1);
    w.WriteU8(2);
    w.WriteU8(3);
    w.WriteU8(4);
    w.WriteU8(5);
    w.WriteU8(6);
    w.WriteU8(7);
    w.WriteU8(8);
    Bytes bytes = w.GetBytes();
    ByteStream s(bytes);
    swfplayer::rect r;
    r.read(&s.in);
    EXPECT_EQ(r.x_min, -100.0f);
    EXPECT_EQ(r.x_max, 11000.0f);
    EXPECT_EQ(r.y_min, 5.0f);
    EXPECT_EQ(r.y_max, 8000.0f);
    swfplayer::rgba c;
    c.read(&s.in, 22);
    EXPECT_EQ(c.r, 1);
    EXPECT_EQ(c.b, 3);
    EXPECT_EQ(c.a, 255);
    c.read(&s.in, 23);
    EXPECT_EQ(c.r, 4);
    EXPECT_EQ(c.a, 7);
    c.read_rgb(&s.in);
    EXPECT_EQ(c.r, 8);
    EXPECT_EQ(c.a, 255);
}

}  // namespace
