#include "swfplayer/main/sound/adpcm.h"

#include "swfplayer/main/common/stream.h"

#include <algorithm>
#include <cassert>

namespace swfplayer {

namespace {

// The step sizes of IMA ADPCM, indexed by the step index 0..88.
constexpr int step_sizes[89] = {
    7,    8,     9,     10,    11,    12,    13,    14,    16,    17,    19,    21,    23,    25,   28,
    31,   34,    37,    41,    45,    50,    55,    60,    66,    73,    80,    88,    97,    107,  118,
    130,  143,   157,   173,   190,   209,   230,   253,   279,   307,   337,   371,   408,   449,  494,
    544,  598,   658,   724,   796,   876,   963,   1060,  1166,  1282,  1411,  1552,  1707,  1878, 2066,
    2272, 2499,  2749,  3024,  3327,  3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845, 8630,
    9493, 10442, 11487, 12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

// How a code's magnitude moves the step index, per code size (2 to 5 bits).
constexpr int index_changes_2[] = {-1, 2};
constexpr int index_changes_3[] = {-1, -1, 2, 4};
constexpr int index_changes_4[] = {-1, -1, -1, -1, 2, 4, 6, 8};
constexpr int index_changes_5[] = {-1, -1, -1, -1, -1, -1, -1, -1, 1, 2, 4, 6, 8, 10, 13, 16};
constexpr const int* index_changes[] = {index_changes_2, index_changes_3, index_changes_4, index_changes_5};

constexpr int frames_per_block = 4096;

// One channel's decoder state.
struct channel {
    int sample = 0;
    int step_index = 0;

    void start(stream* in) {
        sample = in->read_sint(16);
        step_index = static_cast<int>(in->read_uint(6));
    }

    void decode(int code, int code_bits) {
        assert(code >= 0 && code < (1 << code_bits));
        const int sign_bit = 1 << (code_bits - 1);
        const int magnitude = code & (sign_bit - 1);
        int delta = ((2 * magnitude + 1) * step_sizes[step_index]) >> (code_bits - 1);
        if (code & sign_bit) {
            delta = -delta;
        }
        sample = std::clamp(sample + delta, -32768, 32767);
        step_index = std::clamp(step_index + index_changes[code_bits - 2][magnitude], 0, 88);
    }
};

}  // namespace

void adpcm_expand(short* out, stream* in, int sample_count, bool stereo) {
    const int code_bits = static_cast<int>(in->read_uint(2)) + 2;
    channel left;
    channel right;
    int remaining = sample_count;
    while (remaining > 0) {
        const int block_frames = std::min(remaining, frames_per_block);
        left.start(in);
        if (stereo) {
            right.start(in);
        }
        *out++ = static_cast<short>(left.sample);
        if (stereo) {
            *out++ = static_cast<short>(right.sample);
        }
        for (int frame = 1; frame < block_frames; ++frame) {
            left.decode(static_cast<int>(in->read_uint(code_bits)), code_bits);
            *out++ = static_cast<short>(left.sample);
            if (stereo) {
                right.decode(static_cast<int>(in->read_uint(code_bits)), code_bits);
                *out++ = static_cast<short>(right.sample);
            }
        }
        remaining -= block_frames;
    }
}

}  // namespace swfplayer
