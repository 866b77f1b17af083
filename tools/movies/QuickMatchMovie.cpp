// The quick match's creature selection: a shelf for the pool of Globbos, two empty places for
// the players' choices with "Start" right of them, where left and right lead from the second
// place, and "Back" in the corner.
#include "tools/movies/BubbleButtons.h"
#include "tools/movies/MenuArt.h"
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

#include <string>

namespace {

using namespace menu_art;

using bubble_buttons::Bubble;
using bubble_buttons::Icon;

// The players' places (the game's slots) and the shelf round the pool's cells.
constexpr float kSlotY = 495.0f;
constexpr float kSlotX[] = {170.0f, 620.0f};
constexpr float kShelfLeft = 106.0f;
constexpr float kShelfTop = 50.0f;
constexpr float kShelfRight = 694.0f;
constexpr float kShelfBottom = 302.0f;

const std::vector<Bubble> kButtons = {
    {"Back", "Back", "Back", 52, 54, 64, 0x1AA7EC, Icon::kArrowLeft},
    {"Start", "Start", "Start", 735, 488, 100, 0x2BB673, Icon::kPlay},
};

// An empty place for a player's Globbo, about (0, 0): a pale card with a dashed rim and the
// player's number.
uint16_t EmptyPlace(Library& library, uint16_t fontId, const swfkit::EmbeddedFont& font, int player) {
    std::vector<swfkit::ShapeBuilder> shapes = {Shape(RoundedRect(-46, -46, 46, 46, 16), Solid(0xFFFFFF, 120))};
    // The dashes: short bars along the rim.
    for (int i = 0; i < 8; ++i) {
        const float along = -34.0f + 9.7f * static_cast<float>(i);
        shapes.push_back(Shape(RoundedRect(along, -47, along + 5, -43, 2), Solid(0xFFFFFF)));
        shapes.push_back(Shape(RoundedRect(along, 43, along + 5, 47, 2), Solid(0xFFFFFF)));
        shapes.push_back(Shape(RoundedRect(-47, along, -43, along + 5, 2), Solid(0xFFFFFF)));
        shapes.push_back(Shape(RoundedRect(43, along, 47, along + 5, 2), Solid(0xFFFFFF)));
    }
    swfkit::TagList frames(8);
    Stack stack(frames);
    stack.Place(Picture(library, shapes));
    stack.Place(library.DefineText(fontId, font, "Player", 18, {Hex(kInk, 200)}), 0, -22);
    stack.Place(library.DefineText(fontId, font, std::to_string(player), 48, {Hex(0xFFFFFF)}), 0, 10);
    frames.DoAction(Script("stop"));
    frames.ShowFrame();
    return library.DefineSprite(frames);
}

// The shelf: a frosted board with a rim, and a pad under each player's place.
uint16_t Shelf(Library& library) {
    return Picture(
        library,
        {Shape(RoundedRect(kShelfLeft + 4, kShelfTop + 8, kShelfRight + 4, kShelfBottom + 8, 30), Solid(0x0B3C5D, 40)),
         Shape(RoundedRect(kShelfLeft, kShelfTop, kShelfRight, kShelfBottom, 30), Solid(0xFFFFFF, 140)),
         Stroke(RoundedRect(kShelfLeft + 2, kShelfTop + 2, kShelfRight - 2, kShelfBottom - 2, 28), 4,
                Hex(0xFFFFFF, 230)),
         Shape(RoundedRect(kShelfLeft + 18, 170, kShelfRight - 18, 174, 2), Solid(0xFFFFFF, 160))});
}

uint16_t Pad(Library& library, uint32_t color) {
    return Picture(library,
                   {Shape(Ellipse(0, 0, 104, 20), Solid(0x0B3C5D, 40)), Shape(Ellipse(0, -4, 100, 18), Solid(color)),
                    Shape(Ellipse(-10, -8, 70, 9), Solid(0xFFFFFF, 90))});
}

}  // namespace

swfkit::Bytes QuickMatchSelectionMovie(const swfkit::EmbeddedFont& font) {
    return SelectionMovie(font, {kSlotX[0], kSlotX[1]}, kButtons);
}

swfkit::Bytes SelectionMovie(const swfkit::EmbeddedFont& font, const std::vector<float>& slotX,
                             const std::vector<bubble_buttons::Bubble>& buttons) {
    swfkit::Movie movie(8, {0, Twips(kWidth), 0, Twips(kHeight)}, kFrameRate);
    Library library(movie.Tags());
    const uint16_t fontId = library.DefineFont(font);
    const uint16_t shelf = Shelf(library);
    const uint32_t padColors[] = {0xFF8C42, 0x9B5DE5, 0x00BBF9, 0xF15BB5};
    Stack stack(movie.Tags());
    stack.Place(shelf);
    for (size_t i = 0; i < slotX.size(); ++i) {
        stack.Place(Pad(library, padColors[i % std::size(padColors)]), slotX[i], kSlotY + 56);
        stack.Place(EmptyPlace(library, fontId, font, static_cast<int>(i) + 1), slotX[i], kSlotY);
    }
    bubble_buttons::PlaceButtons(library, stack, buttons, fontId, font);
    movie.Tags().DoAction(Script("stop"));
    movie.Tags().ShowFrame();
    return movie.Write(true);
}

std::string QuickMatchSelectionDescription(const swfkit::EmbeddedFont& font) {
    std::vector<TextSpec> texts = bubble_buttons::Labels(kButtons, font);
    const std::string title = "Pick your Globbos!";
    texts.push_back({"title", title, 32, "", Hex(kInk), 400 - TextWidth(font, title, 32) / 2, 6});
    return Description(
        "data/child.ttf",
        {{"selection", "data/gui/globbo_selection_quickmatch.swf"}, {"backdrop", "data/gui/menu_backdrop.swf"}}, texts);
}
