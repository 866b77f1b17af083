#include "tests/support/JpegWriter.h"

// clang-format off
#include <cstdio>  // jpeglib.h needs FILE declared first
#include <jpeglib.h>
// clang-format on

#include <cstdlib>

namespace testing_support {
namespace {

// A compressor writing into memory; finish hands the bytes over.
class Compressor {
public:
    Compressor(int quality, J_COLOR_SPACE space, int components, int width, int height) {
        m_Info.err = jpeg_std_error(&m_Errors);
        jpeg_create_compress(&m_Info);
        jpeg_mem_dest(&m_Info, &m_Buffer, &m_Size);
        m_Info.image_width = static_cast<JDIMENSION>(width);
        m_Info.image_height = static_cast<JDIMENSION>(height);
        m_Info.input_components = components;
        m_Info.in_color_space = space;
        jpeg_set_defaults(&m_Info);
        jpeg_set_quality(&m_Info, quality, TRUE);
        // Full-resolution colour, so flat 8 x 8 blocks survive almost exactly.
        m_Info.comp_info[0].h_samp_factor = 1;
        m_Info.comp_info[0].v_samp_factor = 1;
    }
    ~Compressor() {
        jpeg_destroy_compress(&m_Info);
        free(m_Buffer);
    }
    jpeg_compress_struct* Info() { return &m_Info; }
    std::vector<uint8_t> Bytes() const { return std::vector<uint8_t>(m_Buffer, m_Buffer + m_Size); }

private:
    jpeg_compress_struct m_Info{};
    jpeg_error_mgr m_Errors{};
    unsigned char* m_Buffer = nullptr;
    unsigned long m_Size = 0;
};

}  // namespace

std::vector<uint8_t> WriteJpeg(int width, int height, const JpegPixel& pixel, JpegColour colour, JpegTables tables,
                               int quality) {
    const int components = colour == JpegColour::Rgb ? 3 : colour == JpegColour::Grey ? 1 : 4;
    const J_COLOR_SPACE space = colour == JpegColour::Rgb    ? JCS_RGB
                                : colour == JpegColour::Grey ? JCS_GRAYSCALE
                                                             : JCS_CMYK;
    Compressor c(quality, space, components, width, height);
    if (tables == JpegTables::Omitted) {
        jpeg_suppress_tables(c.Info(), TRUE);
    }
    jpeg_start_compress(c.Info(), tables == JpegTables::Included ? TRUE : FALSE);
    std::vector<uint8_t> row(static_cast<size_t>(width) * components);
    for (int y = 0; y < height; y++) {
        for (int x = 0; x < width; x++) {
            const std::array<uint8_t, 3> p = pixel(x, y);
            for (int k = 0; k < components; k++) {
                row[static_cast<size_t>(x) * components + k] = k < 3 ? p[k] : 0;
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(c.Info(), rows, 1);
    }
    jpeg_finish_compress(c.Info());
    return c.Bytes();
}

std::vector<uint8_t> WriteJpegTables(int quality) {
    Compressor c(quality, JCS_RGB, 3, 1, 1);
    jpeg_write_tables(c.Info());
    return c.Bytes();
}

}  // namespace testing_support
