#include "tools/swfkit/Movie.h"
#include "tools/swfkit/SampleMovies.h"

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

using swfkit::Bytes;
using swfkit::Movie;
using swfkit::Placement;
using swfkit::TagList;

uint32_t U32At(const Bytes& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

TEST(TagListTest, short_and_long_headers) {
    TagList tags(6);
    tags.Tag(swfplayer::tag_set_background_color, {1, 2, 3});
    EXPECT_EQ(tags.GetBytes(), (Bytes{0x43, 0x02, 1, 2, 3}));
    TagList forced(6);
    forced.Tag(swfplayer::tag_show_frame, {}, true);
    EXPECT_EQ(forced.GetBytes(), (Bytes{0x7F, 0x00, 0, 0, 0, 0}));
    TagList big(6);
    big.Tag(swfplayer::tag_define_shape, Bytes(63, 0));
    EXPECT_EQ(big.GetBytes()[0], 0xBF);
    EXPECT_EQ(U32At(big.GetBytes(), 2), 63u);
    TagList raw(6);
    raw.RawTag(swfplayer::tag_define_shape, 0xFFFFFFF0, {7});
    EXPECT_EQ(raw.GetBytes(), (Bytes{0xBF, 0x00, 0xF0, 0xFF, 0xFF, 0xFF, 7}));
}

TEST(TagListTest, placement_and_control_tags) {
    TagList tags(6);
    Placement place;
    place.characterId = 5;
    place.name = "a";
    tags.PlaceObject2(place);
    EXPECT_EQ(tags.GetBytes(), (Bytes{0x87, 0x06, 0x22, 0x01, 0x00, 0x05, 0x00, 'a', 0}));
    TagList control(6);
    control.RemoveObject(3, 4).RemoveObject2(4).SetBackgroundColor({1, 2, 3}).FrameLabel("x");
    EXPECT_EQ(control.GetBytes(),
              (Bytes{0x44, 0x01, 3, 0, 4, 0, 0x02, 0x07, 4, 0, 0x43, 0x02, 1, 2, 3, 0xC2, 0x0A, 'x', 0}));
    TagList exports(6);
    exports.ExportAssets({{2, "b"}});
    EXPECT_EQ(exports.GetBytes(), (Bytes{0x06, 0x0E, 1, 0, 2, 0, 'b', 0}));
}

TEST(TagListTest, clip_event_flags_follow_the_version) {
    Placement place;
    place.clipActions.push_back({0x1, 0, {0x00}});
    TagList v5(5);
    v5.PlaceObject2(place);
    TagList v6(6);
    v6.PlaceObject2(place);
    // Version 5: reserved u16, all-flags u16, record flags u16, length u32, actions, end u16.
    EXPECT_EQ(v5.GetBytes().size(), 2u + 3u + 2u + 2u + 2u + 4u + 1u + 2u);
    EXPECT_EQ(v6.GetBytes().size(), 2u + 3u + 2u + 4u + 4u + 4u + 1u + 4u);
    TagList key(6);
    place.clipActions[0] = {0x20000, 37, {0x00}};
    key.PlaceObject2(place);
    const Bytes& bytes = key.GetBytes();
    EXPECT_EQ(U32At(bytes, 2 + 3 + 2 + 4 + 4), 2u);  // the key code counts in the length
    EXPECT_EQ(bytes[2 + 3 + 2 + 4 + 4 + 4], 37);
}

TEST(TagListTest, sprites_hold_their_own_tags) {
    TagList inner(6);
    inner.ShowFrame().ShowFrame();
    TagList tags(6);
    tags.DefineSprite(9, inner);
    EXPECT_EQ(tags.GetBytes(), (Bytes{0xC8, 0x09, 9, 0, 2, 0, 0x40, 0x00, 0x40, 0x00}));
    TagList declared(6);
    declared.DefineSprite(9, inner, 0);
    EXPECT_EQ(declared.GetBytes()[4], 0);
}

TEST(MovieTest, plain_file_layout) {
    Movie movie(6, {}, 12.5);
    movie.Tags().ShowFrame();
    Bytes bytes = movie.Write(false);
    EXPECT_EQ(bytes, (Bytes{'F', 'W', 'S', 6, 17, 0, 0, 0, 0x00, 0x80, 0x0C, 1, 0, 0x40, 0x00, 0x00, 0x00}));
    movie.SetFrameCount(0);
    movie.SetDeclaredLength(1000);
    movie.Tags().End();
    Bytes changed = movie.Write(false);
    EXPECT_EQ(U32At(changed, 4), 1000u);
    EXPECT_EQ(changed[11], 0);
    EXPECT_EQ(changed.size(), 17u);  // the tags already end with an End tag
}

TEST(MovieTest, compressed_file_inflates_to_the_plain_content) {
    Movie movie(7, {0, 11000, 0, 8000}, 30.0);
    for (int i = 0; i < 50; i++) {
        movie.Tags().FrameLabel("frame" + std::to_string(i)).ShowFrame();
    }
    Bytes plain = movie.Write(false);
    Bytes packed = movie.Write(true);
    EXPECT_EQ(packed[0], 'C');
    EXPECT_EQ(U32At(packed, 4), plain.size());
    Bytes content(plain.size() - 8);
    uLongf size = static_cast<uLongf>(content.size());
    ASSERT_EQ(uncompress(content.data(), &size, packed.data() + 8, static_cast<uLong>(packed.size() - 8)), Z_OK);
    EXPECT_EQ(size, content.size());
    EXPECT_TRUE(std::equal(content.begin(), content.end(), plain.begin() + 8));
    EXPECT_LT(packed.size(), plain.size());
}

TEST(SampleMoviesTest, every_sample_is_a_movie_in_both_forms) {
    auto samples = swfkit::LoaderSampleMovies();
    ASSERT_FALSE(samples.empty());
    EXPECT_EQ(samples.size() % 2, 0u);
    for (const auto& [name, bytes] : samples) {
        ASSERT_GT(bytes.size(), 8u) << name;
        bool compressed = name.find("_compressed") != std::string::npos;
        EXPECT_EQ(bytes[0], compressed ? 'C' : 'F') << name;
        EXPECT_EQ(bytes[1], 'W');
        EXPECT_EQ(bytes[2], 'S');
    }
    Bytes large = swfkit::LargeMovie(100, false);
    EXPECT_EQ(U32At(large, 4), large.size());
    EXPECT_GT(large.size(), 100u * 40u);
}

}  // namespace
