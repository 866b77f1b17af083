#pragma once

#include "tools/pictures/Canvas.h"
#include "tools/swfkit/Records.h"
#include "tools/swfkit/TagList.h"

#include <cstdint>
#include <vector>

// The flat art of the levels, written once and shown twice: as shapes in the game's movies and
// painted into the PNG pictures (backgrounds and screenshots) by the same outlines, so that a
// screenshot shows what the game will.
namespace art {

using pictures::Contour;
using pictures::Point;

// One flat shape: its contours filled by the even-odd rule in one colour.
struct Shape {
    std::vector<Contour> contours;
    swfkit::Color color;
};

// Shapes painted in order, the later over the earlier.
using Drawing = std::vector<Shape>;

// Where a drawing goes: target = offset + scale * (p turned by angle radians, x towards y).
struct Placement {
    double scale = 1.0;
    double angle = 0.0;
    Point offset;

    Point Apply(const Point& p) const;
};

swfkit::Color Rgb(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255);
// The colour with each channel moved towards black (amount < 0) or white (amount > 0).
swfkit::Color Shade(const swfkit::Color& color, double amount);
pictures::Rgba ToRgba(const swfkit::Color& color, double alphaScale = 1.0);

Contour Circle(const Point& centre, double radius);
Contour Ellipse(const Point& centre, double rx, double ry);
Contour Rectangle(double left, double top, double right, double bottom);
// A rectangle whose corners are rounded with the radius.
Contour RoundedRectangle(double left, double top, double right, double bottom, double radius);
Contour Placed(const Contour& contour, const Placement& placement);
Drawing Placed(const Drawing& drawing, const Placement& placement);
// The contour moved by (dx, dy).
Contour Moved(const Contour& contour, double dx, double dy);

// Whether the point lies inside the contour (even-odd).
bool Inside(const Point& p, const Contour& contour);

// A placement's matrix in a movie: scaled, turned by angle radians (x towards y), then moved to
// (x, y) pixels.
swfkit::Matrix MatrixAt(double x, double y, double scaleX = 1.0, double scaleY = 1.0, double angle = 0.0);

// Paints the drawing, placed, into the canvas; alphaScale multiplies every shape's alpha.
void Paint(const Drawing& drawing, const Placement& placement, pictures::Canvas& canvas, double alphaScale = 1.0);

// Writes shapes into a movie: each shape its own DefineShape (numbered from the next free id),
// with the outer contours running clockwise on screen and every hole the other way.
class ShapeWriter {
public:
    explicit ShapeWriter(swfkit::TagList& definitions, uint16_t firstId = 1) : m_Tags(definitions), m_NextId(firstId) {}

    // Defines the shape (placed, in pixels) and returns its character id.
    uint16_t Define(const Shape& shape, const Placement& placement = {});
    // Defines every shape of the drawing and places them at depths from firstDepth up, in the
    // given timeline. Returns the depth after the last one used.
    uint16_t Place(const Drawing& drawing, swfkit::TagList& timeline, uint16_t firstDepth,
                   const Placement& placement = {});
    uint16_t NextId() const { return m_NextId; }
    // Reserves an id for a character defined elsewhere (a sprite).
    uint16_t TakeId() { return m_NextId++; }

private:
    swfkit::TagList& m_Tags;
    uint16_t m_NextId;
};

}  // namespace art
