#pragma once

#include "swfplayer/main/common/twips.h"
#include "tools/swfkit/BitWriter.h"

#include <cstdint>
#include <vector>

namespace swfkit {

// A rectangle in twips (1/20 pixel).
struct Rect {
    int32_t xMin = 0;
    int32_t xMax = 0;
    int32_t yMin = 0;
    int32_t yMax = 0;
};

// An affine transform: scale and rotate-skew terms (plain factors, written as 16.16 fixed point)
// and a translation in twips. The identity writes as the shortest record.
struct Matrix {
    double scaleX = 1.0;   // m[0][0]
    double scaleY = 1.0;   // m[1][1]
    double rotate0 = 0.0;  // m[1][0]
    double rotate1 = 0.0;  // m[0][1]
    int32_t translateX = 0;
    int32_t translateY = 0;
};

struct Color {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;
};

// A colour transform in the record's own units: multipliers in 8.8 fixed point (256 is 1.0),
// add terms in colour units, each for r, g, b, a.
struct ColorTransform {
    bool hasMult = false;
    bool hasAdd = false;
    int32_t mult[4] = {256, 256, 256, 256};
    int32_t add[4] = {0, 0, 0, 0};
};

// A gradient stop: ratio 0..255 along the gradient.
struct GradientStop {
    uint8_t ratio = 0;
    Color color;
};

// A fill style: solid (type 0x00), linear (0x10) or radial (0x12) gradient, or bitmap (0x40
// repeating, 0x41 clipped, 0x42 and 0x43 the same without smoothing).
struct FillStyle {
    uint8_t type = 0x00;
    Color color;                      // solid fills
    Matrix gradientMatrix;            // gradients: maps the 32768-twip gradient square; bitmaps:
                                      // places the bitmap's pixels in the shape
    std::vector<GradientStop> stops;  // gradients: 1 to 8 stops
    uint16_t bitmapId = 0;            // bitmaps: the bitmap character

    static FillStyle Solid(Color color);
    static FillStyle Linear(const Matrix& matrix, std::vector<GradientStop> stops);
    static FillStyle Radial(const Matrix& matrix, std::vector<GradientStop> stops);
    static FillStyle Bitmap(uint8_t type, uint16_t bitmapId, const Matrix& matrix);
};

// A line style: width in twips and colour.
struct LineStyle {
    uint16_t width = swfplayer::twips_per_pixel;
    Color color;
};

void WriteRect(BitWriter& out, const Rect& rect);
void WriteMatrix(BitWriter& out, const Matrix& matrix);
// CXFORM (withAlpha false: three terms per group) or CXFORMWITHALPHA.
void WriteColorTransform(BitWriter& out, const ColorTransform& cxform, bool withAlpha);
void WriteRgb(BitWriter& out, const Color& color);
void WriteRgba(BitWriter& out, const Color& color);
// A fill or line style array for a DefineShape of shapeVersion 1..4 (colours with alpha from 3
// on; line styles of version 4 are written as LINESTYLE2 with round caps and joins, no fill).
void WriteFillStyles(BitWriter& out, const std::vector<FillStyle>& styles, int shapeVersion);
void WriteLineStyles(BitWriter& out, const std::vector<LineStyle>& styles, int shapeVersion);
// One FILLSTYLE record.
void WriteFillStyle(BitWriter& out, const FillStyle& style, int shapeVersion);

}  // namespace swfkit
