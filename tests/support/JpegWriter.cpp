#include "tests/support/JpegWriter.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <jpeglib.h>
// clang-format on

#include <cstdlib>

namespace testing_support {
namespace {

// A compressor writing into memory.
struct Compressor {
    Compressor(int quality, J_COLOR_SPACE space, int components, int width, int height) {
        info.err = jpeg_std_error(&errors);
        jpeg_create_compress(&info);
        jpeg_mem_dest(&info, &buffer, &size);
        info.image_width = static_cast<JDIMENSION>(width);
        info.image_height = static_cast<JDIMENSION>(height);
        info.input_components = components;
        info.in_color_space = space;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, quality, TRUE);
        // Full-resolution colour, so flat 8 x 8 blocks survive almost exactly.
        info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
    }
    ~Compressor() {
        jpeg_destroy_compress(&info);
        free(buffer);
    }
    std::vector<uint8_t> Bytes() const { return std::vector<uint8_t>(buffer, buffer + size); }

    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

}  // namespace

std::vector<uint8_t> WriteJpeg(int width, int height, const JpegPixel& pixel, JpegColour colour, JpegTables tables,
                               int quality) {
    const int components = colour == JpegColour::Rgb ? 3 : colour == JpegColour::Grey ? 1 : 4;
    Compressor c(quality,
                 components == 3   ? JCS_RGB
                 : components == 1 ? JCS_GRAYSCALE
                                   : JCS_CMYK,
                 components, width, height);
    jpeg_suppress_tables(&c.info, tables == JpegTables::Omitted ? TRUE : FALSE);
    jpeg_start_compress(&c.info, tables == JpegTables::Included ? TRUE : FALSE);
    std::vector<uint8_t> row(static_cast<size_t>(width) * components);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            const std::array<uint8_t, 3> p = pixel(x, y);
            for (int k = 0; k < components; k++) {
                row[static_cast<size_t>(x) * components + k] = k < 3 ? p[k] : 0;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c.info, rows, 1);
    }
    jpeg_finish_compress(&c.info);
    return c.Bytes();
}

std::vector<uint8_t> WriteJpegTables(int quality) {
    Compressor c(quality, JCS_RGB, 3, 1, 1);
    jpeg_write_tables(&c.info);
    return c.Bytes();
}

}  // namespace testing_support
