#pragma once

#include "swfplayer/base/image.h"

#include <memory>

namespace swfplayer {

class stream;

// The fields of a DefineBitsLossless tag in front of its pixels.
struct lossless_header {
    int format = 0;  // 3 colour-mapped, 4 16-bit colour, 5 32-bit colour
    int width = 0;   // pixels
    int height = 0;  // pixels
};

// The pixels of DefineBitsLossless (rgb) and DefineBitsLossless2 (rgba) from in, which stands
// just behind the header (for format 3, at the colour-table size). DefineBitsLossless2 stores
// colour premultiplied by alpha; the rgba image holds it straight. Colour-map indices beyond the
// table give black (transparent in rgba); other formats give a black (transparent) image of the
// stated size; bytes that damaged or short compressed data does not reach decode as zeros.
// Null, logged, for a size that image::size_allowed refuses or that the tag's compressed bytes
// could not possibly hold.
std::unique_ptr<image::rgb> read_lossless_rgb(stream* in, const lossless_header& header);
std::unique_ptr<image::rgba> read_lossless_rgba(stream* in, const lossless_header& header);

// DefineBitsJPEG3's alpha plane: width * height compressed bytes from in's position become the
// alpha bytes of im in row order; the colour bytes stay. Bytes the data does not reach stay 255.
void read_alpha_plane(stream* in, image::rgba* im);

}  // namespace swfplayer
