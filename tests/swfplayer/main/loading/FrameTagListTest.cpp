// A timeline keeps all its frame tags in one list; each frame is a span of it. Frames are filled
// in order, with frames skipped (no tags) before, between and after the filled ones.
#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/loading/frame_tag_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using swfplayer::execute_tag;
using swfplayer::frame_tag_list;

// The tags of each frame as indices into tags.
std::vector<std::vector<int>> Frames(const frame_tag_list& list, const std::vector<execute_tag>& tags) {
    std::vector<std::vector<int>> frames;
    for (int frame = 0; frame < list.get_frame_count(); frame++) {
        std::vector<int> indices;
        for (execute_tag* tag : list.get(frame)) {
            indices.push_back(static_cast<int>(tag - tags.data()));
        }
        frames.push_back(indices);
    }
    return frames;
}

TEST(FrameTagListTest, each_frame_holds_the_tags_added_to_it_in_order) {
    struct Case {
        int frames;
        std::vector<int> frame_of_each_tag;  // tag i goes to this frame
        std::vector<std::vector<int>> expected;
    };
    const Case cases[] = {
        {1, {}, {{}}},
        {3, {0, 0, 2}, {{0, 1}, {}, {2}}},
        {4, {1, 1, 1}, {{}, {0, 1, 2}, {}, {}}},
        {5, {0, 3, 3, 4}, {{0}, {}, {}, {1, 2}, {3}}},
        {2, {1}, {{}, {0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.frames) + " frames, " + std::to_string(c.frame_of_each_tag.size()) + " tags");
        std::vector<execute_tag> tags(c.frame_of_each_tag.size());
        frame_tag_list list;
        list.reset(c.frames);
        for (size_t i = 0; i < tags.size(); i++) {
            list.add(c.frame_of_each_tag[i], &tags[i]);
            // Every frame reads right while the list is being filled, not only at the end.
            ASSERT_GT(list.get(c.frame_of_each_tag[i]).size(), 0);
        }
        list.shrink_to_fit();
        EXPECT_EQ(list.get_frame_count(), c.frames);
        EXPECT_EQ(Frames(list, tags), c.expected);
    }
}

TEST(FrameTagListTest, reset_forgets_the_tags_and_sets_the_frame_count) {
    std::vector<execute_tag> tags(3);
    frame_tag_list list;
    EXPECT_EQ(list.get_frame_count(), 0);
    list.reset(2);
    list.add(1, &tags[0]);
    list.reset(3);
    list.add(0, &tags[1]);
    list.add(2, &tags[2]);
    EXPECT_EQ(Frames(list, tags), (std::vector<std::vector<int>>{{1}, {}, {2}}));
    EXPECT_TRUE(list.get(1).empty());
    EXPECT_EQ(list.get(2)[0], &tags[2]);
}

}  // namespace
