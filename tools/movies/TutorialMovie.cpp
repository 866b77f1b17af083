// The tutorial: one card of short text per lesson at the top of the screen, with the buttons
// "pausebutton" and "nextbutton" at the bottom. Lessons that the game plays a match for leave the
// rest of the screen clear, so the match shows through; the others bring their own pond and a
// drawing.
//
// Lesson n sends "block<nn>". The game answers "nextbutton" by going to the label of the block it
// was told last, so the label "block<nn>" marks the way on from lesson n: the first frame of
// lesson n + 1 (lesson 1 starts on the movie's first frame). A lesson sends its command from its
// second frame, never from the frame a jump lands on: the frame a jump lands on runs its script
// at once when the jump comes from a script and only with the next frame otherwise, and the
// number must not depend on which. Each lesson's card slides in, navigation comes back on, and
// the lesson then rests on a frame that stops, with a guard frame after it that stops on the
// rest again, so that pausing and resuming the movie stays in the lesson. The last lesson sends
// "stopped" a moment after its card has come in.
#include "tools/movies/MenuArt.h"
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

#include <cstdio>
#include <tuple>

namespace {

using namespace menu_art;

using swfkit::ShapeBuilder;

// The card at the top: its box, where its title and lines sit.
constexpr float kCardLeft = 24.0f;
constexpr float kCardRight = 776.0f;
constexpr float kCardTop = 12.0f;
constexpr float kCardBottom = 160.0f;
constexpr float kTitleY = 46.0f;
constexpr float kFirstLineY = 86.0f;
constexpr float kLineGap = 25.0f;
constexpr float kTitleSize = 30.0f;
constexpr float kLineSize = 19.0f;
// The card starts this far above its place and slides down in kSlideFrames frames.
constexpr float kSlideFrom = -170.0f;
constexpr int kSlideFrames = 6;
// The last lesson's frames before it sends "stopped".
constexpr int kFarewellFrames = 75;
// The buttons' centres.
constexpr float kButtonY = 560.0f;
constexpr float kPauseX = 104.0f;
constexpr float kNextX = 696.0f;
// Depths of the root's display list.
constexpr uint16_t kPondDepth = 1;
constexpr uint16_t kDrawingDepth = 2;
constexpr uint16_t kCardDepth = 3;
constexpr uint16_t kPauseDepth = 10;
constexpr uint16_t kNextDepth = 11;

enum class Drawing { kNone, kCreaturesAndBalls, kKeys, kSpit, kTrophy };

// A lesson: the colour of its card's rim and badge, the title, up to three lines, and (for the
// lessons without a match) its drawing on a pond of its own.
struct Lesson {
    uint32_t color;
    const char* title;
    std::vector<const char*> lines;
    Drawing drawing;
};

// Lessons 1 to 13, the blocks of their commands.
const Lesson kLessons[] = {
    {0xFF8C42,
     "Welcome to Pondorix!",
     {"You and your rival each steer a soft, bouncy Globbo", "and fight over the balls in the pond.",
      "Next goes on to the next lesson, Pause holds the one you are in."},
     Drawing::kCreaturesAndBalls},
    {0x1AA7EC,
     "Steering",
     {"Push your Globbo's mouth with the arrow keys, with W A S D",
      "or with a gamepad's stick: the body follows the mouth."},
     Drawing::kKeys},
    {0xF15BB5,
     "Spitting",
     {"Right Ctrl, Left Ctrl or the gamepad's button 1", "spits out a ball that your Globbo holds."},
     Drawing::kSpit},
    {0x2BB673, "Swim around", {"Watch this Globbo swim: the mouth pulls, the soft body follows."}, Drawing::kNone},
    {0xF4A100,
     "Swallow",
     {"A ball that touches a Globbo's skin is taken in.",
      "A free ball becomes the property of the Globbo that takes it."},
     Drawing::kNone},
    {0xEF476F, "Spit", {"Spit your balls out again, and aim them at your rival!"}, Drawing::kNone},
    {0x00B4C6, "Score", {"Your ball inside your rival is a burden for them", "and a point for you."}, Drawing::kNone},
    {0x9B5DE5, "Win", {"Whoever has more than half of the balls as points", "wins the match."}, Drawing::kNone},
    {0xFF8C42, "Keep them in", {"Your rival spits your balls back out:", "keep them coming!"}, Drawing::kNone},
    {0x1AA7EC,
     "Colours",
     {"Every ball shows its owner's colour,", "so you always know whose ball it is."},
     Drawing::kNone},
    {0xF15BB5, "One ball", {"With a single ball in the pond,", "the first burden decides the match."}, Drawing::kNone},
    {0x2BB673,
     "Play with the pond",
     {"Some ponds have parts that move. This plank rocks like a seesaw:", "use it to throw balls around!"},
     Drawing::kNone},
    {0xFF8C42, "Well done!", {"You know all you need. Have fun in the pond!"}, Drawing::kTrophy},
};

const std::vector<swfkit::Color> kTitleColors = {Hex(0xFF8C42), Hex(0x9B5DE5), Hex(0xF15BB5), Hex(0x1AA7EC),
                                                 Hex(0xF4A100), Hex(0x2BB673), Hex(0xEF476F), Hex(0x00B4C6)};

// A pond of the lessons without a match: water in flat bands, sand, weed and a few bubbles.
uint16_t Pond(Library& library) {
    std::vector<ShapeBuilder> shapes = Bands({{0, 0x5CC6E8}, {170, 0x72D0EC}, {300, 0x8ADAF0}, {420, 0xA4E3F3}});
    shapes.push_back(Shape(Ellipse(400, 640, 520, 120), Solid(0xF6D58E)));
    shapes.push_back(Shape(Ellipse(400, 650, 480, 100), Solid(0xF2C46D)));
    for (auto [x, h] : {std::pair{60.0f, 120.0f}, {84.0f, 90.0f}, {716.0f, 110.0f}, {744.0f, 140.0f}}) {
        shapes.push_back(Shape(Ellipse(x, 560 - h / 2, 9, h / 2), Solid(0x38B000)));
    }
    for (auto [x, y, r] : {std::tuple{150.0f, 420.0f, 10.0f},
                           {170.0f, 380.0f, 6.0f},
                           {640.0f, 300.0f, 12.0f},
                           {660.0f, 250.0f, 7.0f},
                           {420.0f, 200.0f, 5.0f}}) {
        shapes.push_back(Shape(Circle(x, y, r), Solid(0xFFFFFF, 80)));
        shapes.push_back(Stroke(Circle(x, y, r), 2.0f, Hex(0xFFFFFF, 200)));
    }
    return Picture(library, shapes);
}

// A round Globbo of radius r at (x, y): body, shine, eyes looking to one side, a small mouth.
void AddGlobbo(std::vector<ShapeBuilder>& shapes, float x, float y, float r, uint32_t color, uint32_t light,
               float look) {
    shapes.push_back(Shape(Ellipse(x, y + r * 0.95f, r * 0.9f, r * 0.14f), Solid(0x0B3C5D, 50)));
    shapes.push_back(Shape(Circle(x, y, r), Solid(color)));
    shapes.push_back(Shape(Circle(x - r * 0.1f, y - r * 0.12f, r * 0.8f), Solid(light)));
    shapes.push_back(Shape(Ellipse(x - r * 0.35f, y - r * 0.6f, r * 0.3f, r * 0.13f), Solid(0xFFFFFF, 150)));
    for (float side : {-1.0f, 1.0f}) {
        const float ex = x + side * r * 0.32f;
        const float ey = y - r * 0.15f;
        shapes.push_back(Shape(Ellipse(ex, ey, r * 0.2f, r * 0.25f), Solid(0xFFFFFF)));
        shapes.push_back(Shape(Circle(ex + look * r * 0.07f, ey + r * 0.03f, r * 0.11f), Solid(0x1B1B3A)));
    }
    shapes.push_back(Shape(Ellipse(x + look * r * 0.1f, y + r * 0.35f, r * 0.16f, r * 0.1f), Solid(0x7A1E3A)));
}

void AddBall(std::vector<ShapeBuilder>& shapes, float x, float y, float r, uint32_t color) {
    shapes.push_back(Shape(Circle(x, y, r), Solid(color)));
    shapes.push_back(Shape(Circle(x - r * 0.3f, y - r * 0.3f, r * 0.3f), Solid(0xFFFFFF, 170)));
    shapes.push_back(Stroke(Circle(x, y, r - 1.0f), 2.0f, Hex(0x0B3C5D, 120)));
}

// A key cap with a letter or an arrow.
void AddKey(std::vector<ShapeBuilder>& shapes, float x, float y, float w) {
    shapes.push_back(Shape(RoundedRect(x - w / 2 + 3, y - 24, x + w / 2 + 3, y + 30, 10), Solid(0x0B3C5D, 70)));
    shapes.push_back(Shape(RoundedRect(x - w / 2, y - 27, x + w / 2, y + 27, 10), Solid(0xFFFFFF)));
    shapes.push_back(Shape(RoundedRect(x - w / 2 + 5, y - 23, x + w / 2 - 5, y + 16, 7), Solid(0xEAF6FB)));
}

void AddArrow(std::vector<ShapeBuilder>& shapes, float x, float y, int direction) {
    // Up, right, down, left: the tip, then the two back corners, clockwise.
    const float s = 11.0f;
    const std::vector<Point> tips[] = {
        {{x, y - s - 2}, {x + s, y + s - 4}, {x - s, y + s - 4}},
        {{x + s + 2, y - 2}, {x - s + 4, y + s - 2}, {x - s + 4, y - s - 2}},
        {{x, y + s - 2}, {x - s, y - s}, {x + s, y - s}},
        {{x - s - 2, y - 2}, {x + s - 4, y - s - 2}, {x + s - 4, y + s - 2}},
    };
    shapes.push_back(Shape(Polygon(tips[direction]), Solid(0x1AA7EC)));
}

// The drawing of a lesson without a match, with its static texts.
uint16_t DrawingOf(Library& library, uint16_t fontId, const swfkit::EmbeddedFont& font, Drawing drawing) {
    std::vector<ShapeBuilder> shapes;
    std::vector<std::tuple<std::string, float, float, float>> labels;
    switch (drawing) {
    case Drawing::kNone: return 0;
    case Drawing::kCreaturesAndBalls:
        AddGlobbo(shapes, 230, 400, 70, 0xFF6F91, 0xFFB3C6, 1.0f);
        AddGlobbo(shapes, 570, 400, 70, 0x7CC42A, 0xC8EF8A, -1.0f);
        for (auto [x, y] :
             {std::pair{360.0f, 260.0f}, {400.0f, 330.0f}, {440.0f, 250.0f}, {390.0f, 420.0f}, {330.0f, 470.0f}}) {
            AddBall(shapes, x, y, 16, 0xFFFFFF);
        }
        break;
    case Drawing::kKeys: {
        const float cx = 250.0f;
        const float cy = 400.0f;
        AddKey(shapes, cx, cy - 62, 60);
        AddKey(shapes, cx - 66, cy, 60);
        AddKey(shapes, cx, cy, 60);
        AddKey(shapes, cx + 66, cy, 60);
        AddArrow(shapes, cx, cy - 66, 0);
        AddArrow(shapes, cx + 66, cy - 4, 1);
        AddArrow(shapes, cx, cy - 4, 2);
        AddArrow(shapes, cx - 66, cy - 4, 3);
        AddGlobbo(shapes, 560, 380, 72, 0xFF6F91, 0xFFB3C6, 1.0f);
        // Motion lines behind the Globbo.
        for (float dy : {-30.0f, 0.0f, 30.0f}) {
            shapes.push_back(Shape(RoundedRect(440, 380 + dy - 3, 474, 380 + dy + 3, 3), Solid(0xFFFFFF, 200)));
        }
        labels.emplace_back("W A S D", 250.0f, 488.0f, 22.0f);
        break;
    }
    case Drawing::kSpit:
        AddKey(shapes, 200, 400, 120);
        AddGlobbo(shapes, 470, 400, 72, 0xFF6F91, 0xFFB3C6, 1.0f);
        AddBall(shapes, 640, 330, 18, 0xFF6F91);
        for (auto [x, y] : {std::pair{570.0f, 366.0f}, {596.0f, 352.0f}}) {
            shapes.push_back(Shape(Circle(x, y, 5), Solid(0xFFFFFF, 200)));
        }
        labels.emplace_back("Ctrl", 200.0f, 396.0f, 30.0f);
        break;
    case Drawing::kTrophy:
        shapes.push_back(Shape(
            Polygon({{330, 230}, {470, 230}, {452, 320}, {412, 344}, {412, 376}, {388, 376}, {388, 344}, {348, 320}}),
            Solid(0xFFD43B)));
        shapes.push_back(Shape(RoundedRect(350, 376, 450, 404, 8), Solid(0xF4A100)));
        shapes.push_back(Shape(Ellipse(362, 262, 12, 22), Solid(0xFFFFFF, 140)));
        AddGlobbo(shapes, 220, 440, 60, 0xFF6F91, 0xFFB3C6, 1.0f);
        AddGlobbo(shapes, 580, 440, 60, 0x7CC42A, 0xC8EF8A, -1.0f);
        for (auto [x, y, color] : {std::tuple{300.0f, 200.0f, 0xF15BB5u},
                                   {520.0f, 190.0f, 0x1AA7ECu},
                                   {260.0f, 300.0f, 0x2BB673u},
                                   {560.0f, 290.0f, 0x9B5DE5u}}) {
            shapes.push_back(Shape(RoundedRect(x - 6, y - 6, x + 6, y + 6, 2), Solid(color)));
        }
        break;
    }
    swfkit::TagList frames(8);
    Stack stack(frames);
    for (const ShapeBuilder& shape : shapes) {
        stack.Place(library.Define(shape));
    }
    for (const auto& [text, x, y, size] : labels) {
        stack.Place(library.DefineText(fontId, font, text, size, {Hex(kInk)}), x, y);
    }
    frames.DoAction(Script("stop"));
    frames.ShowFrame();
    return library.DefineSprite(frames);
}

// A lesson's card: the box with a coloured rim, a numbered badge, the title and the lines.
uint16_t Card(Library& library, uint16_t fontId, const swfkit::EmbeddedFont& font, const Lesson& lesson, int number) {
    swfkit::TagList frames(8);
    Stack stack(frames);
    stack.Place(library.Define(
        Shape(RoundedRect(kCardLeft + 4, kCardTop + 7, kCardRight + 4, kCardBottom + 7, 24), Solid(0x0B3C5D, 70))));
    stack.Place(library.Define(Shape(RoundedRect(kCardLeft, kCardTop, kCardRight, kCardBottom, 24), Solid(0xFFFBF0))));
    stack.Place(library.Define(
        Stroke(RoundedRect(kCardLeft + 2, kCardTop + 2, kCardRight - 2, kCardBottom - 2, 22), 4, Hex(lesson.color))));
    // The welcome card has no number.
    if (number > 1) {
        const float bx = kCardLeft + 40.0f;
        stack.Place(library.Define(Shape(Circle(bx, kTitleY, 22), Solid(lesson.color))));
        stack.Place(library.DefineText(fontId, font, std::to_string(number), 24, {Hex(0xFFFFFF)}), bx, kTitleY);
    }
    stack.Place(library.DefineText(fontId, font, lesson.title, kTitleSize, {Hex(0x0B3C5D, 60)}), 402, kTitleY + 2);
    stack.Place(library.DefineText(fontId, font, lesson.title, kTitleSize, kTitleColors), 400, kTitleY);
    for (size_t i = 0; i < lesson.lines.size(); ++i) {
        stack.Place(library.DefineText(fontId, font, lesson.lines[i], kLineSize, {Hex(kInk)}), 400,
                    kFirstLineY + kLineGap * static_cast<float>(i));
    }
    frames.DoAction(Script("stop"));
    frames.ShowFrame();
    return library.DefineSprite(frames);
}

// A round button body: a shadow, the coloured pill with a lighter top and a rim, a sign and the
// label.
uint16_t ButtonBody(Library& library, uint16_t fontId, const swfkit::EmbeddedFont& font, const std::string& label,
                    uint32_t color, bool pause) {
    const float w = 84.0f;
    const float h = 26.0f;
    std::vector<ShapeBuilder> shapes = {
        Shape(RoundedRect(-w + 3, -h + 6, w + 3, h + 6, h), Solid(0x0B3C5D, 80)),
        Shape(RoundedRect(-w, -h, w, h, h), Solid(color)),
        Shape(RoundedRect(-w + 8, -h + 4, w - 8, -3, h - 6), Solid(0xFFFFFF, 60)),
        Stroke(RoundedRect(-w + 1.5f, -h + 1.5f, w - 1.5f, h - 1.5f, h - 1.5f), 3, Hex(0xFFFFFF, 220)),
    };
    const float sx = -w + 30.0f;
    if (pause) {
        shapes.push_back(Shape(RoundedRect(sx - 8, -10, sx - 2, 10, 2), Solid(0xFFFFFF)));
        shapes.push_back(Shape(RoundedRect(sx + 2, -10, sx + 8, 10, 2), Solid(0xFFFFFF)));
    } else {
        shapes.push_back(Shape(Polygon({{w - 38, -11}, {w - 22, 0}, {w - 38, 11}}), Solid(0xFFFFFF)));
    }
    swfkit::TagList frames(8);
    Stack stack(frames);
    for (const ShapeBuilder& shape : shapes) {
        stack.Place(library.Define(shape));
    }
    stack.Place(library.DefineText(fontId, font, label, 24, {Hex(0xFFFFFF)}), pause ? 12.0f : -12.0f, -1);
    frames.DoAction(Script("stop"));
    frames.ShowFrame();
    return library.DefineSprite(frames);
}

// The two bytes of a frame number in an action record, low byte first.
std::string FrameBytes(int frame) {
    char text[8];
    std::snprintf(text, sizeof(text), "%02X,%02X", frame & 0xFF, (frame >> 8) & 0xFF);
    return text;
}

}  // namespace

swfkit::Bytes TutorialMovie(const swfkit::EmbeddedFont& font) {
    swfkit::Movie movie(8, {0, Twips(kWidth), 0, Twips(kHeight)}, kFrameRate);
    Library library(movie.Tags());
    const uint16_t fontId = library.DefineFont(font);
    const uint16_t pond = Pond(library);
    const uint16_t pause =
        JellyButton(library, ButtonBody(library, fontId, font, "Pause", 0x1AA7EC, true), "pausebutton");
    const uint16_t next =
        JellyButton(library, ButtonBody(library, fontId, font, "Next", 0xFF8C42, false), "nextbutton");
    std::vector<uint16_t> cards;
    std::vector<uint16_t> drawings;
    for (size_t i = 0; i < std::size(kLessons); ++i) {
        cards.push_back(Card(library, fontId, font, kLessons[i], static_cast<int>(i) + 1));
        drawings.push_back(DrawingOf(library, fontId, font, kLessons[i].drawing));
    }

    swfkit::TagList& tags = movie.Tags();
    int frame = 0;
    bool pondShown = false;
    for (size_t i = 0; i < std::size(kLessons); ++i) {
        const int number = static_cast<int>(i) + 1;
        char label[24];
        char command[24];
        std::snprintf(label, sizeof(label), "block%02d", number - 1);
        std::snprintf(command, sizeof(command), "block%02d", number);
        if (i > 0) {
            tags.FrameLabel(label);
            tags.RemoveObject2(kCardDepth);
            if (drawings[i - 1] != 0) {
                tags.RemoveObject2(kDrawingDepth);
            }
        }
        const bool withPond = drawings[i] != 0;
        if (pondShown && !withPond) {
            tags.RemoveObject2(kPondDepth);
        }
        if (withPond && !pondShown) {
            Stack(tags, kPondDepth).Place(pond);
        }
        if (withPond) {
            Stack(tags, kDrawingDepth).Place(drawings[i]);
        }
        pondShown = withPond;
        Stack(tags, kCardDepth).Place(cards[i], 0, kSlideFrom);
        if (i == 0) {
            Stack(tags, kPauseDepth).Place(pause, kPauseX, kButtonY, "pausebutton");
            Stack(tags, kNextDepth).Place(next, kNextX, kButtonY, "nextbutton");
        }
        tags.ShowFrame();
        tags.DoAction(Script(std::string("#83:'FSCommand:") + command + "',''"));
        tags.ShowFrame();
        frame += 2;
        for (int step = 1; step <= kSlideFrames; ++step) {
            const float t = static_cast<float>(step) / kSlideFrames;
            tags.PlaceObject2(Move(kCardDepth, 0, kSlideFrom * (1.0f - t) * (1.0f - t)));
            if (step == kSlideFrames) {
                tags.DoAction(Script("#83:'FSCommand:EnableNavigation',''"));
            }
            tags.ShowFrame();
            ++frame;
        }
        if (i + 1 == std::size(kLessons)) {
            for (int wait = 0; wait < kFarewellFrames; ++wait) {
                tags.ShowFrame();
            }
            tags.DoAction(Script("#83:'FSCommand:stopped','' stop"));
            tags.ShowFrame();
            break;
        }
        // The rest, and the guard that a resumed movie reaches from it.
        const int rest = frame;
        tags.DoAction(Script("stop"));
        tags.ShowFrame();
        tags.DoAction(Script("#81:" + FrameBytes(rest) + " stop"));
        tags.ShowFrame();
        frame += 2;
    }
    return movie.Write(true);
}

std::string TutorialDescription() {
    return Description("data/child.ttf", {{"tutorial", "data/gui/tutorial.swf"}}, {});
}
