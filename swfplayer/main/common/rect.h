#pragma once

#include "swfplayer/main/common/point.h"

namespace swfplayer {

class stream;

// An axis-aligned rectangle in twips. No invariant is enforced; one built by expansion keeps
// min <= max on both axes.
struct rect {
    float x_min = 0.0f;
    float x_max = 0.0f;
    float y_min = 0.0f;
    float y_max = 0.0f;

    rect() = default;
    rect(float xmin, float xmax, float ymin, float ymax) : x_min(xmin), x_max(xmax), y_min(ymin), y_max(ymax) {}

    // Reads a RECT record: a 5-bit field size, then x_min, x_max, y_min, y_max (twips).
    void read(stream* in);
    // Writes the rectangle in pixels to the player's log.
    void print() const;
    // True when the point lies inside or on an edge.
    bool point_test(float x, float y) const;
    // True when the two rectangles overlap or touch.
    bool bound_test(const rect& r) const;
    // Grows the rectangle to take in the point.
    void expand_to_point(float x, float y);
    // Grows the rectangle to take in r's two extreme corners.
    void expand_to_rect(const rect& r);
    // Corner i in 0..3: (x_min, y_min), (x_max, y_min), (x_max, y_max), (x_min, y_max).
    point get_corner(int i) const;
    // Each field = a + (b - a) * t.
    void set_lerp(const rect& a, const rect& b, float t);
};

}  // namespace swfplayer
