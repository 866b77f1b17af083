#pragma once

#include "swfplayer/main/shapes/shape_character_def.h"

#include <cstdint>

namespace swfplayer {

// A shape drawn into at run time: the target of a movie clip's drawing methods and of the
// game's own drawing. Coordinates are twips. Every change empties the mesh cache, so the next
// display tessellates what was drawn. The bounds grow with every point drawn, so hit tests see
// the drawing. Edges drawn while the current path is a separator (straight after begin_fill, or
// with no current path) go into a new path at the pen, so the common beginFill, lineTo...,
// endFill sequence draws. Like every shape, figures fill by the even-odd rule whichever way they
// were drawn, a figure inside another of the same fill being a hole.
class canvas : public shape_character_def {
public:
    explicit canvas(player* owner) : shape_character_def(owner) {}
    // Copies the drawing (styles, paths, bounds, pen and current styles), not the mesh cache.
    canvas& operator=(const canvas& other);

    bool is(int class_id) const override { return class_id == AS_CANVAS || shape_character_def::is(class_id); }

    // A solid fill of that colour becomes current; starts a separator path.
    void begin_fill(const rgba& color);
    // Closes the current path and drops the current fill and path.
    void end_fill();
    // A line style of that width (twips) and colour becomes current; starts a path.
    void set_line_style(uint16_t width, const rgba& color);
    void move_to(float x, float y);
    void line_to(float x, float y);
    void curve_to(float cx, float cy, float ax, float ay);
    // Forgets everything drawn and every style.
    void clear();
    // Closes the current path with a straight edge back to its start, when it has edges and
    // does not end there already.
    void close_path();
    // Appends a path at the pen with the current styles; a separator when new_shape.
    void start_new_path(bool new_shape);

    float m_current_x = 0.0f;
    float m_current_y = 0.0f;
    int m_current_fill = 0;  // 1-based, 0 none
    int m_current_line = 0;  // 1-based, 0 none
    int m_current_path = -1;

private:
    void add_edge(const edge& e);
    void include_in_bound(float x, float y);
    bool m_has_bound = false;  // whether m_bound holds a point drawn since the last clear
};

}  // namespace swfplayer
