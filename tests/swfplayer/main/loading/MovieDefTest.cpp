#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/place_object_2.h"
#include "swfplayer/main/loading/sprite_definition.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tools/swfkit/Movie.h"

#include <gtest/gtest.h>

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
            Movie movie = TwoFrameMovie(version);
            Bytes bytes = movie.Write(compressed);
            auto def = LoadMovie(bytes);
            ASSERT_TRUE(def) << version << compressed;
            EXPECT_EQ(def->get_version(), version);
            EXPECT_EQ(def->get_frame_count(), 2);
            EXPECT_FLOAT_EQ(def->get_frame_rate(), 24.0f);
            EXPECT_EQ(def->get_width_pixels(), 550.0f);
            EXPECT_EQ(def->get_height_pixels(), 400.0f);
            EXPECT_EQ(def->get_playlist(0).size(), 1);
            EXPECT_EQ(def->get_playlist(1).size(), 1);
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
    Bytes bytes = {'F', 'W', 'S', 6, 15, 0, 0, 0, 0x00, 0x00, 0x18, 0x01, 0x00, 0x00, 0x00};
    auto fast = LoadMovie(bytes);
    ASSERT_TRUE(fast);
    EXPECT_EQ(fast->get_frame_rate(), 24.0f);
    EXPECT_EQ(fast->get_width_pixels(), 0.0f);
}

TEST_F(MovieDefTest, files_that_are_not_movies_give_null) {
    Movie movie = TwoFrameMovie(6);
    Bytes good = movie.Write(false);
    Bytes zws = good;
    zws[0] = 'Z';
    Bytes fwx = good;
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
    // Shorter: up to and including the first ShowFrame (background 5 bytes, label 8,
    // ShowFrame 2), so the tag loop ends there.
    Movie movie = TwoFrameMovie(6);
    size_t full_size = movie.Write(false).size();
    swfkit::BitWriter rect;
    swfkit::WriteRect(rect, {0, 11000, 0, 8000});
    int header = 8 + static_cast<int>(rect.GetBytes().size()) + 4;
    movie.SetDeclaredLength(static_cast<uint32_t>(header + 5 + 8 + 2));
    auto def = LoadMovie(movie.Write(false));
    ASSERT_TRUE(def);
    EXPECT_EQ(def->get_playlist(0).size(), 1);
    EXPECT_EQ(def->get_playlist(1).size(), 0);
    EXPECT_GT(static_cast<int>(full_size), def->get_file_bytes());
}

TEST_F(MovieDefTest, end_tag_before_the_end_stops_with_a_warning) {
    Movie movie(6, {0, 100, 0, 100}, 12.0);
    movie.Tags().ShowFrame().End().SetBackgroundColor({1, 2, 3}).ShowFrame();
    movie.SetFrameCount(2);
    auto def = LoadMovie(movie.Write(false));
    ASSERT_TRUE(def);
    EXPECT_TRUE(Logged("warning: hit stream-end tag, but not at the end of the file yet; stopping for safety"));
    EXPECT_EQ(def->get_playlist(1).size(), 0);
}

TEST_F(MovieDefTest, unknown_tags_are_logged_and_skipped) {
    Movie movie(6, {0, 100, 0, 100}, 12.0);
    movie.Tags().Tag(1000, {1, 2, 3}).Tag(65, {0, 0, 0, 0}).SetBackgroundColor({1, 2, 3}).ShowFrame();
    auto def = LoadMovie(movie.Write(false));
    ASSERT_TRUE(def);
    EXPECT_TRUE(Logged("*** no tag loader for type 1000"));
    EXPECT_TRUE(Logged("*** no tag loader for type 65"));
    EXPECT_EQ(def->get_playlist(0).size(), 1);
}

TEST_F(MovieDefTest, frame_tags_beyond_the_declared_frames_are_dropped) {
    Movie movie(6, {0, 100, 0, 100}, 12.0);
    movie.Tags().RemoveObject2(1).ShowFrame().RemoveObject2(2).ShowFrame().RemoveObject2(3).ShowFrame();
    movie.Tags().DoInitAction(5, {0x07, 0x00});
    movie.SetFrameCount(1);
    auto def = LoadMovie(movie.Write(false));
    ASSERT_TRUE(def);
    EXPECT_EQ(def->get_frame_count(), 1);
    EXPECT_EQ(def->get_playlist(0).size(), 1);
    EXPECT_EQ(CountLogged("frame tag after the last declared frame (1) dropped"), 2);
    EXPECT_TRUE(Logged("init action after the last declared frame (1) dropped"));
    EXPECT_EQ(def->get_init_actions(1), nullptr);
}

TEST_F(MovieDefTest, tags_after_the_last_show_frame_land_in_the_last_frame) {
    Movie movie(6, {0, 100, 0, 100}, 12.0);
    movie.Tags().ShowFrame().RemoveObject2(9);
    movie.SetFrameCount(2);
    auto def = LoadMovie(movie.Write(false));
    ASSERT_TRUE(def);
    ASSERT_EQ(def->get_playlist(1).size(), 1);
}

TEST_F(MovieDefTest, duplicate_ids_labels_and_exports) {
    Movie movie(6, {0, 100, 0, 100}, 12.0);
    TagList first(6);
    first.ShowFrame();
    TagList second(6);
    second.ShowFrame().ShowFrame().ShowFrame();
    movie.Tags().DefineSprite(7, first).DefineSprite(7, second).DefineSprite(8, second);
    movie.Tags().FrameLabel("a").ShowFrame().FrameLabel("A").ShowFrame();
    movie.Tags().ExportAssets({{7, "clip"}}).ExportAssets({{8, "CLIP"}});
    auto def = LoadMovie(movie.Write(false));
    ASSERT_TRUE(def);
    auto* kept = static_cast<swfplayer::movie_definition*>(def->get_character_def(7));
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->get_frame_count(), 1);  // the first definition of id 7 stays
    EXPECT_TRUE(Logged("character id 7 is defined twice; keeping the first"));
    int frame = -1;
    EXPECT_TRUE(def->get_labeled_frame("a", &frame));
    EXPECT_EQ(frame, 0);
    EXPECT_TRUE(Logged("frame label 'A' of frame 0 is used again in frame 1"));
    // Exporting a name twice keeps the second resource.
    EXPECT_EQ(def->get_exported_resource("clip"), def->get_character_def(8));
}

TEST_F(MovieDefTest, script_class_and_scene_tables) {
    Movie movie(9, {0, 100, 0, 100}, 12.0);
    swfkit::BitWriter symbols;
    symbols.WriteU16(2);
    symbols.WriteU16(0);
    symbols.WriteString("Main");
    symbols.WriteU16(40000);
    symbols.WriteString("Ball");
    swfkit::BitWriter scenes;
    scenes.WriteVu32(1);
    scenes.WriteVu32(0);
    scenes.WriteString("Scene 1");
    scenes.WriteVu32(2);
    scenes.WriteVu32(0);
    scenes.WriteString("intro");
    scenes.WriteVu32(300);
    scenes.WriteString("outro");
    movie.Tags()
        .Tag(swfplayer::tag_symbol_class, symbols.GetBytes())
        .Tag(swfplayer::tag_define_scene_and_frame_label_data, scenes.GetBytes())
        .ShowFrame();
    auto def = LoadMovie(movie.Write(false));
    ASSERT_TRUE(def);
    swfplayer::base_string name;
    EXPECT_TRUE(def->get_symbol_classes().get(40000, &name));
    EXPECT_EQ(name, "Ball");
    EXPECT_TRUE(def->get_scenes().get(0, &name));
    EXPECT_EQ(name, "Scene 1");
    EXPECT_TRUE(def->get_frame_labels().get(300, &name));
    EXPECT_EQ(name, "outro");
    // Scene labels do not enter the frame-label table.
    EXPECT_FALSE(def->get_labeled_frame("intro", nullptr));
}

TEST_F(MovieDefTest, scene_counts_are_bounded_by_the_tag) {
    Movie movie(9, {0, 100, 0, 100}, 12.0);
    swfkit::BitWriter scenes;
    scenes.WriteVu32(0xFFFFFFFF);
    scenes.WriteVu32(1);
    scenes.WriteString("only");
    movie.Tags().Tag(swfplayer::tag_define_scene_and_frame_label_data, scenes.GetBytes()).ShowFrame();
    auto def = LoadMovie(movie.Write(false));
    ASSERT_TRUE(def);
    EXPECT_LE(def->get_scenes().size(), 2);
}

TEST_F(MovieDefTest, harmless_control_tags_are_read_and_ignored) {
    Movie movie(9, {0, 100, 0, 100}, 12.0);
    movie.Tags()
        .Tag(swfplayer::tag_file_attributes, {0x08, 0, 0, 0})
        .Tag(swfplayer::tag_metadata, {'<', 'x', '/', '>', 0})
        .Tag(swfplayer::tag_protect, {})
        .Tag(swfplayer::tag_enable_debugger, {'p', 0})
        .Tag(swfplayer::tag_enable_debugger2, {0, 0, 'p', 0})
        .Tag(swfplayer::tag_set_tab_index, {1, 0, 2, 0})
        .Tag(swfplayer::tag_do_abc, {0, 0, 0, 0, 'a', 'b', 'c', 0, 0x10, 0x00})
        .ShowFrame();
    auto def = LoadMovie(movie.Write(false));
    ASSERT_TRUE(def);
    EXPECT_FALSE(Logged("no tag loader"));
    EXPECT_TRUE(Logged("ActionScript 3 block 'abc' skipped"));
    EXPECT_EQ(def->get_playlist(0).size(), 0);
}

}  // namespace
