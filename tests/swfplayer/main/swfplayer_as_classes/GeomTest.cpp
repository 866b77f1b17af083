#include "swfplayer/main/swfplayer_as_classes/as_color_transform.h"
#include "tests/swfplayer/main/swfplayer_as_classes/BuiltinTestKit.h"

#include <cmath>
#include <random>

using namespace builtin_test;

namespace {

using xy = std::pair<double, double>;

class GeomTest : public BuiltinFixture {
protected:
    xy coordinates(const as_value& point) { return {get(point, "x").to_number(), get(point, "y").to_number()}; }
    xy transformed(const as_value& matrix, double x, double y) {
        return coordinates(method(matrix, "transformPoint", {geom("Point", {x, y})}));
    }
};

TEST_F(GeomTest, points_add_subtract_and_normalize) {
    as_value p = geom("Point", {3, 4});
    EXPECT_EQ(get(p, "length").to_number(), 5.0);
    EXPECT_EQ(coordinates(geom("Point", {3})), xy(0, 0));  // one argument is ignored
    EXPECT_EQ(coordinates(method(p, "add", {geom("Point", {1, -1})})), xy(4, 3));
    EXPECT_EQ(coordinates(method(p, "subtract", {geom("Point", {1, -1})})), xy(2, 5));
    EXPECT_TRUE(method(p, "add", {"not a point"}).is_undefined());
    method(p, "normalize", {0});
    EXPECT_EQ(coordinates(p), xy(3, 4));
    method(p, "normalize", {10});
    EXPECT_EQ(coordinates(p), xy(6, 8));
    // A point at the origin has no direction and stays there.
    as_value origin = geom("Point", {0, 0});
    method(origin, "normalize", {10});
    EXPECT_EQ(coordinates(origin), xy(0, 0));
    // x and y are written as floats; other names are ordinary members.
    p.to_object()->set_member("X", 0.1);
    p.to_object()->set_member("label", "here");
    EXPECT_EQ(get(p, "x").to_number(), static_cast<double>(0.1f));
    EXPECT_STREQ(get(p, "label").to_string(), "here");
}

xy rotated(xy p, double angle) {
    return {p.first * std::cos(angle) - p.second * std::sin(angle),
            p.first * std::sin(angle) + p.second * std::cos(angle)};
}

// Matrices against a model that moves a point through each operation in the order applied.
TEST_F(GeomTest, matrix_operations_apply_after_the_existing_transform) {
    EXPECT_EQ(transformed(geom("Matrix", {2}), 1, 1), xy(2, 1));
    // Values outside the float range are stored as 0.
    EXPECT_EQ(transformed(geom("Matrix", {NAN, 0, 0, 1, 1e300, 5}), 3, 3), xy(0, 8));
    // A clone is a matrix of its own; inverting it leaves the original.
    as_value original = geom("Matrix", {2, 0, 0, 4, 10, 20});
    as_value inverse = method(original, "clone", {});
    method(inverse, "invert", {});
    EXPECT_EQ(transformed(inverse, 12, 24), xy(1, 1));
    EXPECT_EQ(transformed(original, 1, 1), xy(12, 24));
    // Six values in argument order: a, b, c, d, tx, ty.
    EXPECT_EQ(transformed(geom("Matrix", {1, 2, 3, 4, 5, 6, 7}), 1, 10), xy(26, 49));

    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-3, 3);
    for (int round = 0; round < 50; round++) {
        as_value matrix = geom("Matrix", {});
        const xy start(value(random), value(random));
        xy expected = start;
        for (int step = 0; step < 6; step++) {
            double a = value(random), b = value(random);
            switch (random() % 4) {
            case 0:
                method(matrix, "translate", {a, b});
                expected = {expected.first + a, expected.second + b};
                break;
            case 1:
                method(matrix, "rotate", {a});
                expected = rotated(expected, a);
                break;
            case 2:
                method(matrix, "scale", {a, b});
                expected = {expected.first * a, expected.second * b};
                break;
            default:  // a rotation by b, then a move by a along x
                method(matrix, "concat", {geom("Matrix", {std::cos(b), -std::sin(b), std::sin(b), std::cos(b), a, 0})});
                expected = rotated(expected, b);
                expected.first += a;
            }
        }
        xy got = transformed(matrix, start.first, start.second);
        double tolerance = 1e-3 * (1 + std::abs(expected.first) + std::abs(expected.second));
        EXPECT_NEAR(got.first, expected.first, tolerance) << round;
        EXPECT_NEAR(got.second, expected.second, tolerance) << round;
    }
}

TEST_F(GeomTest, color_transforms_store_eight_values_and_rgb_makes_a_plain_colour) {
    const char* names[8] = {"redMultiplier", "greenMultiplier", "blueMultiplier", "alphaMultiplier",
                            "redOffset",     "greenOffset",     "blueOffset",     "alphaOffset"};
    as_value rgb = geom("ColorTransform", {});
    rgb.to_object()->set_member("RGB", 0xFF8000);
    const std::pair<as_value, std::vector<double>> cases[] = {
        {geom("ColorTransform", {}), {1, 1, 1, 1, 0, 0, 0, 0}},
        {geom("ColorTransform", {0.5, 0.25}), {0.5, 0.25, 1, 1, 0, 0, 0, 0}},
        {geom("ColorTransform", {1, 1, 1, 1, 255, 0, 0, 0}), {1, 1, 1, 1, 255, 0, 0, 0}},
        {geom("ColorTransform", {1, 2, 3, 4, 5, 6, 7, 8, 9}), {1, 1, 1, 1, 0, 0, 0, 0}},  // more than 8
        {geom("ColorTransform", {NAN, INFINITY, -1e40}), {0, 0, 0, 1, 0, 0, 0, 0}},
        {rgb, {0, 0, 0, 0, 255, 128, 0, 255}}};
    for (const auto& [transform, values] : cases) {
        for (int i = 0; i < 8; i++) {
            EXPECT_EQ(get(transform, names[i]).to_number(), values[i]) << names[i] << " of " << values[4];
        }
    }
    EXPECT_TRUE(get(rgb, "rgb").is_undefined());
    rgb.to_object()->set_member("blueoffset", 300);
    EXPECT_EQ(static_cast<as_color_transform*>(rgb.to_object())->m_cxform.m[2][1], 300.0f);

    as_value events = get(global("flash"), "Events");
    EXPECT_TRUE(events.to_object()->is(AS_EVENT));
    as_value mouse = get(events, "MouseEvent");
    EXPECT_TRUE(mouse.to_object()->is(AS_MOUSE_EVENT) && !mouse.to_object()->is(AS_EVENT));
    EXPECT_STREQ(get(mouse, "CLICK").to_string(), "click");
}

}  // namespace
