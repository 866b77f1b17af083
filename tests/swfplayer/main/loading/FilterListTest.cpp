#include "swfplayer/main/loading/filter_list.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tools/swfkit/BitWriter.h"

#include <gtest/gtest.h>

#include <vector>

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
        swf_testing::ByteStream s(tag.GetBytes());
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
    Bytes several = {3, 1};  // blur, colour matrix, gradient glow without colours
    several.resize(several.size() + 9);
    several.push_back(6);
    several.resize(several.size() + 80);
    several.push_back(4);
    several.push_back(0);
    several.resize(several.size() + 19);
    const struct {
        const char* label;
        Bytes list;
        int taken;
    } cases[] = {
        {"empty list", {0}, 1},
        {"drop shadow", One(0, 23), 25},
        {"blur: 10 with its id", One(1, 9), 11},
        {"glow", One(2, 15), 17},
        {"bevel", One(3, 27), 29},
        {"colour matrix: 81 with its id", One(6, 80), 82},
        {"gradient glow with 2 colours: 31 with the id", One(4, 29, {2}), 32},
        {"gradient bevel with 2 colours", One(7, 29, {2}), 32},
        {"convolution 3 x 3: 52 with the id", One(5, 49, {3, 3}), 53},
        {"three filters", several, static_cast<int>(several.size())},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BytesTaken(c.list), c.taken) << c.label;
    }
}

TEST_F(FilterListTest, unknown_ids_and_oversized_filters_fail_the_record) {
    EXPECT_EQ(BytesTaken({1, 8, 0, 0}), -1);
    EXPECT_TRUE(Logged("unknown filter id 8"));
    // 255 x 255 convolution values cannot fit in the tag.
    EXPECT_EQ(BytesTaken({1, 5, 255, 255, 0, 0}), -1);
    EXPECT_EQ(BytesTaken({1, 4, 200, 0}), -1);
    EXPECT_EQ(BytesTaken(One(4, 27, {2})), -1) << "a gradient glow one byte short";
    EXPECT_TRUE(Logged("runs past the end of its tag"));
}

}  // namespace
