#pragma once
// Internal to the shapes folder: the little-endian values of the mesh cache records.

#include <cstdint>
#include <vector>

namespace swfplayer {

class base_file;

namespace cache_io {

void write_u8(base_file* out, uint8_t v);
void write_i32(base_file* out, int32_t v);
void write_f32(base_file* out, float v);
// A count, then the values.
void write_i16_array(base_file* out, const std::vector<int16_t>& values);

// Each returns false when the file had fewer bytes than the value needs.
bool read_u8(base_file* in, uint8_t* v);
bool read_i32(base_file* in, int32_t* v);
bool read_f32(base_file* in, float* v);
// A count, then the values. False when the count is negative, odd or above max_values, or the
// values run past the end of the file; memory grows only with data actually read.
bool read_i16_array(base_file* in, std::vector<int16_t>* values, int max_values);

}  // namespace cache_io
}  // namespace swfplayer
