#include "game/ConvexPieces.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// A turn whose sine is below this counts as no turn at all.
constexpr double kStraightSine = 1.0e-4;

struct Point {
    double x;
    double y;
};

Point At(const b2Vec2& v) {
    return {v.x, v.y};
}

double Cross(const Point& a, const Point& b, const Point& c) {
    return (b.x - a.x) * (c.y - b.y) - (b.y - a.y) * (c.x - b.x);
}

double Distance(const Point& a, const Point& b) {
    return std::hypot(b.x - a.x, b.y - a.y);
}

// Whether a -> b -> c turns left (counter-clockwise) clearly, not just by rounding.
bool TurnsLeft(const Point& a, const Point& b, const Point& c) {
    return Cross(a, b, c) > kStraightSine * Distance(a, b) * Distance(b, c);
}

bool IsStraight(const Point& a, const Point& b, const Point& c) {
    return std::fabs(Cross(a, b, c)) <= kStraightSine * Distance(a, b) * Distance(b, c);
}

double SegmentPointDistance(const Point& p, const Point& a, const Point& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return Distance(p, {a.x + t * dx, a.y + t * dy});
}

bool SegmentsCross(const Point& a, const Point& b, const Point& c, const Point& d) {
    const double d1 = Cross(a, b, c);
    const double d2 = Cross(a, b, d);
    const double d3 = Cross(c, d, a);
    const double d4 = Cross(c, d, b);
    return ((d1 > 0.0) != (d2 > 0.0)) && ((d3 > 0.0) != (d4 > 0.0)) && d1 != 0.0 && d2 != 0.0 && d3 != 0.0 && d4 != 0.0;
}

// Closer than the welding distance anywhere, crossing included.
bool SegmentsMeet(const Point& a, const Point& b, const Point& c, const Point& d) {
    if (SegmentsCross(a, b, c, d)) {
        return true;
    }
    const double weld = ConvexPieces::kWeldDistance;
    return SegmentPointDistance(a, c, d) < weld || SegmentPointDistance(b, c, d) < weld ||
           SegmentPointDistance(c, a, b) < weld || SegmentPointDistance(d, a, b) < weld;
}

// Drops points that repeat their predecessor (within the welding distance) and points where the
// outline runs straight on (or folds straight back), until none is left.
std::vector<b2Vec2> Cleaned(const std::vector<b2Vec2>& outline) {
    std::vector<b2Vec2> points;
    for (const b2Vec2& v : outline) {
        if (points.empty() || Distance(At(points.back()), At(v)) >= ConvexPieces::kWeldDistance) {
            points.push_back(v);
        }
    }
    while (points.size() > 1 && Distance(At(points.back()), At(points.front())) < ConvexPieces::kWeldDistance) {
        points.pop_back();
    }
    bool changed = true;
    while (changed && points.size() >= 3) {
        changed = false;
        for (size_t i = 0; i < points.size() && points.size() >= 3; ++i) {
            const size_t n = points.size();
            if (IsStraight(At(points[(i + n - 1) % n]), At(points[i]), At(points[(i + 1) % n]))) {
                points.erase(points.begin() + static_cast<std::ptrdiff_t>(i));
                changed = true;
                --i;
            }
        }
    }
    return points;
}

bool IsSimple(const std::vector<b2Vec2>& points) {
    const size_t n = points.size();
    for (size_t i = 0; i < n; ++i) {
        const Point a = At(points[i]);
        const Point b = At(points[(i + 1) % n]);
        for (size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1) {
                continue;  // the first and the last edge share the first point
            }
            if (SegmentsMeet(a, b, At(points[j]), At(points[(j + 1) % n]))) {
                return false;
            }
        }
    }
    return true;
}

bool InsideOrOn(const Point& p, const Point& a, const Point& b, const Point& c) {
    return Cross(a, b, p) >= 0.0 && Cross(b, c, p) >= 0.0 && Cross(c, a, p) >= 0.0;
}

using Piece = std::vector<int>;

// Ear clipping of a simple counter-clockwise outline into triangles of its point indices; clear
// ears first, slivers only when nothing else is left. Empty when no ear is found (rounding).
std::vector<Piece> Triangles(const std::vector<b2Vec2>& points) {
    std::vector<int> left(points.size());
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] = static_cast<int>(i);
    }
    std::vector<Piece> triangles;
    while (left.size() > 3) {
        const size_t n = left.size();
        int chosen = -1;
        for (int pass = 0; pass < 2 && chosen < 0; ++pass) {
            for (size_t i = 0; i < n && chosen < 0; ++i) {
                const Point a = At(points[left[(i + n - 1) % n]]);
                const Point b = At(points[left[i]]);
                const Point c = At(points[left[(i + 1) % n]]);
                if (pass == 0 ? !TurnsLeft(a, b, c) : !(Cross(a, b, c) > 0.0)) {
                    continue;
                }
                bool empty = true;
                for (size_t k = 0; k < n && empty; ++k) {
                    if (k != i && k != (i + 1) % n && k != (i + n - 1) % n) {
                        empty = !InsideOrOn(At(points[left[k]]), a, b, c);
                    }
                }
                chosen = empty ? static_cast<int>(i) : -1;
            }
        }
        if (chosen < 0) {
            return {};
        }
        const size_t i = static_cast<size_t>(chosen);
        triangles.push_back({left[(i + n - 1) % n], left[i], left[(i + 1) % n]});
        left.erase(left.begin() + chosen);
    }
    triangles.push_back(left);
    return triangles;
}

std::vector<b2Vec2> PointsOf(const Piece& piece, const std::vector<b2Vec2>& points) {
    std::vector<b2Vec2> out;
    for (int index : piece) {
        out.push_back(points[index]);
    }
    return out;
}

// The union of two pieces that share the edge u -> v (in a) and v -> u (in b), when they do.
bool Joined(const Piece& a, const Piece& b, Piece& joined) {
    const size_t na = a.size();
    const size_t nb = b.size();
    for (size_t k = 0; k < na; ++k) {
        const int u = a[k];
        const int v = a[(k + 1) % na];
        for (size_t m = 0; m < nb; ++m) {
            if (b[m] == v && b[(m + 1) % nb] == u) {
                joined.clear();
                for (size_t i = 1; i <= na; ++i) {
                    joined.push_back(a[(k + i) % na]);  // from v round to u
                }
                for (size_t i = 2; i < nb; ++i) {
                    joined.push_back(b[(m + i) % nb]);  // b's points strictly between u and v
                }
                return true;
            }
        }
    }
    return false;
}

// Joins neighbouring pieces while the union stays convex and within Box2D's vertex limit.
void Merge(std::vector<Piece>& pieces, const std::vector<b2Vec2>& points) {
    Piece joined;
    for (size_t i = 0; i < pieces.size(); ++i) {
        for (size_t j = i + 1; j < pieces.size();) {
            if (pieces[i].size() + pieces[j].size() - 2 <= static_cast<size_t>(ConvexPieces::kMaxPieceVertices) &&
                Joined(pieces[i], pieces[j], joined) && ConvexPieces::IsConvex(PointsOf(joined, points))) {
                pieces[i] = joined;
                pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(j));
                j = i + 1;
            } else {
                ++j;
            }
        }
    }
}

}  // namespace

double ConvexPieces::SignedArea(const std::vector<b2Vec2>& outline) {
    double twice = 0.0;
    const size_t n = outline.size();
    for (size_t i = 0; i < n; ++i) {
        const Point a = At(outline[i]);
        const Point b = At(outline[(i + 1) % n]);
        twice += a.x * b.y - b.x * a.y;
    }
    return 0.5 * twice;
}

std::vector<b2Vec2> ConvexPieces::Oriented(const std::vector<b2Vec2>& polygon) {
    std::vector<b2Vec2> oriented = polygon;
    if (oriented.size() >= 3 && !(Cross(At(oriented[0]), At(oriented[1]), At(oriented[2])) > 0.0)) {
        std::reverse(oriented.begin(), oriented.end());
    }
    return oriented;
}

bool ConvexPieces::IsConvex(const std::vector<b2Vec2>& outline) {
    const size_t n = outline.size();
    if (n < 3) {
        return false;
    }
    const bool left = SignedArea(outline) > 0.0;
    for (size_t i = 0; i < n; ++i) {
        Point a = At(outline[(i + n - 1) % n]);
        const Point b = At(outline[i]);
        Point c = At(outline[(i + 1) % n]);
        if (!left) {
            std::swap(a, c);
        }
        if (!TurnsLeft(a, b, c)) {
            return false;
        }
    }
    return true;
}

ConvexPieces::Result ConvexPieces::Split(const std::vector<b2Vec2>& outline) {
    Result result;
    if (static_cast<int>(outline.size()) > kMaxPoints) {
        result.outcome = Outcome::kTooManyPoints;
        return result;
    }
    for (const b2Vec2& v : outline) {
        if (!v.IsValid()) {
            return result;
        }
    }
    std::vector<b2Vec2> points = Cleaned(outline);
    if (points.size() < 3) {
        return result;
    }
    if (!IsSimple(points)) {
        result.outcome = Outcome::kSelfCrossing;
        return result;
    }
    if (std::fabs(SignedArea(points)) < kMinArea) {
        return result;
    }
    if (points.size() <= static_cast<size_t>(kMaxPieceVertices) && IsConvex(points)) {
        result.outcome = Outcome::kWhole;
        result.pieces.push_back(points);
        return result;
    }
    if (SignedArea(points) < 0.0) {
        std::reverse(points.begin(), points.end());
    }
    std::vector<Piece> pieces = Triangles(points);
    Merge(pieces, points);
    for (const Piece& piece : pieces) {
        std::vector<b2Vec2> polygon = PointsOf(piece, points);
        // A sliver that Box2D's float arithmetic could see as a line is left out.
        if (SignedArea(polygon) >= kMinArea && IsConvex(polygon)) {
            result.pieces.push_back(std::move(polygon));
        }
    }
    result.outcome = result.pieces.empty() ? Outcome::kDegenerate : Outcome::kSplit;
    return result;
}
