#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/sprite_definition.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tools/swfkit/Movie.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using swfkit::Movie;
using swfkit::TagList;
using swfplayer::sprite_definition;

class SpriteDefinitionTest : public swf_testing::SwfLoadingFixture {
protected:
    // Loads a movie whose dictionary holds the sprite of id 5 built from tags.
    sprite_definition* LoadSprite(const TagList& tags, std::optional<uint16_t> frames = {}) {
        Movie movie(7, {0, 100, 0, 100}, 20.0);
        movie.Tags().DefineSprite(5, tags, frames).ShowFrame();
        m_movie = LoadMovie(movie.Write(false));
        if (!m_movie) {
            return nullptr;
        }
        swfplayer::character_def* def = m_movie->get_character_def(5);
        return def && def->is(swfplayer::AS_SPRITE_DEF) ? static_cast<sprite_definition*>(def) : nullptr;
    }

    swfplayer::smart_ptr<swfplayer::movie_def_impl> m_movie;
};

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
    // The sprite's tags and labels stay out of the movie's.
    EXPECT_EQ(m_movie->get_playlist(0).size(), 0);
    EXPECT_FALSE(m_movie->get_labeled_frame("idle", nullptr));
    // Version and frame rate are the containing movie's.
    EXPECT_EQ(sprite->get_version(), 7);
    EXPECT_FLOAT_EQ(sprite->get_frame_rate(), 20.0f);
}

TEST_F(SpriteDefinitionTest, declared_frames_bound_the_playlists) {
    TagList unshown(7);
    unshown.RemoveObject2(1);
    sprite_definition* sprite = LoadSprite(unshown, 0);  // zero frames give one
    ASSERT_TRUE(sprite);
    EXPECT_EQ(sprite->get_frame_count(), 1);
    EXPECT_EQ(sprite->get_playlist(0).size(), 1);

    TagList after_last(7);
    after_last.ShowFrame().RemoveObject2(4);  // after the last ShowFrame but inside the declared frames
    sprite = LoadSprite(after_last, 2);
    ASSERT_TRUE(sprite);
    EXPECT_EQ(sprite->get_playlist(1).size(), 1);

    TagList extra(7);
    extra.ShowFrame().ShowFrame().RemoveObject2(4).ShowFrame();
    sprite = LoadSprite(extra, 1);
    ASSERT_TRUE(sprite);
    EXPECT_EQ(sprite->get_playlist(0).size(), 0);
    EXPECT_TRUE(Logged("sprite_definition: frame tag after the last declared frame (1) dropped"));
}

TEST_F(SpriteDefinitionTest, repeated_label_moves_to_the_later_frame) {
    TagList tags(7);
    tags.ShowFrame().FrameLabel("loop").ShowFrame().ShowFrame().FrameLabel("LOOP").ShowFrame();
    sprite_definition* sprite = LoadSprite(tags);
    ASSERT_TRUE(sprite);
    int frame = -1;
    EXPECT_TRUE(sprite->get_labeled_frame("loop", &frame));
    EXPECT_EQ(frame, 3);
    EXPECT_TRUE(Logged("add_frame_name(3, 'LOOP') -- frame name already assigned to frame 1; overriding"));
}

TEST_F(SpriteDefinitionTest, dictionary_export_init_import_and_class_tags_are_not_kept) {
    TagList inner(9);
    inner.ShowFrame();
    TagList tags(9);
    tags.DefineSprite(6, inner)
        .ExportAssets({{9, "other"}})
        .DoInitAction(5, {0x07, 0x00})
        .Tag(swfplayer::tag_metadata, {'m', 0});
    tags.ImportAssets("whatever.swf", {{1, "x"}})
        .Tag(swfplayer::tag_symbol_class, {1, 0, 1, 0, 'C', 0})
        .Tag(1000, {1, 2})
        .ShowFrame();
    Movie movie(9, {0, 100, 0, 100}, 20.0);
    movie.Tags().DefineSprite(9, inner).DefineSprite(5, tags).ShowFrame();
    auto def = LoadMovie(movie.Write(false));
    ASSERT_TRUE(def);
    auto* sprite = static_cast<sprite_definition*>(def->get_character_def(5));
    ASSERT_TRUE(sprite);
    for (const char* line : {"add_character tag appears in sprite tags!", "can't export from sprite",
                             "sprite_definition::add_init_action called!  Ignored.", "*** no tag loader for type 1000",
                             "ImportAssets tag inside a sprite ignored", "SymbolClass tag inside a sprite ignored"}) {
        EXPECT_TRUE(Logged(line)) << line;
    }
    EXPECT_FALSE(Logged("can't import movie"));
    EXPECT_EQ(def->get_character_def(6), nullptr);
    EXPECT_EQ(def->get_exported_resource("other"), nullptr);
    EXPECT_EQ(def->get_symbol_classes().size(), 0);
    EXPECT_EQ(sprite->get_playlist(0).size(), 0);
}

TEST_F(SpriteDefinitionTest, nested_sprites_are_bounded) {
    TagList innermost(7);
    innermost.ShowFrame();
    TagList level = innermost;
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

TEST_F(SpriteDefinitionTest, lookups_go_to_the_containing_movie) {
    TagList inner(7);
    inner.ShowFrame();
    Movie movie(7, {0, 100, 0, 100}, 20.0);
    TagList tags(7);
    tags.ShowFrame();
    movie.Tags().DefineSprite(9, inner).ExportAssets({{9, "Inner"}}).DefineSprite(5, tags).ShowFrame();
    auto def = LoadMovie(movie.Write(false));
    ASSERT_TRUE(def);
    auto* sprite = static_cast<sprite_definition*>(def->get_character_def(5));
    ASSERT_TRUE(sprite);
    EXPECT_EQ(sprite->get_character_def(9), def->get_character_def(9));
    EXPECT_EQ(sprite->get_exported_resource("inner"), def->get_character_def(9));
    EXPECT_EQ(sprite->get_movie_definition(), def.get_ptr());
}

TEST_F(SpriteDefinitionTest, empty_clip_made_by_script) {
    swfplayer::smart_ptr<sprite_definition> clip = new sprite_definition(m_player.get_ptr(), nullptr);
    EXPECT_EQ(clip->get_frame_count(), 1);
    ASSERT_EQ(clip->get_playlist(0).size(), 1);
    EXPECT_FALSE(clip->get_playlist(0)[0]->is_action_tag());
    EXPECT_EQ(clip->get_character_def(1), nullptr);  // no containing movie to ask
}

}  // namespace
