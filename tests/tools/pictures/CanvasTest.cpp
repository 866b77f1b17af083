#include "tests/support/TempDir.h"
#include "tools/pictures/Canvas.h"
#include "tools/pictures/PngWriter.h"

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace {

using pictures::Canvas;
using pictures::Contour;
using pictures::Rgba;

const Rgba kClear{0, 0, 0, 0};

double Coverage(const Canvas& canvas) {
    double sum = 0.0;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            sum += canvas.At(x, y).a;
        }
    }
    return sum;
}

double Area(const Contour& contour) {
    double twice = 0.0;
    for (size_t i = 0; i < contour.size(); ++i) {
        const auto& a = contour[i];
        const auto& b = contour[(i + 1) % contour.size()];
        twice += a.x * b.y - b.x * a.y;
    }
    return std::fabs(twice) / 2.0;
}

TEST(Canvas, a_fill_covers_pixels_by_the_share_of_them_inside) {
    Canvas canvas(32, 32, kClear);
    canvas.Fill({{{10.25, 5}, {20.75, 5}, {20.75, 15}, {10.25, 15}}}, Rgba{1, 0, 0, 1});
    EXPECT_DOUBLE_EQ(canvas.At(15, 10).a, 1.0);
    EXPECT_DOUBLE_EQ(canvas.At(10, 10).a, 0.75);
    EXPECT_DOUBLE_EQ(canvas.At(20, 10).a, 0.75);
    EXPECT_DOUBLE_EQ(canvas.At(15, 4).a, 0.0);
    EXPECT_DOUBLE_EQ(canvas.At(15, 15).a, 0.0);
    EXPECT_DOUBLE_EQ(canvas.At(15, 10).r, 1.0);
    EXPECT_DOUBLE_EQ(Coverage(canvas), 10.5 * 10.0);
}

TEST(Canvas, contours_fill_by_the_even_odd_rule_whatever_their_direction) {
    for (bool sameWay : {true, false}) {
        Canvas canvas(20, 20, kClear);
        Contour hole = {{6, 6}, {14, 6}, {14, 14}, {6, 14}};
        if (!sameWay) {
            std::reverse(hole.begin(), hole.end());
        }
        canvas.Fill({{{2, 2}, {18, 2}, {18, 18}, {2, 18}}, hole}, Rgba{0, 0, 1, 1});
        EXPECT_EQ(canvas.At(10, 10).a, 0.0) << sameWay;
        EXPECT_EQ(canvas.At(4, 10).a, 1.0) << sameWay;
        EXPECT_DOUBLE_EQ(Coverage(canvas), 16.0 * 16.0 - 8.0 * 8.0);
    }
}

// Random triangles and their whole coverage: what the fill puts on the canvas is their area.
TEST(Canvas, the_coverage_of_random_triangles_adds_up_to_their_area) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> at(1.0, 63.0);
    for (int round = 0; round < 50; ++round) {
        Canvas canvas(64, 64, kClear);
        const Contour triangle = {{at(rng), at(rng)}, {at(rng), at(rng)}, {at(rng), at(rng)}};
        canvas.Fill({triangle}, Rgba{1, 1, 1, 1});
        EXPECT_NEAR(Coverage(canvas), Area(triangle), 0.02 * Area(triangle) + 1.0) << round;
    }
}

TEST(Canvas, shapes_lie_over_what_is_there_with_their_alpha) {
    Canvas canvas(4, 4, Rgba{1, 1, 1, 1});
    canvas.Fill({{{0, 0}, {4, 0}, {4, 4}, {0, 4}}}, Rgba{1, 0, 0, 0.5});
    const Rgba blended = canvas.At(1, 1);
    EXPECT_DOUBLE_EQ(blended.r, 1.0);
    EXPECT_DOUBLE_EQ(blended.g, 0.5);
    EXPECT_DOUBLE_EQ(blended.a, 1.0);
    // Over nothing, the colour keeps its own alpha; channels beyond 0..1 are clamped.
    Canvas empty(2, 2, kClear);
    empty.Paint([](double, double) { return Rgba{1.5, -0.2, 0.5, 0.5}; });
    EXPECT_DOUBLE_EQ(empty.At(0, 0).r, 1.0);
    EXPECT_DOUBLE_EQ(empty.At(0, 0).g, 0.0);
    EXPECT_DOUBLE_EQ(empty.At(0, 0).a, 0.5);
    const std::vector<uint8_t> bytes = empty.Bytes();
    EXPECT_EQ((std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4)), (std::vector<uint8_t>{255, 0, 128, 128}));
}

TEST(Canvas, halving_averages_blocks_by_their_alpha_and_drawing_places_a_picture) {
    Canvas canvas(4, 2, kClear);
    canvas.Fill({{{0, 0}, {1, 0}, {1, 1}, {0, 1}}}, Rgba{1, 0, 0, 1});
    canvas.Fill({{{2, 0}, {4, 0}, {4, 2}, {2, 2}}}, Rgba{0, 0, 1, 1});
    const Canvas half = canvas.Halved();
    ASSERT_EQ(half.Width(), 2);
    ASSERT_EQ(half.Height(), 1);
    EXPECT_DOUBLE_EQ(half.At(0, 0).a, 0.25);
    EXPECT_DOUBLE_EQ(half.At(0, 0).r, 1.0);  // a quarter-covered red pixel stays red
    EXPECT_DOUBLE_EQ(half.At(1, 0).b, 1.0);
    Canvas target(4, 4, Rgba{0, 1, 0, 1});
    target.Draw(half, 3, 3);
    EXPECT_DOUBLE_EQ(target.At(3, 3).r, 0.25);
    EXPECT_DOUBLE_EQ(target.At(2, 2).g, 1.0);
}

TEST(Canvas, a_written_png_reads_back_pixel_for_pixel) {
    Canvas canvas(5, 3, Rgba{0.2, 0.4, 0.6, 1});
    canvas.Fill({{{0, 0}, {2, 0}, {2, 3}, {0, 3}}}, Rgba{1, 1, 0, 0.5});
    testing_support::TempDir folder;
    const std::string file = (folder / "picture.png").string();
    ASSERT_TRUE(WritePng(file, 5, 3, canvas.Bytes()));
    EXPECT_FALSE(WritePng(file, 4, 3, canvas.Bytes()));
    sf::Image image;
    ASSERT_TRUE(image.loadFromFile(file));
    ASSERT_EQ(image.getSize(), sf::Vector2u(5, 3));
    const std::vector<uint8_t> bytes = canvas.Bytes();
    for (unsigned y = 0; y < 3; ++y) {
        for (unsigned x = 0; x < 5; ++x) {
            const sf::Color c = image.getPixel(x, y);
            const size_t at = (y * 5 + x) * 4;
            EXPECT_EQ((std::vector<int>{c.r, c.g, c.b, c.a}),
                      (std::vector<int>{bytes[at], bytes[at + 1], bytes[at + 2], bytes[at + 3]}));
        }
    }
}

}  // namespace
