#pragma once

namespace swfplayer {

// The unit of length of SWF files and of the player: a twip is a twentieth of a pixel.
// Positions, sizes, translations and line widths read from a movie are in twips.
inline constexpr int twips_per_pixel = 20;

}  // namespace swfplayer
