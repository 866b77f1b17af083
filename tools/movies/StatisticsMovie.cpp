// The statistics screen: a scoreboard over the pond. The game draws the names and numbers; the
// movie gives them their board, name cards for the current match, and the buttons that go back
// and switch between the current match and the overall table.
#include "tools/movies/MenuArt.h"
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

namespace {

using namespace menu_art;

using swfkit::ShapeBuilder;

// The board behind the texts, and the name cards of the two players' columns (the game writes
// the names in black at (250, 170) and (450, 170)).
constexpr float kBoardLeft = 40.0f;
constexpr float kBoardTop = 146.0f;
constexpr float kBoardRight = 760.0f;
constexpr float kBoardBottom = 584.0f;
constexpr uint32_t kBoard = 0x17324D;
constexpr float kCardTop = 166.0f;
constexpr float kCardBottom = 222.0f;
constexpr float kCardLefts[] = {238.0f, 438.0f};
constexpr float kCardWidth = 188.0f;
// The overall table's rows (the game writes them from y 190, 30 apart).
constexpr float kFirstRow = 190.0f;
constexpr float kRowHeight = 30.0f;
constexpr int kStripes = 13;

uint16_t Board(Library& library) {
    std::vector<ShapeBuilder> shapes = {
        Shape(RoundedRect(kBoardLeft + 4, kBoardTop + 8, kBoardRight + 4, kBoardBottom + 8, 28), Solid(0x0B3C5D, 60)),
        Shape(RoundedRect(kBoardLeft, kBoardTop, kBoardRight, kBoardBottom, 28), Solid(kBoard, 232)),
        Stroke(RoundedRect(kBoardLeft + 3, kBoardTop + 3, kBoardRight - 3, kBoardBottom - 3, 25), 4,
               Hex(0x48CAE4, 230)),
    };
    return Picture(library, shapes);
}

// The overall table's look: light stripes behind every second row and a line under the header.
uint16_t OverallLook(Library& library) {
    std::vector<ShapeBuilder> shapes;
    shapes.push_back(Shape(RoundedRect(70, kFirstRow - 4, 730, kFirstRow - 2, 1), Solid(0x57C857, 160)));
    for (int row = 0; row < kStripes; row += 2) {
        const float top = kFirstRow + kRowHeight * static_cast<float>(row);
        shapes.push_back(Shape(RoundedRect(62, top + 1, 738, top + kRowHeight - 1, 8), Solid(0xFFFFFF, 22)));
    }
    return Picture(library, shapes);
}

// The current match's look: a cream card under each name and a darker well under the numbers.
uint16_t CurrentLook(Library& library) {
    std::vector<ShapeBuilder> shapes;
    shapes.push_back(Shape(RoundedRect(56, 224, 640, 316, 16), Solid(0x0B1F33, 120)));
    for (float left : kCardLefts) {
        shapes.push_back(Shape(RoundedRect(left + 3, kCardTop + 5, left + kCardWidth + 3, kCardBottom + 5, 14),
                               Solid(0x0B1F33, 120)));
        shapes.push_back(Shape(RoundedRect(left, kCardTop, left + kCardWidth, kCardBottom, 14), Solid(0xFFF4D6)));
        shapes.push_back(
            Shape(RoundedRect(left + 8, kCardTop + 4, left + kCardWidth - 8, kCardTop + 14, 6), Solid(0xFFFFFF, 150)));
    }
    // A trophy for the match on the board's right.
    shapes.push_back(
        Shape(Polygon({{668, 240}, {728, 240}, {720, 276}, {703, 286}, {703, 298}, {693, 298}, {693, 286}, {676, 276}}),
              Solid(0xFFD43B)));
    shapes.push_back(Shape(RoundedRect(678, 298, 718, 310, 4), Solid(0xF4A100)));
    shapes.push_back(Shape(Ellipse(688, 252, 6, 9), Solid(0xFFFFFF, 140)));
    return Picture(library, shapes);
}

void Heading(Library& library, Stack& stack, uint16_t fontId, const swfkit::EmbeddedFont& font) {
    const std::vector<swfkit::Color> letters = {Hex(0xFF8C42), Hex(0x9B5DE5), Hex(0xF15BB5), Hex(0x1AA7EC),
                                                Hex(0xF4A100), Hex(0x2BB673), Hex(0xEF476F), Hex(0x00B4C6)};
    stack.Place(library.DefineText(fontId, font, "Statistics", 54, {Hex(0x0B3C5D, 70)}), 403, 58);
    stack.Place(library.DefineText(fontId, font, "Statistics", 54, {Hex(0xFFFFFF)}), 400, 52);
    stack.Place(library.DefineText(fontId, font, "Statistics", 54, letters), 400, 54);
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
    const uint16_t currentLink =
        JellyButton(library, PillBody(library, fontId, font, "This match", 176, 0xFF8C42), "CurrentMatchLink",
                    "'_root' get_var 'currentLook' get_member '_visible' true set_member");
    const uint16_t overallLink =
        JellyButton(library, PillBody(library, fontId, font, "Overall", 176, 0x1AA7EC), "OverallLink",
                    "'_root' get_var 'currentLook' get_member '_visible' false set_member");

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
    tags.DoAction(
        Script("fn:OverallOnly() { 'disabled' 1 'CurrentMatchLink' get_var 'gotoAndStop' call_method pop "
               "'currentLook' get_var '_visible' false set_member 'tableOnly' true set_var } "
               "'tableOnly' get_var if:done "
               "1 1 'CurrentMatchLink' get_var 'gotoAndStop' call_method pop "
               "'currentLook' get_var '_visible' true set_member @done"));
    tags.ShowFrame();
    tags.DoAction(Script("'tableOnly' false set_var stop"));
    tags.ShowFrame();
    return movie.Write(true);
}

std::string StatisticsDescription() {
    return Description("data/child.ttf",
                       {{"statistics", "data/gui/statistics.swf"}, {"backdrop", "data/gui/mainmenu_backdrop.swf"}}, {});
}
