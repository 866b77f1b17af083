#pragma once

// The input layout of the bitmap fuzzer, shared with its seed writer. The first byte chooses:
//   even: records of (tag choice byte, u16 little-endian body length, body), each a bitmap tag
//         (the choice indexes bitmap_tag_types), loaded as one frame of a movie;
//   odd:  the rest is a JPEG stream for each of the JPEG readers.
#include "swfplayer/main/common/swf_tag.h"

#include <cstdint>

namespace bitmap_fuzz {

constexpr int bitmap_tag_types[] = {swfplayer::tag_define_bits,          swfplayer::tag_jpeg_tables,
                                    swfplayer::tag_define_bits_lossless, swfplayer::tag_define_bits_jpeg2,
                                    swfplayer::tag_define_bits_jpeg3,    swfplayer::tag_define_bits_lossless2};
constexpr int bitmap_tag_type_count = sizeof(bitmap_tag_types) / sizeof(bitmap_tag_types[0]);

}  // namespace bitmap_fuzz
