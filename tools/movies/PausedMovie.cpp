// The pause: the stopped match dims a little under a banner along the top of the screen with the
// title and two buttons, one to go on with the match and one to end it. The banner keeps clear of
// the middle of the screen, where the arenas have their showpieces, so the match shows as it stood,
// and of the bottom, where the control hints rest: a hint that waits over the pause covers none
// of it.
#include "tools/movies/BubbleButtons.h"
#include "tools/movies/MenuArt.h"
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

namespace {

using namespace menu_art;

using bubble_buttons::Icon;
using bubble_buttons::Pill;

constexpr float kCardLeft = 50.0f;
constexpr float kCardTop = 14.0f;
constexpr float kCardRight = 750.0f;
constexpr float kCardBottom = 106.0f;
// The title and its line on the banner's left, the buttons side by side on its right.
constexpr float kTitleX = 210.0f;
constexpr float kTitleY = 44.0f;
constexpr float kSubtitleY = 79.0f;
constexpr float kButtonsY = 60.0f;

const std::vector<Pill> kButtons = {
    {"Back", "Back", "Go on", 460, kButtonsY, 170, 0x2BB673, Icon::kPlay},
    {"EndGame", "EndGame", "End match", 638, kButtonsY, 170, 0xEF476F, Icon::kHome},
};

uint16_t Card(Library& library) {
    return Picture(
        library,
        {Shape(Polygon({{0, 0}, {kWidth, 0}, {kWidth, kHeight}, {0, kHeight}}), Solid(0x0B2540, 80)),
         Shape(RoundedRect(kCardLeft + 5, kCardTop + 9, kCardRight + 5, kCardBottom + 9, 30), Solid(0x0B2540, 80)),
         Shape(RoundedRect(kCardLeft, kCardTop, kCardRight, kCardBottom, 30), Solid(0xFFFFFF)),
         Stroke(RoundedRect(kCardLeft + 3, kCardTop + 3, kCardRight - 3, kCardBottom - 3, 27), 5, Hex(0x48CAE4)),
         Shape(Circle(kCardLeft + 34, kCardTop + 10, 26), Solid(0xFFD43B)),
         Stroke(Circle(kCardLeft + 34, kCardTop + 10, 25), 4, Hex(0xFFFFFF)),
         Shape(RoundedRect(kCardLeft + 23, kCardTop - 1, kCardLeft + 31, kCardTop + 21, 2), Solid(kInk)),
         Shape(RoundedRect(kCardLeft + 37, kCardTop - 1, kCardLeft + 45, kCardTop + 21, 2), Solid(kInk))});
}

}  // namespace

swfkit::Bytes PausedMovie(const swfkit::EmbeddedFont& font) {
    swfkit::Movie movie(8, {0, Twips(kWidth), 0, Twips(kHeight)}, kFrameRate);
    Library library(movie.Tags());
    const uint16_t fontId = library.DefineFont(font);
    const uint16_t card = Card(library);
    Stack stack(movie.Tags());
    stack.Place(card);
    stack.Place(library.DefineText(fontId, font, "Paused", 36, {Hex(kInk)}), kTitleX, kTitleY);
    stack.Place(library.DefineText(fontId, font, "Take a breath, the pond waits.", 17, {Hex(kInk, 190)}), kTitleX,
                kSubtitleY);
    bubble_buttons::PlacePills(library, stack, kButtons, fontId, font);
    movie.Tags().DoAction(Script("stop"));
    movie.Tags().ShowFrame();
    return movie.Write(true);
}

std::string PausedDescription() {
    return Description("data/child.ttf", {{"paused", "data/gui/paused.swf"}}, {});
}
