#pragma once

#include "tools/swfkit/BitWriter.h"
#include "tools/swfkit/Records.h"

#include <cstdint>
#include <vector>

namespace swfkit {

// Builds a shape's styles and records from path commands. Coordinates are absolute twips; style
// numbers are 1-based indices into the styles added (0 means none). Style selections take effect
// with the next command.
class ShapeBuilder {
public:
    // Each returns the 1-based number of the style added.
    int AddFillStyle(const FillStyle& style);
    int AddLineStyle(const LineStyle& style);

    void SetFillStyle0(int style);
    void SetFillStyle1(int style);
    void SetLineStyle(int style);

    // Starts a new style array in the middle of the shape (DefineShape2 and later): style
    // numbers chosen after it count from 1 in these styles.
    void NewStyles(const std::vector<FillStyle>& fills, const std::vector<LineStyle>& lines);

    void MoveTo(int32_t x, int32_t y);
    void LineTo(int32_t x, int32_t y);
    // A quadratic curve through the control point (cx, cy) to (ax, ay).
    void CurveTo(int32_t cx, int32_t cy, int32_t ax, int32_t ay);

    // The same shape written as many SWF writers write shapes and glyphs: every contour (a move
    // and the edges after it) carries its fill as fill style 0, whichever side it was set on,
    // and no fill style 1; with reverseContours each contour is also drawn the other way round.
    // Style arrays added with NewStyles are kept in place.
    ShapeBuilder WithFillStyle0Only(bool reverseContours) const;

    // The bounds of every point and control point, widened by half the widest line.
    Rect GetBounds() const;
    // The SHAPEWITHSTYLE record for a DefineShape of shapeVersion 1..4.
    Bytes Build(int shapeVersion) const;
    // Only the bit counts and shape records, style numbers sized for fillCount and lineCount
    // styles (the halves of a morph shape, glyphs).
    Bytes BuildRecords(int shapeVersion, size_t fillCount, size_t lineCount) const;

private:
    struct Command {
        enum Kind { kStyle, kMove, kLine, kCurve, kNewStyles } kind;
        int32_t x = 0, y = 0, cx = 0, cy = 0;   // kMove/kLine: (x, y); kCurve: control (cx, cy)
        int fill0 = -1, fill1 = -1, line = -1;  // kStyle: -1 keeps the current choice
        size_t styleSet = 0;                    // kNewStyles: index into m_StyleSets
    };
    struct StyleSet {
        std::vector<FillStyle> fills;
        std::vector<LineStyle> lines;
    };

    Command& PendingStyle();
    void WriteRecords(BitWriter& out, int shapeVersion, size_t fillCount, size_t lineCount) const;
    void Include(int32_t x, int32_t y);

    std::vector<FillStyle> m_FillStyles;
    std::vector<LineStyle> m_LineStyles;
    std::vector<Command> m_Commands;
    std::vector<StyleSet> m_StyleSets;
    bool m_HasPoints = false;
    Rect m_Bounds;
};

// A morph fill style: start and end of the same type (solid, gradient with as many stops at
// both ends, or bitmap).
struct MorphFillStyle {
    FillStyle start;
    FillStyle end;
};

struct MorphLineStyle {
    LineStyle start;
    LineStyle end;
};

// A DefineMorphShape body (morphVersion 1, tag 46) or DefineMorphShape2 body (2, tag 84): the
// id, both bounds, the paired styles and the records of both shapes. The shapes' own styles are
// not written; their style numbers refer to the morph styles.
Bytes DefineMorphShapeBody(uint16_t id, const std::vector<MorphFillStyle>& fills,
                           const std::vector<MorphLineStyle>& lines, const ShapeBuilder& start, const ShapeBuilder& end,
                           int morphVersion);

// A DefineShape body (tag 2, 22, 32 or 83 for shapeVersion 1..4): the id, the bounds and the
// shape.
Bytes DefineShapeBody(uint16_t id, const ShapeBuilder& shape, int shapeVersion);
// The tag type of DefineShape shapeVersion 1..4.
int DefineShapeTagType(int shapeVersion);

}  // namespace swfkit
