#include "swfplayer/main/common/cxform.h"
#include "swfplayer/main/common/matrix.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/common/rgba.h"
#include "swfplayer/main/common/stream.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tools/swfkit/BitWriter.h"
#include "tools/swfkit/Records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Ints = std::vector<long long>;
using Floats = std::vector<float>;
using swf_testing::ByteStream;
using swf_testing::Compress;
using swf_testing::Written;

// Stream operations whose effect is what they log.
class StreamLogTest : public swf_testing::SwfLoadingFixture {};

// A long tag header of the type whose body is length bytes.
void WriteLongHeader(swfkit::BitWriter& w, int type, uint32_t length) {
    w.WriteU16(static_cast<uint16_t>(type << 6 | 0x3F));
    w.WriteU32(length);
}

std::string ReadString(swfplayer::stream& in, int length = -1) {
    swfplayer::base_string text = "old";
    length < 0 ? in.read_string(&text) : in.read_string_with_length(length, &text);
    return text.c_str();
}

TEST(StreamTest, little_endian_integers_fixed_and_floating_values) {
    swfkit::BitWriter w;
    w.WriteBytes({0x34, 0x12, 0xFE, 0xFF, 0x78, 0x56, 0x34, 0x12, 0x00, 0x80, 0x01, 0x00, 0x00, 0x80, 0xFF, 0xFF});
    w.WriteBytes({0x00, 0x3C, 0x00, 0xBC, 0x01, 0x00});  // float16: bias 16
    w.WriteFloat(-2.25f);
    w.WriteDouble(1234.5678);
    ByteStream s(w.GetBytes());
    EXPECT_EQ((Ints{s.in.read_u16(), s.in.read_s16(), s.in.read_u32()}), (Ints{0x1234, -2, 0x12345678}));
    EXPECT_EQ((Floats{s.in.read_fixed(), s.in.read_fixed(), s.in.read_float16(), s.in.read_float16()}),
              (Floats{1.5f, -0.5f, 0.5f, -0.5f}));
    float denormal = s.in.read_float16();  // exponent 0: a denormal single of the same sign
    uint32_t bits;
    std::memcpy(&bits, &denormal, sizeof(bits));
    EXPECT_EQ(bits, 1u << 13);
    EXPECT_EQ(s.in.read_float(), -2.25f);
    EXPECT_EQ(s.in.read_double(), 1234.5678);

    // Variable-length numbers: bits of the fifth byte beyond 32 fall away.
    ByteStream v({0x7F, 0x80, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ((Ints{v.in.read_vu32(), v.in.read_vu32(), v.in.read_vu32(), v.in.read_vu32(), v.in.get_position()}),
              (Ints{127, 128, 0xFFFFFFFF, 0xFFFFFFFF, 13}));

    // Counted strings stop at a NUL; a string without terminator ends with the file. Terminated
    // strings are held to a model in StreamReadPathTest.
    ByteStream t({3, 'a', 0, 'b', 'x', 'y', 'z'});
    swfplayer::base_string text;
    t.in.read_string_with_length(&text);
    EXPECT_STREQ(text.c_str(), "ab");
    EXPECT_EQ(t.in.get_position(), 4);
    EXPECT_EQ(ReadString(t.in, 0), "");
    EXPECT_EQ(ReadString(t.in), "xyz");
    EXPECT_TRUE(t.in.hit_file_end());
}

TEST(StreamTest, huge_or_overlong_tag_lengths_are_clamped_to_the_enclosing_tag_and_the_file) {
    swfkit::BitWriter w;
    WriteLongHeader(w, 39, 8);
    WriteLongHeader(w, 2, 0xFFFFFFF0);
    w.WriteU16(0);
    w.WriteU16(0x1234);
    ByteStream nested(w.GetBytes());
    // The inner end is the outer one, not position + 0xFFFFFFF0.
    EXPECT_EQ(
        (Ints{nested.in.open_tag(), nested.in.open_tag(), nested.in.get_tag_end_position(), nested.in.get_tag_depth()}),
        (Ints{39, 2, 14, 2}));
    nested.in.close_tag();
    nested.in.close_tag();
    EXPECT_EQ((Ints{nested.in.get_position(), nested.in.read_u16()}), (Ints{14, 0x1234}));

    ByteStream outermost({0x3F, 0x00, 0xF0, 0xFF, 0xFF, 0xFF, 1, 2});
    outermost.in.open_tag();
    EXPECT_GT(outermost.in.get_tag_end_position(), 6);  // stays in int range
    EXPECT_EQ(outermost.in.read_u8(), 1);
    outermost.in.close_tag();  // the memory file stops at its end
    EXPECT_EQ(outermost.in.get_position(), 8);

    // A tag running past the end of the file holds only the bytes the file has, from the start,
    // so loops bounded by the bytes left end there; reading on gives zeros.
    ByteStream s({0x4A, 0x00, 0x11, 0x22});  // type 1, declares 10 bytes, has 2
    s.in.open_tag();
    EXPECT_EQ((Ints{s.in.get_tag_end_position(), s.in.get_tag_bytes_left(), s.in.read_u32()}), (Ints{4, 2, 0x2211}));
    EXPECT_TRUE(s.in.hit_file_end());
    EXPECT_EQ((Ints{s.in.get_tag_bytes_left(), s.in.read_u8()}), (Ints{0, 0}));
    s.in.close_tag();
    EXPECT_EQ(s.in.get_position(), 4);
}

TEST(StreamTest, seeks_back_behind_the_read_ahead_block_and_block_reads_to_the_end) {
    Bytes bytes(10000);
    for (size_t i = 0; i < bytes.size(); i++) {
        bytes[i] = static_cast<uint8_t>(i * 13 + i / 256);
    }
    ByteStream s(bytes);
    s.in.set_position(8190);
    s.in.read_u32();
    s.in.set_position(10);
    EXPECT_EQ(s.in.get_position(), 10);
    EXPECT_EQ(s.in.read_u32(), bytes[10] | bytes[11] << 8 | bytes[12] << 16 | static_cast<uint32_t>(bytes[13]) << 24);
    Bytes block(9000);
    EXPECT_EQ(s.in.read_bytes(block.data(), 9000), 9000);
    EXPECT_TRUE(std::equal(block.begin(), block.end(), bytes.begin() + 14));
    EXPECT_EQ(s.in.read_bytes(block.data(), 9000), 10000 - 9014);
    EXPECT_TRUE(s.in.hit_file_end());
}

TEST(StreamTest, file_view_reads_through_the_stream_within_the_tag) {
    ByteStream s({0x45, 0x00, 1, 2, 3, 4, 5, 9, 9});  // type 1, body 1..5
    s.in.open_tag();
    EXPECT_EQ(s.in.read_u8(), 1);
    swfplayer::base_file* view = s.in.get_underlying_stream();
    EXPECT_EQ(view, s.in.get_underlying_stream());
    EXPECT_EQ(view->get_position(), 3);
    uint8_t bytes[4];
    EXPECT_EQ((Ints{view->read_bytes(bytes, 2), bytes[0], s.in.get_position(), s.in.read_u8()}), (Ints{2, 2, 5, 4}));
    EXPECT_EQ(view->read_bytes(bytes, 4), 1);  // the tag ends after 5
    EXPECT_TRUE(view->get_eof());
    view->set_position(2);
    EXPECT_EQ(s.in.read_u8(), 1);
    s.in.set_position(100);  // seeks stay inside the open tag
    EXPECT_EQ(s.in.get_position(), 7);
    s.in.set_position(6);
    EXPECT_EQ(s.in.get_tag_bytes_left(), 1);
}

TEST_F(StreamLogTest, inflate_wrapper_reads_exactly_the_compressed_data_and_stops_on_damaged_data) {
    Bytes data(700);
    for (size_t i = 0; i < data.size(); i++) {
        data[i] = static_cast<uint8_t>(i % 251);
    }
    Bytes packed = Compress(data);
    swfkit::BitWriter w;
    WriteLongHeader(w, 36, static_cast<uint32_t>(packed.size() + 2));
    w.WriteU16(0xBEEF);
    w.WriteBytes(packed);
    w.WriteU16(0x4242);
    ByteStream s(w.GetBytes());
    s.in.open_tag();
    EXPECT_EQ(s.in.read_u16(), 0xBEEF);
    Bytes out(data.size());
    EXPECT_TRUE(swfplayer::inflate_wrapper(s.in.get_underlying_stream(), out.data(), static_cast<int>(out.size())));
    EXPECT_EQ(out, data);
    EXPECT_EQ(s.in.get_tag_bytes_left(), 0);
    s.in.close_tag();
    EXPECT_EQ(s.in.read_u16(), 0x4242);

    // In a plain file the inflater leaves the file right behind the compressed data.
    Bytes file = packed;
    file.push_back(0xAB);
    swfplayer::base_file in(swfplayer::memory_buffer, static_cast<int>(file.size()), file.data());
    out.assign(data.size(), 0);
    EXPECT_TRUE(swfplayer::inflate_wrapper(&in, out.data(), static_cast<int>(out.size())));
    EXPECT_EQ(out, data);
    EXPECT_EQ(in.get_position(), static_cast<int>(packed.size()));
    EXPECT_TRUE(Log().empty());

    // Truncated and corrupt data fail; the rest of the buffer stays as it was.
    packed.resize(packed.size() / 2);
    Bytes garbage = {0x12, 0x34, 0x56, 0x78, 0x9A};
    for (Bytes* damaged : {&packed, &garbage}) {
        swfplayer::base_file cut(swfplayer::memory_buffer, static_cast<int>(damaged->size()), damaged->data());
        out.assign(data.size(), 0x11);
        EXPECT_FALSE(swfplayer::inflate_wrapper(&cut, out.data(), static_cast<int>(out.size())));
        EXPECT_EQ(out.back(), 0x11);
    }
    EXPECT_TRUE(Logged("error: inflate_wrapper() inflate() returned"));
}

// Record readers of the geometry types, fed by the kit's record writers and by hand-made bits.

Floats Entries(const swfplayer::matrix& m) {
    return {m.m[0][0], m.m[0][1], m.m[0][2], m.m[1][0], m.m[1][1], m.m[1][2]};
}

TEST(RecordReaderTest, matrix_records) {
    ByteStream identity({0x00});
    swfplayer::matrix m;
    m.m[0][0] = 7.0f;
    m.read(&identity.in);
    EXPECT_EQ(Entries(m), (Floats{1, 0, 0, 0, 1, 0}));
    EXPECT_EQ(identity.in.get_position(), 1);

    swfkit::Matrix k;
    k.scaleX = 1.0;
    k.scaleY = 2.5;
    k.rotate0 = 0.25;
    k.rotate1 = -0.75;
    k.translateX = 20;
    k.translateY = -400;
    ByteStream s(Written([&](swfkit::BitWriter& w) { swfkit::WriteMatrix(w, k); }));
    m.read(&s.in);
    EXPECT_EQ(Entries(m), (Floats{1.0f, -0.75f, 20.0f, 0.25f, 2.5f, -400.0f}));  // all exact in 16.16
    EXPECT_EQ(s.in.get_position(), static_cast<int>(s.bytes.size()));
}

TEST(RecordReaderTest, colour_transform_records) {
    swfkit::ColorTransform k;
    k.hasAdd = k.hasMult = true;
    const int mult[4] = {512, 128, -256, 64}, add[4] = {10, -20, 255, 7};
    std::copy(mult, mult + 4, k.mult);
    std::copy(add, add + 4, k.add);
    for (bool alpha : {false, true}) {
        SCOPED_TRACE(alpha ? "with alpha" : "without alpha");
        ByteStream s(Written([&](swfkit::BitWriter& w) { swfkit::WriteColorTransform(w, k, alpha); }));
        swfplayer::cxform c;
        alpha ? c.read_rgba(&s.in) : c.read_rgb(&s.in);
        for (int i = 0; i < 4; i++) {
            // No alpha terms in the plain form: the identity.
            bool identity = i == 3 && !alpha;
            EXPECT_FLOAT_EQ(c.m[i][0], identity ? 1.0f : mult[i] / 256.0f) << "channel " << i;
            EXPECT_FLOAT_EQ(c.m[i][1], identity ? 0.0f : static_cast<float>(add[i])) << "channel " << i;
        }
        EXPECT_EQ(s.in.get_position(), static_cast<int>(s.bytes.size()));
    }
    ByteStream add_only({0x80});  // has_add, no mult, 0 bits: every term identity
    swfplayer::cxform c;
    c.read_rgba(&add_only.in);
    EXPECT_EQ((Floats{c.m[0][0], c.m[0][1]}), (Floats{1, 0}));
}

TEST(RecordReaderTest, rect_and_colour_records) {
    swfkit::BitWriter w;
    swfkit::WriteRect(w, {-100, 11000, 5, 8000});
    w.WriteBytes({1, 2, 3, 4, 5, 6, 7, 8});
    ByteStream s(w.GetBytes());
    swfplayer::rect r;
    r.read(&s.in);
    EXPECT_EQ((Floats{r.x_min, r.x_max, r.y_min, r.y_max}), (Floats{-100, 11000, 5, 8000}));
    swfplayer::rgba c;
    c.read(&s.in, 22);  // DefineShape2 and before: no alpha
    EXPECT_EQ((Ints{c.r, c.b, c.a}), (Ints{1, 3, 255}));
    c.read(&s.in, 23);
    EXPECT_EQ((Ints{c.r, c.a}), (Ints{4, 7}));
    c.read_rgb(&s.in);
    EXPECT_EQ((Ints{c.r, c.a}), (Ints{8, 255}));
}

}  // namespace
