#include "swfplayer/base/image_jpeg.h"

#include "swfplayer/base/base_file.h"
#include "swfplayer/base/jpeg.h"

#include <cassert>
#include <vector>

namespace swfplayer::image {
namespace {

// Reads every row of the running image of j_in into a new rgb image; null when a row fails.
std::unique_ptr<rgb> read_rows(jpeg::input* j_in) {
    std::unique_ptr<rgb> im = create_rgb(j_in->get_width(), j_in->get_height());
    if (!im) {
        return nullptr;
    }
    for (int y = 0; y < im->height; y++) {
        if (!j_in->read_scanline(scanline(im.get(), y))) {
            return nullptr;
        }
    }
    return im;
}

}  // namespace

std::unique_ptr<rgb> read_jpeg(base_file* in) {
    std::unique_ptr<jpeg::input> j_in = jpeg::input::create(in);
    if (!j_in) {
        return nullptr;
    }
    return read_rows(j_in.get());
}

std::unique_ptr<rgb> read_jpeg(const char* filename) {
    base_file in(filename, "rb");
    if (in.get_error() != base_file::no_error) {
        return nullptr;
    }
    return read_jpeg(&in);
}

std::unique_ptr<rgb> read_jpeg_with_tables(jpeg::input* j_in) {
    assert(j_in);
    if (!j_in->start_image()) {
        return nullptr;
    }
    std::unique_ptr<rgb> im = read_rows(j_in);
    j_in->finish_image();
    return im;
}

std::unique_ptr<rgb> read_jpeg_tables_and_image(base_file* in) {
    std::unique_ptr<jpeg::input> j_in = jpeg::input::create_tables_only(in);
    if (!j_in) {
        return nullptr;
    }
    return read_jpeg_with_tables(j_in.get());
}

std::unique_ptr<rgba> read_jpeg_rgba(base_file* in) {
    std::unique_ptr<jpeg::input> j_in = jpeg::input::create_tables_only(in);
    if (!j_in || !j_in->start_image()) {
        return nullptr;
    }
    std::unique_ptr<rgba> im = create_rgba(j_in->get_width(), j_in->get_height());
    if (!im) {
        return nullptr;
    }
    std::vector<uint8_t> row(3 * static_cast<size_t>(im->width));
    for (int y = 0; y < im->height; y++) {
        if (!j_in->read_scanline(row.data())) {
            return nullptr;
        }
        uint8_t* out = scanline(im.get(), y);
        for (int x = 0; x < im->width; x++) {
            out[4 * x] = row[3 * x];
            out[4 * x + 1] = row[3 * x + 1];
            out[4 * x + 2] = row[3 * x + 2];
            out[4 * x + 3] = 255;
        }
    }
    j_in->finish_image();
    return im;
}

}  // namespace swfplayer::image
