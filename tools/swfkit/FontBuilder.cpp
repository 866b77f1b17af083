#include "tools/swfkit/FontBuilder.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>
#include <set>

namespace swfkit {

namespace {

constexpr double kEmUnits = 1024.0;

// Collects one glyph's outline as shape commands, scaled to the EM square and flipped to y down.
struct OutlineSink {
    ShapeBuilder* shape;
    double scale;
    FT_Vector last{0, 0};

    int32_t X(FT_Pos x) const { return static_cast<int32_t>(std::lround(x * scale)); }
    int32_t Y(FT_Pos y) const { return static_cast<int32_t>(std::lround(-y * scale)); }

    static int Move(const FT_Vector* to, void* user) {
        auto* sink = static_cast<OutlineSink*>(user);
        sink->shape->MoveTo(sink->X(to->x), sink->Y(to->y));
        sink->last = *to;
        return 0;
    }
    static int Line(const FT_Vector* to, void* user) {
        auto* sink = static_cast<OutlineSink*>(user);
        sink->shape->LineTo(sink->X(to->x), sink->Y(to->y));
        sink->last = *to;
        return 0;
    }
    static int Conic(const FT_Vector* control, const FT_Vector* to, void* user) {
        auto* sink = static_cast<OutlineSink*>(user);
        sink->shape->CurveTo(sink->X(control->x), sink->Y(control->y), sink->X(to->x), sink->Y(to->y));
        sink->last = *to;
        return 0;
    }
    // TrueType has no cubics; should a font have one, a single quadratic through the average of
    // the two control points stands in for it.
    static int Cubic(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        auto* sink = static_cast<OutlineSink*>(user);
        const FT_Pos cx = (3 * (c1->x + c2->x) - sink->last.x - to->x) / 4;
        const FT_Pos cy = (3 * (c1->y + c2->y) - sink->last.y - to->y) / 4;
        sink->shape->CurveTo(sink->X(cx), sink->Y(cy), sink->X(to->x), sink->Y(to->y));
        sink->last = *to;
        return 0;
    }
};

std::set<uint16_t> CodesOf(const std::string& text) {
    std::set<uint16_t> codes;
    for (uint32_t code : CodePoints(text)) {
        if (code <= 0xFFFF) {
            codes.insert(static_cast<uint16_t>(code));
        }
    }
    return codes;
}

int16_t Clamp16(double value) {
    return static_cast<int16_t>(std::clamp(std::lround(value), -32768L, 32767L));
}

void WriteCode(BitWriter& out, uint16_t code, bool wide) {
    if (wide) {
        out.WriteU16(code);
    } else {
        out.WriteU8(static_cast<uint8_t>(code));
    }
}

// Glyph records sized for one fill style on the left of every edge.
Bytes GlyphRecords(const ShapeBuilder& glyph) {
    return glyph.BuildRecords(1, 1, 0);
}

}  // namespace

std::vector<uint32_t> CodePoints(const std::string& utf8) {
    std::vector<uint32_t> codes;
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<uint8_t>(utf8[i]);
        const size_t length = lead < 0x80           ? 1
                              : (lead >> 5) == 0x6  ? 2
                              : (lead >> 4) == 0xE  ? 3
                              : (lead >> 3) == 0x1E ? 4
                                                    : 0;
        if (length == 0 || i + length > utf8.size()) {
            i++;
            continue;
        }
        uint32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
        bool valid = true;
        for (size_t k = 1; k < length; k++) {
            const auto next = static_cast<uint8_t>(utf8[i + k]);
            valid = valid && (next & 0xC0) == 0x80;
            code = code << 6 | (next & 0x3Fu);
        }
        if (valid) {
            codes.push_back(code);
        }
        i += valid ? length : 1;
    }
    return codes;
}

int EmbeddedFont::IndexOf(uint16_t code) const {
    auto it = std::lower_bound(codes.begin(), codes.end(), code);
    return it != codes.end() && *it == code ? static_cast<int>(it - codes.begin()) : -1;
}

bool LoadTrueTypeFont(const std::string& path, const std::string& text, EmbeddedFont* out) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return false;
    }
    FT_Face face = nullptr;
    bool ok = FT_New_Face(library, path.c_str(), 0, &face) == 0 && face->units_per_EM > 0;
    if (ok) {
        *out = EmbeddedFont();
        out->name = face->family_name ? face->family_name : "";
        out->bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
        out->italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
        const double scale = kEmUnits / face->units_per_EM;
        out->ascent = Clamp16(face->ascender * scale);
        out->descent = Clamp16(-face->descender * scale);
        out->leading = Clamp16((face->height - face->ascender + face->descender) * scale);
        FT_Outline_Funcs funcs{};
        funcs.move_to = OutlineSink::Move;
        funcs.line_to = OutlineSink::Line;
        funcs.conic_to = OutlineSink::Conic;
        funcs.cubic_to = OutlineSink::Cubic;
        for (uint16_t code : CodesOf(text)) {
            const FT_UInt index = FT_Get_Char_Index(face, code);
            if (index == 0 || FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) != 0 ||
                face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) {
                continue;
            }
            ShapeBuilder shape;
            shape.SetFillStyle1(1);
            OutlineSink sink{&shape, scale};
            FT_Outline_Decompose(&face->glyph->outline, &funcs, &sink);
            out->codes.push_back(code);
            out->glyphs.push_back(shape);
            out->advances.push_back(Clamp16(face->glyph->advance.x * scale));
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    return ok;
}

Bytes DefineFontBody(uint16_t id, const EmbeddedFont& font) {
    std::vector<Bytes> shapes;
    for (const ShapeBuilder& glyph : font.glyphs) {
        shapes.push_back(GlyphRecords(glyph));
    }
    BitWriter out;
    out.WriteU16(id);
    size_t offset = 2 * shapes.size();
    for (const Bytes& shape : shapes) {
        out.WriteU16(static_cast<uint16_t>(offset));
        offset += shape.size();
    }
    for (const Bytes& shape : shapes) {
        out.WriteBytes(shape);
    }
    return out.GetBytes();
}

Bytes DefineFontInfoBody(uint16_t id, const EmbeddedFont& font, int version, bool wideCodes) {
    BitWriter out;
    out.WriteU16(id);
    out.WriteU8(static_cast<uint8_t>(font.name.size()));
    out.WriteBytes(Bytes(font.name.begin(), font.name.end()));
    out.WriteU8(static_cast<uint8_t>((font.italic ? 0x04 : 0) | (font.bold ? 0x02 : 0) | (wideCodes ? 0x01 : 0)));
    if (version == 2) {
        out.WriteU8(1);  // language code
    }
    for (uint16_t code : font.codes) {
        WriteCode(out, code, wideCodes);
    }
    return out.GetBytes();
}

Bytes DefineFont2Body(uint16_t id, const EmbeddedFont& font, bool wideOffsets, bool wideCodes, bool withLayout) {
    std::vector<Bytes> shapes;
    for (const ShapeBuilder& glyph : font.glyphs) {
        shapes.push_back(GlyphRecords(glyph));
    }
    BitWriter out;
    out.WriteU16(id);
    out.WriteBits(withLayout, 1);
    out.WriteBits(0, 1);  // Shift-JIS
    out.WriteBits(0, 1);  // small text
    out.WriteBits(0, 1);  // ANSI
    out.WriteBits(wideOffsets, 1);
    out.WriteBits(wideCodes, 1);
    out.WriteBits(font.italic, 1);
    out.WriteBits(font.bold, 1);
    out.WriteU8(1);  // language code
    out.WriteU8(static_cast<uint8_t>(font.name.size()));
    out.WriteBytes(Bytes(font.name.begin(), font.name.end()));
    out.WriteU16(static_cast<uint16_t>(shapes.size()));
    const size_t offsetBytes = wideOffsets ? 4 : 2;
    size_t offset = offsetBytes * (shapes.size() + 1);
    auto writeOffset = [&](size_t value) {
        if (wideOffsets) {
            out.WriteU32(static_cast<uint32_t>(value));
        } else {
            out.WriteU16(static_cast<uint16_t>(value));
        }
    };
    for (const Bytes& shape : shapes) {
        writeOffset(offset);
        offset += shape.size();
    }
    writeOffset(offset);  // the code table follows the outlines
    for (const Bytes& shape : shapes) {
        out.WriteBytes(shape);
    }
    for (uint16_t code : font.codes) {
        WriteCode(out, code, wideCodes);
    }
    if (withLayout) {
        out.WriteU16(static_cast<uint16_t>(font.ascent));
        out.WriteU16(static_cast<uint16_t>(font.descent));
        out.WriteU16(static_cast<uint16_t>(font.leading));
        for (int16_t advance : font.advances) {
            out.WriteU16(static_cast<uint16_t>(advance));
        }
        for (const ShapeBuilder& glyph : font.glyphs) {
            WriteRect(out, glyph.GetBounds());
        }
        out.WriteU16(static_cast<uint16_t>(font.kerning.size()));
        for (const KerningPair& pair : font.kerning) {
            WriteCode(out, pair.first, wideCodes);
            WriteCode(out, pair.second, wideCodes);
            out.WriteU16(static_cast<uint16_t>(pair.adjustment));
        }
    }
    return out.GetBytes();
}

}  // namespace swfkit
