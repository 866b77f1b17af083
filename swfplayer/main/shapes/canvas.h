#pragma once

#include "swfplayer/main/shapes/shape_character_def.h"

#include <cstdint>

namespace swfplayer {

// A shape drawn into at run time: the target of a movie clip's drawing methods and of the
// game's own drawing. Coordinates are twips. Every change empties the mesh cache, so the next
// display tessellates what was drawn. The bounds grow with every point drawn, so hit tests see
// the drawing. Edges drawn while the current path is a separator (straight after begin_fill, or
// with no current path) go into a new path at the pen, so the common beginFill, lineTo...,
// endFill sequence draws. Fills do not depend on the direction figures are drawn in.
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

    // Like a shape's, except that each filled figure is handed over from the side its fill
    // should lie on: figures fill whichever way they were drawn, and a figure inside another of
    // the same fill is a hole (even-odd), as drawing scripts expect.
    void tesselate_new(float error_tolerance, tesselate_new::mesh_accepter* accepter) const override;

    float m_current_x = 0.0f;
    float m_current_y = 0.0f;
    int m_current_fill = 0;  // 1-based, 0 none
    int m_current_line = 0;  // 1-based, 0 none
    int m_current_path = -1;

private:
    void add_edge(const edge& e);
    void include_in_bound(float x, float y);
    // Whether path index of the sub-shape group_start..group_end must be handed to the
    // tessellator with its fill on the right.
    bool fill_from_right(int group_start, int group_end, int index) const;

    // Sub-shapes with more paths than this fill each figure without looking for holes.
    static constexpr int max_nested_figures = 256;

    bool m_has_bound = false;  // whether m_bound holds a point drawn since the last clear
};

}  // namespace swfplayer
