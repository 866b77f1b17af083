#include "swfplayer/main/loading/lossless_bitmap.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace swfplayer {
namespace {

// zlib never expands data more than 1032 times; a tag whose pixels would need more cannot hold
// them, and refusing it keeps a few bytes of data from allocating a huge image.
constexpr int64_t max_inflate_ratio = 1040;
constexpr int64_t zlib_overhead = 64;  // bytes

bool compressed_size_possible(stream* in, int64_t decoded_bytes, const char* who) {
    int64_t possible = static_cast<int64_t>(in->get_tag_bytes_left()) * max_inflate_ratio + zlib_overhead;
    if (decoded_bytes > possible) {
        log_error("%s: %lld decoded bytes cannot come from the tag's %d bytes\n", who,
                  static_cast<long long>(decoded_bytes), in->get_tag_bytes_left());
        return false;
    }
    return true;
}

// Inflates decoded.size() bytes from in; what the data does not reach stays as it was.
void inflate_into(stream* in, uint8_t* dst, size_t bytes, const char* who) {
    if (bytes > 0 && !inflate_wrapper(in->get_underlying_stream(), dst, static_cast<int>(bytes))) {
        log_error("%s: compressed data damaged or short\n", who);
    }
}

int row_bytes(int bytes) {
    return (bytes + 3) & ~3;
}

// The decoded layout of the tag's pixels.
struct layout {
    int table_entries = 0;  // format 3
    int entry_bytes = 0;    // format 3: 3, or 4 with alpha
    int row = 0;            // bytes a row
    int64_t size() const { return static_cast<int64_t>(table_entries) * entry_bytes; }
};

// DefineBitsLossless2 stores colour multiplied by alpha; images carry straight colour, so each
// channel is divided by alpha again, rounded and kept at 255 at most (data whose colour exceeds
// its alpha). A fully transparent pixel keeps its colour: it shows nowhere anyway.
void unpremultiply(uint8_t* pixel) {
    const unsigned alpha = pixel[3];
    if (alpha == 0 || alpha == 255) {
        return;
    }
    for (int c = 0; c < 3; c++) {
        pixel[c] = static_cast<uint8_t>(std::min(255u, (pixel[c] * 255u + alpha / 2) / alpha));
    }
}

// Writes pixel x of the decoded row src to out (3 or 4 bytes), for the given format; pixels with
// alpha come out in straight colour.
void convert_row(int format, const layout& l, const uint8_t* table, const uint8_t* src, int width, bool with_alpha,
                 uint8_t* out) {
    const int out_bytes = with_alpha ? 4 : 3;
    for (int x = 0; x < width; x++, out += out_bytes) {
        if (format == 3) {
            int index = src[x];
            if (index < l.table_entries) {
                std::memcpy(out, table + index * l.entry_bytes, out_bytes);
            } else {
                std::memset(out, 0, out_bytes);
            }
        } else if (format == 4) {
            unsigned v = src[2 * x] + 256u * src[2 * x + 1];
            out[0] = static_cast<uint8_t>((v >> 8) & 0xF8);
            out[1] = static_cast<uint8_t>((v >> 3) & 0xFC);
            out[2] = static_cast<uint8_t>((v << 3) & 0xFF);
            if (with_alpha) {
                out[3] = 255;
            }
        } else {
            const uint8_t* p = src + 4 * x;
            out[0] = p[1];
            out[1] = p[2];
            out[2] = p[3];
            if (with_alpha) {
                out[3] = p[0];
            }
        }
        if (with_alpha) {
            unpremultiply(out);
        }
    }
}

template <class image_type>
std::unique_ptr<image_type> read_lossless(stream* in, const lossless_header& h, bool with_alpha,
                                          std::unique_ptr<image_type> (*create)(int, int)) {
    const char* who = with_alpha ? "read_lossless_rgba" : "read_lossless_rgb";
    if (!image::size_allowed(h.width, h.height)) {
        log_error("%s: refusing a bitmap of %d x %d pixels\n", who, h.width, h.height);
        return nullptr;
    }
    layout l;
    if (h.format == 3) {
        l.table_entries = in->read_u8() + 1;
        l.entry_bytes = with_alpha ? 4 : 3;
        l.row = row_bytes(h.width);
    } else if (h.format == 4) {
        l.row = row_bytes(2 * h.width);
    } else if (h.format == 5) {
        l.row = 4 * h.width;
    }
    int64_t decoded_bytes = l.size() + static_cast<int64_t>(l.row) * h.height;
    if (!compressed_size_possible(in, decoded_bytes, who)) {
        return nullptr;
    }
    std::unique_ptr<image_type> im = create(h.width, h.height);
    if (l.row == 0) {
        log_error("%s: unknown format %d; the bitmap stays blank\n", who, h.format);
        std::memset(im->data.get(), 0, static_cast<size_t>(im->pitch) * im->height);
        return im;
    }
    std::vector<uint8_t> decoded(static_cast<size_t>(decoded_bytes));
    inflate_into(in, decoded.data(), decoded.size(), who);
    const uint8_t* table = decoded.data();
    const uint8_t* rows = decoded.data() + l.size();
    for (int y = 0; y < h.height; y++) {
        convert_row(h.format, l, table, rows + static_cast<size_t>(l.row) * y, h.width, with_alpha,
                    image::scanline(im.get(), y));
    }
    return im;
}

}  // namespace

std::unique_ptr<image::rgb> read_lossless_rgb(stream* in, const lossless_header& header) {
    return read_lossless(in, header, false, image::create_rgb);
}

std::unique_ptr<image::rgba> read_lossless_rgba(stream* in, const lossless_header& header) {
    return read_lossless(in, header, true, image::create_rgba);
}

void read_alpha_plane(stream* in, image::rgba* im) {
    const size_t pixels = static_cast<size_t>(im->width) * im->height;
    if (!compressed_size_possible(in, static_cast<int64_t>(pixels), "read_alpha_plane")) {
        return;
    }
    std::vector<uint8_t> alpha(pixels, 255);
    inflate_into(in, alpha.data(), alpha.size(), "read_alpha_plane");
    for (size_t i = 0; i < pixels; i++) {
        im->data[4 * i + 3] = alpha[i];
    }
}

}  // namespace swfplayer
