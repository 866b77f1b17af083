#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/render/render_handler.h"
#include "tests/swfplayer/main/render/RecordingRenderHandler.h"

#include <gtest/gtest.h>

namespace swfplayer {
namespace {

TEST(RenderInterfaceTest, without_a_handler_bitmaps_are_empty_placeholders_and_draws_do_nothing) {
    ASSERT_EQ(get_render_handler(), nullptr);
    smart_ptr<bitmap_info> placeholder = render::create_bitmap_info_rgba(nullptr);
    ASSERT_TRUE(placeholder != nullptr);
    EXPECT_EQ(placeholder->get_width(), 0);
    EXPECT_EQ(placeholder->get_height(), 0);
    render::begin_display(rgba(), 0, 0, 10, 10, 0, 200, 0, 200);
    render::draw_triangle_list(nullptr, 3);
    render::end_display();

    // A handler installed later gets the calls from then on; the placeholder stays one.
    testing_support::RecordingRenderHandler handler;
    set_render_handler(&handler);
    smart_ptr<bitmap_info> alpha = render::create_bitmap_info_alpha(4, 2, nullptr);
    render::set_matrix(matrix());
    render::fill_style_color(0, rgba(1, 2, 3, 4));
    render::draw_triangle_list(nullptr, 6);
    render::begin_submit_mask();
    render::end_submit_mask();
    render::disable_mask();
    set_render_handler(nullptr);

    EXPECT_EQ(placeholder->get_width(), 0);
    EXPECT_EQ(alpha->get_width(), 4);
    EXPECT_EQ(handler.calls, (std::vector<std::string>{"create_bitmap_info_alpha", "set_matrix",
                                                       "fill_style_color 0 1,2,3,4", "draw_triangle_list 6",
                                                       "begin_submit_mask", "end_submit_mask", "disable_mask"}));
    EXPECT_EQ(handler.mask_level, 0);
}

}  // namespace
}  // namespace swfplayer
