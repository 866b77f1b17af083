#include "tools/swfkit/Records.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <utility>

namespace swfkit {

namespace {

int32_t ToFixed(double value) {
    return static_cast<int32_t>(std::lround(value * 65536.0));
}

int SignedBitsFor(std::initializer_list<int32_t> values) {
    int bits = 0;
    for (int32_t value : values) {
        bits = std::max(bits, BitWriter::SignedBitsNeeded(value));
    }
    return bits;
}

// Writes the 5-bit field size, then the values, with the field size the largest of them needs.
void WriteSignedGroup(BitWriter& out, std::initializer_list<int32_t> values) {
    int bits = SignedBitsFor(values);
    out.WriteBits(static_cast<uint32_t>(bits), 5);
    for (int32_t value : values) {
        out.WriteSignedBits(value, bits);
    }
}

void WriteStyleCount(BitWriter& out, size_t count, bool extended) {
    if (count < 0xFF || !extended) {
        out.WriteU8(static_cast<uint8_t>(std::min<size_t>(count, 0xFF)));
    } else {
        out.WriteU8(0xFF);
        out.WriteU16(static_cast<uint16_t>(count));
    }
}

void WriteColor(BitWriter& out, const Color& color, int shapeVersion) {
    if (shapeVersion >= 3) {
        WriteRgba(out, color);
    } else {
        WriteRgb(out, color);
    }
}

}  // namespace

FillStyle FillStyle::Solid(Color color) {
    FillStyle style;
    style.color = color;
    return style;
}

FillStyle FillStyle::Linear(const Matrix& matrix, std::vector<GradientStop> stops) {
    FillStyle style;
    style.type = 0x10;
    style.gradientMatrix = matrix;
    style.stops = std::move(stops);
    return style;
}

FillStyle FillStyle::Radial(const Matrix& matrix, std::vector<GradientStop> stops) {
    FillStyle style = Linear(matrix, std::move(stops));
    style.type = 0x12;
    return style;
}

FillStyle FillStyle::Bitmap(uint8_t type, uint16_t bitmapId, const Matrix& matrix) {
    FillStyle style;
    style.type = type;
    style.bitmapId = bitmapId;
    style.gradientMatrix = matrix;
    return style;
}

void WriteRect(BitWriter& out, const Rect& rect) {
    out.Align();
    WriteSignedGroup(out, {rect.xMin, rect.xMax, rect.yMin, rect.yMax});
    out.Align();
}

void WriteMatrix(BitWriter& out, const Matrix& matrix) {
    out.Align();
    bool hasScale = matrix.scaleX != 1.0 || matrix.scaleY != 1.0;
    out.WriteBits(hasScale, 1);
    if (hasScale) {
        WriteSignedGroup(out, {ToFixed(matrix.scaleX), ToFixed(matrix.scaleY)});
    }
    bool hasRotate = matrix.rotate0 != 0.0 || matrix.rotate1 != 0.0;
    out.WriteBits(hasRotate, 1);
    if (hasRotate) {
        WriteSignedGroup(out, {ToFixed(matrix.rotate0), ToFixed(matrix.rotate1)});
    }
    WriteSignedGroup(out, {matrix.translateX, matrix.translateY});
    out.Align();
}

void WriteColorTransform(BitWriter& out, const ColorTransform& cxform, bool withAlpha) {
    out.Align();
    int channels = withAlpha ? 4 : 3;
    int bits = 0;
    for (int i = 0; i < channels; i++) {
        if (cxform.hasMult) {
            bits = std::max(bits, BitWriter::SignedBitsNeeded(cxform.mult[i]));
        }
        if (cxform.hasAdd) {
            bits = std::max(bits, BitWriter::SignedBitsNeeded(cxform.add[i]));
        }
    }
    out.WriteBits(cxform.hasAdd, 1);
    out.WriteBits(cxform.hasMult, 1);
    out.WriteBits(static_cast<uint32_t>(bits), 4);
    if (cxform.hasMult) {
        for (int i = 0; i < channels; i++) {
            out.WriteSignedBits(cxform.mult[i], bits);
        }
    }
    if (cxform.hasAdd) {
        for (int i = 0; i < channels; i++) {
            out.WriteSignedBits(cxform.add[i], bits);
        }
    }
    out.Align();
}

void WriteRgb(BitWriter& out, const Color& color) {
    out.WriteU8(color.r);
    out.WriteU8(color.g);
    out.WriteU8(color.b);
}

void WriteRgba(BitWriter& out, const Color& color) {
    WriteRgb(out, color);
    out.WriteU8(color.a);
}

void WriteFillStyle(BitWriter& out, const FillStyle& style, int shapeVersion) {
    out.WriteU8(style.type);
    if (style.type == 0x00) {
        WriteColor(out, style.color, shapeVersion);
        return;
    }
    if (style.type >= 0x40) {
        out.WriteU16(style.bitmapId);
        WriteMatrix(out, style.gradientMatrix);
        return;
    }
    WriteMatrix(out, style.gradientMatrix);
    out.WriteU8(static_cast<uint8_t>(std::min<size_t>(style.stops.size(), 15)));
    for (size_t i = 0; i < style.stops.size() && i < 15; i++) {
        out.WriteU8(style.stops[i].ratio);
        WriteColor(out, style.stops[i].color, shapeVersion);
    }
}

void WriteFillStyles(BitWriter& out, const std::vector<FillStyle>& styles, int shapeVersion) {
    WriteStyleCount(out, styles.size(), shapeVersion >= 2);
    for (const FillStyle& style : styles) {
        WriteFillStyle(out, style, shapeVersion);
    }
}

void WriteLineStyles(BitWriter& out, const std::vector<LineStyle>& styles, int shapeVersion) {
    WriteStyleCount(out, styles.size(), shapeVersion >= 2);
    for (const LineStyle& style : styles) {
        out.WriteU16(style.width);
        if (shapeVersion >= 4) {
            out.WriteU16(0);  // round caps and joins, no fill, no flags
        }
        WriteColor(out, style.color, shapeVersion);
    }
}

}  // namespace swfkit
