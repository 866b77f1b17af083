#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace testing_support {

// JPEG data made at test time with libjpeg-turbo's compressor. Every call with the same quality
// uses the same standard tables, so a tables-only block and images without tables fit together
// as they do in movies.
enum class JpegColour { Rgb, Grey, Cmyk };
enum class JpegTables { Included, Omitted };
using JpegPixel = std::function<std::array<uint8_t, 3>(int x, int y)>;

// A width by height image of the pixels (grey takes the red byte; CMYK writes the three bytes
// and 0 as the four components).
std::vector<uint8_t> WriteJpeg(int width, int height, const JpegPixel& pixel, JpegColour colour = JpegColour::Rgb,
                               JpegTables tables = JpegTables::Included, int quality = 100);
// The tables-only block that fits images written with JpegTables::Omitted.
std::vector<uint8_t> WriteJpegTables(int quality = 100);

}  // namespace testing_support
