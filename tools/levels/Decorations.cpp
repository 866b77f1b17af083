#include "tools/levels/Decorations.h"

#include "tools/swfkit/Movie.h"

#include <cmath>
#include <numbers>

namespace {

using art::Rgb;

constexpr double kPi = std::numbers::pi;
constexpr double kFrameRate = 30.0;

swfkit::Matrix At(double x, double y, double angle = 0.0, double scale = 1.0) {
    return art::MatrixAt(x, y, scale, scale, angle);
}

swfkit::Placement Put(uint16_t depth, uint16_t id, const swfkit::Matrix& matrix, bool move) {
    swfkit::Placement place;
    place.depth = depth;
    if (!move) {
        place.characterId = id;
    }
    place.move = move;
    place.matrix = matrix;
    return place;
}

art::Drawing Rings() {
    return {{{art::Circle({0.0, 0.0}, 28.0), art::Circle({0.0, 0.0}, 22.0)}, Rgb(236, 84, 214)},
            {{art::Circle({0.0, 0.0}, 22.0)}, Rgb(120, 236, 255, 150)},
            {{art::Circle({0.0, 0.0}, 20.0), art::Circle({0.0, 0.0}, 17.5)}, Rgb(255, 255, 255, 200)}};
}

art::Drawing Swirl() {
    art::Shape arms{{}, Rgb(255, 255, 255, 190)};
    for (int arm = 0; arm < 3; ++arm) {
        art::Contour band;
        const double start = arm * 2.0 * kPi / 3.0;
        for (int i = 0; i <= 12; ++i) {
            const double t = static_cast<double>(i) / 12;
            const double angle = start + t * 2.2;
            band.push_back({(3.0 + 12.0 * t + 1.5) * std::cos(angle), (3.0 + 12.0 * t + 1.5) * std::sin(angle)});
        }
        for (int i = 12; i >= 0; --i) {
            const double t = static_cast<double>(i) / 12;
            const double angle = start + t * 2.2;
            const double r = 3.0 + 12.0 * t - 1.5 * (1.0 - t);
            band.push_back({r * std::cos(angle), r * std::sin(angle)});
        }
        arms.contours.push_back(band);
    }
    return {arms, {{art::Circle({0.0, 0.0}, 3.2)}, Rgb(255, 255, 255, 230)}};
}

}  // namespace

DecorationMovie PortalMovie() {
    constexpr int kSize = 64;
    constexpr int kFrames = 36;
    DecorationMovie portal{"data/levels/portal.swf", kSize, kSize, {}, {}};
    swfkit::Movie movie(8, {0, kSize * 20, 0, kSize * 20}, kFrameRate);
    swfkit::TagList& tags = movie.Tags();
    art::ShapeWriter shapes(tags);
    const art::Placement centre{1.0, 0.0, {kSize / 2.0, kSize / 2.0}};
    const uint16_t rings = shapes.Define({Rings()[0]});
    const uint16_t glow = shapes.Define({Rings()[1]});
    const uint16_t inner = shapes.Define({Rings()[2]});
    const uint16_t swirl = shapes.Define(Swirl()[0]);
    const uint16_t eye = shapes.Define(Swirl()[1]);
    for (int frame = 0; frame < kFrames; ++frame) {
        const bool move = frame > 0;
        const double turn = 2.0 * kPi * frame / kFrames;
        const double pulse = 1.0 + 0.04 * std::sin(2.0 * turn);
        if (!move) {
            tags.PlaceObject2(Put(1, glow, At(kSize / 2.0, kSize / 2.0), false));
        }
        tags.PlaceObject2(Put(2, swirl, At(kSize / 2.0, kSize / 2.0, turn), move));
        tags.PlaceObject2(Put(3, inner, At(kSize / 2.0, kSize / 2.0, 0.0, pulse), move));
        if (!move) {
            tags.PlaceObject2(Put(4, rings, At(kSize / 2.0, kSize / 2.0), false));
            tags.PlaceObject2(Put(5, eye, At(kSize / 2.0, kSize / 2.0), false));
        }
        tags.ShowFrame();
    }
    portal.movie = movie.Write(false);
    portal.firstFrame = art::Placed({Rings()[1], Swirl()[0], Rings()[2], Rings()[0], Swirl()[1]}, centre);
    return portal;
}

DecorationMovie BubblesMovie() {
    constexpr int kWidth = 40;
    constexpr int kHeight = 120;
    constexpr int kFrames = 60;
    constexpr int kBubbles = 5;
    DecorationMovie bubbles{"data/levels/bubbles.swf", kWidth, kHeight, {}, {}};
    swfkit::Movie movie(8, {0, kWidth * 20, 0, kHeight * 20}, kFrameRate);
    swfkit::TagList& tags = movie.Tags();
    art::ShapeWriter shapes(tags);
    const art::Drawing bubble = {
        {{art::Circle({0.0, 0.0}, 5.0), art::Circle({0.0, 0.0}, 3.8)}, Rgb(255, 255, 255, 190)},
        {{art::Circle({0.0, 0.0}, 3.8)}, Rgb(255, 255, 255, 60)},
        {{art::Ellipse({-1.8, -1.9}, 1.4, 1.0)}, Rgb(255, 255, 255, 230)}};
    swfkit::TagList bubbleClip(8);
    shapes.Place(bubble, bubbleClip, 1);
    bubbleClip.ShowFrame();
    const uint16_t clip = shapes.TakeId();
    tags.DefineSprite(clip, bubbleClip);
    auto where = [&](int index, int frame) {
        const double t = std::fmod(static_cast<double>(frame) / kFrames + static_cast<double>(index) / kBubbles, 1.0);
        const double scale = 0.45 + 0.12 * index;
        return At(kWidth / 2.0 + 7.0 * std::sin(t * 4.0 * kPi + index), kHeight - 8.0 - t * (kHeight - 16.0), 0.0,
                  scale);
    };
    for (int frame = 0; frame < kFrames; ++frame) {
        for (int index = 0; index < kBubbles; ++index) {
            tags.PlaceObject2(Put(static_cast<uint16_t>(index + 1), clip, where(index, frame), frame > 0));
        }
        tags.ShowFrame();
    }
    bubbles.movie = movie.Write(false);
    for (int index = 0; index < kBubbles; ++index) {
        const swfkit::Matrix m = where(index, 0);
        const art::Placement place{m.scaleX, 0.0, {m.translateX / 20.0, m.translateY / 20.0}};
        for (const art::Shape& shape : art::Placed(bubble, place)) {
            bubbles.firstFrame.push_back(shape);
        }
    }
    return bubbles;
}

std::vector<DecorationMovie> DecorationMovies() {
    return {PortalMovie(), BubblesMovie()};
}
