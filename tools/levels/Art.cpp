#include "tools/levels/Art.h"

#include "tools/swfkit/ShapeBuilder.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace art {

namespace {

constexpr double kTwips = 20.0;

// Enough segments that a circle's edge stays within a tenth of a pixel of the true curve.
int SegmentsFor(double radius) {
    return std::clamp(static_cast<int>(std::ceil(std::numbers::pi / std::acos(1.0 - 0.1 / std::max(radius, 0.2)))), 12,
                      96);
}

// Twice the signed area in screen terms: positive for a contour running clockwise on screen.
double ScreenArea(const Contour& contour) {
    double sum = 0.0;
    for (size_t i = 0; i < contour.size(); ++i) {
        const Point& a = contour[i];
        const Point& b = contour[(i + 1) % contour.size()];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum;
}

// How many of the other contours enclose this one: even for outlines, odd for holes.
int Depth(const std::vector<Contour>& contours, size_t index) {
    int depth = 0;
    for (size_t i = 0; i < contours.size(); ++i) {
        if (i != index && !contours[index].empty() && Inside(contours[index].front(), contours[i])) {
            ++depth;
        }
    }
    return depth;
}

int32_t Twips(double pixels) {
    return static_cast<int32_t>(std::lround(pixels * kTwips));
}

}  // namespace

bool Inside(const Point& p, const Contour& contour) {
    bool inside = false;
    for (size_t i = 0, j = contour.size() - 1; i < contour.size(); j = i++) {
        const Point& a = contour[i];
        const Point& b = contour[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

Point Placement::Apply(const Point& p) const {
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    return {offset.x + scale * (c * p.x - s * p.y), offset.y + scale * (s * p.x + c * p.y)};
}

swfkit::Matrix MatrixAt(double x, double y, double scaleX, double scaleY, double angle) {
    swfkit::Matrix matrix;
    matrix.scaleX = scaleX * std::cos(angle);
    matrix.scaleY = scaleY * std::cos(angle);
    matrix.rotate0 = scaleX * std::sin(angle);
    matrix.rotate1 = -scaleY * std::sin(angle);
    matrix.translateX = Twips(x);
    matrix.translateY = Twips(y);
    return matrix;
}

swfkit::Color Rgb(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    return {r, g, b, a};
}

swfkit::Color Shade(const swfkit::Color& color, double amount) {
    auto channel = [amount](uint8_t c) {
        const double target = amount < 0.0 ? 0.0 : 255.0;
        return static_cast<uint8_t>(std::lround(c + (target - c) * std::fabs(amount)));
    };
    return {channel(color.r), channel(color.g), channel(color.b), color.a};
}

pictures::Rgba ToRgba(const swfkit::Color& color, double alphaScale) {
    return {color.r / 255.0, color.g / 255.0, color.b / 255.0, color.a / 255.0 * alphaScale};
}

Contour Ellipse(const Point& centre, double rx, double ry) {
    const int segments = SegmentsFor(std::max(rx, ry));
    Contour contour;
    for (int i = 0; i < segments; ++i) {
        const double angle = 2.0 * std::numbers::pi * i / segments;
        contour.push_back({centre.x + rx * std::cos(angle), centre.y + ry * std::sin(angle)});
    }
    return contour;
}

Contour Circle(const Point& centre, double radius) {
    return Ellipse(centre, radius, radius);
}

Contour Rectangle(double left, double top, double right, double bottom) {
    return {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
}

Contour RoundedRectangle(double left, double top, double right, double bottom, double radius) {
    radius = std::min({radius, (right - left) / 2.0, (bottom - top) / 2.0});
    const Point corners[4] = {{right - radius, top + radius},
                              {right - radius, bottom - radius},
                              {left + radius, bottom - radius},
                              {left + radius, top + radius}};
    const int steps = std::max(3, SegmentsFor(radius) / 4);
    Contour contour;
    for (int corner = 0; corner < 4; ++corner) {
        for (int i = 0; i <= steps; ++i) {
            const double angle = std::numbers::pi / 2.0 * (corner - 1 + static_cast<double>(i) / steps);
            contour.push_back(
                {corners[corner].x + radius * std::cos(angle), corners[corner].y + radius * std::sin(angle)});
        }
    }
    return contour;
}

Contour Placed(const Contour& contour, const Placement& placement) {
    Contour placed;
    placed.reserve(contour.size());
    for (const Point& p : contour) {
        placed.push_back(placement.Apply(p));
    }
    return placed;
}

Drawing Placed(const Drawing& drawing, const Placement& placement) {
    Drawing placed;
    for (const Shape& shape : drawing) {
        Shape moved{{}, shape.color};
        for (const Contour& contour : shape.contours) {
            moved.contours.push_back(Placed(contour, placement));
        }
        placed.push_back(std::move(moved));
    }
    return placed;
}

Contour Moved(const Contour& contour, double dx, double dy) {
    return Placed(contour, Placement{1.0, 0.0, {dx, dy}});
}

void Paint(const Drawing& drawing, const Placement& placement, pictures::Canvas& canvas, double alphaScale) {
    for (const Shape& shape : Placed(drawing, placement)) {
        canvas.Fill(shape.contours, ToRgba(shape.color, alphaScale));
    }
}

uint16_t ShapeWriter::Define(const Shape& shape, const Placement& placement) {
    swfkit::ShapeBuilder builder;
    builder.SetFillStyle1(builder.AddFillStyle(swfkit::FillStyle::Solid(shape.color)));
    std::vector<Contour> contours;
    for (const Contour& contour : shape.contours) {
        contours.push_back(Placed(contour, placement));
    }
    for (size_t i = 0; i < contours.size(); ++i) {
        Contour contour = contours[i];
        if (contour.size() < 3) {
            continue;
        }
        const bool hole = Depth(contours, i) % 2 == 1;
        if ((ScreenArea(contour) > 0.0) == hole) {
            std::reverse(contour.begin(), contour.end());
        }
        builder.MoveTo(Twips(contour.front().x), Twips(contour.front().y));
        for (size_t p = 1; p < contour.size(); ++p) {
            builder.LineTo(Twips(contour[p].x), Twips(contour[p].y));
        }
        builder.LineTo(Twips(contour.front().x), Twips(contour.front().y));
    }
    const uint16_t id = m_NextId++;
    m_Tags.DefineShape(id, builder, 3);
    return id;
}

uint16_t ShapeWriter::Place(const Drawing& drawing, swfkit::TagList& timeline, uint16_t firstDepth,
                            const Placement& placement) {
    uint16_t depth = firstDepth;
    for (const Shape& shape : drawing) {
        swfkit::Placement place;
        place.depth = depth++;
        place.characterId = Define(shape, placement);
        timeline.PlaceObject2(place);
    }
    return depth;
}

}  // namespace art
