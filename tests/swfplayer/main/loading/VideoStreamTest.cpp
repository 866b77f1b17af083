#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/loading/video_stream.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/as_function.h"
#include "swfplayer/main/script/fn_call.h"
#include "tests/swfplayer/main/display/DisplayTestKit.h"

#include <gtest/gtest.h>

namespace {

using namespace swfplayer;

// A two-frame movie that places a 320 x 240 stream of 2 frames (id 3, deblocking 2, smoothing on,
// codec 2) at depth 1, with VideoFrame tags for frames 0, 1 and 7 (beyond the declared count),
// each holding 4 bytes that are never decoded. The timeline plays on past them, and the stream
// reports its declared size.
using VideoStreamTest = display_test::DisplayFixture;

TEST_F(VideoStreamTest, a_placed_video_stream_reports_its_size_and_takes_one_stream_to_attach) {
    const swfkit::Bytes define = {3, 0, 2, 0, 0x40, 0x01, 0xF0, 0x00, 0x05, 2};
    auto frame = [](uint8_t n) {
        return swfkit::Bytes{3, 0, n, 0, 0xDE, 0xAD, 0xBE, 0xEF};
    };
    smart_ptr<movie_def_impl> movie = LoadBuilt(8, [&](swfkit::TagList& t) {
        t.Tag(tag_define_video_stream, define).PlaceObject(3, 1).Tag(tag_video_frame, frame(0)).ShowFrame();
        t.Tag(tag_video_frame, frame(1)).Tag(tag_video_frame, frame(7)).ShowFrame();
    });
    ASSERT_TRUE(movie);
    smart_ptr<sprite_instance> root = make_root_sprite(movie.get_ptr());
    auto* def = static_cast<video_stream_definition*>(movie->get_character_def(3));
    ASSERT_TRUE(def && def->is(AS_VIDEO_DEF));
    EXPECT_EQ(def->m_frames.size(), 2u);
    EXPECT_EQ(def->m_deblocking, 2);
    EXPECT_TRUE(def->m_smoothing);
    EXPECT_EQ(def->m_codec_id, 2);
    auto* video = static_cast<video_stream_instance*>(root->get_display_list().get_character_at_depth(1));
    ASSERT_TRUE(video && video->is(AS_VIDEO_INST));
    rect bound;
    video->get_bound(&bound);
    EXPECT_EQ(std::vector<float>({bound.x_min, bound.x_max, bound.y_min, bound.y_max}),
              std::vector<float>({0, 6400, 0, 4800}));

    // attachVideo is found under any capitalisation; attachVideo(stream) keeps the object, and a
    // call with two arguments is refused.
    as_value method;
    ASSERT_TRUE(video->get_member("ATTACHvideo", &method));
    EXPECT_FALSE(video->get_member("attachAudio", &method));
    ASSERT_TRUE(video->get_member("attachVideo", &method));
    smart_ptr<as_object> stream = new as_object(m_player.get_ptr());
    as_value result;
    for (int nargs : {2, 1}) {
        as_environment env(m_player.get_ptr());
        env.push(as_value(1.0));
        env.push(as_value(stream.get_ptr()));
        method.to_function()->call(fn_call(&result, as_value(video), &env, nargs, env.get_top_index()));
        EXPECT_EQ(video->m_stream.get_ptr(), nargs == 1 ? stream.get_ptr() : nullptr);
    }
    EXPECT_TRUE(Logged("attachVideo needs 1 arg"));
    root->goto_frame(1);
    EXPECT_EQ(root->get_current_frame(), 1);
    EXPECT_FALSE(Logged("not a video stream"));
}

}  // namespace
