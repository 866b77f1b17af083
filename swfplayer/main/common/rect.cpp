#include "swfplayer/main/common/rect.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/bit_reader.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/twips.h"

#include <algorithm>
#include <cassert>

namespace swfplayer {

void rect::read(stream* in) {
    in->align();
    bit_reader bits(in);
    int nbits = static_cast<int>(bits.read_uint(5));
    x_min = static_cast<float>(bits.read_sint(nbits));
    x_max = static_cast<float>(bits.read_sint(nbits));
    y_min = static_cast<float>(bits.read_sint(nbits));
    y_max = static_cast<float>(bits.read_sint(nbits));
}

void rect::print() const {
    log_msg("xmin = %g, ymin = %g, xmax = %g, ymax = %g\n", static_cast<double>(x_min) / twips_per_pixel,
            static_cast<double>(y_min) / twips_per_pixel, static_cast<double>(x_max) / twips_per_pixel,
            static_cast<double>(y_max) / twips_per_pixel);
}

bool rect::point_test(float x, float y) const {
    return x >= x_min && x <= x_max && y >= y_min && y <= y_max;
}

bool rect::bound_test(const rect& r) const {
    if (r.x_min > x_max || r.x_max < x_min || r.y_max < y_min || r.y_min > y_max) {
        return false;
    }
    return true;
}

void rect::expand_to_point(float x, float y) {
    x_min = std::min(x_min, x);
    x_max = std::max(x_max, x);
    y_min = std::min(y_min, y);
    y_max = std::max(y_max, y);
}

void rect::expand_to_rect(const rect& r) {
    expand_to_point(r.x_min, r.y_min);
    expand_to_point(r.x_max, r.y_max);
}

point rect::get_corner(int i) const {
    assert(i >= 0 && i <= 3);
    switch (i) {
    case 0: return point(x_min, y_min);
    case 1: return point(x_max, y_min);
    case 2: return point(x_max, y_max);
    default: return point(x_min, y_max);
    }
}

void rect::set_lerp(const rect& a, const rect& b, float t) {
    x_min = a.x_min + (b.x_min - a.x_min) * t;
    x_max = a.x_max + (b.x_max - a.x_max) * t;
    y_min = a.y_min + (b.y_min - a.y_min) * t;
    y_max = a.y_max + (b.y_max - a.y_max) * t;
}

}  // namespace swfplayer
