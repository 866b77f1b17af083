#include "swfplayer/main/common/matrix.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/bit_reader.h"
#include "swfplayer/main/common/finite_float.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/twips.h"

#include <cassert>
#include <cmath>

namespace swfplayer {

void matrix::set_identity() {
    m[0][0] = 1.0f;
    m[0][1] = 0.0f;
    m[0][2] = 0.0f;
    m[1][0] = 0.0f;
    m[1][1] = 1.0f;
    m[1][2] = 0.0f;
}

void matrix::concatenate(const matrix& other) {
    const float(&o)[2][3] = other.m;
    float t00 = m[0][0] * o[0][0] + m[0][1] * o[1][0];
    float t01 = m[0][0] * o[0][1] + m[0][1] * o[1][1];
    float t02 = m[0][0] * o[0][2] + m[0][1] * o[1][2] + m[0][2];
    float t10 = m[1][0] * o[0][0] + m[1][1] * o[1][0];
    float t11 = m[1][0] * o[0][1] + m[1][1] * o[1][1];
    float t12 = m[1][0] * o[0][2] + m[1][1] * o[1][2] + m[1][2];
    m[0][0] = finite_or_zero(t00);
    m[0][1] = finite_or_zero(t01);
    m[0][2] = finite_or_zero(t02);
    m[1][0] = finite_or_zero(t10);
    m[1][1] = finite_or_zero(t11);
    m[1][2] = finite_or_zero(t12);
}

void matrix::concatenate_translation(float tx, float ty) {
    m[0][2] = finite_or_zero(m[0][2] + m[0][0] * tx + m[0][1] * ty);
    m[1][2] = finite_or_zero(m[1][2] + m[1][0] * tx + m[1][1] * ty);
}

void matrix::concatenate_scale(float s) {
    m[0][0] = finite_or_zero(m[0][0] * s);
    m[0][1] = finite_or_zero(m[0][1] * s);
    m[1][0] = finite_or_zero(m[1][0] * s);
    m[1][1] = finite_or_zero(m[1][1] * s);
}

void matrix::set_lerp(const matrix& m1, const matrix& m2, float t) {
    for (int row = 0; row < 2; row++) {
        for (int col = 0; col < 3; col++) {
            m[row][col] = finite_or_zero(m1.m[row][col] + (m2.m[row][col] - m1.m[row][col]) * t);
        }
    }
}

void matrix::set_scale_rotation(float x_scale, float y_scale, float angle) {
    // A script writing NaN or an infinity to _xscale or _rotation would otherwise wipe the
    // whole 2x2 part; such writes are ignored instead.
    if (!std::isfinite(x_scale) || !std::isfinite(y_scale) || !std::isfinite(angle)) {
        return;
    }
    float cos_angle = std::cos(angle);
    float sin_angle = std::sin(angle);
    m[0][0] = finite_or_zero(x_scale * cos_angle);
    m[1][0] = finite_or_zero(x_scale * sin_angle);
    m[0][1] = finite_or_zero(-y_scale * sin_angle);
    m[1][1] = finite_or_zero(y_scale * cos_angle);
}

void matrix::set_inverse(const matrix& other) {
    assert(&other != this);
    const float(&o)[2][3] = other.m;
    float det = o[1][1] * o[0][0] - o[1][0] * o[0][1];
    if (det == 0.0f) {
        set_identity();
        m[0][2] = finite_or_zero(-o[0][2]);
        m[1][2] = finite_or_zero(-o[1][2]);
        return;
    }
    // A NaN determinant comes through here too and ends as an all-zero 2x2 part.
    float inv = 1.0f / det;
    m[0][0] = finite_or_zero(o[1][1] * inv);
    m[1][1] = finite_or_zero(o[0][0] * inv);
    m[0][1] = finite_or_zero(-o[0][1] * inv);
    m[1][0] = finite_or_zero(-o[1][0] * inv);
    m[0][2] = finite_or_zero(-(m[0][0] * o[0][2] + m[0][1] * o[1][2]));
    m[1][2] = finite_or_zero(-(m[1][0] * o[0][2] + m[1][1] * o[1][2]));
}

void matrix::read(stream* in) {
    in->align();
    bit_reader bits(in);
    set_identity();
    if (bits.read_bool()) {
        int nbits = static_cast<int>(bits.read_uint(5));
        m[0][0] = finite_or_zero(bits.read_sint(nbits) / 65536.0);
        m[1][1] = finite_or_zero(bits.read_sint(nbits) / 65536.0);
    }
    if (bits.read_bool()) {
        int nbits = static_cast<int>(bits.read_uint(5));
        m[1][0] = finite_or_zero(bits.read_sint(nbits) / 65536.0);
        m[0][1] = finite_or_zero(bits.read_sint(nbits) / 65536.0);
    }
    int nbits = static_cast<int>(bits.read_uint(5));
    if (nbits > 0) {
        m[0][2] = finite_or_zero(bits.read_sint(nbits));
        m[1][2] = finite_or_zero(bits.read_sint(nbits));
    }
}

void matrix::print() const {
    log_msg("| %4.4f %4.4f %4.4f |\n", m[0][0], m[0][1], m[0][2] / twips_per_pixel);
    log_msg("| %4.4f %4.4f %4.4f |\n", m[1][0], m[1][1], m[1][2] / twips_per_pixel);
}

void matrix::transform(point* result, const point& p) const {
    assert(result != nullptr && result != &p);
    result->x = m[0][0] * p.x + m[0][1] * p.y + m[0][2];
    result->y = m[1][0] * p.x + m[1][1] * p.y + m[1][2];
}

void matrix::transform_vector(point* result, const point& p) const {
    assert(result != nullptr && result != &p);
    result->x = m[0][0] * p.x + m[0][1] * p.y;
    result->y = m[1][0] * p.x + m[1][1] * p.y;
}

void matrix::transform(rect* r) const {
    assert(r != nullptr);
    point corner;
    transform(&corner, point(r->x_min, r->y_min));
    rect box(corner.x, corner.x, corner.y, corner.y);
    transform(&corner, point(r->x_max, r->y_min));
    box.expand_to_point(corner.x, corner.y);
    transform(&corner, point(r->x_max, r->y_max));
    box.expand_to_point(corner.x, corner.y);
    transform(&corner, point(r->x_min, r->y_max));
    box.expand_to_point(corner.x, corner.y);
    *r = box;
}

void matrix::transform_by_inverse(point* result, const point& p) const {
    matrix inverse;
    inverse.set_inverse(*this);
    inverse.transform(result, p);
}

void matrix::transform_by_inverse(rect* r) const {
    matrix inverse;
    inverse.set_inverse(*this);
    inverse.transform(r);
}

float matrix::get_determinant() const {
    return m[0][0] * m[1][1] - m[1][0] * m[0][1];
}

bool matrix::does_flip() const {
    return get_determinant() < 0.0f;
}

float matrix::get_max_scale() const {
    float x_length2 = m[0][0] * m[0][0] + m[1][0] * m[1][0];
    float y_length2 = m[0][1] * m[0][1] + m[1][1] * m[1][1];
    return std::sqrt(x_length2 > y_length2 ? x_length2 : y_length2);
}

float matrix::get_x_scale() const {
    float scale = std::sqrt(m[0][0] * m[0][0] + m[1][0] * m[1][0]);
    return does_flip() ? -scale : scale;
}

float matrix::get_y_scale() const {
    return std::sqrt(m[0][1] * m[0][1] + m[1][1] * m[1][1]);
}

float matrix::get_rotation() const {
    if (does_flip()) {
        // The mirroring is carried by the x scale, so the first column is read back mirrored.
        return std::atan2(-m[1][0], -m[0][0]);
    }
    return std::atan2(m[1][0], m[0][0]);
}

}  // namespace swfplayer
