// The main menu: seven bubbles for the seven choices under a colourful title, over a sunny pond.
#include "tools/movies/MenuArt.h"
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

#include <cmath>
#include <tuple>

namespace {

using namespace menu_art;

using menu_art::Outline;
using swfkit::ShapeBuilder;

constexpr float kLabelGap = 4.0f;

enum class Icon { kTwoBlobs, kTarget, kTrophy, kBars, kQuestion, kDoor, kBook };

// A choice of the menu: the clip the game focuses, the command its press sends, its label,
// where its bubble sits, how large, in which colour, with which picture.
struct Bubble {
    const char* clip;
    const char* command;
    const char* label;
    float x, y, diameter;
    uint32_t color;
    Icon icon;
};

const Bubble kBubbles[] = {
    {"newgamepvp", "newgamepvp", "Quick match", 230, 232, 124, 0xFF8C42, Icon::kTwoBlobs},
    {"newgamepvc", "newgamepvc", "Training", 570, 232, 124, 0x9B5DE5, Icon::kTarget},
    {"newgamechampionship", "newgamechampionship", "Championship", 230, 392, 104, 0xF15BB5, Icon::kTrophy},
    {"stats", "statistics", "Statistics", 520, 386, 92, 0x1AA7EC, Icon::kBars},
    {"howto", "howto", "How to play", 680, 386, 92, 0xF4A100, Icon::kQuestion},
    {"quit", "exit", "Quit", 520, 500, 76, 0xEF476F, Icon::kDoor},
    {"tutorial", "tutorial", "Tutorial", 230, 522, 76, 0x2BB673, Icon::kBook},
};

uint32_t Mix(uint32_t a, uint32_t b, float t) {
    uint32_t out = 0;
    for (int shift : {16, 8, 0}) {
        const float ca = (a >> shift) & 0xFF;
        const float cb = (b >> shift) & 0xFF;
        out |= static_cast<uint32_t>(std::lround(ca + (cb - ca) * t)) << shift;
    }
    return out;
}

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
    case Icon::kQuestion: texts.push_back(library.DefineText(fontId, font, "?", 58 * s, {Hex(0xFFFFFF)})); break;
    case Icon::kBook:
        // An open book: two pages meeting at the spine, with lines of text on them.
        for (float side : {-1.0f, 1.0f}) {
            shapes.push_back(menu_art::Shape(
                menu_art::Polygon(side < 0 ? std::vector<menu_art::Point>{{-26 * s, -16 * s},
                                                                          {-2 * s, -12 * s},
                                                                          {-2 * s, 20 * s},
                                                                          {-26 * s, 16 * s}}
                                           : std::vector<menu_art::Point>{{2 * s, -12 * s},
                                                                          {26 * s, -16 * s},
                                                                          {26 * s, 16 * s},
                                                                          {2 * s, 20 * s}}),
                white));
            for (float line : {-6.0f, 0.0f, 6.0f}) {
                const float x0 = side < 0 ? -22.0f : 6.0f;
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

// A letter-coloured title with a soft shadow.
void Title(menu_art::Library& library, menu_art::Stack& stack, uint16_t fontId, const swfkit::EmbeddedFont& font) {
    const std::vector<swfkit::Color> letters = {Hex(0xFF8C42), Hex(0x9B5DE5), Hex(0xF15BB5), Hex(0x1AA7EC),
                                                Hex(0xF4A100), Hex(0x2BB673), Hex(0xEF476F), Hex(0x00B4C6)};
    stack.Place(library.DefineText(fontId, font, "Pondorix", 92, {Hex(0x0B3C5D, 70)}), 405, 92);
    stack.Place(library.DefineText(fontId, font, "Pondorix", 92, {Hex(0xFFFFFF)}), 400, 84, "", 1.0f);
    stack.Place(library.DefineText(fontId, font, "Pondorix", 92, letters), 400, 86);
    stack.Place(library.DefineText(fontId, font, "bubble battles in the pond", 20, {Hex(kInk, 200)}), 400, 140);
}

}  // namespace

swfkit::Bytes MainMenuMovie(const swfkit::EmbeddedFont& font) {
    swfkit::Movie movie(8, {0, menu_art::Twips(kWidth), 0, menu_art::Twips(kHeight)}, kFrameRate);
    menu_art::Library library(movie.Tags());
    const uint16_t fontId = library.DefineFont(font);
    std::vector<uint16_t> buttons;
    for (const Bubble& bubble : kBubbles) {
        buttons.push_back(menu_art::JellyButton(library, BubbleBody(library, bubble, fontId, font), bubble.command));
    }
    menu_art::Stack stack(movie.Tags());
    Title(library, stack, fontId, font);
    for (size_t i = 0; i < std::size(kBubbles); ++i) {
        stack.Place(buttons[i], kBubbles[i].x, kBubbles[i].y, kBubbles[i].clip);
    }
    movie.Tags().DoAction(menu_art::Script("stop"));
    movie.Tags().ShowFrame();
    return movie.Write(true);
}

std::string MainMenuDescription(const swfkit::EmbeddedFont& font) {
    std::vector<menu_art::TextSpec> texts;
    for (const Bubble& bubble : kBubbles) {
        const float size = bubble.diameter > 100 ? 24.0f : 21.0f;
        texts.push_back({std::string("label ") + bubble.clip, bubble.label, size, bubble.clip, Hex(kInk),
                         -menu_art::TextWidth(font, bubble.label, size) / 2.0f, bubble.diameter / 2.0f + kLabelGap});
    }
    return menu_art::Description(
        "data/child.ttf", {{"menu", "data/gui/mainmenu.swf"}, {"backdrop", "data/gui/mainmenu_backdrop.swf"}}, texts);
}
