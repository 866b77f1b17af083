// The scenes played outside matches. Their creatures' places are fixed by the screens that play
// them: the title throws its two creatures in from the right, then drops two into a bottle from
// above; the podium stands its three best on steps; the tutorial puts its creatures and balls on
// a plain pond floor and on a seesaw.
#include "tools/levels/Arena.h"
#include "tools/levels/ArenaParts.h"

#include <cmath>
#include <numbers>

namespace {

using art::Rgb;
using parts::Palette;

constexpr const char* kFolder = "data/";

Arena Special(const std::string& name) {
    Arena arena;
    arena.name = name;
    arena.folder = kFolder;
    return arena;
}

// A wall no one sees: a box outline without art.
void AddHiddenBox(Arena& arena, float left, float top, float right, float bottom) {
    Outline outline;
    outline.points = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
    arena.outlines.push_back(outline);
}

// The title's first scene plays over the title movie: no picture of its own, only walls round
// the screen and a wide opening on the right, from which the two creatures are thrown in.
Arena TitleEmpty() {
    Arena arena = Special("gametitle_level_empty");
    arena.background = false;
    AddHiddenBox(arena, -60.0f, -47.5f, 110.0f, -37.5f);
    AddHiddenBox(arena, -60.0f, 37.5f, 110.0f, 47.5f);
    AddHiddenBox(arena, -60.0f, -47.5f, -50.0f, 47.5f);
    AddHiddenBox(arena, 100.0f, -47.5f, 110.0f, 47.5f);
    arena.balls = {{-38.0f, 28.0f}, {-22.0f, 30.0f}, {-6.0f, 26.0f}, {12.0f, 30.0f}, {30.0f, 28.0f}};
    arena.start1 = {80.0f, -30.0f};
    arena.start2 = {60.0f, -20.0f};
    return arena;
}

// The outline pushed out by the thickness along an open path's outward normals (left of each
// step on the screen), with mitred corners.
std::vector<b2Vec2> Offset(const std::vector<b2Vec2>& path, float thickness) {
    std::vector<b2Vec2> out;
    for (size_t i = 0; i < path.size(); ++i) {
        const b2Vec2 before = i > 0 ? path[i] - path[i - 1] : path[1] - path[0];
        const b2Vec2 after = i + 1 < path.size() ? path[i + 1] - path[i] : before;
        b2Vec2 n1(-before.y, before.x);
        b2Vec2 n2(-after.y, after.x);
        n1.Normalize();
        n2.Normalize();
        b2Vec2 mitre = n1 + n2;
        mitre.Normalize();
        const float stretch = 1.0f / std::max(0.3f, b2Dot(mitre, n1));
        out.push_back(path[i] + thickness * stretch * mitre);
    }
    return out;
}

// The title's second scene: a glass bottle standing in the middle with its neck above the
// screen, into which the two creatures are dropped.
Arena TitleBottle() {
    Arena arena = Special("gametitle_level_bottle");
    arena.background = false;
    // The glass's inner side, from the neck's top left down, along the bottom and up to the neck's
    // top right.
    const std::vector<b2Vec2> inner = {{-4.0f, -46.0f}, {-4.0f, -24.0f}, {-19.0f, -13.0f}, {-19.0f, 25.0f},
                                       {-15.0f, 30.0f}, {25.0f, 30.0f},  {29.0f, 25.0f},   {29.0f, -13.0f},
                                       {14.0f, -24.0f}, {14.0f, -46.0f}};
    const std::vector<b2Vec2> outer = Offset(inner, 2.6f);
    art::Contour glass;
    for (const b2Vec2& p : inner) {
        glass.push_back({p.x, p.y});
    }
    art::Contour wall = glass;
    for (size_t i = outer.size(); i-- > 0;) {
        wall.push_back({outer[i].x, outer[i].y});
    }
    for (size_t i = 0; i + 1 < inner.size(); ++i) {
        Outline piece;
        piece.points = {inner[i], inner[i + 1], outer[i + 1], outer[i]};
        arena.outlines.push_back(piece);
    }
    arena.back.push_back({{glass}, Rgb(150, 236, 224, 70)});
    arena.back.push_back({{art::Moved(wall, 0.5, 0.5)}, Rgb(0, 30, 60, 50)});
    arena.front.push_back({{wall}, Rgb(104, 206, 196, 215)});
    // Shine along the glass and the lips of the neck.
    arena.front.push_back(
        {{art::RoundedRectangle(-17.2, -9.0, -15.6, 22.0, 0.8), art::RoundedRectangle(-2.8, -44.0, -1.8, -27.0, 0.5)},
         Rgb(255, 255, 255, 150)});
    arena.front.push_back(
        {{art::RoundedRectangle(-7.6, -47.2, -2.6, -44.8, 1.2), art::RoundedRectangle(12.6, -47.2, 17.6, -44.8, 1.2)},
         Rgb(76, 170, 164)});
    arena.balls = {{-10.0f, 25.0f}, {0.0f, 26.0f}, {10.0f, 25.0f}, {20.0f, 26.0f}};
    arena.start1 = {5.0f, -80.0f};
    arena.start2 = {5.0f, -60.0f};
    return arena;
}

// The podium: a tall middle step under the champion, two low steps beside it, shown from further
// away so that the champion standing above the screen's top fits.
Arena Podium() {
    Arena arena = Special("championship_podium_level");
    arena.zoom = 0.7f;
    arena.halfWidth = 50.0f / arena.zoom;
    arena.halfHeight = 37.5f / arena.zoom;
    arena.background = false;
    const Palette palette{Rgb(255, 204, 70), Rgb(196, 206, 224), Rgb(236, 150, 86)};
    const float floor = arena.halfHeight - 3.0f;
    AddHiddenBox(arena, -arena.halfWidth - 10.0f, floor, arena.halfWidth + 10.0f, floor + 10.0f);
    AddHiddenBox(arena, -arena.halfWidth - 10.0f, -arena.halfHeight - 10.0f, -arena.halfWidth, floor);
    AddHiddenBox(arena, arena.halfWidth, -arena.halfHeight - 10.0f, arena.halfWidth + 10.0f, floor);
    AddHiddenBox(arena, -arena.halfWidth - 10.0f, -arena.halfHeight - 10.0f, arena.halfWidth + 10.0f,
                 -arena.halfHeight);
    // Each step's top sits just under its creature (a match-inflated creature reaches about 5.5
    // units below its centre).
    struct Step {
        float x;
        float top;
        float halfWidth;
        swfkit::Color color;
    };
    for (const Step& step : {Step{0.0f, -34.3f, 9.0f, palette.rock}, Step{40.0f, 25.7f, 9.0f, palette.stone},
                             Step{-40.0f, 25.7f, 9.0f, palette.weed}}) {
        const Palette stepColours{step.color, palette.stone, palette.weed};
        parts::AddRock(arena,
                       {{step.x - step.halfWidth, floor + 1.0f},
                        {step.x + step.halfWidth, floor + 1.0f},
                        {step.x + step.halfWidth, step.top + 1.2f},
                        {step.x + step.halfWidth - 1.2f, step.top},
                        {step.x - step.halfWidth + 1.2f, step.top},
                        {step.x - step.halfWidth, step.top + 1.2f}},
                       stepColours, static_cast<uint32_t>(step.x + 100.0f));
    }
    arena.front.push_back(
        {{art::Rectangle(-arena.halfWidth - 3.0, floor, arena.halfWidth + 3.0, arena.halfHeight + 3.0)},
         Rgb(120, 90, 200)});
    arena.balls = {{-20.0f, 30.0f}, {20.0f, 30.0f}, {-60.0f, 30.0f}, {60.0f, 30.0f}};
    arena.start1 = {0.0f, -40.0f};
    arena.start2 = {40.0f, 20.0f};
    return arena;
}

// The tutorial's pond: a plain floor with room for its creatures and balls.
Arena TutorialPond(const std::string& name, uint32_t seed) {
    Arena arena = Special(name);
    arena.waterTop = Rgb(176, 236, 250);
    arena.waterBottom = Rgb(84, 186, 226);
    const Palette palette{Rgb(246, 170, 96), Rgb(170, 160, 226), Rgb(108, 204, 104)};
    parts::AddDistantReef(arena, seed);
    parts::AddBorders(arena, palette, 2.5f, 4.0f, 2.5f, 0.8f, seed + 1);
    parts::AddWeed(arena, -44.0f, -32.0f, 33.5f, 3.0f, palette, seed + 2);
    parts::AddWeed(arena, 32.0f, 44.0f, 33.5f, 3.0f, palette, seed + 3);
    return arena;
}

Arena Tutorial() {
    Arena arena = TutorialPond("tutorial_level", 71);
    arena.start1 = {15.0f, 15.0f};
    arena.start2 = {-15.0f, 15.0f};
    return arena;
}

// A seesaw: a plank resting on a stone wedge; the tutorial pins the plank at its middle.
Arena TutorialFun() {
    Arena arena = TutorialPond("tutorial_level_fun", 81);
    const Palette palette{Rgb(246, 170, 96), Rgb(170, 160, 226), Rgb(108, 204, 104)};
    parts::AddRock(arena, {{-6.0f, 34.0f}, {6.0f, 34.0f}, {0.6f, 23.4f}, {-0.6f, 23.4f}}, palette, 82);
    Mover plank;
    plank.name = "Plank";
    plank.position = {0.0f, 22.0f};
    plank.density = 0.5f;
    plank.restitution = 0.1f;
    plank.fixtures.push_back({{-22.0f, -1.0f}, {22.0f, -1.0f}, {22.0f, 1.0f}, {-22.0f, 1.0f}});
    const swfkit::Color wood = Rgb(214, 150, 84);
    plank.art.push_back({{art::RoundedRectangle(-22.3, -1.3, 22.3, 1.3, 1.2)}, art::Shade(wood, -0.45)});
    plank.art.push_back({{art::RoundedRectangle(-22.0, -1.0, 22.0, 1.0, 0.9)}, wood});
    plank.art.push_back({{art::RoundedRectangle(-20.0, -0.7, 20.0, -0.25, 0.2)}, art::Shade(wood, 0.4)});
    plank.art.push_back({{art::Circle({0.0, 0.0}, 0.6)}, art::Shade(wood, -0.5)});
    arena.movers.push_back(plank);
    arena.balls = {{-18.0f, 18.0f}, {18.0f, 18.0f}};
    arena.start1 = {15.0f, 5.0f};
    arena.start2 = {-15.0f, 5.0f};
    return arena;
}

}  // namespace

std::vector<Arena> SpecialArenas() {
    return {TitleEmpty(), TitleBottle(), Podium(), Tutorial(), TutorialFun()};
}
