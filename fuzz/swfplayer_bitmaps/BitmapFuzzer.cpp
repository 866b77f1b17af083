// Loads bitmap tags (JPEG with and without shared tables, JPEG with alpha, lossless) and raw
// JPEG streams from arbitrary bytes. Decoding must neither crash nor hang, and every image handed
// to the renderer must be readable in full.
#include "fuzz/swfplayer_bitmaps/BitmapFuzzInput.h"
#include "swfplayer/base/base_file.h"
#include "swfplayer/base/image.h"
#include "swfplayer/base/image_jpeg.h"
#include "swfplayer/base/log.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/script/player.h"
#include "tests/swfplayer/main/render/RecordingRenderHandler.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// Reads every byte of the images it is given, so the sanitizer sees any short allocation.
class ReadingHandler : public testing_support::RecordingRenderHandler {
public:
    unsigned sum = 0;
    swfplayer::bitmap_info* create_bitmap_info_rgb(swfplayer::image::rgb* im) override {
        read(*im, 3);
        return RecordingRenderHandler::create_bitmap_info_rgb(im);
    }
    swfplayer::bitmap_info* create_bitmap_info_rgba(swfplayer::image::rgba* im) override {
        read(*im, 4);
        return RecordingRenderHandler::create_bitmap_info_rgba(im);
    }

private:
    void read(const swfplayer::image::image_base& im, int bytes_per_pixel) {
        for (int y = 0; y < im.height; y++) {
            const uint8_t* row = swfplayer::image::scanline(&im, y);
            for (int i = 0; i < im.width * bytes_per_pixel; i++) {
                sum += row[i];
            }
        }
    }
};

void put16(std::vector<uint8_t>* out, unsigned v) {
    out->push_back(static_cast<uint8_t>(v));
    out->push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>* out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A version 8 movie of one frame holding the input's tag records.
std::vector<uint8_t> movie_of(const uint8_t* data, size_t size) {
    std::vector<uint8_t> swf = {'F', 'W', 'S', 8, 0, 0, 0, 0, 0x00, 0, 12, 1, 0};
    size_t at = 0;
    while (at + 3 <= size) {
        const int type = bitmap_fuzz::bitmap_tag_types[data[at] % bitmap_fuzz::bitmap_tag_type_count];
        size_t length = data[at + 1] | (data[at + 2] << 8);
        at += 3;
        length = std::min(length, size - at);
        put16(&swf, static_cast<unsigned>(type << 6 | 0x3F));
        put32(&swf, static_cast<uint32_t>(length));
        swf.insert(swf.end(), data + at, data + at + length);
        at += length;
    }
    put16(&swf, 1 << 6);  // ShowFrame
    put16(&swf, 0);       // End
    const uint32_t total = static_cast<uint32_t>(swf.size());
    for (int i = 0; i < 4; i++) {
        swf[4 + i] = static_cast<uint8_t>(total >> (8 * i));
    }
    return swf;
}

void load_movie(const uint8_t* data, size_t size) {
    static swfplayer::smart_ptr<swfplayer::player> owner = new swfplayer::player();
    const std::vector<uint8_t> swf = movie_of(data, size);
    auto* file = new swfplayer::base_file(swfplayer::memory_buffer, static_cast<int>(swf.size()), swf.data());
    swfplayer::smart_ptr<swfplayer::movie_def_impl> movie = swfplayer::create_movie_definition(owner.get_ptr(), file);
    if (!movie) {
        std::abort();
    }
}

void read_jpegs(const uint8_t* data, size_t size) {
    const int bytes = static_cast<int>(size);
    {
        swfplayer::base_file in(swfplayer::memory_buffer, bytes, data);
        swfplayer::image::read_jpeg(&in);
    }
    {
        swfplayer::base_file in(swfplayer::memory_buffer, bytes, data);
        swfplayer::image::read_jpeg_tables_and_image(&in);
    }
    swfplayer::base_file in(swfplayer::memory_buffer, bytes, data);
    std::unique_ptr<swfplayer::image::rgba> im = swfplayer::image::read_jpeg_rgba(&in);
    if (im && im->data[4 * (im->width * im->height - 1) + 3] != 255) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1 || size > 1 << 16) {
        return 0;
    }
    swfplayer::log_callback previous = swfplayer::register_log_callback([](bool, const char*) {});
    static ReadingHandler handler;
    swfplayer::set_render_handler(&handler);
    if (data[0] % 2 == 0) {
        load_movie(data + 1, size - 1);
    } else {
        read_jpegs(data + 1, size - 1);
    }
    handler.calls.clear();
    swfplayer::set_render_handler(nullptr);
    swfplayer::register_log_callback(previous);
    return 0;
}
