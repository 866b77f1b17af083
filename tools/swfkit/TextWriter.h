#pragma once

#include "tools/swfkit/BitWriter.h"
#include "tools/swfkit/FontBuilder.h"
#include "tools/swfkit/Records.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace swfkit {

// One glyph of static text: its index in the font and the pen's advance after it (twips).
struct TextGlyph {
    uint32_t index = 0;
    int32_t advance = 0;
};

// One record of static text: the style changes it makes and its glyphs. The height is written
// with the font id.
struct TextRun {
    std::optional<uint16_t> fontId;
    uint16_t height = 240;
    std::optional<Color> color;
    std::optional<int16_t> x;
    std::optional<int16_t> y;
    std::vector<TextGlyph> glyphs;
};

// A run of text in an embedded font, each glyph advancing by the font's advance at the height.
// Characters the font lacks are left out.
TextRun RunOf(const EmbeddedFont& font, uint16_t fontId, const std::string& text, uint16_t height);

// A DefineText (version 1, tag 11) or DefineText2 (version 2, tag 33) body with the id.
Bytes DefineTextBody(uint16_t id, const Rect& bounds, const Matrix& matrix, const std::vector<TextRun>& runs,
                     int version);

// What a DefineEditText tag says; absent fields are not written.
struct EditText {
    uint16_t id = 1;
    Rect bounds;
    std::optional<uint16_t> fontId;
    std::optional<std::string> fontClass;
    uint16_t height = 240;
    std::optional<Color> color;
    std::optional<uint16_t> maxLength;
    bool wordWrap = false;
    bool multiline = false;
    bool readOnly = false;
    bool border = false;
    bool html = false;
    struct Layout {
        uint8_t align = 0;  // 0 left, 1 right, 2 centre, 3 justify
        uint16_t leftMargin = 0;
        uint16_t rightMargin = 0;
        int16_t indent = 0;
        int16_t leading = 0;
    };
    std::optional<Layout> layout;
    std::string variable;
    std::optional<std::string> text;
};

Bytes DefineEditTextBody(const EditText& field);

}  // namespace swfkit
