#include "tools/movies/MenuArt.h"

#include "swfplayer/main/common/swf_tag.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/TextWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <tuple>

namespace menu_art {
namespace {

constexpr float kTwipsPerPixel = 20.0f;
constexpr float kPi = 3.14159265f;
// Curves per circle.
constexpr int kArcs = 8;

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

void Trace(swfkit::ShapeBuilder& shape, const Outline& outline) {
    const std::vector<Point>& p = outline.points;
    shape.MoveTo(Twips(p[0].first), Twips(p[0].second));
    for (size_t i = 1; i <= p.size(); ++i) {
        const Point& at = p[i % p.size()];
        if (outline.control[i % p.size()]) {
            const Point& to = p[(i + 1) % p.size()];
            shape.CurveTo(Twips(at.first), Twips(at.second), Twips(to.first), Twips(to.second));
            ++i;
        } else {
            shape.LineTo(Twips(at.first), Twips(at.second));
        }
    }
}

// A quarter-turn-or-less arc of the ellipse from angle a0 to a1, as curve points (control, end).
void AddArc(Outline& outline, float cx, float cy, float rx, float ry, float a0, float a1) {
    const float middle = (a0 + a1) / 2.0f;
    const float reach = 1.0f / std::cos((a1 - a0) / 2.0f);
    outline.points.emplace_back(cx + rx * reach * std::cos(middle), cy + ry * reach * std::sin(middle));
    outline.control.push_back(true);
    outline.points.emplace_back(cx + rx * std::cos(a1), cy + ry * std::sin(a1));
    outline.control.push_back(false);
}

}  // namespace

swfkit::Color Hex(uint32_t rgb, uint8_t alpha) {
    return {static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb), alpha};
}

int32_t Twips(float pixels) {
    return static_cast<int32_t>(std::lround(pixels * kTwipsPerPixel));
}

swfkit::FillStyle Solid(uint32_t rgb, uint8_t alpha) {
    return swfkit::FillStyle::Solid(Hex(rgb, alpha));
}

Outline Ellipse(float cx, float cy, float rx, float ry) {
    Outline outline;
    outline.points.emplace_back(cx + rx, cy);
    outline.control.push_back(false);
    for (int i = 0; i < kArcs; ++i) {
        AddArc(outline, cx, cy, rx, ry, 2.0f * kPi * i / kArcs, 2.0f * kPi * (i + 1) / kArcs);
    }
    // The last arc ends where the outline began.
    outline.points.pop_back();
    outline.control.pop_back();
    return outline;
}

Outline Circle(float cx, float cy, float r) {
    return Ellipse(cx, cy, r, r);
}

Outline RoundedRect(float x0, float y0, float x1, float y1, float radius) {
    Outline outline;
    const float r = std::min({radius, (x1 - x0) / 2.0f, (y1 - y0) / 2.0f});
    // Clockwise on the screen: top edge left to right, then the right side down.
    const float corners[4][3] = {
        {x1 - r, y0 + r, -kPi / 2}, {x1 - r, y1 - r, 0}, {x0 + r, y1 - r, kPi / 2}, {x0 + r, y0 + r, kPi}};
    outline.points.emplace_back(x0 + r, y0);
    outline.control.push_back(false);
    for (const auto& corner : corners) {
        outline.points.emplace_back(corner[0] + r * std::cos(corner[2]), corner[1] + r * std::sin(corner[2]));
        outline.control.push_back(false);
        AddArc(outline, corner[0], corner[1], r, r, corner[2], corner[2] + kPi / 2);
    }
    outline.points.pop_back();
    outline.control.pop_back();
    return outline;
}

Outline Polygon(const std::vector<Point>& points) {
    Outline outline;
    outline.points = points;
    outline.control.assign(points.size(), false);
    return outline;
}

Outline Transformed(const Outline& outline, float scale, float dx, float dy) {
    Outline moved = outline;
    for (Point& point : moved.points) {
        point = {point.first * scale + dx, point.second * scale + dy};
    }
    return moved;
}

swfkit::ShapeBuilder Shape(const Outline& outline, const swfkit::FillStyle& fill) {
    swfkit::ShapeBuilder shape;
    shape.SetFillStyle1(shape.AddFillStyle(fill));
    Trace(shape, outline);
    return shape;
}

swfkit::ShapeBuilder Ring(const Outline& outer, const Outline& inner, const swfkit::FillStyle& fill) {
    swfkit::ShapeBuilder shape;
    shape.SetFillStyle1(shape.AddFillStyle(fill));
    Trace(shape, outer);
    Trace(shape, inner);
    return shape;
}

std::vector<swfkit::ShapeBuilder> Bands(const std::vector<std::pair<float, uint32_t>>& bands) {
    std::vector<swfkit::ShapeBuilder> shapes;
    for (size_t i = 0; i < bands.size(); ++i) {
        const float bottom = i + 1 < bands.size() ? bands[i + 1].first : kHeight;
        shapes.push_back(Shape(RoundedRect(0, bands[i].first, kWidth, bottom, 0), Solid(bands[i].second)));
    }
    return shapes;
}

swfkit::ShapeBuilder Stroke(const Outline& outline, float width, swfkit::Color color) {
    swfkit::ShapeBuilder shape;
    swfkit::LineStyle line;
    line.width = static_cast<uint16_t>(Twips(width));
    line.color = color;
    shape.SetLineStyle(shape.AddLineStyle(line));
    Trace(shape, outline);
    return shape;
}

uint16_t Library::Define(const swfkit::ShapeBuilder& shape) {
    m_Tags.DefineShape(m_Next, shape, 3);
    return m_Next++;
}

uint16_t Library::DefineSprite(const swfkit::TagList& frames) {
    m_Tags.DefineSprite(m_Next, frames);
    return m_Next++;
}

uint16_t Library::DefineFont(const swfkit::EmbeddedFont& font) {
    m_Tags.Tag(swfplayer::tag_define_font2, swfkit::DefineFont2Body(m_Next, font, false, false, true));
    return m_Next++;
}

uint16_t Library::DefineText(uint16_t fontId, const swfkit::EmbeddedFont& font, const std::string& text, float size,
                             const std::vector<swfkit::Color>& colors) {
    const uint16_t height = static_cast<uint16_t>(Twips(size));
    const swfkit::TextRun whole = swfkit::RunOf(font, fontId, text, height);
    int32_t width = 0;
    for (const swfkit::TextGlyph& glyph : whole.glyphs) {
        width += glyph.advance;
    }
    std::vector<swfkit::TextRun> runs;
    int32_t x = -width / 2;
    for (size_t i = 0; i < whole.glyphs.size(); ++i) {
        swfkit::TextRun run;
        if (i == 0) {
            run.fontId = fontId;
            run.height = height;
            run.y = static_cast<int16_t>(Twips(size * 0.35f));
        }
        if (i == 0 || colors.size() > 1) {
            run.color = colors[i % colors.size()];
        }
        run.x = static_cast<int16_t>(x);
        run.glyphs.push_back(whole.glyphs[i]);
        x += whole.glyphs[i].advance;
        runs.push_back(run);
    }
    // The glyphs reach about three quarters of the size above the baseline and a quarter below.
    const swfkit::Rect bounds{-width / 2, width / 2, -Twips(size * 0.4f), Twips(size * 0.6f)};
    m_Tags.Tag(swfplayer::tag_define_text2, swfkit::DefineTextBody(m_Next, bounds, {}, runs, 2));
    return m_Next++;
}

uint16_t Stack::Place(uint16_t id, float x, float y, const std::string& name, float scale) {
    swfkit::Placement placement;
    placement.depth = m_Depth;
    placement.characterId = id;
    if (!name.empty()) {
        placement.name = name;
    }
    swfkit::Matrix matrix;
    matrix.scaleX = matrix.scaleY = scale;
    matrix.translateX = Twips(x);
    matrix.translateY = Twips(y);
    placement.matrix = matrix;
    m_Tags.PlaceObject2(placement);
    return m_Depth++;
}

swfkit::Placement Move(uint16_t depth, float x, float y, float sx, float sy, std::optional<float> alpha) {
    swfkit::Placement placement;
    placement.depth = depth;
    placement.move = true;
    swfkit::Matrix matrix;
    matrix.scaleX = sx;
    matrix.scaleY = sy;
    matrix.translateX = Twips(x);
    matrix.translateY = Twips(y);
    placement.matrix = matrix;
    if (alpha) {
        swfkit::ColorTransform cx;
        cx.hasMult = true;
        cx.mult[3] = static_cast<int32_t>(std::lround(*alpha * 256.0f));
        placement.colorTransform = cx;
    }
    return placement;
}

uint16_t Picture(Library& library, const std::vector<swfkit::ShapeBuilder>& shapes) {
    swfkit::TagList frames(8);
    Stack stack(frames);
    for (const swfkit::ShapeBuilder& shape : shapes) {
        stack.Place(library.Define(shape));
    }
    frames.DoAction(Script("stop"));
    frames.ShowFrame();
    return library.DefineSprite(frames);
}

uint16_t PillBody(Library& library, uint16_t fontId, const swfkit::EmbeddedFont& font, const std::string& label,
                  float width, uint32_t color) {
    const float w = width / 2.0f;
    const float h = 22.0f;
    swfkit::TagList frames(8);
    Stack stack(frames);
    stack.Place(library.Define(Shape(RoundedRect(-w + 2, -h + 5, w + 2, h + 5, h), Solid(0x0B3C5D, 70))));
    stack.Place(library.Define(Shape(RoundedRect(-w, -h, w, h, h), Solid(color))));
    stack.Place(library.Define(Shape(RoundedRect(-w + 6, -h + 4, w - 6, -2, h - 4), Solid(0xFFFFFF, 60))));
    stack.Place(
        library.Define(Stroke(RoundedRect(-w + 1.5f, -h + 1.5f, w - 1.5f, h - 1.5f, h - 1.5f), 3, Hex(0xFFFFFF, 200))));
    stack.Place(library.DefineText(fontId, font, label, 22, {Hex(0xFFFFFF)}), 0, -1);
    frames.DoAction(Script("stop"));
    frames.ShowFrame();
    return library.DefineSprite(frames);
}

uint16_t Cloud(Library& library) {
    std::vector<swfkit::ShapeBuilder> puffs;
    for (auto [x, y, r] :
         {std::tuple{-40.0f, 8.0f, 26.0f}, {0.0f, -6.0f, 36.0f}, {42.0f, 6.0f, 28.0f}, {10.0f, 14.0f, 26.0f}}) {
        puffs.push_back(Shape(Circle(x, y, r), Solid(0xFFFFFF, 235)));
    }
    return Picture(library, puffs);
}

uint16_t JellyButton(Library& library, uint16_t body, const std::string& command, const std::string& pressScript) {
    swfkit::TagList frames(8);
    Stack(frames).Place(body);
    frames.DoAction(Script("stop"));
    frames.ShowFrame();
    const std::pair<float, float> wobble[] = {{1.10f, 0.92f}, {0.93f, 1.08f}, {1.06f, 0.95f},
                                              {0.97f, 1.03f}, {1.02f, 0.99f}, {1.0f, 1.0f}};
    frames.FrameLabel("over");
    for (auto [sx, sy] : wobble) {
        frames.PlaceObject2(Move(1, 0, 0, sx, sy));
        frames.ShowFrame();
    }
    frames.DoAction(Script("#81:00,00 stop"));
    frames.ShowFrame();
    const std::pair<float, float> squash[] = {{1.16f, 0.82f}, {0.9f, 1.1f}, {1.05f, 0.96f}, {1.0f, 1.0f}};
    frames.FrameLabel("pressed");
    for (size_t i = 0; i < std::size(squash); ++i) {
        frames.PlaceObject2(Move(1, 0, 0, squash[i].first, squash[i].second));
        if (i == 2) {
            frames.DoAction(Script(pressScript + " #83:'FSCommand:" + command + "',''"));
        }
        frames.ShowFrame();
    }
    frames.DoAction(Script("#81:00,00 stop"));
    frames.ShowFrame();
    frames.FrameLabel("disabled");
    frames.PlaceObject2(Move(1, 0, 0, 1.0f, 1.0f, 0.35f));
    frames.DoAction(Script("stop"));
    frames.ShowFrame();
    return library.DefineSprite(frames);
}

swfkit::Bytes Script(const std::string& text) {
    return swfkit::assemble(text).bytes();
}

float TextWidth(const swfkit::EmbeddedFont& font, const std::string& text, float size) {
    float width = 0.0f;
    for (uint32_t code : swfkit::CodePoints(text)) {
        const int index = code <= 0xFFFF ? font.IndexOf(static_cast<uint16_t>(code)) : -1;
        if (index >= 0) {
            width += font.advances[static_cast<size_t>(index)] * size / 1024.0f;
        }
    }
    return width;
}

namespace {

std::string TextRecord(const TextSpec& text) {
    return "<textelement m_Tag=\"" + Escaped(text.tag) + "\" m_Text=\"" + Escaped(text.text) + "\" m_Size=\"" +
           Number(text.size) + "\" m_Anchor=\"" + Escaped(text.anchor) + "\" m_ColorR=\"" +
           std::to_string(text.color.r) + "\" m_ColorG=\"" + std::to_string(text.color.g) + "\" m_ColorB=\"" +
           std::to_string(text.color.b) + "\" m_PosX=\"" + Number(text.x) + "\" m_PosY=\"" + Number(text.y) + "\" />\n";
}

}  // namespace

std::string Description(const std::string& font, const std::vector<std::pair<std::string, std::string>>& layers,
                        const std::vector<TextSpec>& texts) {
    std::string xml = "<?xml version=\"1.0\" ?>\n<resource>\n    <flashgui m_FontName=\"" + Escaped(font) + "\">\n";
    xml += "        <array name=\"m_Layers\">\n";
    for (const auto& [name, file] : layers) {
        xml += "            <guilayer m_Name=\"" + Escaped(name) + "\" m_FlashFile=\"" + Escaped(file) + "\" />\n";
    }
    xml += "        </array>\n        <array name=\"m_TextElements\">\n";
    for (const TextSpec& text : texts) {
        xml += "            " + TextRecord(text);
    }
    return xml + "        </array>\n    </flashgui>\n</resource>\n";
}

std::string TextLayout(const TextSpec& text) {
    return "<?xml version=\"1.0\" ?>\n<resource>\n    " + TextRecord(text) + "</resource>\n";
}

}  // namespace menu_art
