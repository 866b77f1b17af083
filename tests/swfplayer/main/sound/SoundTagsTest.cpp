#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/sound/sound_handler.h"
#include "tests/swfplayer/main/display/DisplayTestKit.h"
#include "tools/swfkit/Movie.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using swfkit::BitWriter;
using swfkit::Bytes;
using namespace swfplayer;  // the tag codes

// A sound handler that writes down what the player asks of it. Ids count from 100.
class RecordingSoundHandler : public swfplayer::sound_handler {
public:
    struct created {
        int bytes, samples, format, rate;
        bool stereo;
    };
    std::vector<created> sounds;
    std::vector<std::string> calls;
    bool usable = true;

    int create_sound(void*, int bytes, int samples, int format, int rate, bool stereo) override {
        sounds.push_back({bytes, samples, format, rate, stereo});
        return 99 + static_cast<int>(sounds.size());
    }
    void append_sound(int id, void*, int bytes) override { note("append", id, bytes); }
    void play_sound(int id, int loops) override { note("play", id, loops); }
    void set_volume(int id, int volume) override { note("volume", id, volume); }
    void stop_sound(int id) override { note("stop", id, 0); }
    void delete_sound(int id) override { note("delete", id, 0); }
    bool is_usable() const override { return usable; }
    void pause(int id, bool paused) override { note("pause", id, paused); }
    int get_volume(int) override { return 100; }

private:
    void note(const char* what, int id, int value) {
        calls.push_back(std::string(what) + " " + std::to_string(id) + " " + std::to_string(value));
    }
};

class SoundTagsTest : public display_test::DisplayFixture {
protected:
    void TearDown() override {
        m_movie = nullptr;
        swfplayer::set_sound_handler(nullptr);
        DisplayFixture::TearDown();
    }

    // A movie of one frame with the given tags.
    void Load(const std::vector<std::pair<int, Bytes>>& tags) {
        swfkit::Movie movie(8, {0, 100, 0, 100}, 12.0);
        for (const auto& [type, body] : tags) {
            movie.Tags().Tag(type, body);
        }
        movie.Tags().ShowFrame();
        m_movie = LoadMovie(movie.Write(false));
        ASSERT_TRUE(m_movie);
    }

    // Runs the first frame's tags as a sprite entering it would.
    void RunFirstFrame() {
        for (swfplayer::execute_tag* tag : m_movie->get_playlist(0)) {
            tag->execute(nullptr);
        }
    }

    swfplayer::smart_ptr<swfplayer::movie_def_impl> m_movie;
    RecordingSoundHandler m_handler;
};

// DefineSound's body: id, format, rate code, 16-bit and stereo flags, sample count, then the data.
Bytes DefineSound(uint16_t id, int format, int rate, bool sixteen, bool stereo, uint32_t samples, const Bytes& data) {
    BitWriter out;
    out.WriteU16(id);
    out.WriteBits(static_cast<uint32_t>(format), 4);
    out.WriteBits(static_cast<uint32_t>(rate), 2);
    out.WriteBits(sixteen, 1);
    out.WriteBits(stereo, 1);
    out.WriteU32(samples);
    out.WriteBytes(data);
    return out.GetBytes();
}

// StartSound's body with an optional loop count and the stop flag.
Bytes StartSound(uint16_t id, bool stop, int loops) {
    BitWriter out;
    out.WriteU16(id);
    out.WriteBits(0, 2);
    out.WriteBits(stop, 1);
    out.WriteBits(0, 1);
    out.WriteBits(0, 1);  // no envelope
    out.WriteBits(loops > 0, 1);
    out.WriteBits(0, 2);  // no in or out point
    if (loops > 0) {
        out.WriteU16(static_cast<uint16_t>(loops));
    }
    return out.GetBytes();
}

TEST_F(SoundTagsTest, define_sound_hands_the_handler_its_format_rate_and_bytes) {
    swfplayer::set_sound_handler(&m_handler);
    Load({{tag_define_sound, DefineSound(1, 3, 3, true, true, 2, {1, 2, 3, 4, 5, 6, 7, 8})},
          {tag_define_sound, DefineSound(2, 3, 0, false, false, 3, {9, 8, 7})},
          {tag_define_sound, DefineSound(3, 2, 2, true, false, 1152, {0xFF, 0xFB})}});
    ASSERT_EQ(m_handler.sounds.size(), 3u);
    // 16-bit uncompressed data becomes the native 16-bit format; 8-bit data and MP3 keep theirs.
    EXPECT_EQ(m_handler.sounds[0].format, 7);
    EXPECT_EQ(m_handler.sounds[0].rate, 44100);
    EXPECT_EQ(m_handler.sounds[0].bytes, 8);
    EXPECT_TRUE(m_handler.sounds[0].stereo);
    EXPECT_EQ(m_handler.sounds[1].format, 3);
    EXPECT_EQ(m_handler.sounds[1].rate, 5512);
    EXPECT_EQ(m_handler.sounds[2].format, 2);
    EXPECT_EQ(m_handler.sounds[2].rate, 22050);
    EXPECT_TRUE(m_movie->get_sound_sample(3));

    // The handler forgets every sample when the movie goes.
    m_movie = nullptr;
    for (const char* expected : {"delete 100 0", "delete 101 0", "delete 102 0"}) {
        EXPECT_NE(std::find(m_handler.calls.begin(), m_handler.calls.end(), expected), m_handler.calls.end())
            << expected;
    }
}

TEST_F(SoundTagsTest, adpcm_is_expanded_to_native_samples_and_a_huge_count_is_cut_to_the_tag) {
    swfplayer::set_sound_handler(&m_handler);
    // Two mono frames of 2-bit ADPCM: code size, start value, step index, one code: 31 bits.
    BitWriter adpcm;
    adpcm.WriteBits(0, 2);
    adpcm.WriteSignedBits(-2, 16);
    adpcm.WriteBits(0, 6);
    adpcm.WriteBits(1, 2);
    Load({{tag_define_sound, DefineSound(1, 1, 1, true, false, 2, adpcm.GetBytes())},
          {tag_define_sound, DefineSound(2, 1, 1, true, true, 0xFFFFFFFFu, adpcm.GetBytes())}});
    ASSERT_EQ(m_handler.sounds.size(), 2u);
    EXPECT_EQ(m_handler.sounds[0].format, 7);
    EXPECT_EQ(m_handler.sounds[0].samples, 2);
    EXPECT_EQ(m_handler.sounds[0].bytes, 4);
    // Four bytes of stereo ADPCM hold at most 32 / 4 + 1 frames, whatever the tag declares.
    EXPECT_EQ(m_handler.sounds[1].samples, 9);
    EXPECT_EQ(m_handler.sounds[1].bytes, 9 * 2 * 2);
    EXPECT_TRUE(Logged("declares"));
}

TEST_F(SoundTagsTest, start_sound_plays_with_its_loop_count_or_stops_and_unknown_ids_are_reported) {
    swfplayer::set_sound_handler(&m_handler);
    Load({{tag_define_sound, DefineSound(4, 3, 1, false, false, 1, {0})},
          {tag_start_sound, StartSound(4, false, 5)},
          {tag_start_sound, StartSound(4, true, 5)},
          {tag_start_sound, StartSound(9, false, 0)}});
    EXPECT_TRUE(Logged("start_sound_loader: sound_id 9 is not defined"));
    ASSERT_EQ(m_movie->get_playlist(0).size(), 2u);
    RunFirstFrame();
    EXPECT_EQ(m_handler.calls, (std::vector<std::string>{"play 100 5", "stop 100 0"}));
}

TEST_F(SoundTagsTest, stream_sound_blocks_are_appended_from_their_first_frame) {
    swfplayer::set_sound_handler(&m_handler);
    BitWriter head;
    head.WriteU8(0);
    head.WriteBits(3, 4);
    head.WriteBits(2, 2);
    head.WriteBits(1, 1);
    head.WriteBits(0, 1);
    head.WriteU16(512);
    Load({{tag_sound_stream_head, head.GetBytes()}, {tag_sound_stream_block, {1, 2, 3}}, {tag_sound_stream_block, {}}});
    ASSERT_EQ(m_handler.sounds.size(), 1u);
    EXPECT_EQ(m_handler.sounds[0].bytes, 0);
    EXPECT_EQ(m_handler.sounds[0].samples, 512);
    EXPECT_EQ(m_movie->m_ss_id, 100);
    EXPECT_EQ(m_movie->m_ss_start, 0);
    EXPECT_EQ(m_handler.calls, (std::vector<std::string>{"append 100 3"}));
}

TEST_F(SoundTagsTest, without_a_handler_nothing_is_kept_or_reported) {
    Load({{tag_define_sound, DefineSound(4, 3, 1, false, false, 1, {0})},
          {tag_start_sound, StartSound(4, false, 0)},
          {tag_sound_stream_block, {1, 2}}});
    EXPECT_FALSE(m_movie->get_sound_sample(4));
    EXPECT_EQ(m_movie->get_playlist(0).size(), 0u);
    EXPECT_EQ(m_movie->m_ss_id, -1);
    EXPECT_FALSE(Logged("not defined"));
    // An unusable handler is absent for users that ask for a usable one.
    m_handler.usable = false;
    swfplayer::set_sound_handler(&m_handler);
    EXPECT_EQ(swfplayer::get_sound_handler(), nullptr);
    EXPECT_EQ(swfplayer::get_stored_sound_handler(), &m_handler);
}

TEST_F(SoundTagsTest, a_sprite_restarts_its_stream_sound_at_its_first_block_and_pauses_it_with_the_timeline) {
    swfplayer::set_sound_handler(&m_handler);
    BitWriter head;
    head.WriteU8(0);
    head.WriteU8(0x3E);  // uncompressed, 44 kHz, 16 bits, mono
    head.WriteU16(512);
    Load({{tag_sound_stream_head, head.GetBytes()}, {tag_sound_stream_block, {1, 2}}});
    swfplayer::smart_ptr<swfplayer::sprite_instance> sprite = make_root_sprite(m_movie.get_ptr());
    m_handler.calls.clear();
    sprite->execute_frame_tags(0, false);
    sprite->execute_frame_tags(0, true);
    sprite->set_play_state(swfplayer::character::STOP);
    sprite->set_play_state(swfplayer::character::PLAY);
    EXPECT_EQ(m_handler.calls, (std::vector<std::string>{"stop 100 0", "play 100 0", "pause 100 1", "pause 100 0"}));
}

}  // namespace
