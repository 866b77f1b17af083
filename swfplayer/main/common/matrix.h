#pragma once

#include "swfplayer/main/common/point.h"
#include "swfplayer/main/common/rect.h"

namespace swfplayer {

class stream;

// A 2x3 affine transform, row-major: a point (x, y) maps to
// (m[0][0]*x + m[0][1]*y + m[0][2], m[1][0]*x + m[1][1]*y + m[1][2]). The third column is the
// translation in twips. Every operation that stores a computed entry stores it finite-or-zero.
//
// Scale and rotation are read from the columns, which is where set_scale_rotation writes them,
// so a scale or rotation written can be read back unchanged. A mirrored matrix reports its
// mirroring as a negative x scale.
class matrix {
public:
    float m[2][3];

    // The identity.
    matrix() { set_identity(); }

    void set_identity();
    // this = this x other: other is applied first, then the old this.
    void concatenate(const matrix& other);
    // Applies a translation in the matrix's own space before the matrix.
    void concatenate_translation(float tx, float ty);
    // Multiplies the 2x2 part by s; the translation is unchanged.
    void concatenate_scale(float s);
    // Every entry = m1 + (m2 - m1) * t.
    void set_lerp(const matrix& m1, const matrix& m2, float t);
    // Sets the 2x2 part to a scale followed by a rotation (radians); the translation is unchanged.
    // A non-finite argument leaves the matrix as it was.
    void set_scale_rotation(float x_scale, float y_scale, float angle);
    // this = the inverse of other (other must not be this). A singular matrix inverts to the
    // identity with its translation negated.
    void set_inverse(const matrix& other);

    // Reads a MATRIX record: optional scale and rotation (16.16 fixed), then the translation.
    void read(stream* in);

    // Writes the two rows to the player's log, translation in pixels.
    void print() const;

    // The full transform; result must not be &p.
    void transform(point* result, const point& p) const;
    // The 2x2 part only, without translation; result must not be &p.
    void transform_vector(point* result, const point& p) const;
    // Replaces r by the bounding box of its four transformed corners.
    void transform(rect* r) const;
    // Transforms by the inverse; result must not be &p.
    void transform_by_inverse(point* result, const point& p) const;
    void transform_by_inverse(rect* r) const;

    float get_determinant() const;
    // True when the matrix mirrors (negative determinant).
    bool does_flip() const;
    // The larger of the two axis scales.
    float get_max_scale() const;
    // Length of the first column, negative when the matrix mirrors.
    float get_x_scale() const;
    // Length of the second column, never negative.
    float get_y_scale() const;
    // Rotation in radians of the first column (of its mirror image when the matrix mirrors).
    float get_rotation() const;
};

}  // namespace swfplayer
