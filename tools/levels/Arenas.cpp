// The five arenas the game ships. Each is a pond seen from the side: rock walls round the
// edges, stones, mounds of weed, and one idea of its own (a windmill, two mills, flippers,
// portals, a wide lagoon seen from further away).
#include "tools/levels/Arena.h"
#include "tools/levels/ArenaParts.h"

#include <numbers>

namespace {

using art::Rgb;
using parts::Palette;

constexpr float kPi = std::numbers::pi_v<float>;

Arena Nanomill() {
    Arena arena;
    arena.name = "1_nanomill";
    arena.waterTop = Rgb(172, 234, 242);
    arena.waterBottom = Rgb(76, 178, 216);
    const Palette palette{Rgb(238, 166, 84), Rgb(156, 146, 214), Rgb(98, 198, 94)};
    parts::AddDistantReef(arena, 11);
    parts::AddBorders(arena, palette, 3.0f, 5.0f, 3.5f, 1.2f, 12);
    parts::AddStone(arena, {-26.0f, -21.0f}, 3.2f, palette);
    parts::AddStone(arena, {27.0f, 17.0f}, 3.6f, palette);
    parts::AddWeed(arena, -9.0f, 9.0f, 32.5f, 4.0f, palette, 13);
    arena.movers.push_back(parts::Windmill("windmill", {0.0f, -1.0f}, 0.0f, 4, 11.0f, 2.6f, Rgb(242, 86, 74),
                                           Rgb(255, 214, 64), Rgb(72, 92, 150)));
    arena.balls = {{-40.0f, -26.0f}, {40.0f, -26.0f}, {-18.0f, 24.0f}, {18.0f, 24.0f},
                   {0.0f, -28.0f},   {-41.0f, 12.0f}, {41.0f, 12.0f}};
    arena.start1 = {-30.0f, 2.0f};
    arena.start2 = {30.0f, 2.0f};
    arena.decorations = {{"data/levels/bubbles.swf", {-42.0f, -6.0f}}, {"data/levels/bubbles.swf", {42.5f, -12.0f}}};
    return arena;
}

Arena TwinMills() {
    Arena arena;
    arena.name = "2_nanomill";
    arena.waterTop = Rgb(190, 242, 216);
    arena.waterBottom = Rgb(86, 192, 172);
    const Palette palette{Rgb(246, 130, 152), Rgb(255, 202, 92), Rgb(126, 204, 82)};
    parts::AddDistantReef(arena, 21);
    parts::AddBorders(arena, palette, 3.0f, 4.0f, 3.0f, 1.0f, 22);
    parts::AddRock(arena, parts::Pillar(0.0f, 5.0f, 9.0f, 40.0f), palette, 23);
    parts::AddStone(arena, {0.0f, -22.0f}, 3.4f, palette);
    parts::AddWeed(arena, -39.0f, -26.0f, 33.5f, 3.5f, palette, 24);
    parts::AddWeed(arena, 26.0f, 39.0f, 33.5f, 3.5f, palette, 25);
    for (Mover mill : {parts::Windmill("mill_left", {-24.0f, -6.0f}, 0.0f, 3, 9.0f, 2.4f, Rgb(72, 134, 234),
                                       Rgb(255, 255, 255), Rgb(255, 206, 60)),
                       parts::Windmill("mill_right", {24.0f, -6.0f}, kPi / 3.0f, 3, 9.0f, 2.4f, Rgb(72, 134, 234),
                                       Rgb(255, 255, 255), Rgb(255, 206, 60))}) {
        mill.joint = "revolute";
        arena.movers.push_back(mill);
    }
    arena.balls = {{-40.0f, -26.0f}, {40.0f, -26.0f}, {-12.0f, -25.0f},
                   {12.0f, -25.0f},  {-14.0f, 22.0f}, {14.0f, 22.0f}};
    arena.start1 = {-40.0f, 12.0f};
    arena.start2 = {40.0f, 12.0f};
    return arena;
}

Arena FlipperReef() {
    Arena arena;
    arena.name = "3_flipperreef";
    arena.waterTop = Rgb(214, 218, 254);
    arena.waterBottom = Rgb(122, 130, 228);
    const Palette palette{Rgb(160, 104, 218), Rgb(252, 132, 184), Rgb(72, 202, 152)};
    parts::AddDistantReef(arena, 31);
    parts::AddBorders(arena, palette, 3.0f, 4.0f, 3.0f, 1.1f, 32);
    const Palette star{Rgb(255, 152, 62), palette.stone, palette.weed};
    parts::AddRock(arena, parts::Star({0.0f, -6.0f}, 5, 7.5f, 3.4f, -kPi / 2.0f), star, 33);
    parts::AddStone(arena, {-24.0f, -24.0f}, 3.0f, palette);
    parts::AddStone(arena, {24.0f, -24.0f}, 3.0f, palette);
    parts::AddStone(arena, {0.0f, 21.0f}, 2.6f, palette);
    parts::AddWeed(arena, -9.0f, 9.0f, 33.5f, 3.5f, palette, 34);
    arena.movers.push_back(
        parts::Flipper("flipper_left", {-34.0f, 14.0f}, -0.35f, 13.0f, Rgb(255, 212, 52), Rgb(240, 70, 70)));
    arena.movers.push_back(
        parts::Flipper("flipper_right", {34.0f, 14.0f}, kPi + 0.35f, 13.0f, Rgb(255, 212, 52), Rgb(240, 70, 70)));
    arena.balls = {{-16.0f, -26.0f}, {16.0f, -26.0f}, {-12.0f, 8.0f}, {12.0f, 8.0f}, {0.0f, -22.0f}};
    arena.start1 = {-40.0f, -8.0f};
    arena.start2 = {40.0f, -8.0f};
    return arena;
}

Arena PortalGrotto() {
    Arena arena;
    arena.name = "4_portalgrotto";
    arena.waterTop = Rgb(180, 214, 248);
    arena.waterBottom = Rgb(60, 110, 180);
    const Palette palette{Rgb(64, 192, 174), Rgb(255, 226, 122), Rgb(134, 212, 72)};
    parts::AddDistantReef(arena, 41);
    parts::AddBorders(arena, palette, 3.0f, 4.0f, 3.0f, 0.9f, 42);
    // Two stalactites hang from the roof, drawn about their own origins in the outline drawing.
    for (float x : {-13.0f, 13.0f}) {
        const b2Vec2 at(x, -34.0f);
        parts::AddRock(arena,
                       {{x - 3.0f, -36.0f}, {x + 3.0f, -36.0f}, {x + 1.2f, -27.0f}, {x, -25.0f}, {x - 1.2f, -27.0f}},
                       palette, 43, "translate", at);
    }
    // Two pillars of rock in the water, written with a matrix transform.
    for (float x : {-21.0f, 21.0f}) {
        const b2Vec2 at(x, 6.0f);
        parts::AddRock(arena, parts::Blob(at, 4.2f, 3, 0.18f, x > 0.0f ? 1.0f : 2.5f, 12), palette, 44, "matrix", at);
    }
    parts::AddStone(arena, {0.0f, -10.0f}, 3.0f, palette);
    parts::AddWeed(arena, -8.0f, 8.0f, 33.5f, 3.0f, palette, 45);
    arena.teleports = {{{-40.0f, -26.0f}, {40.0f, 26.0f}}, {{40.0f, -26.0f}, {-40.0f, 26.0f}}};
    for (const Teleport& teleport : arena.teleports) {
        arena.decorations.push_back({"data/levels/portal.swf", teleport.entry});
        arena.decorations.push_back({"data/levels/portal.swf", teleport.exit});
    }
    arena.balls = {{-26.0f, -24.0f}, {26.0f, -24.0f}, {-26.0f, 24.0f}, {26.0f, 24.0f},
                   {0.0f, -22.0f},   {0.0f, 18.0f},   {-8.0f, 2.0f},   {8.0f, 2.0f}};
    arena.start1 = {-38.0f, 0.0f};
    arena.start2 = {38.0f, 0.0f};
    return arena;
}

Arena BigLagoon() {
    Arena arena;
    arena.name = "5_biglagoon";
    arena.halfWidth = 62.5f;
    arena.halfHeight = 46.875f;
    arena.zoom = 0.8f;
    arena.background = false;
    arena.waterTop = Rgb(160, 230, 244);
    arena.waterBottom = Rgb(70, 168, 212);
    const Palette palette{Rgb(242, 204, 122), Rgb(134, 164, 212), Rgb(96, 186, 84)};
    parts::AddDistantReef(arena, 51);
    parts::AddWaterBands(arena);
    parts::AddBorders(arena, palette, 3.5f, 5.0f, 4.0f, 1.4f, 52);
    const Palette island{Rgb(116, 204, 96), palette.stone, palette.weed};
    parts::AddRock(arena, parts::Blob({-28.0f, -14.0f}, 6.0f, 3, 0.22f, 0.4f, 12), island, 53);
    parts::AddRock(arena, parts::Blob({28.0f, 14.0f}, 6.0f, 3, 0.22f, 2.0f, 12), island, 54);
    parts::AddStone(arena, {0.0f, 0.0f}, 5.0f, palette);
    parts::AddStone(arena, {-30.0f, 22.0f}, 3.0f, palette);
    parts::AddStone(arena, {30.0f, -22.0f}, 3.0f, palette);
    parts::AddWeed(arena, -11.0f, 11.0f, 41.9f, 4.0f, palette, 55);
    arena.balls = {{-48.0f, -32.0f}, {48.0f, -32.0f}, {-48.0f, 30.0f}, {48.0f, 30.0f}, {0.0f, -30.0f},
                   {0.0f, 16.0f},    {-14.0f, 2.0f},  {14.0f, -2.0f},  {-2.0f, -18.0f}};
    arena.start1 = {-46.0f, 0.0f};
    arena.start2 = {46.0f, 0.0f};
    return arena;
}

}  // namespace

std::vector<Arena> ShippedArenas() {
    return {Nanomill(), TwinMills(), FlipperReef(), PortalGrotto(), BigLagoon()};
}
