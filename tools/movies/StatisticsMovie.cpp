// The statistics screen: a scoreboard over the pond. The game draws the names and numbers; the
// movie gives them their board, name cards for the current match, and the buttons that go back
// and switch between the current match and the overall table.
#include "tools/movies/MenuArt.h"
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

namespace {

using namespace menu_art;

using swfkit::ShapeBuilder;

// The board behind the texts. The game's red (200, 87, 87 at alpha 200) reads at 3 to 1 only on
// a near-black ground, so the board is a blue close to black, and the rows' stripes stay close to
// it. The names' band: the game writes the two names in black from (250, 170) and (450, 170), at
// their full width whatever their length, so one cream band runs under both to the board's rim.
constexpr float kBoardLeft = 40.0f;
constexpr float kBoardTop = 146.0f;
constexpr float kBoardRight = 760.0f;
constexpr float kBoardBottom = 584.0f;
constexpr uint32_t kBoard = 0x040912;
constexpr float kBandLeft = 238.0f;
constexpr float kBandRight = 748.0f;
constexpr float kBandTop = 166.0f;
constexpr float kBandBottom = 222.0f;
// Where the second name's part of the band begins, a little before the second name.
constexpr float kBandSecond = 442.0f;
// The overall table's rows (the game writes them from y 190, 30 apart, until the board's bottom)
// on stripes a little lighter and darker than the board.
constexpr float kFirstRow = 190.0f;
constexpr float kRowHeight = 30.0f;
constexpr int kStripes = 13;
constexpr uint8_t kLightStripeAlpha = 8;
constexpr uint8_t kDarkStripeAlpha = 60;

// A golden cup about (x, y), 44 pixels high.
std::vector<ShapeBuilder> Trophy(float x, float y) {
    return {Shape(Polygon({{x - 19, y - 22},
                           {x + 19, y - 22},
                           {x + 14, y},
                           {x + 3, y + 6},
                           {x + 3, y + 14},
                           {x - 3, y + 14},
                           {x - 3, y + 6},
                           {x - 14, y}}),
                  Solid(0xFFD43B)),
            Shape(RoundedRect(x - 13, y + 14, x + 13, y + 22, 3), Solid(0xF4A100)),
            Shape(Ellipse(x - 9, y - 14, 4, 6), Solid(0xFFFFFF, 140))};
}

uint16_t Board(Library& library) {
    std::vector<ShapeBuilder> shapes = {
        Shape(RoundedRect(kBoardLeft + 4, kBoardTop + 8, kBoardRight + 4, kBoardBottom + 8, 28), Solid(0x0B3C5D, 60)),
        Shape(RoundedRect(kBoardLeft, kBoardTop, kBoardRight, kBoardBottom, 28), Solid(kBoard)),
        Stroke(RoundedRect(kBoardLeft + 3, kBoardTop + 3, kBoardRight - 3, kBoardBottom - 3, 25), 4,
               Hex(0x48CAE4, 230)),
    };
    // A cup beside the title: the board is about wins, whoever won the match shown.
    for (ShapeBuilder& shape : Trophy(590, 54)) {
        shapes.push_back(std::move(shape));
    }
    return Picture(library, shapes);
}

// The overall table's look: a line under the header and a stripe behind every row, light and
// dark in turn.
uint16_t OverallLook(Library& library) {
    std::vector<ShapeBuilder> shapes;
    shapes.push_back(Shape(RoundedRect(70, kFirstRow - 4, 730, kFirstRow - 2, 1), Solid(0x57C857, 160)));
    for (int row = 0; row < kStripes; ++row) {
        const float top = kFirstRow + kRowHeight * static_cast<float>(row);
        shapes.push_back(Shape(RoundedRect(62, top + 1, 738, top + kRowHeight - 1, 8),
                               row % 2 == 0 ? Solid(0xFFFFFF, kLightStripeAlpha) : Solid(0x000000, kDarkStripeAlpha)));
    }
    return Picture(library, shapes);
}

// The current match's look: the cream band under the names, the second name's part a shade
// warmer, and a darker well under the numbers.
uint16_t CurrentLook(Library& library) {
    return Picture(
        library,
        {Shape(RoundedRect(56, 224, 660, 316, 16), Solid(0x000000, 70)),
         Shape(RoundedRect(kBandLeft + 3, kBandTop + 5, kBandRight, kBandBottom + 5, 14), Solid(0x000000, 90)),
         Shape(RoundedRect(kBandLeft, kBandTop, kBandSecond + 14, kBandBottom, 14), Solid(0xFFF4D6)),
         Shape(RoundedRect(kBandSecond, kBandTop, kBandRight, kBandBottom, 14), Solid(0xFFE2BA)),
         Shape(RoundedRect(kBandLeft + 8, kBandTop + 4, kBandRight - 8, kBandTop + 14, 6), Solid(0xFFFFFF, 150))});
}

void Heading(Library& library, Stack& stack, uint16_t fontId, const swfkit::EmbeddedFont& font) {
    stack.Place(library.DefineText(fontId, font, "Statistics", 54, {Hex(0x0B3C5D, 70)}), 403, 58);
    stack.Place(library.DefineText(fontId, font, "Statistics", 54, {Hex(0xFFFFFF)}), 400, 52);
    stack.Place(library.DefineText(fontId, font, "Statistics", 54, kTitleLetters), 400, 54);
}

// The script (in the kit's assembler text) that shows the root's clip shown and hides its clip
// hidden: one of the two looks at a time.
std::string ShowLook(const std::string& shown, const std::string& hidden) {
    return "'_root' get_var '" + shown + "' get_member '_visible' true set_member '_root' get_var '" + hidden +
           "' get_member '_visible' false set_member";
}

}  // namespace

swfkit::Bytes StatisticsMovie(const swfkit::EmbeddedFont& font) {
    swfkit::Movie movie(8, {0, Twips(kWidth), 0, Twips(kHeight)}, kFrameRate);
    Library library(movie.Tags());
    const uint16_t fontId = library.DefineFont(font);
    const uint16_t board = Board(library);
    const uint16_t overall = OverallLook(library);
    const uint16_t current = CurrentLook(library);
    // Each link shows its own look before it tells the game.
    const uint16_t back = JellyButton(library, PillBody(library, fontId, font, "Back", 112, 0xEF476F), "Back");
    const uint16_t currentLink = JellyButton(library, PillBody(library, fontId, font, "This match", 176, 0x9B5DE5),
                                             "CurrentMatchLink", ShowLook("currentLook", "overallLook"));
    const uint16_t overallLink = JellyButton(library, PillBody(library, fontId, font, "Overall", 176, 0x1AA7EC),
                                             "OverallLink", ShowLook("overallLook", "currentLook"));

    swfkit::TagList& tags = movie.Tags();
    Stack stack(tags);
    stack.Place(board);
    stack.Place(overall, 0, 0, "overallLook");
    stack.Place(current, 0, 0, "currentLook");
    Heading(library, stack, fontId, font);
    stack.Place(back, 84, 52, "Back");
    stack.Place(currentLink, 310, 116, "CurrentMatchLink");
    stack.Place(overallLink, 500, 116, "OverallLink");
    tags.ShowFrame();
    // "match", where the game sends the movie each time the screen shows (it rests a frame
    // later, so that each visit runs the frame again): both links there and the current match's
    // look. Without a match to show, the game then calls OverallOnly: the link to it goes (the
    // cursors pass it by) and the board takes the overall table's look. Coming back to the frame
    // from the frame after it, its script may run only at the next step, after OverallOnly: the
    // flag that OverallOnly leaves keeps it from undoing the call, and the resting frame clears
    // the flag for the next visit.
    tags.FrameLabel("match");
    tags.DoAction(Script("fn:OverallOnly() { 'disabled' 1 'CurrentMatchLink' get_var 'gotoAndStop' call_method pop " +
                         ShowLook("overallLook", "currentLook") +
                         " 'tableOnly' true set_var } 'tableOnly' get_var if:done " +
                         "1 1 'CurrentMatchLink' get_var 'gotoAndStop' call_method pop " +
                         ShowLook("currentLook", "overallLook") + " @done"));
    tags.ShowFrame();
    tags.DoAction(Script("'tableOnly' false set_var stop"));
    tags.ShowFrame();
    return movie.Write(true);
}

std::string StatisticsDescription() {
    return Description("data/child.ttf",
                       {{"statistics", "data/gui/statistics.swf"}, {"backdrop", "data/gui/mainmenu_backdrop.swf"}}, {});
}
