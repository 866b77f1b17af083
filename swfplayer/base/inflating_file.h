#pragma once

#include "swfplayer/base/base_file.h"

namespace swfplayer {

// A new read-only file that yields the zlib-inflated bytes of source, read from source's current
// position on; the caller deletes it (which moves source back to just after the compressed data
// that was used). It stops for good on corrupt data; seeking backwards restarts decompression.
// Without check_sum the stream's Adler-32 value is neither computed nor compared: a reader that
// keeps what came out before a bad check value anyway saves that work.
base_file* make_inflating_file(base_file* source, bool check_sum = true);

}  // namespace swfplayer
