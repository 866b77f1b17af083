#include "swfplayer/main/common/rgba.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"

namespace swfplayer {

namespace {

uint8_t lerp_channel(uint8_t from, uint8_t to, float t) {
    float value = from + (to - from) * t + 0.5f;
    // t outside [0, 1] is a caller's error; keep the channel in range all the same.
    if (!(value >= 0.0f)) {
        return 0;
    }
    if (value >= 255.0f) {
        return 255;
    }
    return static_cast<uint8_t>(value);
}

}  // namespace

void rgba::set_lerp(const rgba& from, const rgba& to, float t) {
    r = lerp_channel(from.r, to.r, t);
    g = lerp_channel(from.g, to.g, t);
    b = lerp_channel(from.b, to.b, t);
    a = lerp_channel(from.a, to.a, t);
}

void rgba::read(stream* in, int tag_type) {
    if (tag_type <= tag_define_shape2) {
        read_rgb(in);
    } else {
        read_rgba(in);
    }
}

void rgba::read_rgb(stream* in) {
    uint32_t bytes = in->read_u24();
    r = static_cast<uint8_t>(bytes);
    g = static_cast<uint8_t>(bytes >> 8);
    b = static_cast<uint8_t>(bytes >> 16);
    a = 255;
}

void rgba::read_rgba(stream* in) {
    uint32_t bytes = in->read_u32();
    r = static_cast<uint8_t>(bytes);
    g = static_cast<uint8_t>(bytes >> 8);
    b = static_cast<uint8_t>(bytes >> 16);
    a = static_cast<uint8_t>(bytes >> 24);
}

void rgba::print() const {
    log_msg("rgba: %d %d %d %d\n", r, g, b, a);
}

}  // namespace swfplayer
