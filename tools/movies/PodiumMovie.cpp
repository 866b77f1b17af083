// The championship's podium: a festive sky behind the level's three steps (the background), and
// in front of them the medals of the places, which pop up one by one while the movie tells the
// game to name the third, the runner-up and the champion, then the cheers and the buttons.
#include "tools/movies/MenuArt.h"
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

#include <cmath>

namespace {

using namespace menu_art;

using swfkit::ShapeBuilder;

constexpr float kPi = 3.14159265f;
// Where the level shows its creatures: the champion high in the middle, the runner-up right and
// the third left, each on its step (whose front the medals decorate).
constexpr float kChampionX = 400.0f;
constexpr float kChampionY = 76.0f;
struct Medal {
    const char* number;
    float x;
    float y;
    uint32_t color;
    uint32_t light;
    // The frame the medal pops up on, and the command sent with it.
    int frame;
    const char* command;
};
const Medal kMedals[] = {
    {"3", 176.0f, 496.0f, 0xD9822B, 0xF2B36B, 15, "globbo3in"},
    {"2", 624.0f, 496.0f, 0xA9B4C8, 0xE2E8F2, 35, "globbo2in"},
    {"1", 400.0f, 200.0f, 0xF4B400, 0xFFE16B, 60, "globbo1in"},
};
// The medal's pop: its scale on the frames after it appears.
constexpr float kPop[] = {0.3f, 0.8f, 1.25f, 1.1f, 0.95f, 1.0f};
constexpr int kShowTextFrame = 80;
// The buttons fade in over these frames; the last one enables the navigation and stops.
constexpr int kButtonsFrom = 90;
constexpr int kButtonsTo = 100;
constexpr float kButtonsY = 555.0f;
struct Button {
    const char* name;
    const char* label;
    float x;
    float width;
    uint32_t color;
};
// Left to right in the order of the focus ring.
const Button kButtons[] = {
    {"Stats", "Stats", 248.0f, 118.0f, 0x1AA7EC},
    {"PlayAgain", "Play again", 400.0f, 148.0f, 0x2BB673},
    {"MainMenu", "Main menu", 560.0f, 148.0f, 0xEF476F},
};
// Frames of one turn of the sun's rays, and of one fall of the confetti.
constexpr int kRayFrames = 240;
constexpr int kFallFrames = 120;

// A medal: a ribbon behind, the disc with a rim and a shine, the number.
uint16_t MedalPicture(Library& library, uint16_t fontId, const swfkit::EmbeddedFont& font, const Medal& medal) {
    swfkit::TagList frames(8);
    Stack stack(frames);
    stack.Place(library.Define(Shape(Polygon({{-16, -44}, {-4, -44}, {6, -10}, {-6, -10}}), Solid(0x3A86FF))));
    stack.Place(library.Define(Shape(Polygon({{4, -44}, {16, -44}, {6, -10}, {-6, -10}}), Solid(0xEF476F))));
    stack.Place(library.Define(Shape(Circle(3, 4, 28), Solid(0x16324F, 70))));
    stack.Place(library.Define(Shape(Circle(0, 0, 28), Solid(medal.color))));
    stack.Place(library.Define(Shape(Circle(0, 0, 21), Solid(medal.light))));
    stack.Place(library.Define(Stroke(Circle(0, 0, 25), 2.5f, Hex(0xFFFFFF, 190))));
    stack.Place(library.Define(Shape(Ellipse(-9, -12, 8, 4), Solid(0xFFFFFF, 170))));
    stack.Place(library.DefineText(fontId, font, medal.number, 34, {Hex(0x16324F)}), 0, -2);
    frames.DoAction(Script("stop"));
    frames.ShowFrame();
    return library.DefineSprite(frames);
}

// Rays around the champion that turn slowly.
uint16_t Rays(Library& library) {
    std::vector<ShapeBuilder> shapes;
    const int rays = 12;
    for (int i = 0; i < rays; ++i) {
        const float a0 = 2.0f * kPi * i / rays;
        const float a1 = a0 + kPi / rays;
        shapes.push_back(Shape(Polygon({{0, 0},
                                        {700.0f * std::cos(a0), 700.0f * std::sin(a0)},
                                        {700.0f * std::cos(a1), 700.0f * std::sin(a1)}}),
                               Solid(0xFFFFFF, 60)));
    }
    const uint16_t star = Picture(library, shapes);
    swfkit::TagList frames(8);
    Stack(frames).Place(star);
    frames.ShowFrame();
    for (int frame = 1; frame < kRayFrames; ++frame) {
        const float angle = 2.0f * kPi / 12.0f * 2.0f * frame / kRayFrames;
        swfkit::Placement turn = Move(1, 0, 0);
        turn.matrix->scaleX = turn.matrix->scaleY = std::cos(angle);
        turn.matrix->rotate0 = std::sin(angle);
        turn.matrix->rotate1 = -std::sin(angle);
        frames.PlaceObject2(turn);
        frames.ShowFrame();
    }
    return library.DefineSprite(frames);
}

// A string of pennants hanging from (x0, y0) to (x1, y1), sagging in the middle.
uint16_t Bunting(Library& library, float x0, float y0, float x1, float y1) {
    const uint32_t colors[] = {0xEF476F, 0xFFD43B, 0x2BB673, 0x1AA7EC, 0x9B5DE5, 0xFF8C42};
    std::vector<ShapeBuilder> shapes;
    const int flags = 9;
    auto at = [&](float t) {
        return Point{x0 + (x1 - x0) * t, y0 + (y1 - y0) * t + 34.0f * std::sin(kPi * t)};
    };
    std::vector<Point> line;
    for (int i = 0; i <= 20; ++i) {
        line.push_back(at(i / 20.0f));
    }
    for (int i = 20; i >= 0; --i) {
        line.push_back({line[static_cast<size_t>(i)].first, line[static_cast<size_t>(i)].second + 2.0f});
    }
    shapes.push_back(Shape(Polygon(line), Solid(0x6B4F2A)));
    for (int i = 0; i < flags; ++i) {
        const Point a = at((i + 0.15f) / flags);
        const Point b = at((i + 0.85f) / flags);
        const Point tip{(a.first + b.first) / 2.0f, (a.second + b.second) / 2.0f + 30.0f};
        shapes.push_back(Shape(Polygon({a, b, tip}), Solid(colors[i % 6])));
    }
    return Picture(library, shapes);
}

// A scrap of confetti that falls, swaying and turning, and starts again at the top.
uint16_t Confetti(Library& library, uint32_t color, int phase, float sway) {
    const uint16_t scrap = library.Define(Shape(RoundedRect(-5, -3, 5, 3, 1.5f), Solid(color)));
    swfkit::TagList frames(8);
    for (int i = 0; i < kFallFrames; ++i) {
        const float t = static_cast<float>((i + phase) % kFallFrames) / kFallFrames;
        const float x = sway * std::sin(t * 4.0f * kPi);
        const float y = 640.0f * t;
        if (i == 0) {
            Stack(frames).Place(scrap, x, y);
        }
        frames.PlaceObject2(Move(1, x, y, std::cos(t * 9.0f * kPi), 1.0f));
        frames.ShowFrame();
    }
    return library.DefineSprite(frames);
}

// A sky fading from deep blue at the top to a warm glow near the ground.
uint16_t Sky(Library& library) {
    swfkit::Matrix vertical;
    const double scale = Twips(kHeight) / 32768.0;
    vertical.scaleX = vertical.scaleY = 0.0;
    vertical.rotate0 = scale;
    vertical.rotate1 = -scale;
    vertical.translateX = Twips(kWidth / 2.0f);
    vertical.translateY = Twips(kHeight / 2.0f);
    const swfkit::FillStyle fill =
        swfkit::FillStyle::Linear(vertical, {{0, Hex(0x5AB8F0)}, {150, Hex(0xA8E2F7)}, {255, Hex(0xFFF1C9)}});
    return Picture(library, {Shape(RoundedRect(0, 0, kWidth, kHeight, 0), fill)});
}

}  // namespace

swfkit::Bytes PodiumBackgroundMovie() {
    swfkit::Movie movie(8, {0, Twips(kWidth), 0, Twips(kHeight)}, kFrameRate);
    Library library(movie.Tags());
    const uint16_t sky = Sky(library);
    const uint16_t rays = Rays(library);
    const uint16_t glow = library.Define(Shape(Circle(0, 0, 120), Solid(0xFFF6C2, 120)));
    const uint16_t leftBunting = Bunting(library, -10, 14, 330, 30);
    const uint16_t rightBunting = Bunting(library, 470, 30, 810, 14);
    const uint32_t colors[] = {0xEF476F, 0xFFD43B, 0x2BB673, 0x1AA7EC, 0x9B5DE5, 0xFF8C42};
    std::vector<uint16_t> confetti;
    for (int i = 0; i < 14; ++i) {
        confetti.push_back(Confetti(library, colors[i % 6], (i * 37) % kFallFrames, 10.0f + (i % 4) * 5.0f));
    }

    Stack stack(movie.Tags());
    stack.Place(sky);
    stack.Place(rays, kChampionX, kChampionY);
    stack.Place(glow, kChampionX, kChampionY);
    stack.Place(leftBunting);
    stack.Place(rightBunting);
    for (size_t i = 0; i < confetti.size(); ++i) {
        stack.Place(confetti[i], 30.0f + 56.0f * static_cast<float>(i), -40.0f);
    }
    movie.Tags().ShowFrame();
    return movie.Write(true);
}

swfkit::Bytes PodiumMovie(const swfkit::EmbeddedFont& font) {
    swfkit::Movie movie(8, {0, Twips(kWidth), 0, Twips(kHeight)}, kFrameRate);
    Library library(movie.Tags());
    const uint16_t fontId = library.DefineFont(font);
    swfkit::TagList& tags = movie.Tags();
    Stack stack(tags);

    // The medals wait, shrunk to nothing, for their turn.
    uint16_t medalDepths[3];
    for (size_t i = 0; i < 3; ++i) {
        const Medal& medal = kMedals[i];
        medalDepths[i] = stack.Place(MedalPicture(library, fontId, font, medal), medal.x, medal.y, "", 0.0f);
    }
    // The buttons stand where they will show from the start (the focus items take their places
    // then), unseen until they fade in.
    uint16_t buttonDepths[3];
    for (size_t i = 0; i < 3; ++i) {
        const Button& button = kButtons[i];
        const uint16_t body = PillBody(library, fontId, font, button.label, button.width, button.color);
        buttonDepths[i] = stack.Place(JellyButton(library, body, button.name), button.x, kButtonsY, button.name);
        tags.PlaceObject2(Move(buttonDepths[i], button.x, kButtonsY, 1.0f, 1.0f, 0.0f));
    }

    for (int frame = 0; frame <= kButtonsTo; ++frame) {
        for (size_t i = 0; i < 3; ++i) {
            const Medal& medal = kMedals[i];
            const int since = frame - medal.frame;
            if (since >= 0 && since < static_cast<int>(std::size(kPop))) {
                const float scale = kPop[since];
                tags.PlaceObject2(Move(medalDepths[i], medal.x, medal.y, scale, scale));
            }
            if (since == 0) {
                tags.DoAction(Script(std::string("#83:'FSCommand:") + medal.command + "',''"));
            }
        }
        if (frame == kShowTextFrame) {
            tags.DoAction(Script("#83:'FSCommand:showtext',''"));
        }
        if (frame > kButtonsFrom) {
            const float alpha = static_cast<float>(frame - kButtonsFrom) / (kButtonsTo - kButtonsFrom);
            for (size_t i = 0; i < 3; ++i) {
                tags.PlaceObject2(Move(buttonDepths[i], kButtons[i].x, kButtonsY, 1.0f, 1.0f, alpha));
            }
        }
        if (frame == kButtonsTo) {
            tags.DoAction(Script("#83:'FSCommand:EnableNavigation','' stop"));
        }
        tags.ShowFrame();
    }
    return movie.Write(true);
}

std::string PodiumDescription() {
    return Description(
        "data/child.ttf",
        {{"podium", "data/gui/championship_podium.swf"}, {"background", "data/gui/championship_podium_background.swf"}},
        {
            {"globbo1", "", 30, "", Hex(kInk), kChampionX + 48.0f, kChampionY - 26.0f},
            {"globbo2", "", 28, "", Hex(kInk), 586.0f, 330.0f},
            {"globbo3", "", 28, "", Hex(kInk), 138.0f, 330.0f},
            {"allglory", "All glory\\nto the champion!", 32, "", Hex(0x862C00), 28.0f, 140.0f},
            {"allshame", "...and a little shame\\nfor all the others.", 24, "", Hex(0x5F24B0), 488.0f, 150.0f},
        });
}
