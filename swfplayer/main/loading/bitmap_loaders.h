#pragma once

namespace swfplayer {

// Adds the loaders of the bitmap tags to the tag-loader table: JPEGTables (8), DefineBits (6),
// DefineBitsJPEG2 (21), DefineBitsJPEG3 (35), DefineBitsLossless (20) and DefineBitsLossless2
// (36). Every bitmap tag registers a bitmap character under its id; data that cannot be decoded
// gives it an empty bitmap, with the error logged.
void register_bitmap_loaders();

}  // namespace swfplayer
