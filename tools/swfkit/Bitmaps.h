#pragma once

#include "tools/swfkit/BitWriter.h"
#include "tools/swfkit/Records.h"

#include <cstdint>
#include <vector>

namespace swfkit {

// The bytes compressed with zlib, as movies and their lossless bitmaps store data; empty when
// zlib fails.
Bytes Deflated(const Bytes& bytes);

// The colour with each channel multiplied by its alpha (rounded), as DefineBitsLossless2 stores
// colours: fully transparent pixels become black.
Color Premultiplied(const Color& straight);

// A DefineBitsLossless2 body (tag 36) in format 5: the id, the size and the pixels, row by row
// from the top, given with straight alpha and written premultiplied, each as alpha, red, green,
// blue, compressed.
Bytes DefineBitsLossless2Body(uint16_t id, int width, int height, const std::vector<Color>& pixels);

}  // namespace swfkit
