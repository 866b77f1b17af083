#include "game/SvgOutline.h"

#include "app/Log.h"
#include "game/FiniteValues.h"

#include <tinyxml.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Eight SVG pixels make one world unit.
constexpr float kUnitsPerPixel = 0.125f;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Skips leading white space and a sign, as the C library's number readers do.
const char* SkipSpaceAndSign(const char* p, bool& negative) {
    while (IsSpace(*p)) {
        ++p;
    }
    negative = *p == '-';
    return *p == '+' || *p == '-' ? p + 1 : p;
}

// Reads a number the way scanf's "%f" does (leading white space, a sign, decimal digits with an
// exponent, "inf", "nan"), whatever the process locale. Returns the position after it, or null
// when the text holds no number there. Numbers beyond a float's range become infinite or zero.
const char* ScanNumber(const char* p, float& value) {
    bool negative = false;
    p = SkipSpaceAndSign(p, negative);
    double wide = 0.0;
    const auto [end, ec] = std::from_chars(p, p + std::strlen(p), wide, std::chars_format::general);
    if (ec == std::errc::invalid_argument) {
        return nullptr;
    }
    if (ec == std::errc::result_out_of_range) {
        const char* e = p;
        while (e < end && *e != 'e' && *e != 'E') {
            ++e;
        }
        wide = (e + 1 < end && e[1] == '-') ? 0.0 : std::numeric_limits<double>::infinity();
    }
    float magnitude = std::fabs(wide) > std::numeric_limits<float>::max() ? std::numeric_limits<float>::infinity()
                                                                          : static_cast<float>(std::fabs(wide));
    if (std::isnan(wide)) {
        magnitude = std::numeric_limits<float>::quiet_NaN();
    }
    value = negative ? -magnitude : magnitude;
    return end;
}

// Reads "x,y" at p as scanf's "%f,%f" does; false unless both numbers are there.
bool ScanPair(const char* p, b2Vec2& pair) {
    p = ScanNumber(p, pair.x);
    if (p == nullptr || *p != ',') {
        return false;
    }
    return ScanNumber(p + 1, pair.y) != nullptr;
}

// Reads count numbers written "(n1,n2,...)" right after the text `name` at p.
bool ScanCall(const char* p, const char* name, float* numbers, int count) {
    const size_t length = std::strlen(name);
    if (std::strncmp(p, name, length) != 0) {
        return false;
    }
    p += length;
    for (int i = 0; i < count; ++i) {
        if (*p != (i == 0 ? '(' : ',')) {
            return false;
        }
        p = ScanNumber(p + 1, numbers[i]);
        if (p == nullptr) {
            return false;
        }
    }
    return true;
}

const char* AttributeOf(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return value != nullptr ? value : "";
}

bool IsElement(const TiXmlElement& element, const char* name) {
    return element.ValueStr() == name;
}

// Where the drawing's point p lands in body units, about the drawing's centre.
b2Vec2 ToBody(const b2Vec2& p, const b2Vec2& shift, const b2Vec2& centre) {
    return finite_values::Position(
        b2Vec2((p.x + shift.x - centre.x) * kUnitsPerPixel, (p.y + shift.y - centre.y) * kUnitsPerPixel));
}

SvgOutline::Path ReadPath(const TiXmlElement& element, const b2Vec2& groupTranslation, const std::string& file) {
    SvgOutline::Path path;
    path.groupTranslation = groupTranslation;
    path.pathTranslation = SvgOutline::ReadPathTranslation(AttributeOf(element, "transform"));
    const char* type = element.Attribute("sodipodi:type");
    if (type == nullptr) {
        bool truncated = false;
        path.points = SvgOutline::ReadPathPoints(AttributeOf(element, "d"), &truncated);
        if (truncated) {
            log_error("SvgOutline: a path of %s has more than %d points; the rest is left out", file.c_str(),
                      SvgOutline::kMaxPathPoints);
        }
    } else if (std::strcmp(type, "arc") == 0) {
        path.kind = FixtureData::kCircle;
        const float radius = SvgOutline::ReadNumber(AttributeOf(element, "sodipodi:rx")) * kUnitsPerPixel;
        path.radius = finite_values::Coordinate(radius);
        path.points.emplace_back(SvgOutline::ReadNumber(AttributeOf(element, "sodipodi:cx")),
                                 SvgOutline::ReadNumber(AttributeOf(element, "sodipodi:cy")));
    }
    if (std::strstr(AttributeOf(element, "style"), "fill:#00ff00") != nullptr) {
        path.green = 1;
    }
    return path;
}

}  // namespace

SvgOutline::Drawing SvgOutline::Read(const TiXmlElement& svg, const std::string& file) {
    Drawing drawing;
    drawing.centre = b2Vec2(0.5f * static_cast<float>(ReadWholeNumber(svg.Attribute("width"))),
                            0.5f * static_cast<float>(ReadWholeNumber(svg.Attribute("height"))));
    for (const TiXmlElement* group = svg.FirstChildElement(); group != nullptr; group = group->NextSiblingElement()) {
        if (!IsElement(*group, "g")) {
            continue;
        }
        const b2Vec2 translation = ReadGroupTranslation(AttributeOf(*group, "transform"));
        for (const TiXmlElement* path = group->FirstChildElement(); path != nullptr;
             path = path->NextSiblingElement()) {
            if (IsElement(*path, "path")) {
                drawing.paths.push_back(ReadPath(*path, translation, file));
            }
        }
    }
    return drawing;
}

FixtureData SvgOutline::Place(const Drawing& drawing, const Path& path, const b2Vec2& offset) {
    FixtureData fixture;
    fixture.m_Kind = path.kind;
    fixture.m_Green = path.green;
    fixture.m_Radius = path.radius;
    const b2Vec2 shift = offset + path.groupTranslation + path.pathTranslation;
    for (const b2Vec2& point : path.points) {
        fixture.m_Vertices.emplace_back(ToBody(point, shift, drawing.centre));
    }
    return fixture;
}

std::vector<b2Vec2> SvgOutline::ReadPathPoints(const std::string& d, bool* truncated) {
    std::vector<b2Vec2> points;
    if (truncated != nullptr) {
        *truncated = false;
    }
    if (d.size() < 5) {
        return points;
    }
    // Without the leading move command and its blank, and the trailing blank and close command.
    const std::string list = d.substr(2, d.size() - 4);
    size_t start = 0;
    while (start < list.size()) {
        const size_t blank = list.find(' ', start);
        const size_t end = blank == std::string::npos ? list.size() : blank;
        if (end > start) {
            b2Vec2 point;
            if (!ScanPair(list.substr(start, end - start).c_str(), point)) {
                break;
            }
            if (static_cast<int>(points.size()) == kMaxPathPoints) {
                if (truncated != nullptr) {
                    *truncated = true;
                }
                break;
            }
            points.push_back(point);
        }
        start = end + 1;
    }
    return points;
}

b2Vec2 SvgOutline::ReadGroupTranslation(const char* transform) {
    float numbers[2] = {};
    if (transform == nullptr || !ScanCall(transform, "translate", numbers, 2)) {
        return b2Vec2(0.0f, 0.0f);
    }
    return b2Vec2(numbers[0], numbers[1]);
}

b2Vec2 SvgOutline::ReadPathTranslation(const char* transform) {
    if (transform == nullptr) {
        return b2Vec2(0.0f, 0.0f);
    }
    if (const char* at = std::strstr(transform, "translate")) {
        return ReadGroupTranslation(at);
    }
    float numbers[6] = {};
    const char* at = std::strstr(transform, "matrix");
    if (at == nullptr || !ScanCall(at, "matrix", numbers, 6)) {
        return b2Vec2(0.0f, 0.0f);
    }
    return b2Vec2(numbers[4], numbers[5]);
}

int SvgOutline::ReadWholeNumber(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    bool negative = false;
    text = SkipSpaceAndSign(text, negative);
    long long magnitude = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        magnitude = std::min<long long>(magnitude * 10 + (*text - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    const long long value = negative ? -magnitude : magnitude;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

float SvgOutline::ReadNumber(const char* text) {
    float value = 0.0f;
    return text != nullptr && ScanNumber(text, value) != nullptr ? value : 0.0f;
}
