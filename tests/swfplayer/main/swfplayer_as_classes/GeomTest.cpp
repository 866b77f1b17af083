#include "swfplayer/main/swfplayer_as_classes/as_color_transform.h"
#include "tests/swfplayer/main/swfplayer_as_classes/BuiltinTestKit.h"

#include <cmath>
#include <functional>
#include <random>

using namespace builtin_test;

namespace {

class GeomTest : public BuiltinFixture {
protected:
    as_value make(const char* class_name, const std::vector<as_value>& args) {
        return call(m_env, get(get(global("flash"), "geom"), class_name), as_value(), args);
    }
    std::pair<double, double> xy(const as_value& point) {
        return {get(point, "x").to_number(), get(point, "y").to_number()};
    }
    std::pair<double, double> transformed(const as_value& matrix, double x, double y) {
        return xy(method(matrix, "transformPoint", {make("Point", {x, y})}));
    }
};

TEST_F(GeomTest, points_add_subtract_and_normalize) {
    as_value p = make("Point", {3, 4});
    EXPECT_EQ(get(p, "length").to_number(), 5.0);
    EXPECT_EQ(xy(make("Point", {3})), std::make_pair(0.0, 0.0));  // one argument is ignored
    EXPECT_EQ(xy(method(p, "add", {make("Point", {1, -1})})), std::make_pair(4.0, 3.0));
    EXPECT_EQ(xy(method(p, "subtract", {make("Point", {1, -1})})), std::make_pair(2.0, 5.0));
    EXPECT_TRUE(method(p, "add", {"not a point"}).is_undefined());
    method(p, "normalize", {0});
    EXPECT_EQ(xy(p), std::make_pair(3.0, 4.0));
    method(p, "normalize", {10});
    EXPECT_EQ(xy(p), std::make_pair(6.0, 8.0));
    // A point at the origin has no direction and stays there.
    as_value origin = make("Point", {0, 0});
    method(origin, "normalize", {10});
    EXPECT_EQ(xy(origin), std::make_pair(0.0, 0.0));
    // x and y are written as floats; other names are ordinary members.
    p.to_object()->set_member("X", 0.1);
    p.to_object()->set_member("label", "here");
    EXPECT_EQ(get(p, "x").to_number(), static_cast<double>(0.1f));
    EXPECT_STREQ(get(p, "label").to_string(), "here");
}

// Matrices against a model that moves a point through each operation in the order applied.
TEST_F(GeomTest, matrix_operations_apply_after_the_existing_transform) {
    EXPECT_EQ(transformed(make("Matrix", {2}), 1, 1), std::make_pair(2.0, 1.0));
    as_value m = make("Matrix", {});
    method(m, "translate", {10, 0});
    method(m, "scale", {2, 2});
    EXPECT_EQ(transformed(m, 1, 0), std::make_pair(22.0, 0.0));
    // Values outside the float range are stored as 0.
    EXPECT_EQ(transformed(make("Matrix", {NAN, 0, 0, 1, 1e300, 5}), 3, 3), std::make_pair(0.0, 8.0));
    // A clone is a matrix of its own; inverting it leaves the original.
    as_value original = make("Matrix", {2, 0, 0, 4, 10, 20});
    as_value inverse = method(original, "clone", {});
    method(inverse, "invert", {});
    EXPECT_EQ(transformed(inverse, 12, 24), std::make_pair(1.0, 1.0));
    EXPECT_EQ(transformed(original, 1, 1), std::make_pair(12.0, 24.0));
    // Six values in argument order: a, b, c, d, tx, ty.
    EXPECT_EQ(transformed(make("Matrix", {1, 2, 3, 4, 5, 6, 7}), 1, 10), std::make_pair(26.0, 49.0));

    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-3, 3);
    for (int round = 0; round < 50; round++) {
        as_value matrix = make("Matrix", {});
        std::vector<std::function<std::pair<double, double>(std::pair<double, double>)>> model;
        for (int step = 0; step < 6; step++) {
            double a = value(random), b = value(random);
            switch (random() % 4) {
            case 0:
                method(matrix, "translate", {a, b});
                model.push_back([=](auto p) { return std::make_pair(p.first + a, p.second + b); });
                break;
            case 1:
                method(matrix, "rotate", {a});
                model.push_back([=](auto p) {
                    return std::make_pair(p.first * std::cos(a) - p.second * std::sin(a),
                                          p.first * std::sin(a) + p.second * std::cos(a));
                });
                break;
            case 2:
                method(matrix, "scale", {a, b});
                model.push_back([=](auto p) { return std::make_pair(p.first * a, p.second * b); });
                break;
            default:  // a rotation by b, then a move by a along x
                method(matrix, "concat", {make("Matrix", {std::cos(b), -std::sin(b), std::sin(b), std::cos(b), a, 0})});
                model.push_back([=](auto p) {
                    return std::make_pair(p.first * std::cos(b) - p.second * std::sin(b) + a,
                                          p.first * std::sin(b) + p.second * std::cos(b));
                });
            }
        }
        std::pair<double, double> start(value(random), value(random));
        std::pair<double, double> expected = start;
        for (const auto& operation : model) {
            expected = operation(expected);
        }
        std::pair<double, double> got = transformed(matrix, start.first, start.second);
        double tolerance = 1e-3 * (1 + std::abs(expected.first) + std::abs(expected.second));
        EXPECT_NEAR(got.first, expected.first, tolerance) << round;
        EXPECT_NEAR(got.second, expected.second, tolerance) << round;
    }
}

TEST_F(GeomTest, color_transforms_store_eight_values_and_rgb_makes_a_plain_colour) {
    const char* names[8] = {"redMultiplier", "greenMultiplier", "blueMultiplier", "alphaMultiplier",
                            "redOffset",     "greenOffset",     "blueOffset",     "alphaOffset"};
    const struct {
        std::vector<as_value> args;
        double values[8];
    } cases[] = {{{}, {1, 1, 1, 1, 0, 0, 0, 0}},
                 {{0.5, 0.25}, {0.5, 0.25, 1, 1, 0, 0, 0, 0}},
                 {{1, 1, 1, 1, 255, 0, 0, 0}, {1, 1, 1, 1, 255, 0, 0, 0}},
                 {{1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 1, 1, 1, 0, 0, 0, 0}},  // more than 8: the identity
                 {{NAN, INFINITY, -1e40}, {0, 0, 0, 1, 0, 0, 0, 0}}};
    for (const auto& c : cases) {
        as_value transform = make("ColorTransform", c.args);
        for (int i = 0; i < 8; i++) {
            EXPECT_EQ(get(transform, names[i]).to_number(), c.values[i]) << names[i] << " of " << c.args.size();
        }
    }
    as_value transform = make("ColorTransform", {});
    transform.to_object()->set_member("RGB", 0xFF8000);
    const double plain[8] = {0, 0, 0, 0, 255, 128, 0, 255};
    for (int i = 0; i < 8; i++) {
        EXPECT_EQ(get(transform, names[i]).to_number(), plain[i]) << names[i];
    }
    EXPECT_TRUE(get(transform, "rgb").is_undefined());
    transform.to_object()->set_member("blueoffset", 300);
    EXPECT_EQ(static_cast<as_color_transform*>(transform.to_object())->m_cxform.m[2][1], 300.0f);

    as_value events = get(global("flash"), "Events");
    EXPECT_TRUE(events.to_object()->is(AS_EVENT));
    as_value mouse = get(events, "MouseEvent");
    EXPECT_TRUE(mouse.to_object()->is(AS_MOUSE_EVENT));
    EXPECT_FALSE(mouse.to_object()->is(AS_EVENT));
    EXPECT_STREQ(get(mouse, "CLICK").to_string(), "click");
}

}  // namespace
