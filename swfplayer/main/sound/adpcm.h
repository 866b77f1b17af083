#pragma once

namespace swfplayer {

class stream;

// Expands ADPCM-compressed sound read from in (bit fields, most significant bit first) into
// sample_count frames of 16-bit samples, one per channel per frame, left first: out holds
// sample_count * (stereo ? 2 : 1) values. The code size (2 to 5 bits) comes first; every block of
// up to 4096 frames starts with each channel's 16-bit start value and 6-bit step index. Data the
// stream no longer has reads as zero bits, so a short tag gives silence rather than a fault.
void adpcm_expand(short* out, stream* in, int sample_count, bool stereo);

}  // namespace swfplayer
