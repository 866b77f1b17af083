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

// A clip "clip" on the root whose colour offsets are 10 + channel.
class ColorTest : public BuiltinFixture {
protected:
    ColorTest() {
        cxform offsets;
        for (int channel = 0; channel < 4; channel++) {
            offsets.m[channel][1] = 10.0f + channel;
        }
        m_clip->set_cxform(offsets);
        m_root->set_member("clip", as_value(m_clip.get_ptr()));
        m_env.set_target(m_root.get_ptr());
    }
    std::vector<float> multipliers() const {
        const cxform& cx = m_clip->get_cxform();
        return {cx.m[0][0], cx.m[1][0], cx.m[2][0], cx.m[3][0]};
    }
    smart_ptr<character> m_clip = new character(m_player.get_ptr(), nullptr, -1);
};

TEST_F(ColorTest, rgb_and_transforms_read_and_write_the_clips_multipliers) {
    as_value color = call_global("Color", {"clip"});
    ASSERT_TRUE(color.to_object() && color.to_object()->is(AS_COLOR));
    EXPECT_TRUE(member(color.to_object(), "__constructor__") == global("Color"));
    EXPECT_EQ(method(color, "getRGB", {}).to_number(), 16777215.0);
    as_value identity = method(color, "getTransform", {});
    for (const char* name : {"ra", "ga", "ba", "aa", "rb", "gb", "bb", "ab"}) {
        EXPECT_EQ(get(identity, name).to_number(), name[1] == 'a' ? 100.0 : 255.0) << name;
    }
    method(color, "setRGB", {0x804020});
    EXPECT_EQ(multipliers(), (std::vector<float>{128 / 255.0f, 64 / 255.0f, 32 / 255.0f, 1.0f}));
    for (int c = 0; c < 256; c++) {
        int rgb = (c << 16) | ((255 - c) << 8) | (c / 2);
        method(color, "setRGB", {rgb});
        ASSERT_EQ(method(color, "getRGB", {}).to_int(), rgb);
    }
    // after: from multipliers 1, 0.5, 1, 1
    const std::pair<std::vector<std::pair<const char*, as_value>>, std::vector<float>> transforms[] = {
        {{{"ra", 50}}, {0.5f, 0.5f, 1, 1}},
        {{{"gb", 255}}, {1, 1, 1, 1}},
        {{{"ra", 50}, {"rb", 255}, {"bb", 0}}, {0.5f, 0.5f, 0, 1}},  // "ra" wins over "rb"
        {{{"aa", NAN}, {"ba", 1e40}}, {1, 0.5f, 0, 0}},              // out of float range: 0
        {{}, {1, 0.5f, 1, 1}}};
    for (const auto& [members, after] : transforms) {
        cxform start = m_clip->get_cxform();
        start.m[0][0] = start.m[2][0] = start.m[3][0] = 1.0f;
        start.m[1][0] = 0.5f;
        m_clip->set_cxform(start);
        as_value object = plain_object();
        for (const auto& [name, value] : members) {
            object.to_object()->set_member(name, value);
        }
        method(color, "setTransform", {object});
        EXPECT_EQ(multipliers(), after) << members.size();
    }
    for (int channel = 0; channel < 4; channel++) {
        EXPECT_EQ(m_clip->get_cxform().m[channel][1], 10.0f + channel);  // Color never touches the offsets
    }
}

TEST_F(ColorTest, color_needs_one_clip_and_stops_with_it) {
    for (const std::vector<as_value>& args :
         std::vector<std::vector<as_value>>{{}, {"clip", 1}, {"nothing"}, {plain_object()}}) {
        EXPECT_TRUE(call_global("Color", args).is_undefined()) << args.size();
    }
    as_value color = call_global("Color", {as_value(m_clip.get_ptr())});
    EXPECT_TRUE(call(m_env, get(color, "getRGB"), plain_object(), {}).is_undefined());
    m_root->set_member("clip", as_value());
    m_clip = nullptr;
    EXPECT_TRUE(method(color, "getRGB", {}).is_undefined());
    method(color, "setRGB", {0});
}

TEST_F(ColorTest, a_transform_copies_an_assigned_color_transform_into_its_clip) {
    as_value transform = geom("Transform", {as_value(m_clip.get_ptr())});
    ASSERT_TRUE(transform.to_object() && transform.to_object()->is(AS_TRANSFORM));
    EXPECT_TRUE(get(transform, "colorTransform").is_null());
    as_value red = geom("ColorTransform", {1, 1, 1, 1, 255, 0, 0, 0});
    const auto assign = [&](const as_value& value) {
        transform.to_object()->set_member("colorTransform", value);
    };
    assign(red);
    EXPECT_EQ(m_clip->get_cxform().m[0][1], 255.0f);
    EXPECT_TRUE(get(transform, "COLORTRANSFORM") == red);
    // Later changes reach the clip only with the next assignment.
    red.to_object()->set_member("greenOffset", 100);
    EXPECT_EQ(m_clip->get_cxform().m[1][1], 0.0f);
    assign(red);
    EXPECT_EQ(m_clip->get_cxform().m[1][1], 100.0f);
    // Anything else stores null and leaves the clip.
    assign("red");
    EXPECT_TRUE(get(transform, "colorTransform").is_null());
    EXPECT_EQ(m_clip->get_cxform().m[1][1], 100.0f);
    for (const char* name : {"matrix", "concatenatedMatrix", "concatenatedColorTransform", "pixelBounds"}) {
        transform.to_object()->set_member(name, 1);
        EXPECT_TRUE(get(transform, name).is_undefined()) << name;
    }
    for (const std::vector<as_value>& args : std::vector<std::vector<as_value>>{{}, {plain_object()}, {"clip"}}) {
        EXPECT_TRUE(geom("Transform", args).is_null());
    }
}

}  // namespace
