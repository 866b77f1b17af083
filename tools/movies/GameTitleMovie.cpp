// The title: the game's name bouncing over a sunny sky with drifting clouds and a sandy pond
// floor, over which the game plays its demonstration matches. The movie's timeline paces them:
// "bottleready" switches to the bottle scene, "stopped" ends the title.
#include "tools/movies/MenuArt.h"
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

#include <cmath>
#include <numbers>
#include <tuple>

namespace {

using namespace menu_art;

using swfkit::ShapeBuilder;

// When the timeline sends its commands, in frames (30 a second).
constexpr int kBottleFrame = 20 * 30;
constexpr int kStoppedFrame = kBottleFrame + 16 * 30;
// Frames of one bounce of the name, one blink of the prompt and one crossing of a cloud.
constexpr int kBounceFrames = 48;
constexpr int kBlinkFrames = 40;
constexpr int kCloudFrames = 900;

uint16_t Sky(Library& library) {
    std::vector<ShapeBuilder> bands = Bands({{0, 0x7FD0F6}, {200, 0x98DBF8}, {340, 0xB4E6F6}, {450, 0xD2F2F2}});
    // Soft green hills far away and the sandy floor the creatures run on.
    bands.push_back(Shape(Ellipse(130, 610, 260, 120), Solid(0xA8E08A)));
    bands.push_back(Shape(Ellipse(640, 620, 300, 110), Solid(0x94D67A)));
    bands.push_back(Shape(RoundedRect(0, 572, kWidth, kHeight, 0), Solid(0xF6D98B)));
    bands.push_back(Shape(RoundedRect(0, 572, kWidth, 578, 0), Solid(0xFFEDB3)));
    return Picture(library, bands);
}

uint16_t Sun(Library& library) {
    return Picture(library, {Shape(Circle(0, 0, 70), Solid(0xFFF4B8, 120)), Shape(Circle(0, 0, 46), Solid(0xFFD43B)),
                             Shape(Circle(-7, -8, 34), Solid(0xFFE377))});
}

// A cloud crossing the sky from the right to the left, starting at the phase (0 to 1) of its way.
uint16_t DriftingCloud(Library& library, uint16_t cloud, float phase, float scale) {
    swfkit::TagList frames(8);
    for (int frame = 0; frame < kCloudFrames; ++frame) {
        const float t = std::fmod(phase + static_cast<float>(frame) / kCloudFrames, 1.0f);
        const float x = kWidth + 120.0f - t * (kWidth + 240.0f);
        if (frame == 0) {
            Stack(frames).Place(cloud, x, 0, "", scale);
        } else {
            frames.PlaceObject2(Move(1, x, 0, scale, scale));
        }
        frames.ShowFrame();
    }
    return library.DefineSprite(frames);
}

// The name in letter colours on a white rim with a soft shadow, squashing and stretching as it
// bounces.
uint16_t BouncingName(Library& library, uint16_t fontId, const swfkit::EmbeddedFont& font) {
    const std::vector<swfkit::Color> letters = {Hex(0xFF8C42), Hex(0x9B5DE5), Hex(0xF15BB5), Hex(0x1AA7EC),
                                                Hex(0xF4A100), Hex(0x2BB673), Hex(0xEF476F), Hex(0x00B4C6)};
    const uint16_t shadow = library.DefineText(fontId, font, "Pondorix", 120, {Hex(0x0B3C5D, 70)});
    const uint16_t rim = library.DefineText(fontId, font, "Pondorix", 120, {Hex(0xFFFFFF)});
    const uint16_t name = library.DefineText(fontId, font, "Pondorix", 120, letters);
    swfkit::TagList frames(8);
    for (int frame = 0; frame < kBounceFrames; ++frame) {
        const float t = static_cast<float>(frame) / kBounceFrames;
        const float lift = 14.0f * std::fabs(std::sin(std::numbers::pi_v<float> * t));
        const float squash = 1.0f + 0.05f * std::cos(2.0f * std::numbers::pi_v<float> * t);
        const float sx = squash;
        const float sy = 2.0f - squash;
        if (frame == 0) {
            Stack stack(frames);
            stack.Place(shadow, 6, 10);
            stack.Place(rim, 0, -lift - 4);
            stack.Place(name, 0, -lift);
        } else {
            frames.PlaceObject2(Move(1, 6, 10, sx, 1.0f, 0.5f + 0.5f * (1.0f - lift / 14.0f)));
            frames.PlaceObject2(Move(2, 0, -lift - 4, sx, sy));
            frames.PlaceObject2(Move(3, 0, -lift, sx, sy));
        }
        frames.ShowFrame();
    }
    return library.DefineSprite(frames);
}

// The prompt on a cream pill, fading out and in. Any key of a controller leaves the title; the
// prompt names the first keyboard's start key, since other keys do nothing there.
uint16_t Prompt(Library& library, uint16_t fontId, const swfkit::EmbeddedFont& font) {
    const std::string text = "Press Enter to play";
    const float w = TextWidth(font, text, 26) / 2.0f + 26.0f;
    const uint16_t pill = Picture(library, {Shape(RoundedRect(-w + 3, -20, w + 3, 26, 23), Solid(0x0B3C5D, 50)),
                                            Shape(RoundedRect(-w, -23, w, 23, 23), Solid(0xFFF4D6, 235))});
    const uint16_t label = library.DefineText(fontId, font, text, 26, {Hex(kInk)});
    swfkit::TagList frames(8);
    for (int frame = 0; frame < kBlinkFrames; ++frame) {
        const float alpha = 0.55f + 0.45f * std::cos(2.0f * std::numbers::pi_v<float> * frame / kBlinkFrames);
        if (frame == 0) {
            Stack stack(frames);
            stack.Place(pill);
            stack.Place(label, 0, -1);
        } else {
            frames.PlaceObject2(Move(1, 0, 0, 1.0f, 1.0f, alpha));
            frames.PlaceObject2(Move(2, 0, -1, 1.0f, 1.0f, alpha));
        }
        frames.ShowFrame();
    }
    return library.DefineSprite(frames);
}

}  // namespace

swfkit::Bytes GameTitleMovie(const swfkit::EmbeddedFont& font) {
    swfkit::Movie movie(8, {0, Twips(kWidth), 0, Twips(kHeight)}, kFrameRate);
    Library library(movie.Tags());
    const uint16_t fontId = library.DefineFont(font);
    const uint16_t cloud = Cloud(library);
    const uint16_t sky = Sky(library);
    const uint16_t sun = Sun(library);
    const uint16_t clouds[] = {DriftingCloud(library, cloud, 0.15f, 1.0f), DriftingCloud(library, cloud, 0.55f, 0.7f),
                               DriftingCloud(library, cloud, 0.85f, 0.55f)};
    const uint16_t name = BouncingName(library, fontId, font);
    const uint16_t prompt = Prompt(library, fontId, font);
    const uint16_t tagline = library.DefineText(fontId, font, "bubble battles in the pond", 24, {Hex(kInk, 210)});

    Stack stack(movie.Tags());
    stack.Place(sky);
    stack.Place(sun, 700, 70);
    stack.Place(clouds[0], 0, 80);
    stack.Place(clouds[1], 0, 190);
    stack.Place(clouds[2], 0, 140);
    stack.Place(name, 400, 110);
    stack.Place(tagline, 400, 178);
    stack.Place(prompt, 400, 236);
    for (int frame = 1; frame <= kStoppedFrame; ++frame) {
        if (frame == kBottleFrame) {
            movie.Tags().DoAction(Script("#83:'FSCommand:bottleready',''"));
        } else if (frame == kStoppedFrame) {
            movie.Tags().DoAction(Script("stop #83:'FSCommand:stopped',''"));
        }
        movie.Tags().ShowFrame();
    }
    return movie.Write(true);
}

std::string GameTitleDescription() {
    return Description("data/child.ttf", {{"title", "data/gui/gametitle.swf"}}, {});
}
