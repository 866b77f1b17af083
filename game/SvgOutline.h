#pragma once

#include "game/LevelData.h"

#include <box2d/b2_math.h>

#include <cstdint>
#include <string>
#include <vector>

class TiXmlElement;

// Body outlines read from an SVG drawing, in the small subset that level drawings use:
// - the root's "width" and "height" (whole numbers) place the drawing's centre on the body origin;
// - only the root's own "g" elements count, each with an optional "translate(x,y)" transform;
// - their own "path" elements become fixtures: a polygon from the point list of "d" (written as
//   "M x,y x,y ... z", absolute), or a circle for a "sodipodi:type" of "arc"; a path may carry a
//   "translate(x,y)" or "matrix(a,b,c,d,x,y)" transform, of which only the translation applies;
// - a path styled "fill:#00ff00" gives a green fixture, which never makes path-finding walls.
// Eight SVG pixels make one unit; no axis is flipped. Every number is made finite and every point
// kept within 1,000 units of the origin.
class SvgOutline {
public:
    // The most points a polygon path gives; the rest of a longer path is left out (logged).
    static constexpr int kMaxPathPoints = 256;

    // One path as the drawing holds it: a polygon's points, or a circle's centre, in drawing
    // pixels before any translation; the translations of its group and its own; a circle's radius
    // in units. A path of another shape type is a polygon without points.
    struct Path {
        int32_t kind = FixtureData::kPolygon;
        int32_t green = 0;
        b2Vec2 groupTranslation{0.0f, 0.0f};
        b2Vec2 pathTranslation{0.0f, 0.0f};
        std::vector<b2Vec2> points;
        float radius = 0.0f;
    };
    // The paths of a drawing in document order, and the drawing's centre.
    struct Drawing {
        b2Vec2 centre{0.0f, 0.0f};
        std::vector<Path> paths;
    };

    // The paths of a parsed drawing (its root element); file names the drawing in log lines.
    static Drawing Read(const TiXmlElement& svg, const std::string& file);
    // The fixture of one path of the drawing on a body, every SVG coordinate moved by offset
    // first.
    static FixtureData Place(const Drawing& drawing, const Path& path, const b2Vec2& offset);

    // The points of a path's "d": nothing for a text below 5 characters; otherwise the text
    // without its first two and last two characters, split at blanks, read pair by pair as
    // "x,y" up to the first piece that is not such a pair, at most kMaxPathPoints of them.
    // truncated (when given) tells whether points were left out.
    static std::vector<b2Vec2> ReadPathPoints(const std::string& d, bool* truncated = nullptr);
    // The two numbers of a text that starts with "translate(x,y)"; (0, 0) for any other text.
    static b2Vec2 ReadGroupTranslation(const char* transform);
    // A path's translation: from "translate(x,y)" when the text holds "translate", else the
    // last two numbers of "matrix(a,b,c,d,x,y)" when it holds "matrix", else (0, 0).
    static b2Vec2 ReadPathTranslation(const char* transform);
    // A whole number in decimal text as the C library reads one (leading blanks, a sign, the
    // digits up to the first other character), saturated at the limits of int; 0 for none.
    static int ReadWholeNumber(const char* text);
    // A number as scanf's "%f" reads one at the start of the text; 0 when there is none.
    static float ReadNumber(const char* text);
};
