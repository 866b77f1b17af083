#include "swfplayer/base/base_file.h"
#include "swfplayer/base/membuf.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/precompute.h"
#include "swfplayer/main/render/render_handler.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/shapes/shape_character_def.h"
#include "swfplayer/main/shapes/shape_loaders.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/player/PlayerMovies.h"
#include "tests/swfplayer/main/render/RecordingRenderHandler.h"
#include "tools/swfkit/ActionAssembler.h"

#include <cstring>

namespace swf_testing {

using namespace swfplayer;
using namespace swfkit;

class CacheFileTest : public SwfLoadingFixture {
protected:
    void SetUp() override {
        SwfLoadingFixture::SetUp();
        register_shape_loaders();
    }
    static Bytes Write(const movie_def_impl& def) {
        base_file out(memory_buffer);
        def.output_cached_data(&out, cache_options());
        out.set_position(0);
        membuf bytes;
        out.copy_to(&bytes);
        const uint8_t* data = static_cast<const uint8_t*>(bytes.data());
        return Bytes(data, data + bytes.size());
    }
    static bool Read(movie_def_impl* def, const Bytes& bytes) {
        base_file in(memory_buffer, static_cast<int>(bytes.size()), bytes.data());
        return def->input_cached_data(&in);
    }
    smart_ptr<movie_def_impl> Shapes() { return LoadMovie(player_movies::ShapesMovie(3, 30)); }
    // The shapes movie with meshes at two scales built for both of its squares.
    smart_ptr<movie_def_impl> Precomputed() {
        smart_ptr<movie_def_impl> def = Shapes();
        for (int id : {1, 2}) {
            auto* shape = static_cast<shape_character_def*>(def->get_character_def(id));
            for (float scale : {1.0f, 0.05f}) {
                matrix m;
                m.set_scale_rotation(scale, scale, 0.0f);
                shape->display(m, cxform(), 1.0f, shape->m_fill_styles, shape->m_line_styles);
            }
        }
        return def;
    }
    static int MeshSets(movie_def_impl* def, int id) {
        auto* shape = static_cast<shape_character_def*>(def->get_character_def(id));
        return static_cast<int>(shape->get_cached_meshes().size());
    }
};

TEST_F(CacheFileTest, written_files_read_back_silently_and_write_the_same_bytes_again) {
    // No characters: the six-byte file.
    smart_ptr<movie_def_impl> empty = new movie_def_impl(m_player.get_ptr(), 0, 0);
    EXPECT_EQ(Write(*empty), (Bytes{'g', 's', 'c', 6, 0xFF, 0xFF}));
    EXPECT_TRUE(Read(empty.get_ptr(), Write(*empty)));
    // One mesh set of tolerance 1.5, one layer, two slots (empty, then a mesh with an empty strip
    // and a list of 6 values), no line strips.
    const Bytes example{'g',  's',  'c',  6,    0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0,
                        0x3F, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00,
                        0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 1,    0,    2,    0,    3,    0,    4,
                        0,    5,    0,    6,    0,    0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF};
    smart_ptr<movie_def_impl> waiting = LoadMovie(player_movies::WaitingMovie(1, 30, false));
    ASSERT_TRUE(Read(waiting.get_ptr(), example));
    EXPECT_EQ(MeshSets(waiting.get_ptr(), 1), 1);
    EXPECT_EQ(Write(*waiting), example);
    // Two shapes with meshes and a sprite as a bare id, into a fresh definition.
    smart_ptr<movie_def_impl> def = Precomputed();
    const Bytes bytes = Write(*def);
    ASSERT_EQ(MeshSets(def.get_ptr(), 1), 2);
    smart_ptr<movie_def_impl> fresh = Shapes();
    ASSERT_TRUE(Read(fresh.get_ptr(), bytes));
    EXPECT_EQ(MeshSets(fresh.get_ptr(), 1), 2);
    EXPECT_EQ(MeshSets(fresh.get_ptr(), 2), MeshSets(def.get_ptr(), 2));
    EXPECT_EQ(Write(*fresh), bytes);
    // Ids are unsigned sixteen-bit.
    smart_ptr<movie_def_impl> high = new movie_def_impl(m_player.get_ptr(), 0, 0);
    high->add_character(40000, def->get_character_def(1));
    const Bytes high_bytes = Write(*high);
    ASSERT_GE(high_bytes.size(), 6u);
    EXPECT_EQ(high_bytes[4] | (high_bytes[5] << 8), 40000);
    EXPECT_TRUE(Read(high.get_ptr(), high_bytes));
    EXPECT_TRUE(Log().empty());
}

TEST_F(CacheFileTest, refused_damaged_truncated_and_inflated_files_log_their_fault_without_harm) {
    const Bytes good = Write(*Precomputed());
    Bytes unknown_id = good;
    unknown_id[4] = 0x39;  // the first record's id becomes one the dictionary lacks
    unknown_id[5] = 0x05;
    const std::pair<Bytes, const char*> cases[] = {
        {{'g', 's', 'x', 6, 0xFF, 0xFF}, "cache file does not have the correct format; skipping\n"},
        {{'g', 's', 'c', 5, 0xFF, 0xFF}, "cached data is version 5, but we require version 6; skipping\n"},
        {{}, "cache file does not have the correct format; skipping\n"},
        {{'g', 's', 'c', 6}, "unexpected eof reading cache file (characters); skipping\n"},
        {unknown_id, "sync error in cache file (reading characters)!  Skipping rest of cache data.\n"},
    };
    for (const auto& [bytes, message] : cases) {
        smart_ptr<movie_def_impl> target = Shapes();
        ClearLog();
        EXPECT_FALSE(Read(target.get_ptr(), bytes)) << message;
        EXPECT_EQ(Log(), std::vector<std::string>{message});
    }
    for (size_t length = 0; length < good.size(); ++length) {
        EXPECT_FALSE(Read(Shapes().get_ptr(), Bytes(good.begin(), good.begin() + length))) << length;
    }
    // Every 4-byte window set to a huge count: reading must stop at the end of the data.
    for (size_t at = 4; at + 4 <= good.size(); ++at) {
        Bytes huge = good;
        const uint32_t count = 0x7FFFFFF0;
        std::memcpy(huge.data() + at, &count, 4);
        Read(Shapes().get_ptr(), huge);
    }
}

std::vector<std::string> s_commands;

// Precomputing plays movies that wait, loop or never tick to an end, building the meshes of what
// they show, with the host's render handler and FSCommand receiver taken away meanwhile and given
// back afterwards; what its scripts do stays out of the movie's player.
TEST_F(CacheFileTest, precompute_terminates_quietly_and_restores_the_host) {
    action_assembler leak;
    leak.push({str("_global")}).op(GET_VAR);
    leak.push({str("leaked"), str("yes")}).op(SET_MEMBER);
    const Bytes cases[] = {player_movies::WaitingMovie(5, 30, true),
                           player_movies::WaitingMovie(4, 30, false),
                           player_movies::WaitingMovie(2, 30, false),
                           player_movies::WaitingMovie(3, 0, false),
                           player_movies::ShapesMovie(3, 30, player_movies::FsCommandAction("quit", "")),
                           player_movies::ShapesMovie(3, 30, leak.bytes())};
    testing_support::RecordingRenderHandler recorder;
    register_fscommand_callback([](character*, const char* command, const char*) { s_commands.push_back(command); });
    const fscommand_callback host_receiver = get_fscommand_callback();
    set_render_handler(&recorder);
    for (const Bytes& movie : cases) {
        smart_ptr<movie_def_impl> def = LoadMovie(movie);
        ASSERT_TRUE(def);
        precompute_cached_data(def.get_ptr());
        // Every movie shows shape 1, which got its meshes on the way.
        EXPECT_GT(MeshSets(def.get_ptr(), 1), 0);
        EXPECT_EQ(get_fscommand_callback(), host_receiver);
        EXPECT_EQ(get_render_handler(), &recorder);
    }
    EXPECT_TRUE(s_commands.empty());
    EXPECT_TRUE(recorder.calls.empty());
    as_value leaked;
    EXPECT_FALSE(m_player->get_global()->get_member("leaked", &leaked));
    EXPECT_EQ(m_player->get_root(), nullptr);
    set_render_handler(nullptr);
    register_fscommand_callback(nullptr);
    // Played for real, the script does set the global.
    smart_ptr<root> played = create_instance(LoadMovie(player_movies::ShapesMovie(3, 30, leak.bytes())).get_ptr());
    for (int i = 0; i < 4; ++i) {
        played->advance(1.0f / 30.0f);
    }
    ASSERT_TRUE(m_player->get_global()->get_member("leaked", &leaked));
    EXPECT_STREQ(leaked.to_string(), "yes");
}

}  // namespace swf_testing
