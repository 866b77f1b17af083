#pragma once
// Internal to make_movies: the drawing kit of the menu movies. Coordinates are pixels (floats),
// turned into twips here; every path goes clockwise on the screen with its fill on its right, and
// every filled region is a shape of its own, stacked in a sprite, so no two regions of different
// fills ever share a shape.

#include "tools/swfkit/FontBuilder.h"
#include "tools/swfkit/Records.h"
#include "tools/swfkit/ShapeBuilder.h"
#include "tools/swfkit/TagList.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace menu_art {

// The logical screen every menu movie covers, its frame rate, and the dark ink of its texts.
constexpr float kWidth = 800.0f;
constexpr float kHeight = 600.0f;
constexpr double kFrameRate = 30.0;
constexpr uint32_t kInk = 0x16324F;

using Point = std::pair<float, float>;

// A colour from 0xRRGGBB and an alpha byte.
swfkit::Color Hex(uint32_t rgb, uint8_t alpha = 255);
// Twips of a pixel length.
int32_t Twips(float pixels);

// Fills.
swfkit::FillStyle Solid(uint32_t rgb, uint8_t alpha = 255);

// One filled outline; with an outline colour, a stroke of the width too.
struct Outline {
    std::vector<Point> points;  // closed; curves through control points are marked below
    std::vector<bool> control;  // points[i] is the control point of a curve to points[i + 1]
};
Outline Circle(float cx, float cy, float r);
Outline Ellipse(float cx, float cy, float rx, float ry);
Outline RoundedRect(float x0, float y0, float x1, float y1, float radius);
Outline Polygon(const std::vector<Point>& points);
// The outline moved by (dx, dy) and scaled about (0, 0) first.
Outline Transformed(const Outline& outline, float scale, float dx, float dy);

swfkit::ShapeBuilder Shape(const Outline& outline, const swfkit::FillStyle& fill);
// The area inside outer and outside inner (a frame with a window), filled.
swfkit::ShapeBuilder Ring(const Outline& outer, const Outline& inner, const swfkit::FillStyle& fill);
swfkit::ShapeBuilder Stroke(const Outline& outline, float width, swfkit::Color color);
// Flat full-width bands down to the bottom of the screen, given as (top, colour) from the top
// down: each band ends where the next begins, so no pixel is drawn twice (the software renderer
// pays for every covered pixel of every shape).
std::vector<swfkit::ShapeBuilder> Bands(const std::vector<std::pair<float, uint32_t>>& bands);

// The character ids of one movie: each definition goes onto the movie's main timeline.
class Library {
public:
    explicit Library(swfkit::TagList& tags) : m_Tags(tags) {}
    uint16_t Define(const swfkit::ShapeBuilder& shape);
    uint16_t DefineSprite(const swfkit::TagList& frames);
    uint16_t DefineFont(const swfkit::EmbeddedFont& font);
    // Static text in the font, centred on (0, 0) with its baseline at y = size * 0.35, one colour
    // per letter (cycled).
    uint16_t DefineText(uint16_t fontId, const swfkit::EmbeddedFont& font, const std::string& text, float size,
                        const std::vector<swfkit::Color>& colors);

private:
    swfkit::TagList& m_Tags;
    uint16_t m_Next = 1;
};

// One frame's display list, filled from the bottom up.
class Stack {
public:
    explicit Stack(swfkit::TagList& tags, uint16_t firstDepth = 1) : m_Tags(tags), m_Depth(firstDepth) {}
    // Places the character at the next depth; returns that depth.
    uint16_t Place(uint16_t id, float x = 0.0f, float y = 0.0f, const std::string& name = "", float scale = 1.0f);

private:
    swfkit::TagList& m_Tags;
    uint16_t m_Depth;
};

// A placement of a character already at the depth, moved to (x, y) and scaled by (sx, sy), with
// an alpha multiplier when given.
swfkit::Placement Move(uint16_t depth, float x, float y, float sx = 1.0f, float sy = 1.0f,
                       std::optional<float> alpha = std::nullopt);

// A white cloud of four puffs about (0, 0), some 150 pixels wide.
uint16_t Cloud(Library& library);

// A sprite of shapes stacked in one frame that stops.
uint16_t Picture(Library& library, const std::vector<swfkit::ShapeBuilder>& shapes);

// A rounded button body around (0, 0), 44 pixels high: a shadow, the coloured pill with a lighter
// top and a rim, the label in white.
uint16_t PillBody(Library& library, uint16_t fontId, const swfkit::EmbeddedFont& font, const std::string& label,
                  float width, uint32_t color);

// A button clip around (0, 0) showing the body sprite: at rest it stops; "over" wobbles it like
// jelly and settles; "pressed" squashes it, sends the FSCommand (on its third frame) and settles;
// "disabled" shows it faded and stops (focus items pass a disabled clip by). The press script,
// in the kit's assembler text, runs just before the command is sent.
uint16_t JellyButton(Library& library, uint16_t body, const std::string& command, const std::string& pressScript = "");

// The action bytes of a script in the kit's assembler text, with the end action.
swfkit::Bytes Script(const std::string& text);

// The width in pixels of the text at the size in the font (advances only).
float TextWidth(const swfkit::EmbeddedFont& font, const std::string& text, float size);

// A text of a screen description.
struct TextSpec {
    std::string tag;
    std::string text;  // "\n" (backslash, n) breaks lines
    float size = 22.0f;
    std::string anchor;
    swfkit::Color color;
    float x = 0.0f;
    float y = 0.0f;
};
// A screen description file ("flashgui"): the font, the layers (name, movie file; the first is
// drawn on top) and the texts.
std::string Description(const std::string& font, const std::vector<std::pair<std::string, std::string>>& layers,
                        const std::vector<TextSpec>& texts);

// A file that holds one text record ("textelement") under the element "resource".
std::string TextLayout(const TextSpec& text);

}  // namespace menu_art
