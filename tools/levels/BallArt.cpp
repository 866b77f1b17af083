#include "tools/levels/BallArt.h"

#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

#include <cmath>
#include <numbers>
#include <string>

namespace ball_art {

namespace {

using art::Drawing;
using art::Point;
using art::Rgb;

constexpr double kFrameRate = 30.0;
constexpr int kBallSize = 24;
constexpr int kGlowSize = 40;
constexpr int kShowupFrames = 20;
constexpr int kHideFrames = 8;
// What the game multiplies a free ball's colour clip by.
constexpr double kFreeAlpha = 100.0 / 255.0;

const swfkit::Color kRim = Rgb(44, 66, 112);
const swfkit::Color kInk = Rgb(44, 66, 112);
const swfkit::Color kWhite = Rgb(255, 255, 255);
const swfkit::Color kShine = Rgb(255, 255, 255, 220);
const swfkit::Color kGlow = Rgb(255, 248, 190);

swfkit::Rect Stage(int size) {
    return {0, size * 20, 0, size * 20};
}

Drawing Rim() {
    return {{{art::Circle({0.0, 0.0}, 8.6)}, kRim}};
}
Drawing ColourDisc() {
    return {{{art::Circle({0.0, 0.0}, 7.1)}, kWhite}};
}
Drawing Shine() {
    return {{{art::Ellipse({-3.0, -3.4}, 2.4, 1.7)}, kShine}};
}

// A thin arc of the given radius from angle a to b (radians), as a band.
art::Contour Arc(const Point& centre, double radius, double a, double b, double width) {
    art::Contour band;
    const int steps = 10;
    for (int i = 0; i <= steps; ++i) {
        const double t = a + (b - a) * i / steps;
        band.push_back({centre.x + (radius + width / 2) * std::cos(t), centre.y + (radius + width / 2) * std::sin(t)});
    }
    for (int i = steps; i >= 0; --i) {
        const double t = a + (b - a) * i / steps;
        band.push_back({centre.x + (radius - width / 2) * std::cos(t), centre.y + (radius - width / 2) * std::sin(t)});
    }
    return band;
}

// Three faces for a ball stuck in the wrong creature: a frown, squeezed eyes, a wobbly mouth.
Drawing Face(int variant) {
    const double pi = std::numbers::pi;
    Drawing face;
    if (variant == 0) {
        face.push_back({{art::Circle({-2.6, -1.5}, 1.1), art::Circle({2.6, -1.5}, 1.1)}, kInk});
        face.push_back({{Arc({0.0, 4.6}, 3.2, -0.8 * pi, -0.2 * pi, 1.1)}, kInk});
    } else if (variant == 1) {
        face.push_back({{art::Rectangle(-4.0, -2.2, -1.4, -1.1), art::Rectangle(1.4, -2.2, 4.0, -1.1)}, kInk});
        face.push_back({{art::Ellipse({0.0, 2.6}, 1.6, 1.2)}, kInk});
    } else {
        face.push_back({{art::Circle({-2.6, -1.8}, 0.9), art::Circle({2.6, -1.8}, 0.9)}, kInk});
        face.push_back({{Arc({-1.6, 2.8}, 1.5, 0.0, pi, 0.9), Arc({1.6, 2.8}, 1.5, pi, 2.0 * pi, 0.9)}, kInk});
    }
    return face;
}

swfkit::Bytes Stop() {
    return swfkit::action_assembler().op(swfkit::STOP).bytes();
}

swfkit::Bytes GotoAndPlay(const std::string& label) {
    swfkit::Bytes name(label.begin(), label.end());
    name.push_back(0);
    return swfkit::action_assembler().record(0x8C, name).op(swfkit::PLAY).bytes();
}

swfkit::Placement Move(uint16_t depth, double scale, double alpha) {
    swfkit::Placement place;
    place.depth = depth;
    place.move = true;
    swfkit::Matrix matrix;
    matrix.scaleX = scale;
    matrix.scaleY = scale;
    matrix.translateX = kGlowSize * 10;
    matrix.translateY = kGlowSize * 10;
    place.matrix = matrix;
    swfkit::ColorTransform fade;
    fade.hasMult = true;
    fade.mult[3] = static_cast<int32_t>(std::lround(alpha * 256.0));
    place.colorTransform = fade;
    return place;
}

}  // namespace

Drawing FreeBall() {
    Drawing ball = Rim();
    for (art::Shape shape : ColourDisc()) {
        shape.color.a = static_cast<uint8_t>(std::lround(shape.color.a * kFreeAlpha));
        ball.push_back(shape);
    }
    for (const art::Shape& shape : Shine()) {
        ball.push_back(shape);
    }
    return ball;
}

swfkit::Bytes BallMovie() {
    swfkit::Movie movie(8, Stage(kBallSize), kFrameRate);
    swfkit::TagList& tags = movie.Tags();
    const art::Placement centre{1.0, 0.0, {kBallSize / 2.0, kBallSize / 2.0}};
    art::ShapeWriter shapes(tags);

    swfkit::TagList colourClip(8);
    shapes.Place(ColourDisc(), colourClip, 1, centre);
    colourClip.ShowFrame();
    const uint16_t clipId = shapes.TakeId();
    tags.DefineSprite(clipId, colourClip);

    tags.FrameLabel("normal");
    shapes.Place(Rim(), tags, 1, centre);
    swfkit::Placement colour;
    colour.depth = 2;
    colour.characterId = clipId;
    colour.name = "color";
    tags.PlaceObject2(colour);
    shapes.Place(Shine(), tags, 3, centre);
    tags.DoAction(Stop()).ShowFrame();

    for (int variant = 0; variant < 3; ++variant) {
        if (variant == 0) {
            tags.FrameLabel("burden");
        } else {
            tags.RemoveObject2(4).RemoveObject2(5);
        }
        shapes.Place(Face(variant), tags, 4, centre);
        tags.DoAction(Stop()).ShowFrame();
    }
    return movie.Write(false);
}

swfkit::Bytes GlowMovie() {
    swfkit::Movie movie(8, Stage(kGlowSize), kFrameRate);
    swfkit::TagList& tags = movie.Tags();
    art::ShapeWriter shapes(tags);
    const uint16_t ring = shapes.Define({{art::Circle({0.0, 0.0}, 12.0), art::Circle({0.0, 0.0}, 9.6)}, kGlow});

    tags.DoAction(Stop()).ShowFrame();
    for (int frame = 0; frame < kShowupFrames; ++frame) {
        const double wave = std::sin(2.0 * std::numbers::pi * frame / kShowupFrames);
        swfkit::Placement place = Move(1, 1.0 + 0.06 * wave, 0.5 + 0.25 * wave);
        if (frame == 0) {
            tags.FrameLabel("showup");
            place.move = false;
            place.characterId = ring;
        }
        tags.PlaceObject2(place);
        if (frame == kShowupFrames - 1) {
            tags.DoAction(GotoAndPlay("showup"));
        }
        tags.ShowFrame();
    }
    for (int frame = 0; frame < kHideFrames; ++frame) {
        if (frame == 0) {
            tags.FrameLabel("hide");
        }
        const double t = static_cast<double>(frame + 1) / kHideFrames;
        tags.PlaceObject2(Move(1, 1.0 + 0.3 * t, 0.5 * (1.0 - t)));
        if (frame == kHideFrames - 1) {
            tags.RemoveObject2(1).DoAction(Stop());
        }
        tags.ShowFrame();
    }
    return movie.Write(false);
}

}  // namespace ball_art
