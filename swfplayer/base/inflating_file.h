#pragma once

#include "swfplayer/base/base_file.h"

namespace swfplayer {

// A new read-only file that yields the zlib-inflated bytes of source, read from source's current
// position on; the caller deletes it (which moves source back to just after the compressed data
// that was used). It stops for good on corrupt data; seeking backwards restarts decompression.
base_file* make_inflating_file(base_file* source);

}  // namespace swfplayer
