#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/sprite_definition.h"
#include "tests/support/JpegWriter.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

namespace {

using swfkit::TagList;
using swfplayer::sprite_definition;

class SpriteDefinitionTest : public swf_testing::SwfLoadingFixture {
protected:
    // Loads a version 7 movie of 20 frames a second whose dictionary holds the sprite of id 5 built from tags, after a
    // sprite 9 exported as "Inner".
    sprite_definition* LoadSprite(const TagList& tags, std::optional<uint16_t> frames = {}) {
        TagList inner(7);
        inner.ShowFrame();
        swfkit::Movie movie(7, {0, 100, 0, 100}, 20.0);
        movie.Tags().DefineSprite(9, inner).ExportAssets({{9, "Inner"}}).DefineSprite(5, tags, frames).ShowFrame();
        m_movie = LoadMovie(movie.Write(false));
        swfplayer::character_def* def = m_movie ? m_movie->get_character_def(5) : nullptr;
        return def && def->is(swfplayer::AS_SPRITE_DEF) ? static_cast<sprite_definition*>(def) : nullptr;
    }

    swfplayer::smart_ptr<swfplayer::movie_def_impl> m_movie;
};

// A sprite keeps its own frames and labels, apart from the movie's, and asks the containing movie
// for its version, frame rate, characters and exports.
TEST_F(SpriteDefinitionTest, own_frames_and_labels) {
    TagList tags(7);
    tags.FrameLabel("Idle").RemoveObject2(1).ShowFrame();
    tags.RemoveObject2(2).RemoveObject2(3).ShowFrame();
    tags.FrameLabel("end").ShowFrame();
    sprite_definition* sprite = LoadSprite(tags);
    ASSERT_TRUE(sprite);
    EXPECT_EQ(sprite->m_id, 5);
    EXPECT_EQ(sprite->get_frame_count(), 3);
    EXPECT_EQ(sprite->get_playlist(0).size(), 1);
    EXPECT_EQ(sprite->get_playlist(1).size(), 2);
    EXPECT_EQ(sprite->get_playlist(2).size(), 0);
    int frame = -1;
    EXPECT_TRUE(sprite->get_labeled_frame("IDLE", &frame));
    EXPECT_EQ(frame, 0);
    EXPECT_TRUE(sprite->get_labeled_frame("End", &frame));
    EXPECT_EQ(frame, 2);
    EXPECT_EQ(m_movie->get_playlist(0).size(), 0);
    EXPECT_FALSE(m_movie->get_labeled_frame("idle", nullptr));
    EXPECT_EQ(sprite->get_version(), 7);
    EXPECT_FLOAT_EQ(sprite->get_frame_rate(), 20.0f);
    EXPECT_EQ(sprite->get_character_def(9), m_movie->get_character_def(9));
    EXPECT_EQ(sprite->get_exported_resource("inner"), m_movie->get_character_def(9));
    EXPECT_EQ(sprite->get_movie_definition(), m_movie.get_ptr());
}

// Declared frames bound the playlists: zero frames give one, tags after the last ShowFrame land
// in the last declared frame, and tags beyond the declared frames are dropped. A label used again
// moves to the later frame.
TEST_F(SpriteDefinitionTest, declared_frames_bound_the_playlists) {
    TagList unshown(7), after_last(7), extra(7), relabel(7);
    unshown.RemoveObject2(1);
    after_last.ShowFrame().RemoveObject2(4);
    extra.ShowFrame().ShowFrame().RemoveObject2(4).ShowFrame();
    relabel.ShowFrame().FrameLabel("loop").ShowFrame().ShowFrame().FrameLabel("LOOP").ShowFrame();
    const struct {
        const TagList& tags;
        std::optional<uint16_t> frames;
        std::vector<size_t> playlists;
        const char* logged;
    } cases[] = {
        {unshown, 0, {1}, nullptr},
        {after_last, 2, {0, 1}, nullptr},
        {extra, 1, {0}, "sprite_definition: frame tag after the last declared frame (1) dropped"},
        {relabel, {}, {0, 0, 0, 0}, "add_frame_name(3, 'LOOP') -- frame name already assigned to frame 1; overriding"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.playlists.size());
        ClearLog();
        sprite_definition* sprite = LoadSprite(c.tags, c.frames);
        ASSERT_TRUE(sprite);
        ASSERT_EQ(sprite->get_frame_count(), static_cast<int>(c.playlists.size()));
        for (size_t i = 0; i < c.playlists.size(); i++) {
            EXPECT_EQ(sprite->get_playlist(static_cast<int>(i)).size(), c.playlists[i]);
        }
        EXPECT_EQ(Logged(c.logged ? c.logged : "sprite"), c.logged != nullptr);
    }
    int frame = -1;
    EXPECT_TRUE(LoadSprite(relabel)->get_labeled_frame("loop", &frame));
    EXPECT_EQ(frame, 3);
}

TEST_F(SpriteDefinitionTest, dictionary_export_and_init_tags_are_logged_and_not_kept) {
    TagList inner(9);
    inner.ShowFrame();
    TagList tags(9);
    tags.DefineSprite(6, inner).ExportAssets({{9, "other"}}).DoInitAction(5, {0x07, 0x00});
    tags.Tag(swfplayer::tag_metadata, {'m', 0}).Tag(1000, {1, 2}).ShowFrame();
    auto def = LoadBuilt(9, [&](TagList& t) { t.DefineSprite(9, inner).DefineSprite(5, tags).ShowFrame(); });
    ASSERT_TRUE(def);
    auto* sprite = static_cast<sprite_definition*>(def->get_character_def(5));
    ASSERT_TRUE(sprite);
    for (const char* line :
         {"add_character tag appears in sprite tags!", "can't export from sprite",
          "sprite_definition::add_init_action called!  Ignored.", "*** no tag loader for type 1000"}) {
        EXPECT_TRUE(Logged(line)) << line;
    }
    EXPECT_EQ(def->get_character_def(6), nullptr);
    EXPECT_EQ(def->get_exported_resource("other"), nullptr);
    EXPECT_EQ(sprite->get_playlist(0).size(), 0);
}

// ImportAssets, JPEGTables, SymbolClass and DefineSceneAndFrameLabelData inside a sprite reach
// their loaders with the sprite as target, which ignores what only a movie keeps: nothing of them
// reaches the movie, and none is refused as an error. The import is tried as anywhere else.
TEST_F(SpriteDefinitionTest, movie_only_tags_inside_a_sprite_are_handed_to_it_and_ignored) {
    const swfkit::Bytes scenes = {1, 0, 'S', 0, 1, 0, 'L', 0};  // one scene at 0, one label of frame 0
    TagList tags(9);
    tags.ImportAssets("whatever.swf", {{1, "x"}}).Tag(swfplayer::tag_jpeg_tables, testing_support::WriteJpegTables());
    tags.Tag(swfplayer::tag_symbol_class, {1, 0, 1, 0, 'C', 0});
    tags.Tag(swfplayer::tag_define_scene_and_frame_label_data, scenes).RemoveObject2(1).ShowFrame();
    const swfkit::Bytes image = testing_support::WriteJpeg(
        8, 8,
        [](int, int) {
            return std::array<uint8_t, 3>{9, 9, 9};
        },
        testing_support::JpegColour::Rgb, testing_support::JpegTables::Omitted);
    swfkit::BitWriter define_bits;
    define_bits.WriteU16(7);
    define_bits.WriteBytes(image);
    auto def = LoadBuilt(9, [&](TagList& t) {
        t.DefineSprite(5, tags).Tag(swfplayer::tag_define_bits, define_bits.GetBytes()).ShowFrame();
    });
    ASSERT_TRUE(def);
    auto* sprite = static_cast<sprite_definition*>(def->get_character_def(5));
    ASSERT_TRUE(sprite);
    EXPECT_EQ(sprite->get_playlist(0).size(), 1);
    EXPECT_TRUE(Logged("can't import movie from url whatever.swf"));
    EXPECT_EQ(def->get_symbol_classes().size(), 0);
    EXPECT_EQ(def->get_scenes().size(), 0);
    EXPECT_EQ(def->get_frame_labels().size(), 0);
    // The movie's DefineBits had no shared tables to decode with.
    EXPECT_TRUE(Logged("define_bits_loader: character 7 has no image it can show"));
    EXPECT_EQ(CountLoggedAsErrors("sprite"), 0);
}

TEST_F(SpriteDefinitionTest, nested_sprites_are_bounded) {
    TagList level(7);
    level.ShowFrame();
    for (int i = 0; i < 12; i++) {
        TagList outer(7);
        outer.DefineSprite(static_cast<uint16_t>(100 + i), level).ShowFrame();
        level = outer;
    }
    sprite_definition* sprite = LoadSprite(level);
    ASSERT_TRUE(sprite);
    EXPECT_TRUE(Logged("sprites deep; skipped"));
    EXPECT_EQ(sprite->get_frame_count(), 1);
}

TEST_F(SpriteDefinitionTest, empty_clip_made_by_script) {
    swfplayer::smart_ptr<sprite_definition> clip = new sprite_definition(m_player.get_ptr(), nullptr);
    EXPECT_EQ(clip->get_frame_count(), 1);
    ASSERT_EQ(clip->get_playlist(0).size(), 1);
    EXPECT_FALSE(clip->get_playlist(0)[0]->is_action_tag());
    EXPECT_EQ(clip->get_character_def(1), nullptr);  // no containing movie to ask
}

}  // namespace
