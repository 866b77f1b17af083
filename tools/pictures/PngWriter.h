#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes an 8-bit RGBA picture (rows top to bottom, 4 bytes a pixel) as a PNG file. Returns
// false when the pixel count does not match the size or the file cannot be written.
bool WritePng(const std::string& path, uint32_t width, uint32_t height, const std::vector<uint8_t>& rgba);
