// The main menu's scenery: a sunny sky over a pond, two Globbos bobbing in the water and
// bubbles rising.
#include "tools/movies/MenuArt.h"
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

#include <cmath>
#include <tuple>

namespace {

using namespace menu_art;

using swfkit::ShapeBuilder;

constexpr float kWaterLine = 566.0f;
// Frames of one rise of a bubble, and of one blink cycle.
constexpr int kRiseFrames = 150;
constexpr int kBlinkFrames = 96;

// The wavy top of the pond down to the bottom of the screen.
menu_art::Outline Water(float top, float amplitude, float phase) {
    menu_art::Outline outline;
    const int waves = 8;
    const float step = kWidth / waves;
    outline.points.emplace_back(0.0f, top + amplitude * std::sin(phase));
    outline.control.push_back(false);
    for (int i = 0; i < waves; ++i) {
        const float x = i * step;
        outline.points.emplace_back(x + step / 2,
                                    top + (i % 2 == 0 ? -2 : 2) * amplitude + amplitude * std::sin(phase));
        outline.control.push_back(true);
        outline.points.emplace_back(x + step, top + amplitude * std::sin(phase));
        outline.control.push_back(false);
    }
    outline.points.emplace_back(kWidth, kHeight);
    outline.control.push_back(false);
    outline.points.emplace_back(0.0f, kHeight);
    outline.control.push_back(false);
    return outline;
}

// Eyes that look to the side and blink now and then.
uint16_t Eyes(menu_art::Library& library, float r, float look) {
    std::vector<ShapeBuilder> open;
    std::vector<ShapeBuilder> shut;
    for (float side : {-1.0f, 1.0f}) {
        const float x = side * r * 0.32f;
        open.push_back(menu_art::Shape(menu_art::Ellipse(x, 0, r * 0.2f, r * 0.25f), menu_art::Solid(0xFFFFFF)));
        open.push_back(
            menu_art::Shape(menu_art::Circle(x + look * r * 0.07f, r * 0.03f, r * 0.11f), menu_art::Solid(0x1B1B3A)));
        open.push_back(menu_art::Shape(menu_art::Circle(x + look * r * 0.07f - r * 0.04f, -r * 0.03f, r * 0.035f),
                                       menu_art::Solid(0xFFFFFF)));
        shut.push_back(
            menu_art::Shape(menu_art::RoundedRect(x - r * 0.2f, -r * 0.03f, x + r * 0.2f, r * 0.04f, r * 0.03f),
                            menu_art::Solid(0x1B1B3A)));
    }
    const uint16_t openId = menu_art::Picture(library, open);
    const uint16_t shutId = menu_art::Picture(library, shut);
    swfkit::TagList frames(8);
    menu_art::Stack(frames).Place(openId);
    frames.ShowFrame();
    for (int frame = 1; frame < kBlinkFrames; ++frame) {
        if (frame == kBlinkFrames - 5) {
            frames.RemoveObject2(1);
            menu_art::Stack(frames).Place(shutId);
        } else if (frame == kBlinkFrames - 2) {
            frames.RemoveObject2(1);
            menu_art::Stack(frames).Place(openId);
        }
        frames.ShowFrame();
    }
    return library.DefineSprite(frames);
}

// A round Globbo of radius r in the colour, looking to one side, bobbing up and down.
uint16_t Globbo(menu_art::Library& library, float r, uint32_t color, uint32_t light, float look) {
    std::vector<ShapeBuilder> body;
    body.push_back(menu_art::Shape(menu_art::Circle(0, 0, r), menu_art::Solid(color)));
    body.push_back(menu_art::Shape(menu_art::Circle(-r * 0.1f, -r * 0.12f, r * 0.8f), menu_art::Solid(light)));
    body.push_back(
        menu_art::Shape(menu_art::Ellipse(-r * 0.35f, -r * 0.6f, r * 0.3f, r * 0.13f), menu_art::Solid(0xFFFFFF, 150)));
    for (float side : {-1.0f, 1.0f}) {
        body.push_back(menu_art::Shape(menu_art::Ellipse(side * r * 0.55f, r * 0.28f, r * 0.14f, r * 0.08f),
                                       menu_art::Solid(0xFF4D6D, 110)));
    }
    body.push_back(
        menu_art::Shape(menu_art::Polygon({{-r * 0.18f, r * 0.25f}, {r * 0.18f, r * 0.25f}, {0.0f, r * 0.42f}}),
                        menu_art::Solid(0x7A1E3A)));
    const uint16_t bodyId = menu_art::Picture(library, body);
    const uint16_t eyes = Eyes(library, r, look);
    swfkit::TagList frames(8);
    menu_art::Stack stack(frames);
    stack.Place(bodyId);
    stack.Place(eyes, 0, -r * 0.15f);
    frames.ShowFrame();
    const int bob = 60;
    for (int frame = 1; frame < bob; ++frame) {
        const float dy = 4.0f * std::sin(2.0f * 3.14159265f * frame / bob);
        frames.PlaceObject2(menu_art::Move(1, 0, dy));
        frames.PlaceObject2(menu_art::Move(2, 0, dy - r * 0.15f));
        frames.ShowFrame();
    }
    return library.DefineSprite(frames);
}

// A bubble that rises from the pond, wobbling, and fades out; phase shifts its start.
uint16_t RisingBubble(menu_art::Library& library, float r, int phase, float drift) {
    const uint16_t bubble = menu_art::Picture(
        library,
        {menu_art::Shape(menu_art::Circle(0, 0, r), menu_art::Solid(0xFFFFFF, 70)),
         menu_art::Stroke(menu_art::Circle(0, 0, r), 2.0f, Hex(0xFFFFFF, 220)),
         menu_art::Shape(menu_art::Circle(-r * 0.35f, -r * 0.35f, r * 0.22f), menu_art::Solid(0xFFFFFF, 230))});
    swfkit::TagList frames(8);
    for (int i = 0; i < kRiseFrames; ++i) {
        const int frame = (i + phase) % kRiseFrames;
        const float t = static_cast<float>(frame) / kRiseFrames;
        const float x = drift * std::sin(t * 12.0f);
        const float y = -260.0f * t;
        const float alpha = t < 0.1f ? t * 10.0f : (t > 0.75f ? (1.0f - t) * 4.0f : 1.0f);
        if (i == 0) {
            menu_art::Stack(frames).Place(bubble, x, y);
        }
        frames.PlaceObject2(menu_art::Move(1, x, y, 1.0f, 1.0f, alpha));
        frames.ShowFrame();
    }
    return library.DefineSprite(frames);
}

// The scenery, with the two Globbos in the pond or without them.
swfkit::Bytes PondBackdrop(bool withGlobbos) {
    swfkit::Movie movie(8, {0, menu_art::Twips(kWidth), 0, menu_art::Twips(kHeight)}, kFrameRate);
    menu_art::Library library(movie.Tags());
    // The sky lightens in flat bands towards the horizon.
    const uint16_t sky =
        menu_art::Picture(library, menu_art::Bands({{0, 0x8FD8F8}, {300, 0xA6E1F7}, {400, 0xBEEAF4}, {480, 0xD6F4EF}}));
    const uint16_t halo = library.Define(menu_art::Shape(menu_art::Circle(0, 0, 74), menu_art::Solid(0xFFF4B8, 130)));
    const uint16_t sun =
        menu_art::Picture(library, {menu_art::Shape(menu_art::Circle(0, 0, 48), menu_art::Solid(0xFFD43B)),
                                    menu_art::Shape(menu_art::Circle(-7, -8, 36), menu_art::Solid(0xFFE377))});
    const uint16_t cloud = menu_art::Cloud(library);
    const uint16_t pink = withGlobbos ? Globbo(library, 58, 0xFF6F91, 0xFFB3C6, 1.0f) : 0;
    const uint16_t lime = withGlobbos ? Globbo(library, 50, 0x7CC42A, 0xC8EF8A, -1.0f) : 0;
    const uint16_t waterBack =
        library.Define(menu_art::Shape(Water(kWaterLine - 6, 3, 1.0f), menu_art::Solid(0x7FDCEA)));
    const uint16_t water = menu_art::Picture(
        library,
        {menu_art::Shape(Water(kWaterLine, 4, 0.0f), menu_art::Solid(0x3FB5CF)),
         menu_art::Shape(menu_art::RoundedRect(0, kHeight - 14, kWidth, kHeight, 0), menu_art::Solid(0x2A9BB5))});
    std::vector<uint16_t> pads;
    for (auto [rx, ry] : {std::pair{30.0f, 9.0f}, {22.0f, 7.0f}}) {
        pads.push_back(menu_art::Picture(
            library, {menu_art::Shape(menu_art::Ellipse(0, 0, rx, ry), menu_art::Solid(0x38B000)),
                      menu_art::Shape(menu_art::Polygon({{0, 0}, {rx * 0.9f, -ry * 0.5f}, {rx * 0.9f, ry * 0.2f}}),
                                      menu_art::Solid(0x2FA0C0))}));
    }
    std::vector<uint16_t> bubbles;
    for (auto [r, phase, drift] :
         {std::tuple{9.0f, 0, 6.0f}, {6.0f, 50, 4.0f}, {12.0f, 95, 8.0f}, {7.0f, 125, 5.0f}, {5.0f, 30, 3.0f}}) {
        bubbles.push_back(RisingBubble(library, r, phase, drift));
    }

    menu_art::Stack stack(movie.Tags());
    stack.Place(sky);
    stack.Place(halo, 712, 74);
    stack.Place(sun, 712, 74);
    stack.Place(cloud, 112, 74);
    stack.Place(cloud, 642, 168, "", 0.7f);
    stack.Place(cloud, 330, 520, "", 0.55f);
    stack.Place(waterBack);
    if (withGlobbos) {
        stack.Place(pink, 74, 548);
        stack.Place(lime, 736, 556);
    }
    stack.Place(water);
    stack.Place(pads[0], 300, 584);
    stack.Place(pads[1], 620, 590);
    const float bubbleX[] = {150, 360, 430, 610, 690};
    for (size_t i = 0; i < bubbles.size(); ++i) {
        stack.Place(bubbles[i], bubbleX[i], 592);
    }
    movie.Tags().ShowFrame();
    return movie.Write(true);
}

}  // namespace

swfkit::Bytes MainMenuBackdropMovie() {
    return PondBackdrop(true);
}

swfkit::Bytes MenuBackdropMovie() {
    return PondBackdrop(false);
}
