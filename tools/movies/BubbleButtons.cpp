#include "tools/movies/BubbleButtons.h"

#include "tools/swfkit/Movie.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace bubble_buttons {

using menu_art::Hex;
using menu_art::kInk;
using swfkit::ShapeBuilder;

namespace {

constexpr float kLabelGap = 4.0f;
// A pill's picture is this share of its half height in radius; its label, in this size, starts
// kPillLabelGap right of the picture and ends at least kPillEndRoom short of the pill's right end,
// clear of the end's curve.
constexpr float kPillIconShare = 0.62f;
constexpr float kPillTextSize = 19.0f;
constexpr float kPillLabelGap = 8.0f;
constexpr float kPillEndRoom = 18.0f;

// The picture inside a bubble of radius r, in white.
std::vector<ShapeBuilder> IconShapes(Icon icon, float r, uint32_t color, menu_art::Library& library, uint16_t fontId,
                                     const swfkit::EmbeddedFont& font, std::vector<uint16_t>& texts) {
    const swfkit::FillStyle white = menu_art::Solid(0xFFFFFF, 240);
    const swfkit::FillStyle ink = menu_art::Solid(kInk);
    const swfkit::FillStyle own = menu_art::Solid(color);
    const float s = r / 50.0f;
    std::vector<ShapeBuilder> shapes;
    switch (icon) {
    case Icon::kTwoBlobs:
        for (auto [x, y, radius] : {std::tuple{-17.0f, 8.0f, 15.0f}, std::tuple{16.0f, 2.0f, 19.0f}}) {
            shapes.push_back(menu_art::Shape(menu_art::Circle(x * s, y * s, radius * s), white));
            for (float eye : {-0.35f, 0.35f}) {
                shapes.push_back(
                    menu_art::Shape(menu_art::Circle((x + eye * radius) * s, (y - 0.2f * radius) * s, 3.2f * s), ink));
            }
        }
        break;
    case Icon::kTarget:
        for (auto [radius, fill] : {std::pair{30.0f, white}, {22.0f, own}, {14.0f, white}, {6.0f, own}}) {
            shapes.push_back(menu_art::Shape(menu_art::Circle(0, 0, radius * s), fill));
        }
        break;
    case Icon::kTrophy:
        shapes.push_back(menu_art::Shape(menu_art::Polygon({{-22 * s, -24 * s},
                                                            {22 * s, -24 * s},
                                                            {16 * s, 2 * s},
                                                            {5 * s, 8 * s},
                                                            {5 * s, 16 * s},
                                                            {-5 * s, 16 * s},
                                                            {-5 * s, 8 * s},
                                                            {-16 * s, 2 * s}}),
                                         white));
        shapes.push_back(menu_art::Shape(menu_art::RoundedRect(-15 * s, 16 * s, 15 * s, 25 * s, 3 * s), white));
        for (float side : {-1.0f, 1.0f}) {
            shapes.push_back(
                menu_art::Stroke(menu_art::Ellipse(side * 22 * s, -14 * s, 8 * s, 8 * s), 4 * s, Hex(0xFFFFFF)));
        }
        break;
    case Icon::kBars:
        for (auto [x, top] : {std::pair{-20.0f, 2.0f}, {-4.0f, -18.0f}, {12.0f, -8.0f}}) {
            shapes.push_back(
                menu_art::Shape(menu_art::RoundedRect((x - 6) * s, top * s, (x + 6) * s, 22 * s, 3 * s), white));
        }
        break;
    // A glyph rather than a drawing: in ink, so that it reads on the bubble's light face.
    case Icon::kQuestion: texts.push_back(library.DefineText(fontId, font, "?", 58 * s, {Hex(kInk)})); break;
    case Icon::kBook:
        // An open book: two pages meeting at the spine, with lines of text on them.
        for (float side : {-1.0f, 1.0f}) {
            const std::vector<menu_art::Point> page =
                side < 0 ? std::vector<menu_art::Point>{{-26 * s, -16 * s},
                                                        {-2 * s, -12 * s},
                                                        {-2 * s, 20 * s},
                                                        {-26 * s, 16 * s}}
                         : std::vector<menu_art::Point>{
                               {2 * s, -12 * s}, {26 * s, -16 * s}, {26 * s, 16 * s}, {2 * s, 20 * s}};
            shapes.push_back(menu_art::Shape(menu_art::Polygon(page), white));
            const float x0 = side < 0 ? -22.0f : 6.0f;
            for (float line : {-6.0f, 0.0f, 6.0f}) {
                shapes.push_back(menu_art::Shape(
                    menu_art::RoundedRect(x0 * s, (line - 1.0f) * s, (x0 + 16.0f) * s, (line + 1.0f) * s, 1.0f * s),
                    own));
            }
        }
        break;
    case Icon::kDoor:
        shapes.push_back(menu_art::Shape(menu_art::RoundedRect(-14 * s, -24 * s, 14 * s, 24 * s, 4 * s), white));
        shapes.push_back(menu_art::Shape(menu_art::Circle(7 * s, 2 * s, 3.5f * s), own));
        break;
    case Icon::kArrowLeft:
    case Icon::kArrowRight: {
        const float d = icon == Icon::kArrowLeft ? -1.0f : 1.0f;
        shapes.push_back(menu_art::Shape(menu_art::Polygon({{d * 26 * s, 0},
                                                            {-d * 4 * s, -24 * s},
                                                            {-d * 4 * s, -10 * s},
                                                            {-d * 24 * s, -10 * s},
                                                            {-d * 24 * s, 10 * s},
                                                            {-d * 4 * s, 10 * s},
                                                            {-d * 4 * s, 24 * s}}),
                                         white));
        break;
    }
    case Icon::kPlay:
        shapes.push_back(
            menu_art::Shape(menu_art::Polygon({{-14 * s, -24 * s}, {26 * s, 0}, {-14 * s, 24 * s}}), white));
        break;
    case Icon::kReplay:
        shapes.push_back(menu_art::Stroke(menu_art::Circle(0, 2 * s, 20 * s), 8 * s, Hex(0xFFFFFF)));
        shapes.push_back(menu_art::Shape(menu_art::Circle(17 * s, -14 * s, 9 * s), own));
        shapes.push_back(
            menu_art::Shape(menu_art::Polygon({{6 * s, -30 * s}, {30 * s, -20 * s}, {12 * s, -4 * s}}), white));
        break;
    case Icon::kHome:
        shapes.push_back(
            menu_art::Shape(menu_art::Polygon({{0, -28 * s}, {28 * s, -2 * s}, {-28 * s, -2 * s}}), white));
        shapes.push_back(menu_art::Shape(menu_art::RoundedRect(-19 * s, -4 * s, 19 * s, 24 * s, 3 * s), white));
        shapes.push_back(menu_art::Shape(menu_art::RoundedRect(-6 * s, 8 * s, 6 * s, 24 * s, 2 * s), own));
        break;
    }
    return shapes;
}

// The bubble's body: a shadow, the glossy ball, its rim, the picture and a highlight.
uint16_t BubbleBody(menu_art::Library& library, const Bubble& bubble, uint16_t fontId,
                    const swfkit::EmbeddedFont& font) {
    const float r = bubble.diameter / 2.0f;
    const uint32_t light = Mix(bubble.color, 0xFFFFFF, 0.2f);
    const uint32_t dark = Mix(bubble.color, 0x000000, 0.25f);
    std::vector<ShapeBuilder> shapes;
    shapes.push_back(
        menu_art::Shape(menu_art::Ellipse(0, r * 0.08f, r * 0.96f, r * 0.92f), menu_art::Solid(0x0B3C5D, 60)));
    shapes.push_back(menu_art::Shape(menu_art::Circle(0, 0, r), menu_art::Solid(bubble.color)));
    shapes.push_back(menu_art::Shape(menu_art::Circle(-r * 0.1f, -r * 0.12f, r * 0.8f), menu_art::Solid(light)));
    shapes.push_back(menu_art::Stroke(menu_art::Circle(0, 0, r - 1.5f), 3.0f, Hex(dark)));
    std::vector<uint16_t> texts;
    for (ShapeBuilder& shape : IconShapes(bubble.icon, r, bubble.color, library, fontId, font, texts)) {
        shapes.push_back(std::move(shape));
    }
    swfkit::TagList frames(8);
    menu_art::Stack stack(frames);
    for (const ShapeBuilder& shape : shapes) {
        stack.Place(library.Define(shape));
    }
    for (uint16_t text : texts) {
        stack.Place(text, 0, 0);
    }
    stack.Place(library.Define(menu_art::Shape(menu_art::Ellipse(-r * 0.32f, -r * 0.55f, r * 0.36f, r * 0.16f),
                                               menu_art::Solid(0xFFFFFF, 150))));
    frames.DoAction(menu_art::Script("stop"));
    frames.ShowFrame();
    return library.DefineSprite(frames);
}

// The width the pill takes: its own, or more when its label needs the room.
float PillWidth(const Pill& pill, const swfkit::EmbeddedFont& font) {
    const float h = kPillHeight / 2.0f;
    const float beforeLabel = h + kPillIconShare * h + kPillLabelGap;
    return std::max(pill.width, beforeLabel + menu_art::TextWidth(font, pill.label, kPillTextSize) + kPillEndRoom);
}

}  // namespace

uint16_t Animated(menu_art::Library& library, uint16_t body, const std::string& command) {
    swfkit::TagList frames(8);
    menu_art::Stack(frames).Place(body);
    frames.DoAction(menu_art::Script("stop"));
    frames.ShowFrame();
    const std::pair<float, float> wobble[] = {{1.10f, 0.92f}, {0.93f, 1.08f}, {1.06f, 0.95f},
                                              {0.97f, 1.03f}, {1.02f, 0.99f}, {1.0f, 1.0f}};
    frames.FrameLabel("over");
    for (auto [sx, sy] : wobble) {
        frames.PlaceObject2(menu_art::Move(1, 0, 0, sx, sy));
        frames.ShowFrame();
    }
    frames.DoAction(menu_art::Script("#81:00,00 stop"));
    frames.ShowFrame();
    const std::pair<float, float> squash[] = {{1.16f, 0.82f}, {0.9f, 1.1f}, {1.05f, 0.96f}, {1.0f, 1.0f}};
    frames.FrameLabel("pressed");
    for (size_t i = 0; i < std::size(squash); ++i) {
        frames.PlaceObject2(menu_art::Move(1, 0, 0, squash[i].first, squash[i].second));
        if (i == 2) {
            frames.DoAction(menu_art::Script("#83:'FSCommand:" + command + "',''"));
        }
        frames.ShowFrame();
    }
    frames.DoAction(menu_art::Script("#81:00,00 stop"));
    frames.ShowFrame();
    return library.DefineSprite(frames);
}

uint16_t Button(menu_art::Library& library, const Bubble& bubble, uint16_t fontId, const swfkit::EmbeddedFont& font) {
    return Animated(library, BubbleBody(library, bubble, fontId, font), bubble.command);
}

uint16_t PillButton(menu_art::Library& library, const Pill& pill, uint16_t fontId, const swfkit::EmbeddedFont& font) {
    const float w = PillWidth(pill, font) / 2.0f;
    const float h = kPillHeight / 2.0f;
    const uint32_t face = menu_art::UnderWhiteText(pill.color);
    const uint32_t light = Mix(face, 0xFFFFFF, 0.2f);
    const uint32_t dark = Mix(face, 0x000000, 0.25f);
    std::vector<ShapeBuilder> shapes;
    shapes.push_back(
        menu_art::Shape(menu_art::RoundedRect(-w + 2, -h + 5, w + 2, h + 5, h), menu_art::Solid(0x0B3C5D, 60)));
    shapes.push_back(menu_art::Shape(menu_art::RoundedRect(-w, -h, w, h, h), menu_art::Solid(face)));
    // A thin gloss along the top, above the label.
    shapes.push_back(
        menu_art::Shape(menu_art::RoundedRect(-w + h, -h + 4, w - h, -h + 10, 3.0f), menu_art::Solid(light)));
    shapes.push_back(
        menu_art::Stroke(menu_art::RoundedRect(-w + 1.5f, -h + 1.5f, w - 1.5f, h - 1.5f, h - 1.5f), 3.0f, Hex(dark)));
    std::vector<uint16_t> texts;
    const float iconR = h * kPillIconShare;
    std::vector<ShapeBuilder> icon = IconShapes(pill.icon, iconR, face, library, fontId, font, texts);
    const float iconX = -w + h;
    swfkit::TagList frames(8);
    menu_art::Stack stack(frames);
    for (const ShapeBuilder& shape : shapes) {
        stack.Place(library.Define(shape));
    }
    for (const ShapeBuilder& shape : icon) {
        stack.Place(library.Define(shape), iconX, 0);
    }
    for (uint16_t text : texts) {
        stack.Place(text, iconX, 0);
    }
    const float textX = (iconX + iconR + kPillLabelGap + w - kPillEndRoom) / 2.0f;
    stack.Place(library.DefineText(fontId, font, pill.label, kPillTextSize, {Hex(0xFFFFFF)}), textX, 0);
    frames.DoAction(menu_art::Script("stop"));
    frames.ShowFrame();
    return Animated(library, library.DefineSprite(frames), pill.command);
}

uint32_t Mix(uint32_t a, uint32_t b, float t) {
    uint32_t out = 0;
    for (int shift : {16, 8, 0}) {
        const float ca = (a >> shift) & 0xFF;
        const float cb = (b >> shift) & 0xFF;
        out |= static_cast<uint32_t>(std::lround(ca + (cb - ca) * t)) << shift;
    }
    return out;
}

void PlacePills(menu_art::Library& library, menu_art::Stack& stack, const std::vector<Pill>& pills, uint16_t fontId,
                const swfkit::EmbeddedFont& font) {
    std::vector<uint16_t> buttons;
    for (const Pill& pill : pills) {
        buttons.push_back(PillButton(library, pill, fontId, font));
    }
    for (size_t i = 0; i < pills.size(); ++i) {
        stack.Place(buttons[i], pills[i].x, pills[i].y, pills[i].clip);
    }
}

void PlaceButtons(menu_art::Library& library, menu_art::Stack& stack, const std::vector<Bubble>& bubbles,
                  uint16_t fontId, const swfkit::EmbeddedFont& font) {
    std::vector<uint16_t> buttons;
    for (const Bubble& bubble : bubbles) {
        buttons.push_back(Button(library, bubble, fontId, font));
    }
    for (size_t i = 0; i < bubbles.size(); ++i) {
        stack.Place(buttons[i], bubbles[i].x, bubbles[i].y, bubbles[i].clip);
    }
}

std::vector<menu_art::TextSpec> Labels(const std::vector<Bubble>& bubbles, const swfkit::EmbeddedFont& font,
                                       uint32_t ink) {
    std::vector<menu_art::TextSpec> texts;
    for (const Bubble& bubble : bubbles) {
        const float size = bubble.diameter > 100 ? 24.0f : 21.0f;
        texts.push_back({std::string("label ") + bubble.clip, bubble.label, size, bubble.clip, Hex(ink),
                         -menu_art::TextWidth(font, bubble.label, size) / 2.0f, bubble.diameter / 2.0f + kLabelGap});
    }
    return texts;
}

}  // namespace bubble_buttons
