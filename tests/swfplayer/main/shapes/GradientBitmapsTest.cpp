// When gradient bitmaps are made and who shares them: never without a renderer, once per
// gradient while some fill holds it, never across renderers.
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/precompute.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/shapes/fill_style.h"
#include "swfplayer/main/shapes/gradient_bitmaps.h"
#include "swfplayer/main/shapes/shape_loaders.h"
#include "tests/swfplayer/main/shapes/ShapesFixture.h"
#include "tools/swfkit/ShapeBuilder.h"

#include <gtest/gtest.h>

#include <memory>

namespace swf_testing {
namespace {

using swfplayer::fill_style;
using swfplayer::gradient_bitmaps;
using swfplayer::rgba;

class GradientBitmapsTest : public ShapesFixture {
protected:
    // Bitmaps the installed handler made.
    size_t Made() const { return m_render.with_prefix("create_bitmap_info_rgba").size(); }
};

fill_style Gradient(int type, rgba first, rgba last) {
    fill_style style;
    style.m_type = type;
    style.m_gradients.push_back({0, first});
    style.m_gradients.push_back({255, last});
    return style;
}

const rgba kRed(255, 0, 0, 255), kBlue(0, 0, 255, 255);

// Applied with no renderer a gradient keeps no bitmap at all, so the first apply with one makes
// the real bitmap; a placeholder made meanwhile would have stayed for good.
TEST_F(GradientBitmapsTest, without_a_renderer_nothing_is_made_or_kept) {
    fill_style style = Gradient(swfplayer::fill_linear_gradient, kRed, kBlue);
    swfplayer::set_render_handler(nullptr);
    EXPECT_TRUE(style.apply_fill(0));
    EXPECT_FALSE(style.m_gradient_bitmap_info);
    swfplayer::set_render_handler(&m_render);
    EXPECT_TRUE(style.apply_fill(0));
    ASSERT_TRUE(style.m_gradient_bitmap_info);
    EXPECT_EQ(style.m_gradient_bitmap_info->get_width(), 256);
    EXPECT_EQ(Made(), 1u);
}

// Fills showing the same gradient share one bitmap, whatever their placement; another type or
// another record makes its own. Once no fill holds a bitmap it is made afresh.
TEST_F(GradientBitmapsTest, the_same_gradient_shares_one_bitmap_while_held) {
    fill_style a = Gradient(swfplayer::fill_linear_gradient, kRed, kBlue);
    fill_style b = a;
    b.m_gradient_matrix.concatenate_scale(3.0f);
    fill_style radial = Gradient(swfplayer::fill_radial_gradient, kRed, kBlue);
    fill_style other = Gradient(swfplayer::fill_linear_gradient, kRed, rgba(0, 0, 254, 255));
    for (fill_style* style : {&a, &b, &radial, &other}) {
        style->apply_fill(0);
    }
    EXPECT_EQ(a.m_gradient_bitmap_info.get_ptr(), b.m_gradient_bitmap_info.get_ptr());
    EXPECT_NE(a.m_gradient_bitmap_info.get_ptr(), radial.m_gradient_bitmap_info.get_ptr());
    EXPECT_NE(a.m_gradient_bitmap_info.get_ptr(), other.m_gradient_bitmap_info.get_ptr());
    EXPECT_EQ(radial.m_gradient_bitmap_info->get_width(), 64);
    EXPECT_EQ(Made(), 3u);
    a.m_gradient_bitmap_info = nullptr;
    b.m_gradient_bitmap_info = nullptr;
    fill_style again = Gradient(swfplayer::fill_linear_gradient, kRed, kBlue);
    again.apply_fill(0);
    EXPECT_EQ(Made(), 4u);
}

// A bitmap of one renderer is never handed to another, even one made where the first was.
TEST_F(GradientBitmapsTest, another_renderer_makes_its_own) {
    fill_style first = Gradient(swfplayer::fill_radial_gradient, kRed, kBlue);
    auto before = std::make_unique<testing_support::RecordingRenderHandler>();
    swfplayer::set_render_handler(before.get());
    first.apply_fill(0);
    before.reset();
    auto after = std::make_unique<testing_support::RecordingRenderHandler>();
    swfplayer::set_render_handler(after.get());
    fill_style second = Gradient(swfplayer::fill_radial_gradient, kRed, kBlue);
    second.apply_fill(0);
    EXPECT_NE(first.m_gradient_bitmap_info.get_ptr(), second.m_gradient_bitmap_info.get_ptr());
    EXPECT_EQ(after->with_prefix("create_bitmap_info_rgba").size(), 1u);
    swfplayer::set_render_handler(&m_render);
}

// A movie as the game loads it: read with the renderer installed, precomputed without it, then
// drawn twice and loaded again. Loading makes no gradient bitmap; the first display makes one per
// gradient, shared by both shapes that show it; the second display and the second movie, shown
// while the first lives, make none.
TEST_F(GradientBitmapsTest, loading_makes_none_and_the_first_display_makes_each_once) {
    swfplayer::register_shape_loaders();
    auto movie = [&] {
        return LoadBuilt(8, [](swfkit::TagList& tags) {
            for (uint16_t id = 1; id <= 3; id++) {
                swfkit::ShapeBuilder b;
                const swfkit::Color end{0, static_cast<uint8_t>(id == 3 ? 255 : 0), 255, 255};
                b.SetFillStyle1(b.AddFillStyle(swfkit::FillStyle::Radial({}, {{0, {255, 0, 0, 255}}, {255, end}})));
                b.MoveTo(0, 0);
                b.LineTo(2000, 0);
                b.LineTo(0, 2000);
                b.LineTo(0, 0);
                tags.DefineShape(id, b, 3);
                swfkit::Placement place;
                place.depth = id;
                place.characterId = id;
                tags.PlaceObject2(place);
            }
            tags.ShowFrame();
        });
    };
    auto def = movie();
    ASSERT_TRUE(def);
    swfplayer::precompute_cached_data(def.get_ptr());
    EXPECT_EQ(Made(), 0u);
    swfplayer::smart_ptr<swfplayer::root> root = swfplayer::create_instance(def.get_ptr(), m_player.get_ptr());
    ASSERT_TRUE(root);
    root->advance(0.0f);
    root->display();
    EXPECT_EQ(Made(), 2u);
    EXPECT_EQ(def->get_bitmap_info_count(), 2);  // the movie lists the bitmaps made for it
    root->display();
    auto second = movie();
    swfplayer::smart_ptr<swfplayer::root> second_root =
        swfplayer::create_instance(second.get_ptr(), m_player.get_ptr());
    second_root->advance(0.0f);
    second_root->display();
    EXPECT_EQ(Made(), 2u);
    EXPECT_EQ(m_render.with_prefix("fill_style_bitmap").size(), 9u);
}

}  // namespace
}  // namespace swf_testing
