// The level selection: the level's screenshot in a window framed in white, an arrow on either
// side to browse, "Start" below and "Back" in the corner, over a sunny sky and the pond.
#include "tools/movies/BubbleButtons.h"
#include "tools/movies/MenuArt.h"
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

#include <algorithm>
#include <tuple>

namespace {

using namespace menu_art;

using bubble_buttons::Bubble;
using bubble_buttons::Icon;

// The window the game shows the screenshot through.
constexpr float kWindowLeft = 190.0f;
constexpr float kWindowTop = 100.0f;
constexpr float kWindowRight = 590.0f;
constexpr float kWindowBottom = 400.0f;
constexpr float kWaterLine = 560.0f;

const std::vector<Bubble> kButtons = {
    {"Back", "Back", "Back", 52, 54, 64, 0x1AA7EC, Icon::kArrowLeft},
    {"Left", "Left", "", 108, 250, 84, 0xF15BB5, Icon::kArrowLeft},
    {"Start", "Start", "Play!", 400, 482, 104, 0x2BB673, Icon::kPlay},
    {"Right", "Right", "", 692, 250, 84, 0xF15BB5, Icon::kArrowRight},
};

// The part of the window from the top down (a hole must lie inside its shape's outline, or it
// fills as an island).
Outline Window(float top = kWindowTop) {
    return Polygon(
        {{kWindowLeft, top}, {kWindowRight, top}, {kWindowRight, kWindowBottom}, {kWindowLeft, kWindowBottom}});
}

Outline Screen(float top) {
    return Polygon({{0, top}, {kWidth, top}, {kWidth, kHeight}, {0, kHeight}});
}

// The sky in flat bands, the pond at the bottom; everything but the window.
uint16_t Scenery(Library& library) {
    std::vector<swfkit::ShapeBuilder> shapes;
    for (auto [top, color] : {std::pair{0.0f, 0x8FD8F8u}, {300.0f, 0xA6E1F7u}, {420.0f, 0xBEEAF4u}}) {
        shapes.push_back(top < kWindowBottom ? Ring(Screen(top), Window(std::max(top, kWindowTop)), Solid(color))
                                             : Shape(Screen(top), Solid(color)));
    }
    shapes.push_back(Shape(Screen(kWaterLine), Solid(0x3FB5CF)));
    shapes.push_back(
        Shape(Polygon({{0, kWaterLine - 6}, {kWidth, kWaterLine - 6}, {kWidth, kWaterLine}, {0, kWaterLine}}),
              Solid(0x7FDCEA)));
    shapes.push_back(Shape(Screen(kHeight - 12), Solid(0x2A9BB5)));
    for (auto [x, y, r] : {std::tuple{84.0f, 420.0f, 24.0f},
                           {112.0f, 404.0f, 30.0f},
                           {140.0f, 424.0f, 22.0f},
                           {664.0f, 432.0f, 22.0f},
                           {692.0f, 414.0f, 30.0f},
                           {722.0f, 430.0f, 24.0f}}) {
        shapes.push_back(Shape(Circle(x, y, r), Solid(0xFFFFFF, 235)));
    }
    return Picture(library, shapes);
}

// The window's frame: a shadow, a thick white rim and a thin blue line inside it.
uint16_t Frame(Library& library) {
    return Picture(library,
                   {Ring(RoundedRect(kWindowLeft - 10, kWindowTop - 6, kWindowRight + 14, kWindowBottom + 16, 18),
                         RoundedRect(kWindowLeft + 4, kWindowTop + 8, kWindowRight - 4, kWindowBottom - 4, 6),
                         Solid(0x0B3C5D, 45)),
                    Ring(RoundedRect(kWindowLeft - 12, kWindowTop - 12, kWindowRight + 12, kWindowBottom + 12, 18),
                         Window(), Solid(0xFFFFFF)),
                    Stroke(RoundedRect(kWindowLeft - 1, kWindowTop - 1, kWindowRight + 1, kWindowBottom + 1, 7), 2,
                           Hex(0x48CAE4))});
}

}  // namespace

swfkit::Bytes LevelSelectionMovie(const swfkit::EmbeddedFont& font) {
    swfkit::Movie movie(8, {0, Twips(kWidth), 0, Twips(kHeight)}, kFrameRate);
    Library library(movie.Tags());
    const uint16_t fontId = library.DefineFont(font);
    const uint16_t scenery = Scenery(library);
    const uint16_t frame = Frame(library);
    Stack stack(movie.Tags());
    stack.Place(scenery);
    stack.Place(frame);
    bubble_buttons::PlaceButtons(library, stack, kButtons, fontId, font);
    movie.Tags().DoAction(Script("stop"));
    movie.Tags().ShowFrame();
    return movie.Write(true);
}

std::string LevelSelectionDescription(const swfkit::EmbeddedFont& font, const std::string& title) {
    std::vector<TextSpec> texts = bubble_buttons::Labels(kButtons, font);
    texts.push_back({"title", title, 34, "", Hex(kInk), 400 - TextWidth(font, title, 34) / 2, 30});
    return Description("data/child.ttf", {{"levels", "data/gui/level_selection.swf"}}, texts);
}
