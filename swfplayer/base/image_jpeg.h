#pragma once

#include "swfplayer/base/image.h"

#include <memory>

namespace swfplayer {

class base_file;

namespace jpeg {
class input;
}

namespace image {

// Each reader gives null (with a logged error) when the data holds no image it can decode:
// damaged beyond libjpeg's own repair, a colour space other than colour or grey, or a size that
// image::size_allowed refuses. Data that ends early is completed by libjpeg.

// A complete JPEG stream (headers, tables and image) from in's current position.
std::unique_ptr<rgb> read_jpeg(base_file* in);
// The named file; null when it cannot be opened.
std::unique_ptr<rgb> read_jpeg(const char* filename);
// The next image of a decoder that has already read its tables (a movie's shared tables). The
// decoder stays with the caller and may decode further images.
std::unique_ptr<rgb> read_jpeg_with_tables(jpeg::input* j_in);
// A stream that may begin with a tables-only block before the image.
std::unique_ptr<rgb> read_jpeg_tables_and_image(base_file* in);
// As read_jpeg_tables_and_image, into an rgba image with every alpha byte 255.
std::unique_ptr<rgba> read_jpeg_rgba(base_file* in);

}  // namespace image
}  // namespace swfplayer
