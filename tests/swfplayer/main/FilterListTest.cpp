#include <gtest/gtest.h>

#include <vector>

#include "swfplayer/main/filter_list.h"
#include "tests/swfplayer/main/SwfLoadingFixture.h"
#include "tools/swfkit/BitWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

class FilterListTest : public swf_testing::SwfLoadingFixture {
protected:
    // Reads a filter list from inside a tag holding list and a sentinel byte; gives the bytes
    // the list took, or -1 when the reader gave up.
    int BytesTaken(const Bytes& list) {
        swfkit::BitWriter tag;
        tag.WriteU16(70 << 6 | 0x3F);
        tag.WriteU32(static_cast<uint32_t>(list.size() + 1));
        tag.WriteBytes(list);
        tag.WriteU8(0xEE);
        Bytes bytes = tag.GetBytes();
        swf_testing::ByteStream s(bytes);
        s.in.open_tag();
        int start = s.in.get_position();
        if (!swfplayer::read_filters(&s.in)) {
            return -1;
        }
        int taken = s.in.get_position() - start;
        EXPECT_EQ(s.in.read_u8(), 0xEE);
        return taken;
    }
    // A list of one filter with the id and a zero body of body_bytes, after the leading bytes.
    static Bytes One(uint8_t id, int body_bytes, const Bytes& leading = {}) {
        Bytes list = {1, id};
        list.insert(list.end(), leading.begin(), leading.end());
        list.resize(list.size() + static_cast<size_t>(body_bytes));
        return list;
    }
};

TEST_F(FilterListTest, each_filter_takes_its_size) {
    EXPECT_EQ(BytesTaken({0}), 1);
    EXPECT_EQ(BytesTaken(One(0, 23)), 25);   // drop shadow
    EXPECT_EQ(BytesTaken(One(1, 9)), 11);    // blur: 10 with its id
    EXPECT_EQ(BytesTaken(One(2, 15)), 17);   // glow
    EXPECT_EQ(BytesTaken(One(3, 27)), 29);   // bevel
    EXPECT_EQ(BytesTaken(One(6, 80)), 82);   // colour matrix: 81 with its id
    // Gradient glow and bevel with 2 colours: 31 with the id.
    EXPECT_EQ(BytesTaken(One(4, 29, {2})), 32);
    EXPECT_EQ(BytesTaken(One(7, 29, {2})), 32);
    // Convolution 3 x 3: 52 with the id.
    EXPECT_EQ(BytesTaken(One(5, 49, {3, 3})), 53);
}

TEST_F(FilterListTest, several_filters_in_one_list) {
    Bytes list = {3, 1};
    list.resize(list.size() + 9);
    list.push_back(6);
    list.resize(list.size() + 80);
    list.push_back(4);
    list.push_back(0);  // no colours
    list.resize(list.size() + 19);
    EXPECT_EQ(BytesTaken(list), static_cast<int>(list.size()));
}

TEST_F(FilterListTest, verbose_parse_names_the_filters) {
    swfplayer::set_verbose_parse(true);
    BytesTaken(One(1, 9));
    swfplayer::set_verbose_parse(false);
    EXPECT_TRUE(Logged("  filter = BlurFilter\n"));
}

TEST_F(FilterListTest, unknown_ids_and_oversized_filters_fail_the_record) {
    EXPECT_EQ(BytesTaken({1, 8, 0, 0}), -1);
    EXPECT_TRUE(Logged("unknown filter id 8"));
    // 255 x 255 convolution values cannot fit in the tag.
    EXPECT_EQ(BytesTaken({1, 5, 255, 255, 0, 0}), -1);
    EXPECT_EQ(BytesTaken({1, 4, 200, 0}), -1);
    EXPECT_TRUE(Logged("runs past the end of its tag"));
}

}  // namespace
