// The championship's screens: the creature selection of four, the level sets (the level
// selection's window under a title of its own), the match table with its highlight, and the
// get-ready overlay with the marker of a claimed creature.
#include "tools/movies/BubbleButtons.h"
#include "tools/movies/MenuArt.h"
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

#include <cmath>
#include <string>

namespace {

using namespace menu_art;

using bubble_buttons::Bubble;
using bubble_buttons::Icon;

// The selection's four places on the slots' row.
const std::vector<float> kSelectionSlots = {65.0f, 250.0f, 435.0f, 620.0f};
const std::vector<Bubble> kSelectionButtons = {
    {"Back", "Back", "Back", 52, 54, 64, 0x1AA7EC, Icon::kArrowLeft},
    // "Start" stands high enough for its label to keep above the water.
    {"Start", "Start", "Start", 735, 468, 100, 0x2BB673, Icon::kTrophy},
};

// The match table: a row per match, the two places left and right of the middle.
constexpr int kRows = 4;
constexpr float kFirstRowY = 165.0f;
constexpr float kRowStep = 112.0f;
constexpr float kPlace1X = 320.0f;
constexpr float kPlace2X = 480.0f;
constexpr float kRowLeft = 250.0f;
constexpr float kRowRight = 550.0f;
constexpr float kRowHalfHeight = 50.0f;
constexpr float kLabelRight = 210.0f;
const std::vector<Bubble> kTableButtons = {
    {"Start", "Start", "Play!", 692, 500, 104, 0x2BB673, Icon::kPlay},
};
const uint32_t kRowColors[kRows] = {0xFFD6E8, 0xD7F5E3, 0xFFF1C1, 0xDDEBFF};

// The highlight's stage and frames.
constexpr float kHighlightSize = 80.0f;
constexpr int kHighlightFrames = 8;
// The claim marker's stage.
constexpr float kMarkerSize = 100.0f;
constexpr float kHidden = 0.01f;

float RowY(int row) {
    return kFirstRowY + kRowStep * static_cast<float>(row);
}

// A row's card, about (0, 0) on the middle of the row.
uint16_t RowCard(Library& library, uint32_t color) {
    const float w = (kRowRight - kRowLeft) / 2.0f;
    const float h = kRowHalfHeight;
    return Picture(library, {Shape(RoundedRect(-w + 4, -h + 7, w + 4, h + 7, 24), Solid(0x0B3C5D, 45)),
                             Shape(RoundedRect(-w, -h, w, h, 24), Solid(0xFFFFFF)),
                             Shape(RoundedRect(-w + 8, -h + 8, w - 8, h - 8, 18), Solid(color))});
}

// The frame round the match about to be played: a thick golden rim with a white edge.
uint16_t RowFrame(Library& library) {
    const float w = (kRowRight - kRowLeft) / 2.0f + 7;
    const float h = kRowHalfHeight + 7;
    return Picture(library,
                   {Ring(RoundedRect(-w, -h, w, h, 30), RoundedRect(-w + 8, -h + 8, w - 8, h - 8, 24), Solid(0xFFC43D)),
                    Stroke(RoundedRect(-w + 1, -h + 1, w - 1, h - 1, 29), 2, Hex(0xFFFFFF))});
}

// A place whose player is not known yet: a pale disc with a question mark.
uint16_t OpenPlace(Library& library, uint16_t fontId, const swfkit::EmbeddedFont& font) {
    swfkit::TagList frames(8);
    Stack stack(frames);
    stack.Place(
        Picture(library, {Shape(Circle(0, 0, 31), Solid(0x0B3C5D, 35)), Shape(Circle(0, -2, 30), Solid(0xFFFFFF, 200)),
                          Stroke(Circle(0, -2, 28), 3, Hex(0x48CAE4))}));
    stack.Place(library.DefineText(fontId, font, "?", 36, {Hex(kInk)}), 0, -6);
    frames.DoAction(Script("stop"));
    frames.ShowFrame();
    return library.DefineSprite(frames);
}

// A starburst of the colour about (0, 0).
std::vector<Point> Burst(float outer, float inner, int points) {
    std::vector<Point> corners;
    for (int i = 0; i < points * 2; ++i) {
        const float angle = 3.14159265f * static_cast<float>(i) / static_cast<float>(points);
        const float r = i % 2 == 0 ? outer : inner;
        corners.push_back({r * std::sin(angle), -r * std::cos(angle)});
    }
    return corners;
}

// The marker's ring about (0, 0), white for the game to tint, with four pointers.
uint16_t MarkerRing(Library& library) {
    std::vector<swfkit::ShapeBuilder> shapes = {
        Ring(Circle(0, 0, 46), Circle(0, 0, 38), Solid(0x0B3C5D, 60)),
        Ring(Circle(0, 0, 44), Circle(0, 0, 37), Solid(0xFFFFFF)),
    };
    for (const auto& [dx, dy] : {Point{0, -1}, Point{1, 0}, Point{0, 1}, Point{-1, 0}}) {
        const float tip = 30.0f;
        const float base = 50.0f;
        // Each pointer points inwards; the corners go clockwise on the screen.
        const Point a{dx * tip, dy * tip};
        const Point b{dx * base - dy * 8, dy * base + dx * 8};
        const Point c{dx * base + dy * 8, dy * base - dx * 8};
        shapes.push_back(Shape(Polygon({a, c, b}), Solid(0xFFFFFF)));
    }
    return Picture(library, shapes);
}

// Moves the depth's character to the stage's middle at the scale.
void ScaleAt(swfkit::TagList& tags, uint16_t depth, float centre, float scale) {
    tags.PlaceObject2(Move(depth, centre, centre, scale, scale));
    tags.ShowFrame();
}

}  // namespace

swfkit::Bytes ChampionshipSelectionMovie(const swfkit::EmbeddedFont& font) {
    return SelectionMovie(font, kSelectionSlots, kSelectionButtons);
}

std::string ChampionshipSelectionDescription(const swfkit::EmbeddedFont& font) {
    std::vector<TextSpec> texts = bubble_buttons::Labels(kSelectionButtons, font);
    const std::string title = "Who joins the championship?";
    texts.push_back({"title", title, 32, "", Hex(kInk), 400 - TextWidth(font, title, 32) / 2, 6});
    return Description(
        "data/child.ttf",
        {{"selection", "data/gui/championship_globbo_selection.swf"}, {"backdrop", "data/gui/menu_backdrop.swf"}},
        texts);
}

std::string ChampionshipLevelSetDescription(const swfkit::EmbeddedFont& font) {
    return LevelSelectionDescription(font, "Choose a tour");
}

swfkit::Bytes MatchTableMovie(const swfkit::EmbeddedFont& font) {
    swfkit::Movie movie(8, {0, Twips(kWidth), 0, Twips(kHeight)}, kFrameRate);
    Library library(movie.Tags());
    const uint16_t fontId = library.DefineFont(font);
    const uint16_t frame = RowFrame(library);
    const uint16_t place = OpenPlace(library, fontId, font);
    const uint16_t versus = library.DefineText(fontId, font, "vs", 22, {Hex(kInk)});
    std::vector<uint16_t> cards;
    for (uint32_t color : kRowColors) {
        cards.push_back(RowCard(library, color));
    }
    swfkit::TagList& tags = movie.Tags();
    Stack stack(tags);
    auto placeRow = [&](int row) {
        const std::string k = std::to_string(row + 1);
        const float y = RowY(row);
        stack.Place(frame, 400, y, "match" + k + "rect");
        stack.Place(cards[static_cast<size_t>(row)], 400, y);
        stack.Place(versus, 400, y);
        stack.Place(place, kPlace1X, y, "match" + k + "p1");
        stack.Place(place, kPlace2X, y, "match" + k + "p2");
    };
    bubble_buttons::PlaceButtons(library, stack, kTableButtons, fontId, font);
    for (int row = 0; row < kRows - 1; ++row) {
        placeRow(row);
    }
    tags.FrameLabel("2 players");
    tags.DoAction(Script("stop"));
    tags.ShowFrame();
    tags.FrameLabel("3 players");
    tags.DoAction(Script("stop"));
    tags.ShowFrame();
    tags.FrameLabel("4 players");
    placeRow(kRows - 1);
    tags.DoAction(Script("stop"));
    tags.ShowFrame();
    return movie.Write(true);
}

std::string MatchTableDescription(const swfkit::EmbeddedFont& font) {
    std::vector<TextSpec> texts = bubble_buttons::Labels(kTableButtons, font);
    auto centred = [&](const std::string& tag, const std::string& text, float size, float y) {
        return TextSpec{tag, text, size, "", Hex(kInk), 400 - TextWidth(font, text, size) / 2, y};
    };
    texts.push_back(centred("title", "Championship", 36, 14));
    texts.push_back(centred("title2", "MATCH 1 OF 3", 22, 64));
    // The rows' names, right-aligned left of the rows: (tag, text, middle of the rows it names).
    const struct {
        const char* tag;
        const char* text;
        float y;
    } labels[] = {
        {"2match1", "Match 1", RowY(0)},   {"2match2", "Match 2", RowY(1)},
        {"2match3", "Match 3", RowY(2)},   {"3match1", "Heats", (RowY(0) + RowY(1)) / 2},
        {"3match2", "Final", RowY(2)},     {"4match1", "Semi-finals", (RowY(0) + RowY(1)) / 2},
        {"4match2", "For third", RowY(2)}, {"4match3", "Final", RowY(3)},
    };
    for (const auto& label : labels) {
        texts.push_back(
            {label.tag, label.text, 24, "", Hex(kInk), kLabelRight - TextWidth(font, label.text, 24), label.y - 16});
    }
    return Description("data/child.ttf",
                       {{"table", "data/gui/championship_match_table.swf"}, {"backdrop", "data/gui/menu_backdrop.swf"}},
                       texts);
}

swfkit::Bytes MatchTableSelectionMovie() {
    swfkit::Movie movie(8, {0, Twips(kHighlightSize), 0, Twips(kHighlightSize)}, kFrameRate / 3.0);
    Library library(movie.Tags());
    const float c = kHighlightSize / 2.0f;
    const uint16_t burst = Picture(
        library, {Shape(Polygon(Burst(34, 22, 10)), Solid(0xFF5D8F)),
                  Shape(Polygon(Burst(28, 18, 10)), Solid(0xFFC43D)), Shape(Circle(0, 0, 16), Solid(0xFFFFFF))});
    swfkit::TagList& tags = movie.Tags();
    Stack stack(tags);
    const uint16_t depth = stack.Place(burst, c, c);
    // A slow pulse; the game starts it on a frame of its own choosing.
    for (int frame = 0; frame < kHighlightFrames; ++frame) {
        const float phase = 2.0f * 3.14159265f * static_cast<float>(frame) / kHighlightFrames;
        ScaleAt(tags, depth, c, 0.92f + 0.1f * std::sin(phase));
    }
    return movie.Write(true);
}

swfkit::Bytes GetReadyMarkerMovie() {
    swfkit::Movie movie(8, {0, Twips(kMarkerSize), 0, Twips(kMarkerSize)}, kFrameRate);
    Library library(movie.Tags());
    const float c = kMarkerSize / 2.0f;
    const uint16_t ring = MarkerRing(library);
    swfkit::TagList& tags = movie.Tags();
    Stack stack(tags);
    const uint16_t depth = stack.Place(ring, c, c, "", kHidden);
    tags.DoAction(Script("stop"));
    tags.ShowFrame();
    tags.FrameLabel("showup");
    for (float scale : {0.3f, 0.7f, 1.12f, 0.96f}) {
        ScaleAt(tags, depth, c, scale);
    }
    tags.DoAction(Script("stop"));
    ScaleAt(tags, depth, c, 1.0f);
    tags.FrameLabel("hide");
    for (float scale : {1.08f, 0.7f, 0.3f}) {
        ScaleAt(tags, depth, c, scale);
    }
    tags.DoAction(Script("stop"));
    ScaleAt(tags, depth, c, kHidden);
    return movie.Write(true);
}

swfkit::Bytes GetReadyMovie(const swfkit::EmbeddedFont& font) {
    swfkit::Movie movie(8, {0, Twips(kWidth), 0, Twips(kHeight)}, kFrameRate);
    Library library(movie.Tags());
    const uint16_t fontId = library.DefineFont(font);
    const uint16_t banner = Picture(library, {Shape(RoundedRect(164, 18, 644, 112, 28), Solid(0x0B3C5D, 60)),
                                              Shape(RoundedRect(160, 12, 640, 106, 28), Solid(0xFFFFFF, 235)),
                                              Stroke(RoundedRect(163, 15, 637, 103, 25), 4, Hex(0xFFC43D))});
    Stack stack(movie.Tags());
    stack.Place(banner);
    stack.Place(library.DefineText(fontId, font, "Get ready!", 38, kTitleLetters), 400, 46);
    stack.Place(library.DefineText(fontId, font, "Move onto your Globbo and press spit", 18, {Hex(kInk)}), 400, 84);
    movie.Tags().DoAction(Script("stop"));
    movie.Tags().ShowFrame();
    return movie.Write(true);
}

std::string GetReadyDescription() {
    const std::vector<TextSpec> texts = {
        {"ready1", "Ready!", 22, "", Hex(0x2BB673), 0, 0},
        {"ready2", "Ready!", 22, "", Hex(0x2BB673), 0, 0},
    };
    return Description("data/child.ttf", {{"getready", "data/gui/championship_get_ready.swf"}}, texts);
}
