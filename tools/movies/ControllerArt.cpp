#include "tools/movies/ControllerArt.h"

#include <tuple>

namespace controller_art {

using menu_art::Hex;
using menu_art::kInk;
using swfkit::ShapeBuilder;

namespace {

ShapeBuilder Keycap(float x, float y, float size, uint32_t color) {
    return menu_art::Shape(menu_art::RoundedRect(x - size / 2, y - size / 2, x + size / 2, y + size / 2, size * 0.2f),
                           menu_art::Solid(color));
}

ShapeBuilder Triangle(float x, float y, float size, int direction) {
    // Pointing left, right, up or down.
    const float s = size * 0.28f;
    const menu_art::Point points[4][3] = {{{x - s, y}, {x + s * 0.7f, y - s}, {x + s * 0.7f, y + s}},
                                          {{x + s, y}, {x - s * 0.7f, y + s}, {x - s * 0.7f, y - s}},
                                          {{x, y - s}, {x + s, y + s * 0.7f}, {x - s, y + s * 0.7f}},
                                          {{x, y + s}, {x - s, y - s * 0.7f}, {x + s, y - s * 0.7f}}};
    const auto& p = points[direction];
    return menu_art::Shape(menu_art::Polygon({p[0], p[1], p[2]}), menu_art::Solid(kInk));
}

}  // namespace

std::vector<ShapeBuilder> KeyCluster(float x, float y, float size, uint32_t color) {
    std::vector<ShapeBuilder> shapes;
    const float gap = size * 1.12f;
    const menu_art::Point keys[4] = {{x - gap, y}, {x + gap, y}, {x, y - gap}, {x, y}};
    for (int i = 0; i < 4; ++i) {
        shapes.push_back(Keycap(keys[i].first, keys[i].second + 2, size, 0x9FB3C8));
        shapes.push_back(Keycap(keys[i].first, keys[i].second, size, color));
        shapes.push_back(Triangle(keys[i].first, keys[i].second, size, i));
    }
    return shapes;
}

std::vector<ShapeBuilder> Gamepad(float x, float y, uint32_t color) {
    std::vector<ShapeBuilder> shapes;
    shapes.push_back(
        menu_art::Shape(menu_art::RoundedRect(x - 46, y - 22, x + 46, y + 22, 20), menu_art::Solid(color)));
    shapes.push_back(
        menu_art::Shape(menu_art::RoundedRect(x - 34, y - 5, x - 14, y + 5, 2), menu_art::Solid(0xFFFFFF)));
    shapes.push_back(
        menu_art::Shape(menu_art::RoundedRect(x - 29, y - 10, x - 19, y + 10, 2), menu_art::Solid(0xFFFFFF)));
    for (auto [dx, dy, c] : {std::tuple{22.0f, -7.0f, 0xFFD43Bu}, {32.0f, 3.0f, 0xEF476Fu}, {12.0f, 3.0f, 0x1AA7ECu}}) {
        shapes.push_back(menu_art::Shape(menu_art::Circle(x + dx, y + dy, 5.5f), menu_art::Solid(c)));
    }
    return shapes;
}

std::vector<uint16_t> Pictures(menu_art::Library& library, uint16_t fontId, const swfkit::EmbeddedFont& font) {
    std::vector<uint16_t> pictures;
    pictures.push_back(menu_art::Picture(library, KeyCluster(0, 4, 24, 0xFFE1DC)));
    {
        std::vector<ShapeBuilder> keys;
        const float gap = 24 * 1.12f;
        for (auto [kx, ky] : {std::pair{-gap, 4.0f}, {gap, 4.0f}, {0.0f, 4.0f - gap}, {0.0f, 4.0f}}) {
            keys.push_back(Keycap(kx, ky + 2, 24, 0x9FB3C8));
            keys.push_back(Keycap(kx, ky, 24, 0xDCE8FF));
        }
        swfkit::TagList frames(8);
        menu_art::Stack stack(frames);
        for (const ShapeBuilder& key : keys) {
            stack.Place(library.Define(key));
        }
        const std::pair<const char*, menu_art::Point> letters[] = {
            {"A", {-gap, 4.0f}}, {"D", {gap, 4.0f}}, {"W", {0.0f, 4.0f - gap}}, {"S", {0.0f, 4.0f}}};
        for (const auto& [letter, at] : letters) {
            stack.Place(library.DefineText(fontId, font, letter, 16, {Hex(kInk)}), at.first, at.second);
        }
        frames.DoAction(menu_art::Script("stop"));
        frames.ShowFrame();
        pictures.push_back(library.DefineSprite(frames));
    }
    pictures.push_back(menu_art::Picture(library, Gamepad(0, 0, 0x5CC15A)));

    return pictures;
}

}  // namespace controller_art
