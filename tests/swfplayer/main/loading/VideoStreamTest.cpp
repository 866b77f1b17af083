#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/loading/video_stream.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/as_function.h"
#include "swfplayer/main/script/fn_call.h"
#include "tests/swfplayer/main/display/DisplayTestKit.h"
#include "tools/swfkit/Movie.h"

#include <gtest/gtest.h>

namespace {

using namespace swfplayer;

// DefineVideoStream's body: id, frame count, width, height, flags (deblocking 2, smoothing on),
// codec.
swfkit::Bytes DefineVideo(uint16_t id, uint16_t frames, uint16_t width, uint16_t height) {
    swfkit::BitWriter out;
    out.WriteU16(id);
    out.WriteU16(frames);
    out.WriteU16(width);
    out.WriteU16(height);
    out.WriteU8(0x05);
    out.WriteU8(2);
    return out.GetBytes();
}

swfkit::Bytes VideoFrame(uint16_t id, uint16_t frame) {
    swfkit::BitWriter out;
    out.WriteU16(id);
    out.WriteU16(frame);
    out.WriteBytes({0xDE, 0xAD, 0xBE, 0xEF});  // encoded data, never decoded
    return out.GetBytes();
}

class VideoStreamTest : public display_test::DisplayFixture {
protected:
    // A two-frame movie that places a 320 x 240 stream of 2 frames at depth 1, with VideoFrame tags
    // for frames 0, 1 and 7 (beyond the declared count).
    sprite_instance* PlayVideoMovie() {
        swfkit::Movie movie(8, {0, 8000, 0, 6000}, 12.0);
        movie.Tags()
            .Tag(tag_define_video_stream, DefineVideo(3, 2, 320, 240))
            .PlaceObject(3, 1)
            .Tag(tag_video_frame, VideoFrame(3, 0))
            .ShowFrame()
            .Tag(tag_video_frame, VideoFrame(3, 1))
            .Tag(tag_video_frame, VideoFrame(3, 7))
            .ShowFrame();
        m_movie = LoadMovie(movie.Write(false));
        EXPECT_TRUE(m_movie);
        if (!m_movie) {
            return nullptr;
        }
        m_sprite = make_root_sprite(m_movie.get_ptr());
        return m_sprite.get_ptr();
    }

    smart_ptr<movie_def_impl> m_movie;
    smart_ptr<sprite_instance> m_sprite;
};

TEST_F(VideoStreamTest, a_placed_stream_reports_its_declared_size_and_the_timeline_plays_on) {
    sprite_instance* root = PlayVideoMovie();
    ASSERT_TRUE(root);
    auto* def = static_cast<video_stream_definition*>(m_movie->get_character_def(3));
    ASSERT_TRUE(def && def->is(AS_VIDEO_DEF));
    EXPECT_EQ(def->m_frames.size(), 2u);
    EXPECT_EQ(def->m_deblocking, 2);
    EXPECT_TRUE(def->m_smoothing);
    EXPECT_EQ(def->m_codec_id, 2);

    character* video = root->get_display_list().get_character_at_depth(1);
    ASSERT_TRUE(video && video->is(AS_VIDEO_INST));
    rect bound;
    video->get_bound(&bound);
    EXPECT_EQ(bound.x_min, 0.0f);
    EXPECT_EQ(bound.x_max, 6400.0f);
    EXPECT_EQ(bound.y_min, 0.0f);
    EXPECT_EQ(bound.y_max, 4800.0f);
    root->goto_frame(1);
    EXPECT_EQ(root->get_current_frame(), 1);
    EXPECT_FALSE(Logged("not a video stream"));
}

TEST_F(VideoStreamTest, attach_video_is_found_under_any_capitalisation_and_checks_its_arguments) {
    sprite_instance* root = PlayVideoMovie();
    ASSERT_TRUE(root);
    auto* video = static_cast<video_stream_instance*>(root->get_display_list().get_character_at_depth(1));
    ASSERT_TRUE(video);
    as_value method;
    ASSERT_TRUE(video->get_member("ATTACHvideo", &method));
    EXPECT_FALSE(video->get_member("attachAudio", &method));
    ASSERT_TRUE(video->get_member("attachVideo", &method));

    // attachVideo(stream) keeps the object; a call with two arguments is refused.
    smart_ptr<as_object> stream = new as_object(m_player.get_ptr());
    as_value args[2] = {as_value(stream.get_ptr()), as_value(1.0)};
    as_value result;
    auto call = [&](int nargs) {
        as_environment env(m_player.get_ptr());
        env.push(args[1]);
        env.push(args[0]);
        method.to_function()->call(fn_call(&result, as_value(video), &env, nargs, env.get_top_index()));
    };
    call(2);
    EXPECT_TRUE(Logged("attachVideo needs 1 arg"));
    EXPECT_EQ(video->m_stream, nullptr);
    call(1);
    EXPECT_EQ(video->m_stream.get_ptr(), stream.get_ptr());
}

}  // namespace
