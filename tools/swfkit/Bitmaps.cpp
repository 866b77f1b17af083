#include "tools/swfkit/Bitmaps.h"

#include <zlib.h>

namespace swfkit {

Bytes Deflated(const Bytes& bytes) {
    uLongf packedSize = compressBound(static_cast<uLong>(bytes.size()));
    Bytes packed(packedSize);
    if (compress2(packed.data(), &packedSize, bytes.data(), static_cast<uLong>(bytes.size()), Z_BEST_COMPRESSION) !=
        Z_OK) {
        return {};
    }
    packed.resize(packedSize);
    return packed;
}

Color Premultiplied(const Color& straight) {
    auto times_alpha = [&](uint8_t channel) {
        return static_cast<uint8_t>((channel * straight.a + 127) / 255);
    };
    return Color{times_alpha(straight.r), times_alpha(straight.g), times_alpha(straight.b), straight.a};
}

Bytes DefineBitsLossless2Body(uint16_t id, int width, int height, const std::vector<Color>& pixels) {
    Bytes argb;
    for (const Color& pixel : pixels) {
        const Color stored = Premultiplied(pixel);
        argb.insert(argb.end(), {stored.a, stored.r, stored.g, stored.b});
    }
    BitWriter out;
    out.WriteU16(id);
    out.WriteU8(5);
    out.WriteU16(static_cast<uint16_t>(width));
    out.WriteU16(static_cast<uint16_t>(height));
    out.WriteBytes(Deflated(argb));
    return out.GetBytes();
}

}  // namespace swfkit
