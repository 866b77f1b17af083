#pragma once

#include <vector>

namespace testing_support {

// Outlines of one fill style as other SWF writers produce them, each ring a flat list x0, y0,
// x1, y1, ... within the box 0..100 (the spike reaches 150), closed implicitly, given
// counterclockwise (y up) or as drawn; the fill rule is even-odd whatever the directions.
struct EvenOddOutline {
    const char* name;
    std::vector<std::vector<float>> rings;
};

inline std::vector<float> Rectangle(float x0, float y0, float x1, float y1) {
    return {x0, y0, x1, y0, x1, y1, x0, y1};
}

inline const std::vector<EvenOddOutline>& EvenOddOutlines() {
    static const std::vector<EvenOddOutline> outlines = {
        {"square", {Rectangle(0, 0, 100, 100)}},
        {"square with a hole", {Rectangle(0, 0, 100, 100), Rectangle(30, 30, 70, 70)}},
        {"hole with an island", {Rectangle(0, 0, 100, 100), Rectangle(20, 20, 80, 80), Rectangle(40, 40, 60, 60)}},
        {"two squares apart", {Rectangle(0, 0, 40, 40), Rectangle(60, 60, 100, 100)}},
        {"five-point star crossing itself", {{50, 0, 79, 90, 2, 35, 98, 35, 21, 90}}},
        {"two overlapping squares", {Rectangle(0, 0, 60, 60), Rectangle(40, 40, 100, 100)}},
        {"a plus of two bars", {Rectangle(0, 40, 100, 60), Rectangle(40, 0, 60, 100)}},
        {"figure eight", {{0, 0, 100, 100, 100, 0, 0, 100}}},
        {"squares touching at a corner", {Rectangle(0, 0, 50, 50), Rectangle(50, 50, 100, 100)}},
        {"squares sharing an edge", {Rectangle(0, 0, 50, 100), Rectangle(50, 0, 100, 100)}},
        {"squares sharing part of an edge", {Rectangle(0, 0, 50, 60), Rectangle(50, 40, 100, 100)}},
        {"a hole touching its outline", {Rectangle(0, 0, 100, 100), {50, 0, 70, 50, 30, 50}}},
        {"the same square twice", {Rectangle(0, 0, 100, 100), Rectangle(0, 0, 100, 100)}},
        {"a spike folding back", {{0, 0, 100, 0, 100, 50, 150, 50, 100, 50, 100, 100, 0, 100}}},
        {"a ring of two points", {{0, 0, 100, 100}}},
        {"a hole crossing its outline", {Rectangle(0, 0, 100, 100), Rectangle(80, 30, 120, 70)}},
    };
    return outlines;
}

// The ring run the other way round.
inline std::vector<float> Reversed(const std::vector<float>& ring) {
    std::vector<float> out;
    for (size_t i = ring.size(); i >= 2; i -= 2) {
        out.insert(out.end(), {ring[i - 2], ring[i - 1]});
    }
    return out;
}

}  // namespace testing_support
