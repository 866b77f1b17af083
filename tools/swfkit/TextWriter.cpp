#include "tools/swfkit/TextWriter.h"

#include <algorithm>
#include <cmath>

namespace swfkit {

TextRun RunOf(const EmbeddedFont& font, uint16_t fontId, const std::string& text, uint16_t height) {
    TextRun run;
    run.fontId = fontId;
    run.height = height;
    for (uint32_t code : CodePoints(text)) {
        const int index = code <= 0xFFFF ? font.IndexOf(static_cast<uint16_t>(code)) : -1;
        if (index >= 0) {
            const double advance = font.advances[static_cast<size_t>(index)] * height / 1024.0;
            run.glyphs.push_back({static_cast<uint32_t>(index), static_cast<int32_t>(std::lround(advance))});
        }
    }
    return run;
}

Bytes DefineTextBody(uint16_t id, const Rect& bounds, const Matrix& matrix, const std::vector<TextRun>& runs,
                     int version) {
    uint32_t maxIndex = 0;
    int32_t maxAdvance = 0;
    for (const TextRun& run : runs) {
        for (const TextGlyph& glyph : run.glyphs) {
            maxIndex = std::max(maxIndex, glyph.index);
            maxAdvance = std::max(maxAdvance, std::abs(glyph.advance));
        }
    }
    const int glyphBits = std::max(1, BitWriter::UnsignedBitsNeeded(maxIndex));
    const int advanceBits = std::max(1, BitWriter::SignedBitsNeeded(maxAdvance));

    BitWriter out;
    out.WriteU16(id);
    WriteRect(out, bounds);
    WriteMatrix(out, matrix);
    out.Align();
    out.WriteU8(static_cast<uint8_t>(glyphBits));
    out.WriteU8(static_cast<uint8_t>(advanceBits));
    for (const TextRun& run : runs) {
        out.WriteU8(static_cast<uint8_t>(0x80 | (run.fontId ? 0x08 : 0) | (run.color ? 0x04 : 0) | (run.y ? 0x02 : 0) |
                                         (run.x ? 0x01 : 0)));
        if (run.fontId) {
            out.WriteU16(*run.fontId);
        }
        if (run.color) {
            if (version >= 2) {
                WriteRgba(out, *run.color);
            } else {
                WriteRgb(out, *run.color);
            }
        }
        if (run.x) {
            out.WriteU16(static_cast<uint16_t>(*run.x));
        }
        if (run.y) {
            out.WriteU16(static_cast<uint16_t>(*run.y));
        }
        if (run.fontId) {
            out.WriteU16(run.height);
        }
        out.WriteU8(static_cast<uint8_t>(run.glyphs.size()));
        for (const TextGlyph& glyph : run.glyphs) {
            out.WriteBits(glyph.index, glyphBits);
            out.WriteSignedBits(glyph.advance, advanceBits);
        }
        out.Align();
    }
    out.WriteU8(0);
    return out.GetBytes();
}

Bytes DefineEditTextBody(const EditText& field) {
    BitWriter out;
    out.WriteU16(field.id);
    WriteRect(out, field.bounds);
    out.Align();
    out.WriteBits(field.text.has_value(), 1);
    out.WriteBits(field.wordWrap, 1);
    out.WriteBits(field.multiline, 1);
    out.WriteBits(0, 1);  // password
    out.WriteBits(field.readOnly, 1);
    out.WriteBits(field.color.has_value(), 1);
    out.WriteBits(field.maxLength.has_value(), 1);
    out.WriteBits(field.fontId.has_value(), 1);
    out.WriteBits(field.fontClass.has_value(), 1);
    out.WriteBits(0, 1);  // auto size
    out.WriteBits(field.layout.has_value(), 1);
    out.WriteBits(0, 1);  // no select
    out.WriteBits(field.border, 1);
    out.WriteBits(0, 1);  // was static
    out.WriteBits(field.html, 1);
    out.WriteBits(1, 1);  // use outlines
    if (field.fontId) {
        out.WriteU16(*field.fontId);
    }
    if (field.fontClass) {
        out.WriteString(*field.fontClass);
    }
    if (field.fontId || field.fontClass) {
        out.WriteU16(field.height);
    }
    if (field.color) {
        WriteRgba(out, *field.color);
    }
    if (field.maxLength) {
        out.WriteU16(*field.maxLength);
    }
    if (field.layout) {
        out.WriteU8(field.layout->align);
        out.WriteU16(field.layout->leftMargin);
        out.WriteU16(field.layout->rightMargin);
        out.WriteU16(static_cast<uint16_t>(field.layout->indent));
        out.WriteU16(static_cast<uint16_t>(field.layout->leading));
    }
    out.WriteString(field.variable);
    if (field.text) {
        out.WriteString(*field.text);
    }
    return out.GetBytes();
}

}  // namespace swfkit
