#include "tools/swfkit/ShapeBuilder.h"

#include "swfplayer/main/common/swf_tag.h"

#include <algorithm>
#include <initializer_list>

namespace swfkit {

namespace {

int BitsForCount(size_t count) {
    return BitWriter::UnsignedBitsNeeded(static_cast<uint32_t>(count));
}

// An edge record's field size: NumBits - 2 is stored in 4 bits, so at least 2 bits.
int EdgeBits(std::initializer_list<int32_t> values) {
    int bits = 2;
    for (int32_t value : values) {
        bits = std::max(bits, BitWriter::SignedBitsNeeded(value));
    }
    return bits;
}

}  // namespace

int ShapeBuilder::AddFillStyle(const FillStyle& style) {
    m_FillStyles.push_back(style);
    return static_cast<int>(m_FillStyles.size());
}

int ShapeBuilder::AddLineStyle(const LineStyle& style) {
    m_LineStyles.push_back(style);
    return static_cast<int>(m_LineStyles.size());
}

ShapeBuilder::Command& ShapeBuilder::PendingStyle() {
    if (m_Commands.empty() || m_Commands.back().kind != Command::kStyle) {
        m_Commands.push_back(Command{Command::kStyle});
    }
    return m_Commands.back();
}

void ShapeBuilder::SetFillStyle0(int style) {
    PendingStyle().fill0 = style;
}

void ShapeBuilder::SetFillStyle1(int style) {
    PendingStyle().fill1 = style;
}

void ShapeBuilder::SetLineStyle(int style) {
    PendingStyle().line = style;
}

void ShapeBuilder::Include(int32_t x, int32_t y) {
    if (!m_HasPoints) {
        m_Bounds = Rect{x, x, y, y};
        m_HasPoints = true;
        return;
    }
    m_Bounds.xMin = std::min(m_Bounds.xMin, x);
    m_Bounds.xMax = std::max(m_Bounds.xMax, x);
    m_Bounds.yMin = std::min(m_Bounds.yMin, y);
    m_Bounds.yMax = std::max(m_Bounds.yMax, y);
}

void ShapeBuilder::NewStyles(const std::vector<FillStyle>& fills, const std::vector<LineStyle>& lines) {
    Command command{Command::kNewStyles};
    command.styleSet = m_StyleSets.size();
    m_StyleSets.push_back(StyleSet{fills, lines});
    m_Commands.push_back(command);
}

void ShapeBuilder::MoveTo(int32_t x, int32_t y) {
    Command command{Command::kMove};
    command.x = x;
    command.y = y;
    m_Commands.push_back(command);
    Include(x, y);
}

void ShapeBuilder::LineTo(int32_t x, int32_t y) {
    Command command{Command::kLine};
    command.x = x;
    command.y = y;
    m_Commands.push_back(command);
    Include(x, y);
}

void ShapeBuilder::CurveTo(int32_t cx, int32_t cy, int32_t ax, int32_t ay) {
    Command command{Command::kCurve};
    command.cx = cx;
    command.cy = cy;
    command.x = ax;
    command.y = ay;
    m_Commands.push_back(command);
    Include(cx, cy);
    Include(ax, ay);
}

ShapeBuilder ShapeBuilder::WithFillStyle0Only(bool reverseContours) const {
    ShapeBuilder out;
    out.m_FillStyles = m_FillStyles;
    out.m_LineStyles = m_LineStyles;
    out.m_StyleSets = m_StyleSets;
    int fill0 = 0, fill1 = 0, line = 0;
    int32_t penX = 0, penY = 0;
    // The contour being gathered: where it starts, its edges, and its styles.
    struct Edge {
        Command command;
        int32_t fromX, fromY;
    };
    std::vector<Edge> edges;
    int32_t startX = 0, startY = 0;
    int contourFill = 0, contourLine = 0;
    auto flush = [&]() {
        if (edges.empty()) {
            return;
        }
        out.SetFillStyle0(contourFill);
        out.SetFillStyle1(0);
        out.SetLineStyle(contourLine);
        if (!reverseContours) {
            out.MoveTo(startX, startY);
            for (const Edge& e : edges) {
                e.command.kind == Command::kLine ? out.LineTo(e.command.x, e.command.y)
                                                 : out.CurveTo(e.command.cx, e.command.cy, e.command.x, e.command.y);
            }
        } else {
            out.MoveTo(edges.back().command.x, edges.back().command.y);
            for (auto e = edges.rbegin(); e != edges.rend(); ++e) {
                e->command.kind == Command::kLine ? out.LineTo(e->fromX, e->fromY)
                                                  : out.CurveTo(e->command.cx, e->command.cy, e->fromX, e->fromY);
            }
        }
        edges.clear();
    };
    for (const Command& command : m_Commands) {
        switch (command.kind) {
        case Command::kStyle:
            flush();
            fill0 = command.fill0 >= 0 ? command.fill0 : fill0;
            fill1 = command.fill1 >= 0 ? command.fill1 : fill1;
            line = command.line >= 0 ? command.line : line;
            break;
        case Command::kMove:
            flush();
            penX = command.x;
            penY = command.y;
            break;
        case Command::kNewStyles:
            flush();
            out.m_Commands.push_back(command);
            fill0 = fill1 = line = 0;
            break;
        case Command::kLine:
        case Command::kCurve:
            if (edges.empty()) {
                startX = penX;
                startY = penY;
                contourFill = fill0 > 0 ? fill0 : fill1;
                contourLine = line;
            }
            edges.push_back(Edge{command, penX, penY});
            penX = command.x;
            penY = command.y;
            break;
        }
    }
    flush();
    return out;
}

Rect ShapeBuilder::GetBounds() const {
    Rect bounds = m_Bounds;
    int32_t half = 0;
    for (const LineStyle& style : m_LineStyles) {
        half = std::max<int32_t>(half, style.width / 2);
    }
    bounds.xMin -= half;
    bounds.xMax += half;
    bounds.yMin -= half;
    bounds.yMax += half;
    return bounds;
}

Bytes ShapeBuilder::Build(int shapeVersion) const {
    BitWriter out;
    WriteFillStyles(out, m_FillStyles, shapeVersion);
    WriteLineStyles(out, m_LineStyles, shapeVersion);
    WriteRecords(out, shapeVersion, m_FillStyles.size(), m_LineStyles.size());
    return out.GetBytes();
}

Bytes ShapeBuilder::BuildRecords(int shapeVersion, size_t fillCount, size_t lineCount) const {
    BitWriter out;
    WriteRecords(out, shapeVersion, fillCount, lineCount);
    return out.GetBytes();
}

void ShapeBuilder::WriteRecords(BitWriter& out, int shapeVersion, size_t fillCount, size_t lineCount) const {
    int fillBits = BitsForCount(fillCount);
    int lineBits = BitsForCount(lineCount);
    out.WriteBits(static_cast<uint32_t>(fillBits), 4);
    out.WriteBits(static_cast<uint32_t>(lineBits), 4);

    int32_t penX = 0;
    int32_t penY = 0;
    for (size_t i = 0; i < m_Commands.size(); i++) {
        const Command& command = m_Commands[i];
        if (command.kind == Command::kNewStyles) {
            const StyleSet& set = m_StyleSets[command.styleSet];
            out.WriteBits(0, 1);
            out.WriteBits(0x10, 5);  // new styles only
            WriteFillStyles(out, set.fills, shapeVersion);
            WriteLineStyles(out, set.lines, shapeVersion);
            fillBits = BitsForCount(set.fills.size());
            lineBits = BitsForCount(set.lines.size());
            out.WriteBits(static_cast<uint32_t>(fillBits), 4);
            out.WriteBits(static_cast<uint32_t>(lineBits), 4);
            continue;
        }
        if (command.kind == Command::kLine || command.kind == Command::kCurve) {
            out.WriteBits(1, 1);  // edge record
            if (command.kind == Command::kLine) {
                int32_t dx = command.x - penX;
                int32_t dy = command.y - penY;
                int bits = EdgeBits({dx, dy});
                out.WriteBits(1, 1);  // straight
                out.WriteBits(static_cast<uint32_t>(bits - 2), 4);
                out.WriteBits(1, 1);  // general line: both deltas
                out.WriteSignedBits(dx, bits);
                out.WriteSignedBits(dy, bits);
            } else {
                int32_t cdx = command.cx - penX;
                int32_t cdy = command.cy - penY;
                int32_t adx = command.x - command.cx;
                int32_t ady = command.y - command.cy;
                int bits = EdgeBits({cdx, cdy, adx, ady});
                out.WriteBits(0, 1);  // curved
                out.WriteBits(static_cast<uint32_t>(bits - 2), 4);
                out.WriteSignedBits(cdx, bits);
                out.WriteSignedBits(cdy, bits);
                out.WriteSignedBits(adx, bits);
                out.WriteSignedBits(ady, bits);
            }
            penX = command.x;
            penY = command.y;
            continue;
        }
        // A style change record, merged with a move that directly follows it.
        const Command* style = command.kind == Command::kStyle ? &command : nullptr;
        const Command* move = command.kind == Command::kMove ? &command : nullptr;
        if (style && i + 1 < m_Commands.size() && m_Commands[i + 1].kind == Command::kMove) {
            move = &m_Commands[++i];
        }
        bool hasFill0 = style && style->fill0 >= 0;
        bool hasFill1 = style && style->fill1 >= 0;
        bool hasLine = style && style->line >= 0;
        if (!move && !hasFill0 && !hasFill1 && !hasLine) {
            continue;  // nothing to say; an all-zero record would end the shape
        }
        out.WriteBits(0, 1);
        out.WriteBits(0, 1);  // no new styles
        out.WriteBits(hasLine, 1);
        out.WriteBits(hasFill1, 1);
        out.WriteBits(hasFill0, 1);
        out.WriteBits(move != nullptr, 1);
        if (move) {
            int bits = std::max(BitWriter::SignedBitsNeeded(move->x), BitWriter::SignedBitsNeeded(move->y));
            out.WriteBits(static_cast<uint32_t>(bits), 5);
            out.WriteSignedBits(move->x, bits);
            out.WriteSignedBits(move->y, bits);
            penX = move->x;
            penY = move->y;
        }
        if (hasFill0) {
            out.WriteBits(static_cast<uint32_t>(style->fill0), fillBits);
        }
        if (hasFill1) {
            out.WriteBits(static_cast<uint32_t>(style->fill1), fillBits);
        }
        if (hasLine) {
            out.WriteBits(static_cast<uint32_t>(style->line), lineBits);
        }
    }
    out.WriteBits(0, 6);  // end of shape
}

namespace {

// One morph fill style: the type, then start and end data interleaved as the record has them.
void WriteMorphFillStyle(BitWriter& out, const MorphFillStyle& style) {
    out.WriteU8(style.start.type);
    if (style.start.type == 0x00) {
        WriteRgba(out, style.start.color);
        WriteRgba(out, style.end.color);
        return;
    }
    if (style.start.type >= 0x40) {
        out.WriteU16(style.start.bitmapId);
        WriteMatrix(out, style.start.gradientMatrix);
        WriteMatrix(out, style.end.gradientMatrix);
        return;
    }
    WriteMatrix(out, style.start.gradientMatrix);
    WriteMatrix(out, style.end.gradientMatrix);
    size_t count = std::min(style.start.stops.size(), style.end.stops.size());
    out.WriteU8(static_cast<uint8_t>(count));
    for (size_t i = 0; i < count; i++) {
        out.WriteU8(style.start.stops[i].ratio);
        WriteRgba(out, style.start.stops[i].color);
        out.WriteU8(style.end.stops[i].ratio);
        WriteRgba(out, style.end.stops[i].color);
    }
}

void WriteMorphCount(BitWriter& out, size_t count) {
    if (count < 0xFF) {
        out.WriteU8(static_cast<uint8_t>(count));
    } else {
        out.WriteU8(0xFF);
        out.WriteU16(static_cast<uint16_t>(count));
    }
}

}  // namespace

Bytes DefineMorphShapeBody(uint16_t id, const std::vector<MorphFillStyle>& fills,
                           const std::vector<MorphLineStyle>& lines, const ShapeBuilder& start, const ShapeBuilder& end,
                           int morphVersion) {
    // The styles and start records, which the offset field measures.
    BitWriter styles;
    WriteMorphCount(styles, fills.size());
    for (const MorphFillStyle& style : fills) {
        WriteMorphFillStyle(styles, style);
    }
    WriteMorphCount(styles, lines.size());
    for (const MorphLineStyle& style : lines) {
        styles.WriteU16(style.start.width);
        styles.WriteU16(style.end.width);
        if (morphVersion >= 2) {
            styles.WriteU16(0);  // round caps and joins, no fill, no flags
        }
        WriteRgba(styles, style.start.color);
        WriteRgba(styles, style.end.color);
    }
    int shapeVersion = morphVersion >= 2 ? 4 : 3;
    styles.WriteBytes(start.BuildRecords(shapeVersion, fills.size(), lines.size()));

    BitWriter out;
    out.WriteU16(id);
    WriteRect(out, start.GetBounds());
    WriteRect(out, end.GetBounds());
    if (morphVersion >= 2) {
        WriteRect(out, start.GetBounds());  // edge bounds
        WriteRect(out, end.GetBounds());
        out.WriteU8(0);  // no stroke flags
    }
    const Bytes& body = styles.GetBytes();
    out.WriteU32(static_cast<uint32_t>(body.size()));
    out.WriteBytes(body);
    out.WriteBytes(end.BuildRecords(shapeVersion, fills.size(), lines.size()));
    return out.GetBytes();
}

int DefineShapeTagType(int shapeVersion) {
    switch (shapeVersion) {
    case 1: return swfplayer::tag_define_shape;
    case 2: return swfplayer::tag_define_shape2;
    case 3: return swfplayer::tag_define_shape3;
    default: return swfplayer::tag_define_shape4;
    }
}

Bytes DefineShapeBody(uint16_t id, const ShapeBuilder& shape, int shapeVersion) {
    BitWriter out;
    out.WriteU16(id);
    Rect bounds = shape.GetBounds();
    WriteRect(out, bounds);
    if (shapeVersion >= 4) {
        WriteRect(out, bounds);  // edge bounds
        out.WriteU8(0);          // no scaling-stroke flags
    }
    out.WriteBytes(shape.Build(shapeVersion));
    return out.GetBytes();
}

}  // namespace swfkit
