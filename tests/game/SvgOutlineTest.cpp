#include "game/SvgOutline.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

namespace {

using Points = std::vector<b2Vec2>;

// The fixtures of a drawing given as text (offset (0, 0) unless given).
std::vector<FixtureData> Read(const std::string& svg, const b2Vec2& offset = b2Vec2(0.0f, 0.0f)) {
    TiXmlDocument document;
    document.Parse(svg.c_str());
    std::vector<FixtureData> fixtures;
    if (const TiXmlElement* root = document.RootElement()) {
        const SvgOutline::Drawing drawing = SvgOutline::Read(*root, "test.svg");
        for (const SvgOutline::Path& path : drawing.paths) {
            fixtures.push_back(SvgOutline::Place(drawing, path, offset));
        }
    }
    return fixtures;
}

// A drawing of the size with one group (of the transform) around the paths.
std::string Drawing(const std::string& paths, const std::string& group = "", const char* size = "16") {
    return std::string("<svg width=\"") + size + "\" height=\"" + size + "\"><g" +
           (group.empty() ? "" : " transform=\"" + group + "\"") + ">" + paths + "</g></svg>";
}

Points VerticesOf(const FixtureData& fixture) {
    return Points(fixture.m_Vertices.begin(), fixture.m_Vertices.end());
}

TEST(SvgOutline, paths_map_about_the_drawing_centre_at_eight_pixels_a_unit) {
    const struct {
        const char* what;
        std::string svg;
        b2Vec2 offset;
        Points vertices;
    } cases[] = {
        {"a plain path", Drawing("<path d=\"M 0,0 8,0 8,8 z\"/>"), {0, 0}, {{-1, -1}, {0, -1}, {0, 0}}},
        {"the body's offset", Drawing("<path d=\"M 0,0 8,0 8,8 z\"/>"), {8, -8}, {{0, -2}, {1, -2}, {1, -1}}},
        {"the group's translation",
         Drawing("<path d=\"M 0,0 8,0 8,8 z\"/>", "translate(4,-8)"),
         {0, 0},
         {{-0.5f, -2}, {0.5f, -2}, {0.5f, -1}}},
        {"a group transform of another form counts as none",
         Drawing("<path d=\"M 0,0 8,0 8,8 z\"/>", "scale(2)"),
         {0, 0},
         {{-1, -1}, {0, -1}, {0, 0}}},
        {"a path's translation",
         Drawing("<path transform=\"translate(8,16)\" d=\"M 0,0 8,0 8,8 z\"/>"),
         {0, 0},
         {{0, 1}, {1, 1}, {1, 2}}},
        {"a path's matrix moves without scaling",
         Drawing("<path transform=\"matrix(2,0,0,2,10,20)\" d=\"M 0,0 8,0 8,8 z\"/>"),
         {0, 0},
         {{0.25f, 1.5f}, {1.25f, 1.5f}, {1.25f, 2.5f}}},
        {"a command letter ends the points",
         Drawing("<path d=\"M 0,0 8,0 L 8,8 16,16 z\"/>"),
         {0, 0},
         {{-1, -1}, {0, -1}}},
        {"a piece that is no pair ends the points", Drawing("<path d=\"M 0,0 8 0,8 z\"/>"), {0, 0}, {{-1, -1}}},
        {"numbers in exponent form",
         Drawing("<path d=\"M 8e0,0 1.6e1,0 8,8 z\"/>"),
         {0, 0},
         {{0, -1}, {1, -1}, {0, 0}}},
        {"runs of blanks", Drawing("<path d=\"M   0,0  8,0 8,8 z\"/>"), {0, 0}, {{-1, -1}, {0, -1}, {0, 0}}},
        {"a d of four characters", Drawing("<path d=\"M z \"/>"), {0, 0}, {}},
        {"no d", Drawing("<path/>"), {0, 0}, {}},
        {"not-a-number and infinite points are 0",
         Drawing("<path d=\"M nan,8 inf,-inf 8,8 z\"/>"),
         {0, 0},
         {{0, 0}, {0, 0}, {0, 0}}},
        {"huge points stay within 1000 units",
         Drawing("<path d=\"M 1e30,-1e30 8,8 8,0 z\"/>"),
         {0, 0},
         {{1000, -1000}, {0, 0}, {0, -1}}},
        {"a drawing without a size has its centre at its corner",
         "<svg><g><path d=\"M 0,0 8,0 8,8 z\"/></g></svg>",
         {0, 0},
         {{0, 0}, {1, 0}, {1, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<FixtureData> fixtures = Read(c.svg, c.offset);
        ASSERT_EQ(fixtures.size(), 1u);
        EXPECT_EQ(fixtures[0].m_Kind, FixtureData::kPolygon);
        EXPECT_EQ(VerticesOf(fixtures[0]), c.vertices);
    }
}

TEST(SvgOutline, only_paths_of_the_roots_own_groups_count_in_document_order) {
    const std::string svg =
        "<svg width=\"16\" height=\"16\">"
        "<path d=\"M 0,0 8,0 8,8 z\"/>"
        "<g><path d=\"M 8,8 16,8 16,16 z\"/><rect/><g><path d=\"M 0,0 1,0 1,1 z\"/></g></g>"
        "<defs><path d=\"M 0,0 1,0 1,1 z\"/></defs>"
        "<g><path d=\"M 0,8 8,8 8,16 z\"/></g>"
        "</svg>";
    const std::vector<FixtureData> fixtures = Read(svg);
    ASSERT_EQ(fixtures.size(), 2u);
    EXPECT_EQ(VerticesOf(fixtures[0]), (Points{{0, 0}, {1, 0}, {1, 1}}));
    EXPECT_EQ(VerticesOf(fixtures[1]), (Points{{-1, 0}, {0, 0}, {0, 1}}));
}

TEST(SvgOutline, arcs_are_circles_and_other_shape_types_are_empty_polygons) {
    const std::string svg = Drawing(
        "<path sodipodi:type=\"arc\" sodipodi:cx=\"12\" sodipodi:cy=\"4\" sodipodi:rx=\"8\" sodipodi:ry=\"2\" "
        "transform=\"translate(4,0)\" d=\"M 0,0 8,0 8,8 z\"/>"
        "<path sodipodi:type=\"arc\"/>"
        "<path sodipodi:type=\"arc\" sodipodi:cx=\"nan\" sodipodi:cy=\"8\" sodipodi:rx=\"inf\"/>"
        "<path sodipodi:type=\"star\" d=\"M 0,0 8,0 8,8 z\"/>");
    const std::vector<FixtureData> fixtures = Read(svg);
    ASSERT_EQ(fixtures.size(), 4u);
    EXPECT_EQ(fixtures[0].m_Kind, FixtureData::kCircle);
    EXPECT_FLOAT_EQ(fixtures[0].m_Radius, 1.0f);  // the vertical radius is not read
    EXPECT_EQ(VerticesOf(fixtures[0]), (Points{{1.0f, -0.5f}}));
    EXPECT_EQ(fixtures[1].m_Kind, FixtureData::kCircle);  // missing attributes read as 0
    EXPECT_EQ(fixtures[1].m_Radius, 0.0f);
    EXPECT_EQ(VerticesOf(fixtures[1]), (Points{{-1, -1}}));
    EXPECT_EQ(fixtures[2].m_Radius, 0.0f);                 // an infinite radius is no radius
    EXPECT_EQ(VerticesOf(fixtures[2]), (Points{{0, 0}}));  // nor is a centre that is not a number
    EXPECT_EQ(fixtures[3].m_Kind, FixtureData::kPolygon);
    EXPECT_TRUE(fixtures[3].m_Vertices.empty());
}

TEST(SvgOutline, a_green_fill_anywhere_in_the_style_marks_the_fixture) {
    const std::string svg = Drawing(
        "<path style=\"stroke:none;fill:#00ff00;opacity:1\" d=\"M 0,0 8,0 8,8 z\"/>"
        "<path style=\"fill:#00FF00\" d=\"M 0,0 8,0 8,8 z\"/>"
        "<path style=\"fill:#00ff01\" d=\"M 0,0 8,0 8,8 z\"/>"
        "<path sodipodi:type=\"arc\" sodipodi:rx=\"8\" style=\"fill:#00ff00\"/>");
    const std::vector<FixtureData> fixtures = Read(svg);
    ASSERT_EQ(fixtures.size(), 4u);
    EXPECT_EQ(fixtures[0].m_Green, 1);
    EXPECT_EQ(fixtures[1].m_Green, 0);
    EXPECT_EQ(fixtures[2].m_Green, 0);
    EXPECT_EQ(fixtures[3].m_Green, 1);
}

// Path data of any length is read whole (no fixed buffer), up to the cap on points.
TEST(SvgOutline, long_paths_are_read_whole_up_to_the_point_cap) {
    std::string d = "M";
    int points = 0;
    while (d.size() < 2000) {
        d += " " + std::to_string(points) + ".25," + std::to_string(points % 7) + ".5";
        ++points;
    }
    bool truncated = true;
    const Points read = SvgOutline::ReadPathPoints(d + " z", &truncated);
    EXPECT_FALSE(truncated);
    ASSERT_EQ(read.size(), static_cast<size_t>(points));
    EXPECT_EQ(read.back(), b2Vec2(points - 1 + 0.25f, (points - 1) % 7 + 0.5f));

    std::string many = "M";
    for (int i = 0; i < SvgOutline::kMaxPathPoints + 40; ++i) {
        many += " " + std::to_string(i) + "," + std::to_string(i);
    }
    const Points capped = SvgOutline::ReadPathPoints(many + " z", &truncated);
    EXPECT_TRUE(truncated);
    EXPECT_EQ(capped.size(), static_cast<size_t>(SvgOutline::kMaxPathPoints));
}

TEST(SvgOutline, transforms_and_sizes_read_as_the_c_library_would) {
    EXPECT_EQ(SvgOutline::ReadGroupTranslation("translate(1.5,-2)"), b2Vec2(1.5f, -2.0f));
    EXPECT_EQ(SvgOutline::ReadGroupTranslation(" translate(1,2)"), b2Vec2(0, 0));
    EXPECT_EQ(SvgOutline::ReadGroupTranslation("translate(1)"), b2Vec2(0, 0));
    EXPECT_EQ(SvgOutline::ReadGroupTranslation("translate(1, 2)"), b2Vec2(1, 2));
    EXPECT_EQ(SvgOutline::ReadPathTranslation("rotate(3) translate(5,6)"), b2Vec2(5, 6));
    EXPECT_EQ(SvgOutline::ReadPathTranslation("matrix(1,2,3,4,5,6)"), b2Vec2(5, 6));
    EXPECT_EQ(SvgOutline::ReadPathTranslation("matrix(1,2,3,4,5)"), b2Vec2(0, 0));
    EXPECT_EQ(SvgOutline::ReadPathTranslation("scale(2)"), b2Vec2(0, 0));
    EXPECT_EQ(SvgOutline::ReadPathTranslation(nullptr), b2Vec2(0, 0));

    const struct {
        const char* text;
        int value;
    } sizes[] = {{"800", 800},
                 {" 600px", 600},
                 {"-12", -12},
                 {"+7", 7},
                 {"", 0},
                 {"abc", 0},
                 {"1e3", 1},
                 {"99999999999999", INT_MAX},
                 {"-99999999999999", INT_MIN}};
    for (const auto& size : sizes) {
        EXPECT_EQ(SvgOutline::ReadWholeNumber(size.text), size.value) << size.text;
    }
    EXPECT_EQ(SvgOutline::ReadWholeNumber(nullptr), 0);
    EXPECT_EQ(SvgOutline::ReadNumber(" -2.5e1x"), -25.0f);
    EXPECT_TRUE(std::isinf(SvgOutline::ReadNumber("1e999")));
    EXPECT_EQ(SvgOutline::ReadNumber("1e-999"), 0.0f);
    EXPECT_TRUE(std::isnan(SvgOutline::ReadNumber("nan")));
    EXPECT_EQ(SvgOutline::ReadNumber("x"), 0.0f);
}

// A drawing of the largest size still maps its points: sizes saturate instead of overflowing.
TEST(SvgOutline, huge_drawing_sizes_saturate) {
    const std::vector<FixtureData> fixtures =
        Read(Drawing("<path d=\"M 0,0 8,0 8,8 z\"/>", "", "999999999999999999999"));
    ASSERT_EQ(fixtures.size(), 1u);
    for (const Vec2Data& v : fixtures[0].m_Vertices) {
        EXPECT_EQ(v.x, -1000.0f);
        EXPECT_EQ(v.y, -1000.0f);
    }
}

}  // namespace
