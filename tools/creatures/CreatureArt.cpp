#include "tools/creatures/CreatureArt.h"

#include <cmath>
#include <numbers>

namespace creature_art {

namespace {

using art::Contour;
using art::Drawing;
using art::Point;

constexpr double kPi = std::numbers::pi;
constexpr double kRimWidth = 1.3;
const swfkit::Color kRim{45, 40, 70, 255};
const swfkit::Color kWhite{255, 255, 255, 255};
const swfkit::Color kPupil{25, 25, 40, 255};
const swfkit::Color kMouthInside{95, 25, 50, 255};
const swfkit::Color kTongue{240, 110, 135, 255};
const swfkit::Color kInk{60, 30, 40, 255};
const swfkit::Color kLeaf{70, 185, 60, 255};
const swfkit::Color kStem{45, 130, 40, 255};
const swfkit::Color kHatBand{225, 55, 80, 255};

// A band of the width along the polyline, with square ends.
Contour Band(const std::vector<Point>& line, double width) {
    Contour left;
    Contour right;
    for (size_t i = 0; i < line.size(); ++i) {
        const Point& a = line[i == 0 ? 0 : i - 1];
        const Point& b = line[i + 1 < line.size() ? i + 1 : i];
        double dx = b.x - a.x;
        double dy = b.y - a.y;
        const double length = std::hypot(dx, dy);
        dx /= length;
        dy /= length;
        left.push_back({line[i].x - dy * width / 2.0, line[i].y + dx * width / 2.0});
        right.push_back({line[i].x + dy * width / 2.0, line[i].y - dx * width / 2.0});
    }
    left.insert(left.end(), right.rbegin(), right.rend());
    return left;
}

// Points of the curve y = f(x) for x from x0 to x1.
template <typename Curve>
std::vector<Point> Sampled(double x0, double x1, Curve curve, int steps = 16) {
    std::vector<Point> points;
    for (int i = 0; i <= steps; ++i) {
        const double x = x0 + (x1 - x0) * i / steps;
        points.push_back({x, curve(x)});
    }
    return points;
}

// The part of the contour above the line y = limit (a convex contour stays convex).
Contour Above(const Contour& contour, double limit) {
    Contour kept;
    for (size_t i = 0; i < contour.size(); ++i) {
        const Point& a = contour[i];
        const Point& b = contour[(i + 1) % contour.size()];
        const bool aIn = a.y <= limit;
        const bool bIn = b.y <= limit;
        if (aIn) {
            kept.push_back(a);
        }
        if (aIn != bIn) {
            const double t = (limit - a.y) / (b.y - a.y);
            kept.push_back({a.x + t * (b.x - a.x), limit});
        }
    }
    return kept;
}

// The lower half of an ellipse below its top chord at y = top.
Contour Bowl(double halfWidth, double depth, double top) {
    Contour bowl;
    const int steps = 24;
    for (int i = 0; i <= steps; ++i) {
        const double angle = kPi * i / steps;
        bowl.push_back({halfWidth * std::cos(angle), top + depth * std::sin(angle)});
    }
    return bowl;
}

Contour Triangle(const Point& a, const Point& b, const Point& c) {
    return {a, b, c};
}

Drawing Placed(const Drawing& drawing, double x, double y, double angle = 0.0, double scale = 1.0) {
    return art::Placed(drawing, art::Placement{scale, angle, {x, y}});
}

void Append(Drawing& drawing, const Drawing& more) {
    drawing.insert(drawing.end(), more.begin(), more.end());
}

Drawing OpenMouth(const CreatureDesign& d, double depth) {
    const double w = d.mouthWidth;
    Drawing mouth{{{Bowl(w + 1.6, depth + 1.6, -3.0)}, d.lid}, {{Bowl(w, depth, -2.0)}, kMouthInside}};
    if (depth > 0.5 * w) {
        mouth.push_back({{Above(art::Ellipse({0.0, depth - 2.5}, 0.5 * w, 0.3 * w), depth - 2.6)}, kTongue});
    }
    if (d.teeth) {
        const double tooth = 0.22 * w;
        mouth.push_back({{art::Rectangle(-0.55 * w, -2.0, -0.55 * w + 2.0 * tooth, -2.0 + tooth),
                          art::Rectangle(0.55 * w - 2.0 * tooth, -2.0, 0.55 * w, -2.0 + tooth)},
                         kWhite});
    }
    return mouth;
}

Drawing RoundMouth(const CreatureDesign& d, double rx, double ry) {
    return {{{art::Ellipse({0.0, 1.0}, rx + 1.6, ry + 1.6)}, d.lid},
            {{art::Ellipse({0.0, 1.0}, rx, ry)}, kMouthInside}};
}

Drawing Bubble(const CreatureDesign& d) {
    swfkit::Color bubble = d.decoration;
    bubble.a = 230;
    return {{{art::Circle({0.0, 2.4}, 2.8)}, d.lid},
            {{art::Circle({0.0, 2.4}, 2.0)}, bubble},
            {{art::Circle({-0.7, 1.6}, 0.6)}, kWhite}};
}

Drawing Ray(const CreatureDesign& d) {
    return {{{Triangle({-2.8, -1.0}, {2.8, -1.0}, {0.0, 7.0})}, d.decoration}};
}

Drawing Sprout() {
    const Contour stem = Band(Sampled(
                                  0.0, 3.0, [](double x) { return 4.0 - 6.0 * x; }, 6),
                              2.2);
    const Contour leftLeaf = art::Placed(art::Ellipse({0.0, 0.0}, 6.5, 3.2), {1.0, 0.6, {-3.5, -15.0}});
    const Contour rightLeaf = art::Placed(art::Ellipse({0.0, 0.0}, 7.5, 3.6), {1.0, -0.5, {8.5, -17.5}});
    const Contour leftVein = Band({{-8.5, -18.0}, {1.0, -12.0}}, 0.8);
    const Contour rightVein = Band({{3.5, -14.5}, {14.0, -21.0}}, 0.8);
    return {{{stem}, kStem}, {{leftLeaf, rightLeaf}, kLeaf}, {{leftVein, rightVein}, kStem}};
}

Drawing Mohawk(const CreatureDesign& d) {
    Drawing hair;
    const double heights[] = {10.0, 15.0, 18.0, 15.0, 10.0};
    for (int i = 0; i < 5; ++i) {
        const double x = -10.0 + 5.0 * i;
        const double lean = 0.25 * (x);
        hair.push_back({{Triangle({x - 4.0, 4.0}, {x + 4.0, 4.0}, {x + lean, 4.0 - heights[i] - 4.0})}, d.decoration});
        hair.push_back(
            {{Triangle({x - 1.2, 2.0}, {x + 1.6, 2.0}, {x + lean, 2.0 - heights[i]})}, art::Shade(d.decoration, 0.35)});
    }
    return hair;
}

Drawing Flower(const CreatureDesign& d) {
    Drawing flower{{{Band({{0.0, 4.0}, {0.5, -4.0}, {0.0, -10.0}}, 2.2)}, kStem}};
    std::vector<Contour> petals;
    for (int i = 0; i < 5; ++i) {
        const double angle = 2.0 * kPi * i / 5.0 - kPi / 2.0;
        petals.push_back(art::Placed(art::Ellipse({0.0, 0.0}, 4.8, 3.2),
                                     {1.0, angle, {5.2 * std::cos(angle), -15.0 + 5.2 * std::sin(angle)}}));
    }
    flower.push_back({petals, d.decoration});
    flower.push_back({{art::Circle({0.0, -15.0}, 3.4)}, swfkit::Color{255, 140, 40, 255}});
    return flower;
}

Drawing TopHat(const CreatureDesign& d) {
    const Drawing hat{{{art::RoundedRectangle(-13.0, -1.5, 13.0, 2.5, 2.0)}, d.decoration},
                      {{art::RoundedRectangle(-8.5, -21.0, 8.5, 0.0, 1.5)}, d.decoration},
                      {{art::Rectangle(-8.5, -7.5, 8.5, -3.5)}, kHatBand},
                      {{art::Rectangle(-6.5, -19.0, -4.5, -9.0)}, art::Shade(d.decoration, 0.3)}};
    return Placed(hat, 0.0, 0.0, -0.18);
}

// A springy stalk with a shining bobble on its end.
Drawing Antenna(const CreatureDesign& d) {
    const Contour stalk = Band(Sampled(
                                   0.0, 2.5, [](double x) { return 4.0 - 8.0 * x; }, 6),
                               1.8);
    return {{{stalk}, kRim},
            {{art::Circle({2.5, -18.5}, 5.0)}, art::Shade(d.decoration, -0.3)},
            {{art::Circle({2.5, -18.5}, 3.8)}, d.decoration},
            {{art::Circle({1.2, -20.0}, 1.2)}, kWhite}};
}

// Two curved horns leaning outwards.
Drawing Horns(const CreatureDesign& d) {
    Drawing horns;
    for (double side : {-1.0, 1.0}) {
        const Contour horn = {{side * 4.0, 4.0},    {side * 12.0, 4.0},  {side * 14.0, -4.0},
                              {side * 17.0, -13.0}, {side * 12.0, -7.0}, {side * 7.0, -2.0}};
        horns.push_back({{horn}, d.decoration});
        horns.push_back({{Band({{side * 13.0, -3.0}, {side * 15.5, -10.0}}, 1.2)}, art::Shade(d.decoration, 0.45)});
    }
    return horns;
}

// A golden crown of three points, with a jewel under each.
Drawing Crown(const CreatureDesign& d) {
    const Contour crown = {{-12.0, 4.0}, {12.0, 4.0},  {13.0, -12.0}, {7.0, -5.0},
                           {0.0, -15.0}, {-7.0, -5.0}, {-13.0, -12.0}};
    Drawing drawn{{{crown}, swfkit::Color{255, 200, 40, 255}},
                  {{art::Rectangle(-12.0, -1.0, 12.0, 4.0)}, swfkit::Color{230, 160, 30, 255}}};
    drawn.push_back(
        {{art::Circle({-7.0, 1.5}, 1.8), art::Circle({0.0, 1.5}, 2.2), art::Circle({7.0, 1.5}, 1.8)}, d.decoration});
    for (const Point& tip : {Point{-13.0, -12.0}, Point{0.0, -15.0}, Point{13.0, -12.0}}) {
        drawn.push_back({{art::Circle(tip, 1.9)}, kWhite});
    }
    return drawn;
}

std::vector<Point> EyeCentres(const CreatureDesign& d) {
    return {{-d.eyeSpacing / 2.0, kEyesRaise}, {d.eyeSpacing / 2.0, kEyesRaise}};
}

Drawing Brows(const CreatureDesign& d) {
    std::vector<Contour> brows;
    for (const Point& eye : EyeCentres(d)) {
        const double side = eye.x < 0.0 ? -1.0 : 1.0;
        const Point outer{eye.x + side * (d.eyeWidth + 1.5), eye.y - d.eyeHeight - 5.5};
        const Point inner{eye.x - side * 0.6 * d.eyeWidth, eye.y - d.eyeHeight + 0.5};
        brows.push_back(Band({outer, inner}, 3.6));
    }
    return {{brows, swfkit::Color{70, 35, 20, 255}}};
}

Drawing Lashes(const CreatureDesign& d) {
    std::vector<Contour> lashes;
    for (const Point& eye : EyeCentres(d)) {
        const double side = eye.x < 0.0 ? -1.0 : 1.0;
        for (int i = 0; i < 3; ++i) {
            const double angle = -kPi / 2.0 + side * (0.55 + 0.3 * i);
            const Point root{eye.x + d.eyeWidth * std::cos(angle), eye.y + d.eyeHeight * std::sin(angle)};
            const Point tip{root.x + 4.5 * std::cos(angle), root.y + 4.5 * std::sin(angle)};
            lashes.push_back(Band({root, tip}, 1.3));
        }
    }
    return {{lashes, kInk}};
}

Drawing Glasses(const CreatureDesign& d) {
    const double radius = std::max(d.eyeWidth, d.eyeHeight) + 3.5;
    const std::vector<Point> eyes = EyeCentres(d);
    const double gap = d.eyeSpacing / 2.0 - radius + 1.0;
    const Contour bridge =
        Band(Sampled(
                 -gap, gap, [&](double x) { return kEyesRaise - 2.0 - 0.04 * (gap * gap - x * x); }, 6),
             1.8);
    const swfkit::Color lens{220, 240, 255, 70};
    Drawing glasses{{{art::Circle(eyes[0], radius - 1.8), art::Circle(eyes[1], radius - 1.8)}, lens}};
    // Each ring a shape of its own: a ring is its circle with the inner circle as a hole.
    for (const Point& eye : eyes) {
        glasses.push_back({{art::Circle(eye, radius), art::Circle(eye, radius - 1.8)}, d.decoration});
    }
    glasses.push_back({{bridge}, d.decoration});
    return glasses;
}

// The skin of the portrait: the body in its own colour made opaque, edged in black.
Drawing Body(const CreatureDesign& d, double rx, double ry) {
    swfkit::Color body = d.body;
    body.a = 255;
    return {{{art::Ellipse({0.0, 0.0}, rx + 2.0, ry + 2.0)}, swfkit::Color{0, 0, 0, 255}},
            {{art::Ellipse({0.0, 0.0}, rx, ry)}, body}};
}

Drawing EyeInPortrait(const CreatureDesign& d, const Point& at, double lookX) {
    Drawing eye = Placed(Eyeball(d), at.x, at.y);
    Append(eye, Placed(Pupil(d), at.x + lookX, at.y + 1.0));
    return eye;
}

}  // namespace

Drawing Eyeball(const CreatureDesign& d) {
    return {{{art::Ellipse({0.0, 0.0}, d.eyeWidth + kRimWidth, d.eyeHeight + kRimWidth)}, kRim},
            {{art::Ellipse({0.0, 0.0}, d.eyeWidth, d.eyeHeight)}, kWhite}};
}

Drawing EyeRim(const CreatureDesign& d) {
    return {{{art::Ellipse({0.0, 0.0}, d.eyeWidth + kRimWidth, d.eyeHeight + kRimWidth),
              art::Ellipse({0.0, 0.0}, d.eyeWidth - 0.4, d.eyeHeight - 0.4)},
             kRim}};
}

Drawing Pupil(const CreatureDesign& d) {
    const double p = d.pupilRadius;
    const double iris = std::min(1.6 * p, d.eyeWidth + kRimWidth - kPupilRange - 0.2);
    return {{{art::Circle({0.0, 0.0}, iris)}, d.iris},
            {{art::Circle({0.0, 0.0}, p)}, kPupil},
            {{art::Circle({-0.4 * p, -0.45 * p}, 0.35 * p)}, kWhite}};
}

Drawing Lid(const CreatureDesign& d, double closed) {
    const double rx = d.eyeWidth + kRimWidth;
    const double ry = d.eyeHeight + kRimWidth;
    const double edge = -ry + 2.0 * ry * closed;
    const Contour lid = Above(art::Ellipse({0.0, 0.0}, rx, ry), edge);
    const Contour rim = Above(art::Ellipse({0.0, 0.0}, rx, ry), std::min(edge + 1.2, ry));
    return {{{rim}, kRim}, {{lid}, d.lid}};
}

Drawing Mouth(const CreatureDesign& d, MouthPose pose) {
    const double w = d.mouthWidth;
    switch (pose) {
    case MouthPose::kOpen: return OpenMouth(d, 0.8 * w);
    case MouthPose::kHalfOpen: return OpenMouth(d, 0.35 * w);
    case MouthPose::kClosed:
        return {
            {{Band(Sampled(-w, w, [w](double x) { return -1.5 + 0.3 * w * (1.0 - x * x / (w * w)); }), 2.4)}, d.lid}};
    case MouthPose::kPursed: return RoundMouth(d, 0.3 * w, 0.3 * w);
    case MouthPose::kWide: return RoundMouth(d, 0.6 * w, 0.75 * w);
    }
    return {};
}

Drawing SkinDecoration(const CreatureDesign& d) {
    switch (d.skin) {
    case SkinDecoration::kBubbles: return Bubble(d);
    case SkinDecoration::kRays: return Ray(d);
    case SkinDecoration::kNone: break;
    }
    return {};
}

Drawing TopDecoration(const CreatureDesign& d) {
    switch (d.top) {
    case TopDecoration::kSprout: return Sprout();
    case TopDecoration::kMohawk: return Mohawk(d);
    case TopDecoration::kFlower: return Flower(d);
    case TopDecoration::kTopHat: return TopHat(d);
    case TopDecoration::kAntenna: return Antenna(d);
    case TopDecoration::kHorns: return Horns(d);
    case TopDecoration::kCrown: return Crown(d);
    case TopDecoration::kNone: break;
    }
    return {};
}

Drawing EyesDecoration(const CreatureDesign& d) {
    switch (d.eyes) {
    case EyesDecoration::kBrows: return Brows(d);
    case EyesDecoration::kLashes: return Lashes(d);
    case EyesDecoration::kGlasses: return Glasses(d);
    case EyesDecoration::kNone: break;
    }
    return {};
}

Drawing Portrait(const CreatureDesign& d) {
    const double rx = 30.0;
    const double ry = 36.0;
    Drawing face;
    const Drawing skin = SkinDecoration(d);
    for (int i = 0; i < 28 && !skin.empty(); ++i) {
        const double angle = 2.0 * kPi * i / 28.0;
        Append(face, Placed(skin, (rx + 1.0) * std::cos(angle), (ry + 1.0) * std::sin(angle), angle - kPi / 2.0));
    }
    Append(face, Body(d, rx, ry));
    Append(face, Placed(TopDecoration(d), 0.0, -ry + 1.0));
    const std::vector<Point> eyes = EyeCentres(d);
    Append(face, EyeInPortrait(d, eyes[0], 2.0));
    Append(face, EyeInPortrait(d, eyes[1], -2.0));
    Append(face, EyesDecoration(d));
    Append(face, Placed(Mouth(d, MouthPose::kOpen), 0.0, 14.0));
    return face;
}

}  // namespace creature_art
