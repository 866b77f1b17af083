#include "swfplayer/main/common/cxform.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/bit_reader.h"
#include "swfplayer/main/common/finite_float.h"
#include "swfplayer/main/common/stream.h"

#include <cstdint>

namespace swfplayer {

namespace {

uint8_t transform_channel(uint8_t in, float multiplier, float add) {
    float value = in * multiplier + add;
    if (!(value <= 255.0f)) {
        value = 255.0f;  // NaN included
    }
    if (value < 0.0f) {
        value = 0.0f;
    }
    return static_cast<uint8_t>(value);
}

float clamp_or(float value, float low, float high, float if_nan) {
    if (value != value) {
        return if_nan;
    }
    return value < low ? low : (value > high ? high : value);
}

// Reads a colour-transform record with channels terms per group: multipliers are 8.8 fixed
// point, add terms colour units. Channels not in the record keep the identity.
void read_cxform_record(cxform* c, stream* in, int channels) {
    in->align();
    bit_reader bits(in);
    bool has_add = bits.read_bool();
    bool has_mult = bits.read_bool();
    int nbits = static_cast<int>(bits.read_uint(4));
    for (int i = 0; i < 4; i++) {
        c->m[i][0] = 1.0f;
        c->m[i][1] = 0.0f;
    }
    if (has_mult) {
        for (int i = 0; i < channels; i++) {
            c->m[i][0] = finite_or_zero(bits.read_sint(nbits) / 256.0);
        }
    }
    if (has_add) {
        for (int i = 0; i < channels; i++) {
            c->m[i][1] = finite_or_zero(bits.read_sint(nbits));
        }
    }
}

}  // namespace

void cxform::read_rgb(stream* in) {
    read_cxform_record(this, in, 3);
}

void cxform::read_rgba(stream* in) {
    read_cxform_record(this, in, 4);
}

cxform::cxform() {
    for (auto& channel : m) {
        channel[0] = 1.0f;
        channel[1] = 0.0f;
    }
}

void cxform::concatenate(const cxform& c) {
    for (int i = 0; i < 4; i++) {
        m[i][1] = finite_or_zero(m[i][1] + m[i][0] * c.m[i][1]);
        m[i][0] = finite_or_zero(m[i][0] * c.m[i][0]);
    }
}

rgba cxform::transform(const rgba& in) const {
    return rgba(transform_channel(in.r, m[0][0], m[0][1]), transform_channel(in.g, m[1][0], m[1][1]),
                transform_channel(in.b, m[2][0], m[2][1]), transform_channel(in.a, m[3][0], m[3][1]));
}

void cxform::clamp() {
    for (auto& channel : m) {
        channel[0] = finite_or_zero(clamp_or(channel[0], 0.0f, 1.0f, 1.0f));
        channel[1] = finite_or_zero(clamp_or(channel[1], -255.0f, 255.0f, 255.0f));
    }
}

void cxform::print() const {
    log_msg("    *         +\n");
    for (const auto& channel : m) {
        log_msg("| %4.4f %4.4f|\n", channel[0], channel[1]);
    }
}

}  // namespace swfplayer
