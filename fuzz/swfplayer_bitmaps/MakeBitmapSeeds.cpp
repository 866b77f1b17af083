// make_bitmap_seeds <folder>: writes the seed corpus of the bitmap fuzzer (the committed seeds/
// folder is its output): each bitmap tag with valid data, and JPEG streams of each kind.
#include "fuzz/SeedWriter.h"
#include "fuzz/swfplayer_bitmaps/BitmapFuzzInput.h"
#include "tests/support/JpegWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;
using testing_support::JpegColour;
using testing_support::JpegTables;
using testing_support::WriteJpeg;
using testing_support::WriteJpegTables;

namespace {

std::array<uint8_t, 3> Gradient(int x, int y) {
    return {static_cast<uint8_t>(x * 16), static_cast<uint8_t>(y * 16), static_cast<uint8_t>(x * y)};
}

Bytes Compress(const Bytes& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size);
    compress(out.data(), &size, data.data(), static_cast<uLong>(data.size()));
    out.resize(size);
    return out;
}

Bytes Le(unsigned v, int bytes) {
    Bytes b;
    for (int i = 0; i < bytes; i++) {
        b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    return b;
}

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

// One tag record of the fuzz input.
Bytes Record(int tag_type, const Bytes& body) {
    const int* types = bitmap_fuzz::bitmap_tag_types;
    const int choice = static_cast<int>(std::find(types, types + bitmap_fuzz::bitmap_tag_type_count, tag_type) - types);
    return Cat({Bytes{static_cast<uint8_t>(choice)}, Le(static_cast<unsigned>(body.size()), 2), body});
}

Bytes Lossless(int format, int width, int height, const Bytes& decoded, bool table = false) {
    return Cat({Le(1, 2), Bytes{static_cast<uint8_t>(format)}, Le(width, 2), Le(height, 2), table ? Bytes{3} : Bytes{},
                Compress(decoded)});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_bitmap_seeds <folder>\n");
        return 2;
    }
    const Bytes full = WriteJpeg(16, 16, Gradient);
    const Bytes abbreviated = WriteJpeg(16, 8, Gradient, JpegColour::Rgb, JpegTables::Omitted);
    const Bytes tables = WriteJpegTables();
    Bytes pixels(16 * 4 * 4);
    for (size_t i = 0; i < pixels.size(); i++) {
        pixels[i] = static_cast<uint8_t>(i * 13);
    }
    const std::map<std::string, Bytes> seeds = {
        {"jpeg_tables_and_bits", Cat({Bytes{0}, Record(swfplayer::tag_jpeg_tables, tables),
                                      Record(swfplayer::tag_define_bits, Cat({Le(1, 2), abbreviated})),
                                      Record(swfplayer::tag_define_bits, Cat({Le(2, 2), abbreviated}))})},
        {"bits_without_tables", Cat({Bytes{0}, Record(swfplayer::tag_define_bits, Cat({Le(1, 2), full}))})},
        {"jpeg2", Cat({Bytes{0}, Record(swfplayer::tag_define_bits_jpeg2, Cat({Le(1, 2), tables, abbreviated}))})},
        {"jpeg3", Cat({Bytes{0}, Record(swfplayer::tag_define_bits_jpeg3,
                                        Cat({Le(1, 2), Le(static_cast<unsigned>(full.size()), 4), full,
                                             Compress(Bytes(256, 128))}))})},
        {"lossless_formats",
         Cat({Bytes{0}, Record(swfplayer::tag_define_bits_lossless, Lossless(3, 5, 3, Bytes(12 + 24, 2), true)),
              Record(swfplayer::tag_define_bits_lossless, Lossless(4, 3, 4, Bytes(32, 0x5A))),
              Record(swfplayer::tag_define_bits_lossless, Lossless(5, 4, 4, pixels)),
              Record(swfplayer::tag_define_bits_lossless2, Lossless(3, 4, 2, Bytes(16 + 8, 1), true)),
              Record(swfplayer::tag_define_bits_lossless2, Lossless(4, 2, 2, Bytes(8, 0xF0))),
              Record(swfplayer::tag_define_bits_lossless2, Lossless(5, 4, 4, pixels))})},
        {"jpeg_full", Cat({Bytes{1}, full})},
        {"jpeg_split", Cat({Bytes{1}, tables, abbreviated})},
        {"jpeg_grey", Cat({Bytes{1}, WriteJpeg(8, 8, Gradient, JpegColour::Grey)})},
        {"jpeg_cmyk", Cat({Bytes{1}, WriteJpeg(8, 8, Gradient, JpegColour::Cmyk)})},
        {"jpeg_swapped_markers", Cat({Bytes{1, 0xFF, 0xD9, 0xFF, 0xD8}, full})},
    };
    return fuzz_support::write_seeds("make_bitmap_seeds", argv[1], seeds);
}
