#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/sound/sound_handler.h"
#include "tests/swfplayer/main/display/DisplayTestKit.h"
#include "tests/swfplayer/main/sound/RecordingSoundHandler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace {

using swfkit::Bytes;
using namespace swfplayer;  // the tag codes
using Strings = std::vector<std::string>;

class SoundTagsTest : public display_test::DisplayFixture {
protected:
    void SetUp() override {
        DisplayFixture::SetUp();
        set_sound_handler(&m_handler);
    }
    void TearDown() override {
        m_movie = nullptr;
        set_sound_handler(nullptr);
        DisplayFixture::TearDown();
    }
    void Load(const std::vector<std::pair<int, Bytes>>& tags) {
        m_movie = LoadTags(tags);
        ASSERT_TRUE(m_movie);
    }

    smart_ptr<movie_def_impl> m_movie;
    sound_test::RecordingSoundHandler m_handler;
};

// DefineSound's body: id, format, rate code, 16-bit and stereo flags, sample count, then the data.
Bytes DefineSound(uint16_t id, int format, int rate, bool sixteen, bool stereo, uint32_t samples, const Bytes& data) {
    swfkit::BitWriter out;
    out.WriteU16(id);
    out.WriteBits(static_cast<uint32_t>(format << 4 | rate << 2 | sixteen << 1 | stereo), 8);
    out.WriteU32(samples);
    out.WriteBytes(data);
    return out.GetBytes();
}

// StartSound's body with the stop flag and, when above 0, a loop count.
Bytes StartSound(uint16_t id, bool stop, uint8_t loops) {
    Bytes body = {static_cast<uint8_t>(id), 0, static_cast<uint8_t>(stop << 5 | (loops > 0) << 2), loops, 0};
    body.resize(loops > 0 ? 5 : 3);
    return body;
}

// 16-bit uncompressed data becomes the native 16-bit format (7), and so does ADPCM, expanded;
// 8-bit data and MP3 keep theirs. A sample count beyond what the data holds is cut to it.
TEST_F(SoundTagsTest, define_sound_hands_the_handler_its_format_rate_and_bytes) {
    // Two mono frames of 2-bit ADPCM: code size, start value -2, step index 0, one code: 31 bits.
    const Bytes adpcm = {0x3F, 0xFF, 0x80, 0x40};
    Load({{tag_define_sound, DefineSound(1, 3, 3, true, true, 2, {1, 2, 3, 4, 5, 6, 7, 8})},
          {tag_define_sound, DefineSound(2, 3, 0, false, false, 3, {9, 8, 7})},
          {tag_define_sound, DefineSound(3, 2, 2, true, false, 1152, {0xFF, 0xFB})},
          {tag_define_sound, DefineSound(4, 1, 1, true, false, 2, adpcm)},
          // Four bytes of stereo ADPCM hold at most 32 / 4 + 1 frames, whatever the tag declares.
          {tag_define_sound, DefineSound(5, 1, 1, true, true, 0xFFFFFFFFu, adpcm)},
          {tag_sound_stream_head, {0, 0x3E, 0x00, 0x02}}});  // uncompressed, 44 kHz, 16 bits, mono
    using Row = std::tuple<int, int, int, int, bool>;        // bytes, samples, format, rate, stereo
    std::vector<Row> made;
    for (const auto& s : std::vector(m_handler.sounds.begin(), m_handler.sounds.end() - 1)) {
        made.emplace_back(s.bytes, s.samples, s.format, s.rate, s.stereo);
    }
    EXPECT_EQ(made, (std::vector<Row>{{8, 2, 7, 44100, true},
                                      {3, 3, 3, 5512, false},
                                      {2, 1152, 2, 22050, false},
                                      {4, 2, 7, 11025, false},
                                      {9 * 2 * 2, 9, 7, 11025, true}}));
    EXPECT_TRUE(Logged("declares"));
    EXPECT_TRUE(m_movie->get_sound_sample(3));

    // The handler forgets every sample, and the stream sound, when the movie goes.
    ASSERT_EQ(m_movie->m_ss_id, 105);
    m_movie = nullptr;
    for (int id = 100; id <= 105; id++) {
        const std::string line = "delete " + std::to_string(id) + " 0";
        EXPECT_NE(std::find(m_handler.calls.begin(), m_handler.calls.end(), line), m_handler.calls.end()) << line;
    }
}

// StartSound plays with its loop count or stops, and unknown ids are reported; without a handler
// nothing is kept or reported.
TEST_F(SoundTagsTest, start_sound_plays_with_its_loop_count_or_stops_and_unknown_ids_are_reported) {
    for (bool handler : {true, false}) {
        SCOPED_TRACE(handler);
        set_sound_handler(handler ? &m_handler : nullptr);
        ClearLog();
        Load({{tag_define_sound, DefineSound(4, 3, 1, false, false, 1, {0})},
              {tag_start_sound, StartSound(4, false, 5)},
              {tag_start_sound, StartSound(4, true, 5)},
              {tag_start_sound, StartSound(9, false, 0)},
              {tag_sound_stream_block, {1, 2}}});
        EXPECT_EQ(Logged("start_sound_loader: sound_id 9 is not defined"), handler);
        EXPECT_EQ(m_movie->get_sound_sample(4) != nullptr, handler);
        EXPECT_EQ(m_movie->m_ss_id, -1);
        ASSERT_EQ(m_movie->get_playlist(0).size(), handler ? 2u : 0u);
        for (execute_tag* tag : m_movie->get_playlist(0)) {
            tag->execute(nullptr);
        }
        EXPECT_EQ(m_handler.calls, (Strings{"play 100 5", "stop 100 0"}));
    }
    // An unusable handler is absent for users that ask for a usable one.
    m_handler.usable = false;
    set_sound_handler(&m_handler);
    EXPECT_EQ(get_sound_handler(), nullptr);
    EXPECT_EQ(get_stored_sound_handler(), &m_handler);
}

// Stream blocks are appended from their first frame; a sprite restarts its stream sound at its
// first block and pauses it with the timeline.
TEST_F(SoundTagsTest, stream_sound_blocks_are_appended_and_follow_the_timeline) {
    // A stream head: MP3, 22 kHz, 16 bits, mono, 512 samples a block.
    Load({{tag_sound_stream_head, {0, 0x3A, 0x00, 0x02}},
          {tag_sound_stream_block, {1, 2, 3}},
          {tag_sound_stream_block, {}}});
    ASSERT_EQ(m_handler.sounds.size(), 1u);
    EXPECT_EQ(m_handler.sounds[0].bytes, 0);
    EXPECT_EQ(m_handler.sounds[0].samples, 512);
    EXPECT_EQ(m_movie->m_ss_id, 100);
    EXPECT_EQ(m_movie->m_ss_start, 0);
    EXPECT_EQ(m_handler.calls, (Strings{"append 100 3"}));
    smart_ptr<sprite_instance> sprite = make_root_sprite(m_movie.get_ptr());
    m_handler.calls.clear();
    sprite->execute_frame_tags(0, false);
    sprite->execute_frame_tags(0, true);
    sprite->set_play_state(character::STOP);
    sprite->set_play_state(character::PLAY);
    EXPECT_EQ(m_handler.calls, (Strings{"stop 100 0", "play 100 0", "pause 100 1", "pause 100 0"}));
}

// A jump to the frame where the stream sound begins starts it again, from a frame before or after.
TEST_F(SoundTagsTest, a_jump_to_the_first_stream_block_restarts_the_stream_sound_either_way) {
    Load({{tag_sound_stream_head, {0, 0x3A, 0x00, 0x02}},
          {tag_show_frame, {}},
          {tag_sound_stream_block, {1, 2, 3}},
          {tag_show_frame, {}},
          {tag_show_frame, {}}});
    ASSERT_EQ(m_movie->m_ss_start, 1);
    smart_ptr<sprite_instance> sprite = make_root_sprite(m_movie.get_ptr());
    for (int target : {1, 3, 1, 0, 2}) {
        m_handler.calls.clear();
        sprite->goto_frame(target);
        EXPECT_EQ(m_handler.calls, target == 1 ? (Strings{"stop 100 0", "play 100 0"}) : Strings{})
            << "to frame " << target;
    }
}

// StopSounds in a frame action stops every sound that plays; a handler that cannot play is not
// asked.
TEST_F(SoundTagsTest, stop_sounds_stops_every_sound_that_plays) {
    for (bool usable : {true, false}) {
        SCOPED_TRACE(usable);
        m_handler = sound_test::RecordingSoundHandler();
        m_handler.usable = usable;
        m_movie = LoadBuilt(8, [](swfkit::TagList& tags) {
            tags.Tag(tag_define_sound, DefineSound(1, 3, 0, false, false, 3, {9, 8, 7}));
            tags.Tag(tag_define_sound, DefineSound(2, 3, 0, false, false, 3, {9, 8, 7}));
            tags.Tag(tag_start_sound, StartSound(1, false, 0)).Tag(tag_start_sound, StartSound(2, false, 3));
            tags.ShowFrame().DoAction({0x09, 0x00}).ShowFrame();
        });
        ASSERT_TRUE(m_movie);
        smart_ptr<sprite_instance> sprite = make_root_sprite(m_movie.get_ptr());
        EXPECT_EQ(m_handler.playing, (std::set<int>{100, 101}));
        sprite->advance(0.0f);
        sprite->advance(0.0f);
        EXPECT_EQ(sprite->get_current_frame(), 1);
        EXPECT_EQ(m_handler.playing.empty(), usable);
        EXPECT_EQ(m_handler.calls.back() == "stop all", usable);
    }
}

}  // namespace
