#pragma once

#include "tools/swfkit/BitWriter.h"
#include "tools/swfkit/ShapeBuilder.h"

#include <cstdint>
#include <string>
#include <vector>

namespace swfkit {

// A kerning pair of an embedded font, in EM units.
struct KerningPair {
    uint16_t first = 0;
    uint16_t second = 0;
    int16_t adjustment = 0;
};

// A font ready to embed: one outline per character on the 1024-unit EM square (y grows down,
// the baseline at 0), with its code and advance, and the font's layout values.
struct EmbeddedFont {
    std::string name;
    bool bold = false;
    bool italic = false;
    std::vector<uint16_t> codes;  // ascending, one per glyph
    std::vector<ShapeBuilder> glyphs;
    std::vector<int16_t> advances;
    int16_t ascent = 0;
    int16_t descent = 0;
    int16_t leading = 0;
    std::vector<KerningPair> kerning;

    // The glyph index of a code; -1 when the font lacks it.
    int IndexOf(uint16_t code) const;
};

// The code points of a UTF-8 text; bytes that begin no valid sequence are skipped.
std::vector<uint32_t> CodePoints(const std::string& utf8);

// Reads the outlines of the characters of text (UTF-8, duplicates dropped) from a TrueType file
// through FreeType, quadratic curves kept as they are. Characters the file lacks are left out.
// False when the file cannot be read as a font.
bool LoadTrueTypeFont(const std::string& path, const std::string& text, EmbeddedFont* out);

// Tag bodies, the character id first.
// DefineFont (10): outlines only; codes come with DefineFontInfo.
Bytes DefineFontBody(uint16_t id, const EmbeddedFont& font);
// DefineFontInfo (version 1, tag 13) or DefineFontInfo2 (version 2, tag 62).
Bytes DefineFontInfoBody(uint16_t id, const EmbeddedFont& font, int version, bool wideCodes);
// DefineFont2 or DefineFont3 (same layout), with layout data when withLayout is set.
Bytes DefineFont2Body(uint16_t id, const EmbeddedFont& font, bool wideOffsets, bool wideCodes, bool withLayout);

}  // namespace swfkit
