#include "tests/swfplayer/main/swfplayer_as_classes/BuiltinTestKit.h"

using namespace builtin_test;

namespace {

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
