#include "swfplayer/main/sound/adpcm.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// One channel's block start: the 16-bit start value and the 6-bit step index.
void WriteStart(swfkit::BitWriter& out, int value, int step_index) {
    out.WriteSignedBits(value, 16);
    out.WriteBits(static_cast<uint32_t>(step_index), 6);
}

std::vector<short> Expand(swfkit::BitWriter& bits, int sample_count, bool stereo) {
    swf_testing::ByteStream s(bits.GetBytes());
    std::vector<short> out(static_cast<size_t>(sample_count) * (stereo ? 2 : 1), 12345);
    swfplayer::adpcm_expand(out.data(), &s.in, sample_count, stereo);
    return out;
}

// The expected values follow the decoding rule by hand: delta = ((2m + 1) * step[i]) >> (n - 1),
// negated when the sign bit is set, with the IMA step table (7, 8, 9, 10, 11, ..., 32767).
TEST(AdpcmTest, codes_decode_with_their_size_sign_and_clamps) {
    const struct {
        const char* what;
        int code_bits, start, index;
        std::vector<int> codes;
        std::vector<short> expected;
    } cases[] = {
        // Code 3 (sign, magnitude 1) at index 0: (3 * 7) >> 1 = 10, negated; the index moves to 2. Then
        // code 1 at index 2 (step 9): (3 * 9) >> 1 = 13; the index moves to 4 (step 11). Then code 0:
        // (1 * 11) >> 1 = 5.
        {"2-bit", 2, 0, 0, {3, 1, 0}, {0, -10, 3, 8}},
        // Magnitude 15 at index 63 (step 3024): (31 * 3024) >> 4 = 5859, the index moves to 79 (step
        // 13899): (31 * 13899) >> 4 = 26929 clamps the sample at 32767 and the index from 95 to 88, so
        // the next code (sign, magnitude 0) subtracts 32767 >> 4 = 2047.
        {"5-bit clamps", 5, 0, 63, {15, 15, 16}, {0, 5859, 32767, 30720}},
        // A start at the top stays there with a positive delta; a negative one at the bottom too.
        {"4-bit top", 4, 32767, 88, {7}, {32767, 32767}},
        {"4-bit bottom", 4, -32768, 88, {15}, {-32768, -32768}},
        // 3 bits: magnitude 3 at index 10 (step 19): (7 * 19) >> 2 = 33; the index moves to 14 (step 28),
        // and magnitude 2 negated: (5 * 28) >> 2 = 35.
        {"3-bit", 3, -5, 10, {3, 6}, {-5, 28, -7}},
        {"one sample is the start value alone", 4, -1234, 5, {}, {-1234}},
    };
    for (const auto& c : cases) {
        swfkit::BitWriter bits;
        bits.WriteBits(static_cast<uint32_t>(c.code_bits - 2), 2);
        WriteStart(bits, c.start, c.index);
        for (int code : c.codes) {
            bits.WriteBits(static_cast<uint32_t>(code), c.code_bits);
        }
        EXPECT_EQ(Expand(bits, static_cast<int>(c.expected.size()), false), c.expected) << c.what;
    }
}

// 4097 stereo frames: the first block's 4095 codes per channel are all 0 at index 0 (each adds
// (1 * 7) >> 1 = 3 and lowers the index, clamped at 0); the second block is its start values alone.
TEST(AdpcmTest, blocks_of_4096_frames_restart_each_channel_and_stereo_interleaves) {
    swfkit::BitWriter bits;
    bits.WriteBits(0, 2);
    WriteStart(bits, 1000, 0);
    WriteStart(bits, -1000, 0);
    for (int frame = 1; frame < 4096; ++frame) {
        bits.WriteBits(0, 4);
    }
    WriteStart(bits, 7, 30);
    WriteStart(bits, -7, 30);
    const std::vector<short> out = Expand(bits, 4097, true);
    ASSERT_EQ(out.size(), 8194u);
    const std::vector<short> ends = {out[0], out[1], out[2], out[3], out[8190], out[8191], out[8192], out[8193]};
    EXPECT_EQ(ends, (std::vector<short>{1000, -1000, 1003, -997, 1000 + 3 * 4095, -1000 + 3 * 4095, 7, -7}));
}

}  // namespace
