#include "tools/levels/ArenaParts.h"

#include "tools/levels/LifebarPanels.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace parts {

namespace {

using art::Contour;
using art::Point;

constexpr double kPi = std::numbers::pi;
// Shadows fall down and to the right, this far (units), in translucent black.
constexpr double kShadowOffset = 0.45;
const swfkit::Color kShadow = art::Rgb(0, 30, 60, 56);
// The art extends this far (units) beyond the arena's edges, so no gap shows at the screen's edge.
constexpr float kBleed = 3.0f;
// Pixels of the screen per world unit at zoom 1.
constexpr double kPixelsPerUnit = 8.0;
// The top wall comes down to the shelves under the life bars over this length (units).
constexpr float kShelfRamp = 4.0f;

Point P(const b2Vec2& v) {
    return {v.x, v.y};
}

Contour ContourOf(const std::vector<b2Vec2>& points) {
    Contour contour;
    for (const b2Vec2& v : points) {
        contour.push_back(P(v));
    }
    return contour;
}

// Whether a disc lies inside the contour (tested at its centre and four rim points).
bool DiscInside(const Point& c, double r, const Contour& contour) {
    using art::Inside;
    return Inside(c, contour) && Inside({c.x + r, c.y}, contour) && Inside({c.x - r, c.y}, contour) &&
           Inside({c.x, c.y + r}, contour) && Inside({c.x, c.y - r}, contour);
}

// The ground under the life-bar panels, in the arena's world units: from innerX (either side of
// the middle) outwards the top wall reaches down to y = bottom, a few pixels below the panels, so
// that a creature's skin and its black edge stay clear of them.
struct Shelves {
    float innerX;
    float bottom;
};

Shelves ShelvesUnderLifebars(const Arena& arena) {
    // Screen pixels of room between the panels and the water.
    constexpr double kClearance = 4.0;
    constexpr double kScreenX = 400.0;
    constexpr double kScreenY = 300.0;
    const double scale = kPixelsPerUnit * arena.zoom;
    const double inner = lifebar_panels::kMargin + lifebar_panels::kWidth + kClearance;
    const double bottom = lifebar_panels::kMargin + lifebar_panels::kHeight + kClearance;
    return {static_cast<float>((kScreenX - inner) / scale), static_cast<float>((bottom - kScreenY) / scale)};
}

// A tapering, swaying blade of weed standing on (x, y), height h.
Contour Blade(double x, double y, double h, double width, double sway, double phase) {
    constexpr int kSteps = 8;
    Contour left;
    Contour right;
    for (int i = 0; i <= kSteps; ++i) {
        const double t = static_cast<double>(i) / kSteps;
        const double cx = x + sway * std::sin(t * kPi * 1.3 + phase) * t;
        const double half = width * 0.5 * (1.0 - 0.85 * t);
        left.push_back({cx - half, y - h * t});
        right.push_back({cx + half, y - h * t});
    }
    Contour blade = left;
    blade.insert(blade.end(), right.rbegin(), right.rend());
    return blade;
}

// The contour pushed outwards from its centroid by the distance (for convex outlines).
Contour Inflated(const Contour& contour, double distance) {
    Point centre{0.0, 0.0};
    for (const Point& p : contour) {
        centre.x += p.x / contour.size();
        centre.y += p.y / contour.size();
    }
    Contour out;
    for (const Point& p : contour) {
        const double dx = p.x - centre.x;
        const double dy = p.y - centre.y;
        const double length = std::max(std::hypot(dx, dy), 1e-9);
        out.push_back({p.x + dx / length * distance, p.y + dy / length * distance});
    }
    return out;
}

swfkit::Color Mix(const swfkit::Color& a, const swfkit::Color& b, double t) {
    auto channel = [t](uint8_t x, uint8_t y) {
        return static_cast<uint8_t>(std::lround(x + (y - x) * t));
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b), channel(a.a, b.a)};
}

std::vector<b2Vec2> Rotated(const std::vector<b2Vec2>& points, float angle) {
    const b2Rot rot(angle);
    std::vector<b2Vec2> out;
    for (const b2Vec2& p : points) {
        out.push_back(b2Mul(rot, p));
    }
    return out;
}

}  // namespace

double Random::Next(double low, double high) {
    m_State = m_State * 1664525u + 1013904223u;
    return low + (high - low) * (m_State >> 8) / static_cast<double>(1u << 24);
}

void AddRock(Arena& arena, const std::vector<b2Vec2>& points, const Palette& palette, uint32_t seed,
             const std::string& transform, const b2Vec2& transformOffset) {
    Outline outline;
    outline.points = points;
    outline.transform = transform;
    outline.transformOffset = transformOffset;
    arena.outlines.push_back(outline);

    const Contour contour = ContourOf(points);
    arena.back.push_back({{art::Moved(contour, kShadowOffset, kShadowOffset)}, kShadow});
    arena.front.push_back({{contour}, palette.rock});
    double left = contour.front().x, right = left, top = contour.front().y, bottom = top;
    for (const Point& p : contour) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    // Pebbles only where the player can see them.
    left = std::max(left, static_cast<double>(-arena.halfWidth));
    right = std::min(right, static_cast<double>(arena.halfWidth));
    top = std::max(top, static_cast<double>(-arena.halfHeight));
    bottom = std::min(bottom, static_cast<double>(arena.halfHeight));
    // The pebbles of one shape never overlap: a shape fills its contours by the even-odd rule, so
    // an overlap would be a hole.
    Random random(seed);
    art::Shape light{{}, art::Shade(palette.rock, 0.28)};
    art::Shape dark{{}, art::Shade(palette.rock, -0.12)};
    std::vector<std::pair<Point, double>> pebbles;
    const int tries = static_cast<int>(std::max(0.0, (right - left) * (bottom - top)) / 3.0);
    for (int i = 0; i < tries; ++i) {
        const Point c{random.Next(left, right), random.Next(top, bottom)};
        const double r = random.Next(0.22, 0.6);
        const bool apart = std::all_of(pebbles.begin(), pebbles.end(), [&](const auto& other) {
            return std::hypot(c.x - other.first.x, c.y - other.first.y) > r + other.second + 0.15;
        });
        if (apart && DiscInside(c, r + 0.35, contour)) {
            pebbles.emplace_back(c, r);
            (i % 3 == 0 ? dark : light).contours.push_back(art::Circle(c, r));
        }
    }
    arena.front.push_back(light);
    arena.front.push_back(dark);
}

void AddBorders(Arena& arena, const Palette& palette, float top, float bottom, float side, float amplitude,
                uint32_t seed) {
    const float hw = arena.halfWidth;
    const float hh = arena.halfHeight;
    Random random(seed);
    const double phase1 = random.Next(0.0, 2.0 * kPi);
    const double phase2 = random.Next(0.0, 2.0 * kPi);
    auto wave = [&](double u) {
        return amplitude * (0.55 * std::sin(0.21 * u + phase1) + 0.45 * std::sin(0.53 * u + phase2));
    };
    constexpr float kStep = 5.0f;
    const Shelves shelves = ShelvesUnderLifebars(arena);
    // The top wall's edge: its wave, brought down to the shelves under the life bars (a wave of
    // half the height along them) over a smooth ramp towards the middle.
    auto topEdge = [&](float x) {
        const float plain = -hh + top + static_cast<float>(wave(x));
        const float shelf = shelves.bottom + 0.5f * amplitude + 0.5f * static_cast<float>(wave(x));
        const float t = std::clamp((std::abs(x) - shelves.innerX + kShelfRamp) / kShelfRamp, 0.0f, 1.0f);
        return plain + (t * t * (3.0f - 2.0f * t)) * std::max(shelf - plain, 0.0f);
    };
    std::vector<float> topXs;
    for (float x = -hw - kBleed; x <= hw + kBleed + 0.01f; x += kStep) {
        topXs.push_back(x);
    }
    for (float x = shelves.innerX - kShelfRamp; x <= shelves.innerX + 0.01f; x += kShelfRamp / 4.0f) {
        topXs.push_back(x);
        topXs.push_back(-x);
    }
    std::sort(topXs.begin(), topXs.end());
    topXs.erase(std::unique(topXs.begin(), topXs.end(), [](float a, float b) { return b - a < 1e-3f; }), topXs.end());
    std::vector<b2Vec2> topWall{{-hw - kBleed, -hh - kBleed}};
    for (float x : topXs) {
        topWall.emplace_back(x, topEdge(x));
    }
    std::vector<b2Vec2> bottomWall{{hw + kBleed, hh + kBleed}};
    for (float x = -hw - kBleed; x <= hw + kBleed + 0.01f; x += kStep) {
        bottomWall.emplace_back(-x, hh - bottom - static_cast<float>(wave(x + 40.0)));
    }
    topWall.emplace_back(hw + kBleed, -hh - kBleed);
    bottomWall.emplace_back(-hw - kBleed, hh + kBleed);
    std::vector<b2Vec2> leftWall{{-hw - kBleed, hh + kBleed}};
    std::vector<b2Vec2> rightWall{{hw + kBleed, -hh - kBleed}};
    for (float y = hh + kBleed; y >= -hh - kBleed - 0.01f; y -= kStep) {
        leftWall.emplace_back(-hw + side + static_cast<float>(wave(y + 80.0)), y);
        rightWall.emplace_back(hw - side - static_cast<float>(wave(y + 120.0)), -y);
    }
    leftWall.emplace_back(-hw - kBleed, -hh - kBleed);
    rightWall.emplace_back(hw + kBleed, hh + kBleed);
    AddRock(arena, bottomWall, palette, seed + 1);
    AddRock(arena, leftWall, palette, seed + 2);
    AddRock(arena, rightWall, palette, seed + 3);
    AddRock(arena, topWall, palette, seed + 4);
}

void AddStone(Arena& arena, const b2Vec2& centre, float radius, const Palette& palette) {
    Outline outline;
    outline.centre = centre;
    outline.radius = radius;
    arena.outlines.push_back(outline);
    const Point c = P(centre);
    arena.back.push_back({{art::Circle({c.x + kShadowOffset, c.y + kShadowOffset}, radius)}, kShadow});
    arena.front.push_back({{art::Circle(c, radius)}, palette.stone});
    arena.front.push_back({{art::Ellipse({c.x - radius * 0.35, c.y - radius * 0.4}, radius * 0.38, radius * 0.26)},
                           art::Shade(palette.stone, 0.45)});
    arena.front.push_back({{art::Circle({c.x + radius * 0.3, c.y + radius * 0.35}, radius * 0.16),
                            art::Circle({c.x - radius * 0.25, c.y + radius * 0.5}, radius * 0.1)},
                           art::Shade(palette.stone, -0.15)});
}

void AddWeed(Arena& arena, float x0, float x1, float base, float height, const Palette& palette, uint32_t seed) {
    const double cx = 0.5 * (x0 + x1);
    const double rx = 0.5 * (x1 - x0);
    std::vector<b2Vec2> mound{{x0, base + 1.0f}};
    constexpr int kArc = 10;
    for (int i = 1; i < kArc; ++i) {
        const double angle = kPi + kPi * i / kArc;
        mound.emplace_back(static_cast<float>(cx + rx * std::cos(angle)),
                           static_cast<float>(base + height * std::sin(angle)));
    }
    mound.emplace_back(x1, base + 1.0f);
    Outline outline;
    outline.points = mound;
    outline.green = true;
    arena.outlines.push_back(outline);

    // Blades cross one another, so each is a shape of its own (see AddRock's pebbles).
    Random random(seed);
    art::Drawing behind;
    art::Drawing before;
    const int count = std::max(4, static_cast<int>(rx * 1.2));
    for (int i = 0; i < count; ++i) {
        const double x = cx + rx * random.Next(-0.8, 0.8);
        const double surface = base - height * std::sqrt(std::max(0.0, 1.0 - std::pow((x - cx) / rx, 2.0)));
        // One draw a statement, as a call's arguments are evaluated in no fixed order; the levels
        // drew them phase first.
        const double phase = random.Next(0.0, kPi);
        const double sway = random.Next(-1.6, 1.6);
        const double width = random.Next(0.7, 1.1);
        const double h = random.Next(2.5, 5.5) + height * 0.5;
        const Contour blade = Blade(x, surface + 0.8, h, width, sway, phase);
        if (i % 3 == 0) {
            behind.push_back({{blade}, art::Shade(palette.weed, -0.2)});
        } else {
            before.push_back({{blade}, i % 3 == 1 ? palette.weed : art::Shade(palette.weed, 0.3)});
        }
    }
    arena.front.insert(arena.front.end(), behind.begin(), behind.end());
    arena.front.push_back({{ContourOf(mound)}, palette.weed});
    arena.front.push_back({{art::Ellipse({cx - rx * 0.3, base - height * 0.62}, rx * 0.35, height * 0.16)},
                           art::Shade(palette.weed, 0.35)});
    arena.front.insert(arena.front.end(), before.begin(), before.end());
}

void AddDistantReef(Arena& arena, uint32_t seed) {
    const double hw = arena.halfWidth + kBleed;
    const double hh = arena.halfHeight;
    Random random(seed);
    const swfkit::Color far = Mix(arena.waterBottom, arena.waterTop, 0.25);
    const swfkit::Color near = art::Shade(arena.waterBottom, -0.12);
    for (int layer = 0; layer < 2; ++layer) {
        const double phase = random.Next(0.0, 2.0 * kPi);
        const double level = hh - (layer == 0 ? 12.0 : 8.0);
        Contour hills{{-hw, hh + kBleed}};
        for (double x = -hw; x <= hw + 0.01; x += 2.5) {
            hills.push_back({x, level - 2.5 * std::sin(0.09 * x + phase) - 1.5 * std::sin(0.23 * x + 2.0 * phase)});
        }
        hills.push_back({hw, hh + kBleed});
        arena.back.push_back({{hills}, layer == 0 ? far : near});
    }
    art::Drawing kelp;
    for (int i = 0; i < 7; ++i) {
        const double x = -hw + (i + random.Next(0.2, 0.8)) * 2.0 * hw / 7.0;
        const double sway = random.Next(-3.0, 3.0);
        const double h = random.Next(12.0, 22.0);
        kelp.push_back({{Blade(x, hh - 6.0, h, 1.6, sway, i)}, Mix(arena.waterBottom, arena.waterTop, 0.1)});
    }
    arena.back.insert(arena.back.begin() + 1, kelp.begin(), kelp.end());
}

void AddWaterBands(Arena& arena) {
    const double hw = arena.halfWidth + kBleed;
    const double hh = arena.halfHeight + kBleed;
    constexpr int kBands = 7;
    art::Drawing water;
    for (int i = 0; i < kBands; ++i) {
        const double top = -hh + 2.0 * hh * i / kBands;
        const double bottom = -hh + 2.0 * hh * (i + 1) / kBands + (i + 1 < kBands ? 0.05 : 0.0);
        water.push_back({{art::Rectangle(-hw, top, hw, bottom)},
                         Mix(arena.waterTop, arena.waterBottom, static_cast<double>(i) / (kBands - 1))});
    }
    art::Shape rays{{}, art::Rgb(255, 255, 255, 34)};
    for (double x : {-0.55, -0.1, 0.4}) {
        const double at = x * hw;
        rays.contours.push_back({{at - 3.0, -hh}, {at + 4.0, -hh}, {at + 16.0, hh}, {at + 6.0, hh}});
    }
    water.push_back(rays);
    arena.back.insert(arena.back.begin(), water.begin(), water.end());
}

Mover Windmill(const std::string& name, const b2Vec2& position, float rotation, int blades, float length, float width,
               const swfkit::Color& first, const swfkit::Color& second, const swfkit::Color& hub) {
    Mover mill;
    mill.name = name;
    mill.position = position;
    mill.rotation = rotation;
    constexpr float kHubRadius = 2.0f;
    constexpr float kBladeStart = 1.2f;
    // The blades meet at the hub, so each blade's parts are shapes of their own.
    art::Drawing edges;
    art::Drawing fills;
    art::Drawing stripes;
    for (int k = 0; k < blades; ++k) {
        const float angle = 2.0f * std::numbers::pi_v<float> * k / blades;
        mill.fixtures.push_back(Rotated(
            {{kBladeStart, -width / 2}, {length, -width / 2}, {length, width / 2}, {kBladeStart, width / 2}}, angle));
        const art::Placement turn{1.0, angle, {0.0, 0.0}};
        edges.push_back({{art::Placed(art::RoundedRectangle(0.0, -width / 2 - 0.25, length + 0.25, width / 2 + 0.25,
                                                            width / 2 + 0.25),
                                      turn)},
                         art::Shade(first, -0.45)});
        fills.push_back({{art::Placed(art::RoundedRectangle(0.0, -width / 2, length, width / 2, width / 2), turn)},
                         k % 2 == 0 ? first : second});
        stripes.push_back({{art::Placed(art::RoundedRectangle(kBladeStart + 1.5, -width * 0.12, length - 1.2,
                                                              width * 0.12, width * 0.12),
                                        turn)},
                           art::Rgb(255, 255, 255, 210)});
    }
    std::vector<b2Vec2> octagon;
    for (int i = 0; i < 8; ++i) {
        const float angle = std::numbers::pi_v<float> * i / 4.0f;
        octagon.emplace_back(kHubRadius * std::cos(angle), kHubRadius * std::sin(angle));
    }
    mill.fixtures.push_back(octagon);
    mill.art = edges;
    mill.art.insert(mill.art.end(), fills.begin(), fills.end());
    mill.art.insert(mill.art.end(), stripes.begin(), stripes.end());
    mill.art.push_back({{art::Circle({0.0, 0.0}, kHubRadius + 0.35)}, art::Shade(hub, -0.45)});
    mill.art.push_back({{art::Circle({0.0, 0.0}, kHubRadius)}, hub});
    mill.art.push_back({{art::Circle({-0.5, -0.5}, 0.7)}, art::Rgb(255, 255, 255, 230)});
    mill.joint = "";
    return mill;
}

Mover Flipper(const std::string& name, const b2Vec2& pivot, float rotation, float length, const swfkit::Color& color,
              const swfkit::Color& tip) {
    Mover flipper;
    flipper.name = name;
    flipper.position = pivot;
    flipper.rotation = rotation;
    flipper.centred = false;
    flipper.joint = "revolutespring";
    flipper.stiffness = 6.0f;
    flipper.maxTorque = 4000.0f;
    const std::vector<b2Vec2> paddle = {{-1.5f, -1.3f},  {0.0f, -1.7f}, {length, -0.55f}, {length + 0.6f, 0.0f},
                                        {length, 0.55f}, {0.0f, 1.7f},  {-1.5f, 1.3f},    {-2.0f, 0.0f}};
    flipper.fixtures.push_back(paddle);
    const Contour shape = ContourOf(paddle);
    flipper.art.push_back({{Inflated(shape, 0.3)}, art::Shade(color, -0.45)});
    flipper.art.push_back({{shape}, color});
    flipper.art.push_back({{art::Ellipse({length * 0.45, -0.55}, length * 0.35, 0.28)}, art::Shade(color, 0.45)});
    flipper.art.push_back({{art::Circle({length - 0.4, 0.0}, 0.75)}, tip});
    flipper.art.push_back({{art::Circle({0.0, 0.0}, 1.0)}, art::Shade(color, -0.5)});
    flipper.art.push_back({{art::Circle({-0.25, -0.25}, 0.35)}, art::Rgb(255, 255, 255, 230)});
    return flipper;
}

std::vector<b2Vec2> Star(const b2Vec2& centre, int points, float outer, float inner, float rotation) {
    std::vector<b2Vec2> star;
    for (int i = 0; i < 2 * points; ++i) {
        const float angle = rotation + std::numbers::pi_v<float> * i / points;
        const float r = i % 2 == 0 ? outer : inner;
        star.emplace_back(centre.x + r * std::cos(angle), centre.y + r * std::sin(angle));
    }
    return star;
}

std::vector<b2Vec2> Blob(const b2Vec2& centre, float radius, int lobes, float depth, float phase, int count) {
    std::vector<b2Vec2> blob;
    for (int i = 0; i < count; ++i) {
        const float angle = 2.0f * std::numbers::pi_v<float> * i / count;
        const float r = radius * (1.0f + depth * std::sin(lobes * angle + phase));
        blob.emplace_back(centre.x + r * std::cos(angle), centre.y + r * std::sin(angle));
    }
    return blob;
}

std::vector<b2Vec2> Pillar(float x, float halfWidth, float top, float bottom) {
    std::vector<b2Vec2> pillar{{x - halfWidth, bottom}, {x + halfWidth, bottom}};
    constexpr int kArc = 8;
    for (int i = 0; i <= kArc; ++i) {
        const float angle = std::numbers::pi_v<float> * i / kArc;
        pillar.emplace_back(x + halfWidth * std::cos(angle), top - halfWidth * std::sin(angle) + halfWidth);
    }
    return pillar;
}

}  // namespace parts
