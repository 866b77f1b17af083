// The match over: the finished match dims round a spotlight in which the winner lands, a golden
// cup pops up beside it, confetti falls, and the buttons fade in once the winner is named.
#include "tools/movies/BubbleButtons.h"
#include "tools/movies/MenuArt.h"
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

#include <cmath>
#include <tuple>

namespace {

using namespace menu_art;

using bubble_buttons::Icon;
using bubble_buttons::Pill;

// The spotlight round the point where the winner lands, and the ribbon under its name.
constexpr float kCentreX = 314.0f;
constexpr float kCentreY = 290.0f;
constexpr float kSpotWidth = 150.0f;
constexpr float kSpotHeight = 130.0f;
constexpr float kRibbonTop = 334.0f;
constexpr float kRibbonBottom = 372.0f;
// "Congratulations!" stands on the dimmed match under the spotlight's rim, above the buttons.
constexpr float kCongratsY = 426.0f;
// Frames: the dimming, when "ShowText" is sent (the winner has flown in), the fading in after
// it.
constexpr int kDimFrames = 15;
constexpr int kTextFrame = 96;
constexpr int kFadeFrames = 10;
constexpr int kCupFrame = 30;
constexpr int kConfettiFrames = 48;

// The buttons' row, centred under the spotlight with room between the buttons (each as wide as
// its label needs); the choices of a championship take the place of "MainMenu".
const std::vector<Pill> kButtons = {
    {"Stats", "Stats", "Statistics", 126, 506, 150, 0x1AA7EC, Icon::kBars},
    {"PlayAgain", "PlayAgain", "Play again", 309, 506, 150, 0x9B5DE5, Icon::kReplay},
    {"MainMenu", "MainMenu", "Main menu", 500, 506, 150, 0xEF476F, Icon::kHome},
    {"NextMatch", "NextMatch", "Next match", 500, 506, 150, 0x2BB673, Icon::kPlay},
    {"GetAwards", "GetAwards", "Awards", 500, 506, 150, 0xF15BB5, Icon::kTrophy},
};

// A placement that changes only the alpha of what is at the depth.
swfkit::Placement Fade(uint16_t depth, float alpha) {
    swfkit::Placement placement;
    placement.depth = depth;
    placement.move = true;
    swfkit::ColorTransform cx;
    cx.hasMult = true;
    cx.mult[3] = static_cast<int32_t>(std::lround(alpha * 256.0f));
    placement.colorTransform = cx;
    return placement;
}

uint16_t Dim(Library& library) {
    return Picture(library, {Ring(Polygon({{0, 0}, {kWidth, 0}, {kWidth, kHeight}, {0, kHeight}}),
                                  Ellipse(kCentreX, kCentreY, kSpotWidth, kSpotHeight), Solid(0x0B2540, 200)),
                             Stroke(Ellipse(kCentreX, kCentreY, kSpotWidth, kSpotHeight), 5, Hex(0xFFFFFF, 150))});
}

uint16_t Ribbon(Library& library) {
    return Picture(library, {Shape(RoundedRect(kCentreX - 118, kRibbonTop + 4, kCentreX + 122, kRibbonBottom + 4, 19),
                                   Solid(0x0B2540, 90)),
                             Shape(RoundedRect(kCentreX - 120, kRibbonTop, kCentreX + 120, kRibbonBottom, 19),
                                   Solid(UnderWhiteText(0xF15BB5))),
                             Stroke(RoundedRect(kCentreX - 118, kRibbonTop + 2, kCentreX + 118, kRibbonBottom - 2, 17),
                                    3, Hex(0xFFFFFF, 200))});
}

// A golden cup with a star on it, about (0, 0).
uint16_t Cup(Library& library) {
    std::vector<swfkit::ShapeBuilder> shapes;
    shapes.push_back(Shape(Ellipse(0, 92, 70, 12), Solid(0x0B2540, 90)));
    for (float side : {-1.0f, 1.0f}) {
        shapes.push_back(Stroke(Ellipse(side * 56, -38, 20, 24), 10, Hex(0xF4A100)));
    }
    shapes.push_back(
        Shape(Polygon({{-60, -76}, {60, -76}, {48, -6}, {16, 18}, {16, 46}, {-16, 46}, {-16, 18}, {-48, -6}}),
              Solid(0xFFC300)));
    shapes.push_back(Shape(Polygon({{-60, -76}, {-20, -76}, {-28, -10}, {-48, -6}}), Solid(0xFFD95A)));
    shapes.push_back(Shape(RoundedRect(-44, 44, 44, 60, 5), Solid(0xF4A100)));
    shapes.push_back(Shape(RoundedRect(-58, 60, 58, 84, 8), Solid(0xE07B00)));
    shapes.push_back(Shape(RoundedRect(-30, 66, 30, 78, 4), Solid(0xFFD95A)));
    std::vector<Point> star;
    for (int i = 0; i < 10; ++i) {
        const float angle = -1.5707963f + 3.14159265f * static_cast<float>(i) / 5.0f;
        const float r = i % 2 == 0 ? 20.0f : 8.5f;
        star.emplace_back(r * std::cos(angle), -40 + r * std::sin(angle));
    }
    shapes.push_back(Shape(Polygon(star), Solid(0xFFFFFF)));
    shapes.push_back(Shape(Ellipse(-36, -60, 8, 4), Solid(0xFFFFFF, 170)));
    return Picture(library, shapes);
}

// Confetti falling all over the screen, swaying, round and round.
uint16_t Confetti(Library& library) {
    const uint32_t colors[] = {0xFF8C42, 0x9B5DE5, 0xF15BB5, 0x1AA7EC, 0xFFD43B, 0x2BB673, 0xEF476F, 0x00B4C6};
    std::vector<uint16_t> pieces;
    for (uint32_t color : colors) {
        pieces.push_back(Picture(library, {Shape(RoundedRect(-5, -3, 5, 3, 1.5f), Solid(color))}));
    }
    constexpr int kPieces = 18;
    swfkit::TagList frames(8);
    for (int frame = 0; frame < kConfettiFrames; ++frame) {
        for (int i = 0; i < kPieces; ++i) {
            const float t =
                std::fmod(static_cast<float>(frame) / kConfettiFrames + static_cast<float>(i) * 0.37f, 1.0f);
            const float x = 30.0f + std::fmod(static_cast<float>(i) * 173.0f, 740.0f) + 14.0f * std::sin(t * 12.0f + i);
            const float y = -20.0f + 640.0f * t;
            const float turn = std::cos(t * 9.0f + static_cast<float>(i));
            const uint16_t depth = static_cast<uint16_t>(i + 1);
            if (frame == 0) {
                swfkit::Placement placement = Move(depth, x, y, 1.0f, turn);
                placement.move = false;
                placement.characterId = pieces[static_cast<size_t>(i) % pieces.size()];
                frames.PlaceObject2(placement);
            } else {
                frames.PlaceObject2(Move(depth, x, y, 1.0f, turn));
            }
        }
        frames.ShowFrame();
    }
    return library.DefineSprite(frames);
}

}  // namespace

double MatchOverTextSeconds() {
    return kTextFrame / kFrameRate;
}

swfkit::Bytes MatchOverMovie(const swfkit::EmbeddedFont& font) {
    swfkit::Movie movie(8, {0, Twips(kWidth), 0, Twips(kHeight)}, kFrameRate);
    Library library(movie.Tags());
    const uint16_t fontId = library.DefineFont(font);
    const uint16_t dim = Dim(library);
    const uint16_t ribbon = Ribbon(library);
    const uint16_t cup = Cup(library);
    const uint16_t confetti = Confetti(library);
    swfkit::TagList& tags = movie.Tags();
    Stack stack(tags);
    const uint16_t dimDepth = stack.Place(dim);
    const uint16_t cupDepth = stack.Place(cup, 640, 280, "", 0.01f);
    const uint16_t ribbonDepth = stack.Place(ribbon);
    const uint16_t firstButton = static_cast<uint16_t>(ribbonDepth + 1);
    bubble_buttons::PlacePills(library, stack, kButtons, fontId, font);
    const uint16_t confettiDepth = static_cast<uint16_t>(firstButton + kButtons.size());
    tags.PlaceObject2(Fade(dimDepth, 0.0f));
    tags.PlaceObject2(Fade(ribbonDepth, 0.0f));
    for (size_t i = 0; i < kButtons.size(); ++i) {
        tags.PlaceObject2(Fade(static_cast<uint16_t>(firstButton + i), 0.0f));
    }
    tags.ShowFrame();

    const float pop[] = {0.3f, 0.7f, 1.05f, 1.15f, 0.95f, 1.0f};
    for (int frame = 1; frame <= kTextFrame + kFadeFrames; ++frame) {
        if (frame == 1) {
            tags.DoAction(Script("#83:'FSCommand:GoWinner',''"));
        }
        if (frame <= kDimFrames) {
            tags.PlaceObject2(Fade(dimDepth, static_cast<float>(frame) / kDimFrames));
        }
        const int popFrame = frame - kCupFrame;
        if (popFrame >= 0 && popFrame < static_cast<int>(std::size(pop))) {
            tags.PlaceObject2(Move(cupDepth, 640, 280, pop[popFrame], pop[popFrame]));
        }
        if (frame == kTextFrame) {
            tags.DoAction(Script("#83:'FSCommand:ShowText',''"));
            Stack(tags, confettiDepth).Place(confetti);
        }
        if (frame > kTextFrame) {
            const float alpha = static_cast<float>(frame - kTextFrame) / kFadeFrames;
            tags.PlaceObject2(Fade(ribbonDepth, alpha));
            for (size_t i = 0; i < kButtons.size(); ++i) {
                tags.PlaceObject2(Fade(static_cast<uint16_t>(firstButton + i), alpha));
            }
        }
        if (frame == kTextFrame + kFadeFrames) {
            tags.DoAction(Script("stop"));
        }
        tags.ShowFrame();
    }
    return movie.Write(true);
}

std::string MatchOverDescription(const swfkit::EmbeddedFont& font) {
    auto centred = [&](const std::string& tag, const std::string& text, float size, uint32_t color, float y) {
        return TextSpec{tag, text, size, "", Hex(color), kCentreX - TextWidth(font, text, size) / 2, y};
    };
    return Description("data/child.ttf", {{"matchover", "data/gui/match_over.swf"}},
                       {centred("matchover", "Match over!", 46, 0xFFFFFF, 28),
                        centred("thewinner", "And the winner is...", 24, 0xBEEAF4, 118),
                        centred("congrats", "Congratulations!", 26, 0xFFD43B, kCongratsY)});
}
