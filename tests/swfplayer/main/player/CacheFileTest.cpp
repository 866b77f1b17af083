#include "swfplayer/base/base_file.h"
#include "swfplayer/base/membuf.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/precompute.h"
#include "swfplayer/main/render/render_handler.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/shapes/shape_character_def.h"
#include "swfplayer/main/shapes/shape_loaders.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/player/PlayerMovies.h"
#include "tests/swfplayer/main/render/RecordingRenderHandler.h"

#include <cstring>
#include <string>
#include <vector>

namespace swf_testing {

using swfplayer::base_file;
using swfplayer::movie_def_impl;
using swfplayer::smart_ptr;
using Bytes = std::vector<uint8_t>;

class CacheFileTest : public SwfLoadingFixture {
protected:
    void SetUp() override {
        SwfLoadingFixture::SetUp();
        swfplayer::register_shape_loaders();
    }

    static Bytes Write(const movie_def_impl& def) {
        base_file out(swfplayer::memory_buffer);
        def.output_cached_data(&out, swfplayer::cache_options());
        out.set_position(0);
        swfplayer::membuf bytes;
        out.copy_to(&bytes);
        const uint8_t* data = static_cast<const uint8_t*>(bytes.data());
        return Bytes(data, data + bytes.size());
    }

    static bool Read(movie_def_impl* def, const Bytes& bytes) {
        base_file in(swfplayer::memory_buffer, static_cast<int>(bytes.size()), bytes.data());
        return def->input_cached_data(&in);
    }

    // The shapes movie with meshes at two scales built for both of its squares.
    smart_ptr<movie_def_impl> Precomputed() {
        smart_ptr<movie_def_impl> def = LoadMovie(player_movies::ShapesMovie(3, 30));
        EXPECT_TRUE(def);
        for (int id : {1, 2}) {
            auto* shape = static_cast<swfplayer::shape_character_def*>(def->get_character_def(id));
            for (float scale : {1.0f, 0.05f}) {
                swfplayer::matrix m;
                m.set_scale_rotation(scale, scale, 0.0f);
                shape->display(m, swfplayer::cxform(), 1.0f, shape->m_fill_styles, shape->m_line_styles);
            }
        }
        return def;
    }

    static int MeshSets(movie_def_impl* def, int id) {
        auto* shape = static_cast<swfplayer::shape_character_def*>(def->get_character_def(id));
        return static_cast<int>(shape->get_cached_meshes().size());
    }
};

TEST_F(CacheFileTest, a_movie_without_characters_writes_the_six_byte_file_and_reads_it_back_silently) {
    smart_ptr<movie_def_impl> def = LoadMovie(player_movies::WaitingMovie(0, 30, false));
    ASSERT_TRUE(def);
    // WaitingMovie defines a shape; a definition made empty has none.
    smart_ptr<movie_def_impl> empty = new movie_def_impl(m_player.get_ptr(), 0, 0);
    const Bytes bytes = Write(*empty);
    EXPECT_EQ(bytes, (Bytes{'g', 's', 'c', 6, 0xFF, 0xFF}));
    ClearLog();
    EXPECT_TRUE(Read(empty.get_ptr(), bytes));
    EXPECT_TRUE(Log().empty());
}

TEST_F(CacheFileTest, the_shape_record_example_reads_and_writes_back_byte_for_byte) {
    smart_ptr<movie_def_impl> def = LoadMovie(player_movies::WaitingMovie(1, 30, false));
    ASSERT_TRUE(def);
    // One mesh set of tolerance 1.5, one layer, two slots (empty, then a mesh with an empty
    // strip and a list of 6 values), no line strips.
    Bytes file{'g', 's', 'c', 6, 0x01, 0x00};
    const Bytes shape{0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x3F, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00,
                      0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 1,    0,
                      2,    0,    3,    0,    4,    0,    5,    0,    6,    0,    0x00, 0x00, 0x00, 0x00};
    file.insert(file.end(), shape.begin(), shape.end());
    file.insert(file.end(), {0xFF, 0xFF});
    ASSERT_TRUE(Read(def.get_ptr(), file));
    EXPECT_EQ(MeshSets(def.get_ptr(), 1), 1);
    EXPECT_EQ(Write(*def), file);
}

TEST_F(CacheFileTest, a_written_cache_reads_back_into_a_fresh_definition_and_writes_the_same_bytes) {
    smart_ptr<movie_def_impl> def = Precomputed();
    const Bytes bytes = Write(*def);
    ASSERT_EQ(MeshSets(def.get_ptr(), 1), 2);
    // Two shapes with meshes, a sprite as a bare id.
    smart_ptr<movie_def_impl> fresh = LoadMovie(player_movies::ShapesMovie(3, 30));
    ASSERT_TRUE(Read(fresh.get_ptr(), bytes));
    EXPECT_EQ(MeshSets(fresh.get_ptr(), 1), MeshSets(def.get_ptr(), 1));
    EXPECT_EQ(MeshSets(fresh.get_ptr(), 2), MeshSets(def.get_ptr(), 2));
    EXPECT_EQ(Write(*fresh), bytes);
}

TEST_F(CacheFileTest, refused_and_damaged_files_log_their_fault_and_keep_what_was_read) {
    smart_ptr<movie_def_impl> def = Precomputed();
    const Bytes good = Write(*def);
    Bytes unknown_id = good;
    unknown_id[4] = 0x39;  // the first record's id becomes one the dictionary lacks
    unknown_id[5] = 0x05;
    const struct {
        const char* name;
        Bytes bytes;
        const char* message;
    } cases[] = {
        {"signature", {'g', 's', 'x', 6, 0xFF, 0xFF}, "cache file does not have the correct format; skipping\n"},
        {"version", {'g', 's', 'c', 5, 0xFF, 0xFF}, "cached data is version 5, but we require version 6; skipping\n"},
        {"empty", {}, "cache file does not have the correct format; skipping\n"},
        {"no end code", {'g', 's', 'c', 6}, "unexpected eof reading cache file (characters); skipping\n"},
        {"unknown id", unknown_id, "sync error in cache file (reading characters)!  Skipping rest of cache data.\n"},
    };
    for (const auto& c : cases) {
        smart_ptr<movie_def_impl> target = LoadMovie(player_movies::ShapesMovie(3, 30));
        ClearLog();
        EXPECT_FALSE(Read(target.get_ptr(), c.bytes)) << c.name;
        ASSERT_EQ(Log().size(), 1u) << c.name;
        EXPECT_EQ(Log()[0], c.message) << c.name;
    }
}

TEST_F(CacheFileTest, every_truncation_and_every_inflated_count_is_refused_without_harm) {
    const Bytes good = Write(*Precomputed());
    for (size_t length = 0; length < good.size(); ++length) {
        smart_ptr<movie_def_impl> target = LoadMovie(player_movies::ShapesMovie(3, 30));
        EXPECT_FALSE(Read(target.get_ptr(), Bytes(good.begin(), good.begin() + length))) << length;
    }
    // Every 4-byte window set to a huge count: reading must stop at the end of the data.
    for (size_t at = 4; at + 4 <= good.size(); ++at) {
        Bytes huge = good;
        const uint32_t count = 0x7FFFFFF0;
        std::memcpy(huge.data() + at, &count, 4);
        smart_ptr<movie_def_impl> target = LoadMovie(player_movies::ShapesMovie(3, 30));
        Read(target.get_ptr(), huge);
    }
}

TEST_F(CacheFileTest, ids_are_unsigned_sixteen_bit) {
    smart_ptr<movie_def_impl> def = Precomputed();
    smart_ptr<movie_def_impl> high = new movie_def_impl(m_player.get_ptr(), 0, 0);
    high->add_character(40000, def->get_character_def(1));
    const Bytes bytes = Write(*high);
    ASSERT_GE(bytes.size(), 6u);
    EXPECT_EQ(bytes[4] | (bytes[5] << 8), 40000);
    ClearLog();
    EXPECT_TRUE(Read(high.get_ptr(), bytes));
    EXPECT_TRUE(Log().empty());
}

std::vector<std::string> s_commands;

void record_command(swfplayer::character*, const char* command, const char*) {
    s_commands.push_back(command);
}

// Precomputing plays movies that wait, loop or never tick to an end, building the meshes of what
// they show, with the host's render handler and FSCommand receiver taken away meanwhile and given
// back afterwards.
TEST_F(CacheFileTest, precompute_terminates_quietly_and_restores_the_host) {
    const struct {
        const char* name;
        Bytes movie;
    } cases[] = {
        {"stops every frame", player_movies::WaitingMovie(5, 30, true)},
        {"loops back", player_movies::WaitingMovie(4, 30, false)},
        {"two-frame wait loop", player_movies::WaitingMovie(2, 30, false)},
        {"frame rate 0", player_movies::WaitingMovie(3, 0, false)},
        {"FSCommand at the end", player_movies::ShapesMovie(3, 30, player_movies::FsCommandAction("quit", ""))},
    };
    testing_support::RecordingRenderHandler recorder;
    swfplayer::render_handler* const host_renderer = &recorder;
    for (const auto& c : cases) {
        smart_ptr<movie_def_impl> def = LoadMovie(c.movie);
        ASSERT_TRUE(def) << c.name;
        s_commands.clear();
        swfplayer::register_fscommand_callback(record_command);
        swfplayer::set_render_handler(host_renderer);
        swfplayer::precompute_cached_data(def.get_ptr());
        EXPECT_TRUE(s_commands.empty()) << c.name;
        EXPECT_EQ(swfplayer::get_fscommand_callback(), record_command) << c.name;
        EXPECT_EQ(swfplayer::get_render_handler(), host_renderer) << c.name;
        EXPECT_TRUE(recorder.calls.empty()) << c.name;
        // Every movie shows shape 1, which got its meshes on the way.
        EXPECT_GT(MeshSets(def.get_ptr(), 1), 0) << c.name;
    }
    swfplayer::set_render_handler(nullptr);
    swfplayer::register_fscommand_callback(nullptr);
}

TEST_F(CacheFileTest, what_precomputing_scripts_do_stays_out_of_the_movies_player) {
    const Bytes movie = player_movies::ShapesMovie(3, 30, player_movies::SetGlobalAction("leaked", "yes"));
    smart_ptr<movie_def_impl> def = LoadMovie(movie);
    ASSERT_TRUE(def);
    swfplayer::precompute_cached_data(def.get_ptr());
    swfplayer::as_value value;
    EXPECT_FALSE(m_player->get_global()->get_member("leaked", &value));
    EXPECT_EQ(m_player->get_root(), nullptr);
    // Played for real, the script does set it.
    smart_ptr<swfplayer::root> played = swfplayer::create_instance(def.get_ptr());
    for (int i = 0; i < 4; ++i) {
        played->advance(1.0f / 30.0f);
    }
    ASSERT_TRUE(m_player->get_global()->get_member("leaked", &value));
    EXPECT_STREQ(value.to_string(), "yes");
}

}  // namespace swf_testing
