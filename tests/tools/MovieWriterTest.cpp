#include "tools/swfkit/Movie.h"

#include <gtest/gtest.h>

namespace {

using swfkit::Bytes;
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

}  // namespace
