#include "tools/swfkit/BitWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

namespace {

using swfkit::BitWriter;
using swfkit::Bytes;

TEST(BitWriterTest, bit_fields_pack_most_significant_bit_first) {
    BitWriter w;
    w.WriteBits(5, 3);
    w.WriteBits(23, 7);
    EXPECT_EQ(w.GetBytes(), (Bytes{0xA5, 0xC0}));
    w.WriteSignedBits(-1, 5);
    w.WriteBits(0xFFFFFFFF, 0);
    w.WriteU8(0x42);  // byte writes pad the bit byte first
    EXPECT_EQ(w.GetBytes(), (Bytes{0xA5, 0xC0, 0xF8, 0x42}));
}

TEST(BitWriterTest, numbers_are_little_endian) {
    BitWriter w;
    w.WriteU16(0x1234);
    w.WriteU32(0x12345678);
    w.WriteFixed(1.5);
    w.WriteFixed8(-0.5);
    w.WriteFloat(0.5f);
    EXPECT_EQ(w.GetBytes(),
              (Bytes{0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 0x00, 0x80, 0x01, 0x00, 0x80, 0xFF, 0x00, 0x00, 0x00, 0x3F}));
    BitWriter d;
    d.WriteDouble(1.0);
    EXPECT_EQ(d.GetBytes(), (Bytes{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
}

TEST(BitWriterTest, variable_length_numbers_and_strings) {
    BitWriter w;
    w.WriteVu32(0);
    w.WriteVu32(127);
    w.WriteVu32(128);
    w.WriteVu32(0xFFFFFFFF);
    w.WriteString("ab");
    w.WriteBytes({9, 8});
    EXPECT_EQ(w.GetBytes(), (Bytes{0x00, 0x7F, 0x80, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 'a', 'b', 0, 9, 8}));
}

TEST(BitWriterTest, bits_needed) {
    const std::pair<uint32_t, int> unsigned_cases[] = {{0, 0}, {1, 1}, {255, 8}, {0xFFFFFFFF, 32}};
    for (const auto& [value, bits] : unsigned_cases) {
        EXPECT_EQ(BitWriter::UnsignedBitsNeeded(value), bits) << value;
    }
    const std::pair<int32_t, int> signed_cases[] = {{0, 0},   {1, 2},  {-1, 1},        {15, 5},
                                                    {-16, 5}, {16, 6}, {INT32_MIN, 32}};
    for (const auto& [value, bits] : signed_cases) {
        EXPECT_EQ(BitWriter::SignedBitsNeeded(value), bits) << value;
    }
}

}  // namespace
