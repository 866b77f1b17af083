#include "swfplayer/main/as3/as3_loaders.h"
#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/sprite_definition.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tools/swfkit/SampleMovies.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using swfkit::Movie;
using swfkit::TagList;

class MovieDefTest : public swf_testing::SwfLoadingFixture {
protected:
    static Movie TwoFrameMovie(int version) {
        Movie movie(version, {0, 11000, 0, 8000}, 24.0);
        movie.Tags().SetBackgroundColor({10, 20, 30}).FrameLabel("start").ShowFrame();
        movie.Tags().RemoveObject2(1).ShowFrame();
        return movie;
    }
};

TEST_F(MovieDefTest, plain_and_compressed_files_give_the_same_definition) {
    for (int version : {5, 6, 9}) {
        for (bool compressed : {false, true}) {
            SCOPED_TRACE(version * 10 + compressed);
            Bytes bytes = TwoFrameMovie(version).Write(compressed);
            auto def = LoadMovie(bytes);
            ASSERT_TRUE(def);
            EXPECT_EQ(def->get_version(), version);
            EXPECT_EQ(def->get_frame_count(), 2);
            EXPECT_FLOAT_EQ(def->get_frame_rate(), 24.0f);
            EXPECT_EQ(def->get_width_pixels(), 550.0f);
            EXPECT_EQ(def->get_height_pixels(), 400.0f);
            EXPECT_EQ(def->get_playlist(0).size(), 1);
            ASSERT_EQ(def->get_playlist(1).size(), 1);
            EXPECT_TRUE(def->get_playlist(1)[0]->is_remove_tag());
            int frame = -1;
            EXPECT_TRUE(def->get_labeled_frame("START", &frame));
            EXPECT_EQ(frame, 0);
            // Plain positions count from the file start, compressed ones after the 8-byte header.
            int declared = static_cast<int>(bytes[4] | bytes[5] << 8);
            EXPECT_EQ(def->get_file_bytes(), compressed ? declared - 8 : declared);
            EXPECT_EQ(def->get_loaded_bytes(), def->get_file_bytes());
            EXPECT_TRUE(Log().empty()) << Log().front();
        }
    }
}

TEST_F(MovieDefTest, header_values) {
    Movie movie(6, {0, 11001, 0, 20}, 12.5);
    movie.SetFrameCount(0);
    auto def = LoadMovie(movie.Write(false));
    ASSERT_TRUE(def);
    EXPECT_EQ(def->get_frame_count(), 1);  // a count of 0 is taken as 1
    EXPECT_EQ(def->get_playlist(0).size(), 0);
    EXPECT_FLOAT_EQ(def->get_frame_rate(), 12.5f);  // 0x0C80
    EXPECT_EQ(def->get_width_pixels(), 551.0f);
    EXPECT_EQ(def->get_height_pixels(), 1.0f);
    EXPECT_EQ(def->get_frame_size().x_max, 11001.0f);

    // An empty frame rectangle (one byte), frame rate 0x1800, one frame, an End tag.
    auto fast = LoadMovie({'F', 'W', 'S', 6, 15, 0, 0, 0, 0x00, 0x00, 0x18, 0x01, 0x00, 0x00, 0x00});
    ASSERT_TRUE(fast);
    EXPECT_EQ(fast->get_frame_rate(), 24.0f);
    EXPECT_EQ(fast->get_width_pixels(), 0.0f);

    Bytes zws = TwoFrameMovie(6).Write(false), fwx = zws;
    zws[0] = 'Z';
    fwx[2] = 'X';
    for (const Bytes& bytes : {Bytes{}, Bytes{'F', 'W', 'S'}, zws, fwx, Bytes(100, 0x42)}) {
        ClearLog();
        EXPECT_FALSE(LoadMovie(bytes));
        EXPECT_TRUE(Logged("file does not start with a SWF header"));
    }
}

TEST_F(MovieDefTest, declared_length_longer_or_shorter_than_the_data) {
    // Longer: the tag loop stops at the end of the data.
    for (bool compressed : {false, true}) {
        Movie movie = TwoFrameMovie(6);
        movie.SetDeclaredLength(100000);
        auto def = LoadMovie(movie.Write(compressed));
        ASSERT_TRUE(def) << compressed;
        EXPECT_EQ(def->get_playlist(1).size(), 1);
        EXPECT_EQ(def->get_file_bytes(), compressed ? 100000 - 8 : 100000);
        EXPECT_LT(def->get_loaded_bytes(), def->get_file_bytes());
    }
    // Shorter: up to and including the first ShowFrame (background 5 bytes, label 8, ShowFrame 2),
    // so the tag loop ends there. The header is 8 bytes, the 7-byte frame rectangle and 4 more.
    Movie movie = TwoFrameMovie(6);
    movie.SetDeclaredLength(8 + 7 + 4 + 5 + 8 + 2);
    auto def = LoadMovie(movie.Write(false));
    ASSERT_TRUE(def);
    EXPECT_EQ(def->get_playlist(0).size(), 1);
    EXPECT_EQ(def->get_playlist(1).size(), 0);
}

// A compressed movie is inflated whole when its header gives at most a bound; a longer one is
// read as it inflates. Both give what the plain file gives, to the last byte.
TEST_F(MovieDefTest, compressed_movies_below_and_above_the_whole_inflate_bound_load_as_plain_ones) {
    // Fillers around and well past the room the inflated data starts with, which then doubles.
    const int room = swfplayer::movie_def_impl::inflate_start_room;
    for (int filler :
         {1000, room - 60, room, room + 1000, 3 * room, swfplayer::movie_def_impl::max_whole_inflate_bytes + 1000}) {
        SCOPED_TRACE(filler);
        Movie movie(6, {0, 11000, 0, 8000}, 24.0);
        movie.Tags().SetBackgroundColor({10, 20, 30}).FrameLabel("start").ShowFrame();
        movie.Tags().Tag(250, Bytes(static_cast<size_t>(filler), 0), true);  // a tag no loader reads
        movie.Tags().RemoveObject2(1).FrameLabel("end").ShowFrame();
        auto plain = LoadMovie(movie.Write(false));
        auto compressed = LoadMovie(movie.Write(true));
        ASSERT_TRUE(plain && compressed);
        EXPECT_EQ(compressed->get_frame_count(), 2);
        EXPECT_EQ(compressed->get_loaded_bytes(), plain->get_loaded_bytes() - 8);
        EXPECT_EQ(compressed->get_file_bytes(), plain->get_file_bytes() - 8);
        for (int frame = 0; frame < 2; frame++) {
            EXPECT_EQ(compressed->get_playlist(frame).size(), plain->get_playlist(frame).size());
        }
        int label = -1;
        EXPECT_TRUE(compressed->get_labeled_frame("end", &label));
        EXPECT_EQ(label, 1);
    }
}

// Timelines that break the rules load what fits, with exactly the log lines listed.
TEST_F(MovieDefTest, odd_timelines_keep_what_fits) {
    swfplayer::register_as3_loaders();
    const struct {
        const char* label;
        std::function<void(TagList&)> write;
        std::optional<uint16_t> frames;
        std::vector<size_t> playlists;
        std::vector<std::string> logged;
    } cases[] = {
        {"End before the end of the file",
         [](TagList& t) {
             t.ShowFrame().End().SetBackgroundColor({1, 2, 3}).ShowFrame();
         },
         2,
         {0, 0},
         {"warning: hit stream-end tag, but not at the end of the file yet; stopping for safety"}},
        {"unknown tags",
         [](TagList& t) {
             t.Tag(1000, {1, 2, 3}).Tag(65, {0, 0, 0, 0}).SetBackgroundColor({1, 2, 3}).ShowFrame();
         },
         {},
         {1},
         {"*** no tag loader for type 1000", "*** no tag loader for type 65"}},
        {"frame tags beyond the declared frames",
         [](TagList& t) {
             t.RemoveObject2(1).ShowFrame().RemoveObject2(2).ShowFrame().RemoveObject2(3).ShowFrame();
             t.DoInitAction(5, {0x07, 0x00});
         },
         1,
         {1},
         {"frame tag after the last declared frame (1) dropped", "frame tag after the last declared frame (1) dropped",
          "init action after the last declared frame (1) dropped"}},
        {"tags after the last ShowFrame land in the last frame",
         [](TagList& t) { t.ShowFrame().RemoveObject2(9); },
         2,
         {0, 1},
         {}},
        {"harmless control tags are read and ignored",
         [](TagList& t) {
             t.Tag(swfplayer::tag_file_attributes, {0x08, 0, 0, 0})
                 .Tag(swfplayer::tag_metadata, {'<', 'x', '/', '>', 0})
                 .Tag(swfplayer::tag_protect, {})
                 .Tag(swfplayer::tag_enable_debugger, {'p', 0})
                 .Tag(swfplayer::tag_enable_debugger2, {0, 0, 'p', 0})
                 .Tag(swfplayer::tag_set_tab_index, {1, 0, 2, 0})
                 .Tag(swfplayer::tag_do_abc, {0, 0, 0, 0, 'a', 'b', 'c', 0, 0x10, 0x00})
                 .ShowFrame();
         },
         {},
         {0},
         {"abc_def::read: 2 bytes wanted at offset 2 run past the end of the tag"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ClearLog();
        auto def = LoadBuilt(9, c.write, c.frames);
        ASSERT_TRUE(def);
        ASSERT_EQ(def->get_frame_count(), static_cast<int>(c.playlists.size()));
        for (size_t frame = 0; frame < c.playlists.size(); frame++) {
            EXPECT_EQ(def->get_playlist(static_cast<int>(frame)).size(), c.playlists[frame]) << frame;
        }
        EXPECT_EQ(def->get_init_actions(def->get_frame_count()), nullptr);
        EXPECT_EQ(Log().size(), c.logged.size());
        for (const std::string& line : c.logged) {
            EXPECT_EQ(CountLogged(line), std::count(c.logged.begin(), c.logged.end(), line)) << line;
        }
    }
}

TEST_F(MovieDefTest, duplicate_ids_labels_and_exports) {
    TagList first(6);
    first.ShowFrame();
    TagList second(6);
    second.ShowFrame().ShowFrame().ShowFrame();
    auto def = LoadBuilt(6, [&](TagList& t) {
        t.DefineSprite(7, first).DefineSprite(7, second).DefineSprite(8, second);
        t.FrameLabel("a").ShowFrame().FrameLabel("A").ShowFrame();
        t.ExportAssets({{7, "clip"}}).ExportAssets({{8, "CLIP"}, {13, "Missing"}});
    });
    ASSERT_TRUE(def);
    auto* kept = static_cast<swfplayer::movie_definition*>(def->get_character_def(7));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->get_frame_count(), 1);  // the first definition of id 7 stays
    EXPECT_TRUE(Logged("character id 7 is defined twice; keeping the first"));
    int frame = -1;
    EXPECT_TRUE(def->get_labeled_frame("a", &frame));
    EXPECT_EQ(frame, 0);
    EXPECT_TRUE(Logged("frame label 'A' of frame 0 is used again in frame 1"));
    // Exporting a name twice keeps the second resource; names are looked up in any case.
    EXPECT_EQ(def->get_exported_resource("clip"), def->get_character_def(8));
    EXPECT_TRUE(Logged("export error: don't know how to export resource 'Missing'"));
}

// Scene labels do not enter the frame-label table; a scene count beyond the tag is cut to it.
TEST_F(MovieDefTest, script_class_and_scene_tables) {
    // Two classes: 0 "Main" and 40000 "Ball". One scene "Scene 1" at 0; frame labels "intro" at 0
    // and "outro" at 300 (a two-byte variable-length number).
    const Bytes symbols = {2, 0, 0, 0, 'M', 'a', 'i', 'n', 0, 0x40, 0x9C, 'B', 'a', 'l', 'l', 0};
    const Bytes scenes = {1,   0,   'S', 'c', 'e', 'n',  'e',  ' ', '1', 0,   2,   0,   'i',
                          'n', 't', 'r', 'o', 0,   0xAC, 0x02, 'o', 'u', 't', 'r', 'o', 0};
    auto def = LoadBuilt(9, [&](TagList& t) {
        t.Tag(swfplayer::tag_symbol_class, symbols)
            .Tag(swfplayer::tag_define_scene_and_frame_label_data, scenes)
            .ShowFrame();
    });
    ASSERT_TRUE(def);
    swfplayer::base_string name;
    EXPECT_TRUE(def->get_symbol_classes().get(40000, &name));
    EXPECT_EQ(name, "Ball");
    EXPECT_TRUE(def->get_scenes().get(0, &name));
    EXPECT_EQ(name, "Scene 1");
    EXPECT_TRUE(def->get_frame_labels().get(300, &name));
    EXPECT_EQ(name, "outro");
    EXPECT_FALSE(def->get_labeled_frame("intro", nullptr));

    const Bytes huge = {0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 1, 'o', 'n', 'l', 'y', 0};  // 0xFFFFFFFF scenes, one given
    def = LoadBuilt(9, [&](TagList& t) { t.Tag(swfplayer::tag_define_scene_and_frame_label_data, huge); });
    ASSERT_TRUE(def);
    EXPECT_LE(def->get_scenes().size(), 2);
}

// Every prefix of every sample movie, plain and compressed, loads without a crash, an assertion
// or a hang, holding no more frames or frame tags than the whole; so do the samples with every
// third byte flipped.
TEST_F(MovieDefTest, every_prefix_and_corruption_of_every_sample_movie_loads) {
    auto samples = swfkit::LoaderSampleMovies();
    ASSERT_GE(samples.size(), 10u);
    for (const auto& [name, bytes] : samples) {
        auto whole = LoadMovie(bytes);
        ASSERT_TRUE(whole) << name;
        for (size_t length = 0; length < bytes.size(); length++) {
            SCOPED_TRACE(name + " cut at " + std::to_string(length));
            auto def = LoadMovie(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(length)));
            ASSERT_EQ(def != nullptr, length >= 8);
            ASSERT_LE(def ? def->get_frame_count() : 0, whole->get_frame_count());
            for (int frame = 0; def && frame < def->get_frame_count(); frame++) {
                EXPECT_LE(def->get_playlist(frame).size(), whole->get_playlist(frame).size());
            }
        }
        for (size_t i = 0; i < bytes.size(); i += 3) {
            Bytes corrupt = bytes;
            corrupt[i] ^= 0xFF;
            auto def = LoadMovie(corrupt);
            EXPECT_GE(def ? def->get_frame_count() : 1, 1) << name << " byte " << i;
        }
    }
}

}  // namespace
