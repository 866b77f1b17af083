#include "swfplayer/main/loading/execute_tags.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/loading/place_object_2.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tools/swfkit/Movie.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using swfkit::Movie;

// A read-only file over bytes that counts every byte handed out, so a test can hold loading
// to a budget of bytes read: reading a tag twice, or inflating a compressed movie again from
// its start, shows up as bytes read beyond the file's size.
struct CountingFile {
    const Bytes* bytes = nullptr;
    int position = 0;
    long long read = 0;

    static int Read(void* dst, int count, void* data) {
        auto* file = static_cast<CountingFile*>(data);
        int n = std::max(0, std::min(count, static_cast<int>(file->bytes->size()) - file->position));
        std::memcpy(dst, file->bytes->data() + file->position, static_cast<size_t>(n));
        file->position += n;
        file->read += n;
        return n;
    }
    static int Seek(int position, void* data) {
        auto* file = static_cast<CountingFile*>(data);
        file->position = std::clamp(position, 0, static_cast<int>(file->bytes->size()));
        return 0;
    }
    static int SeekToEnd(void* data) { return Seek(INT32_MAX, data); }
    static int Tell(void* data) { return static_cast<CountingFile*>(data)->position; }
    static bool Eof(void* data) {
        auto* file = static_cast<CountingFile*>(data);
        return file->position >= static_cast<int>(file->bytes->size());
    }
    static int Close(void*) { return 0; }
};

class LoadBudgetTest : public swf_testing::SwfLoadingFixture {
protected:
    // Loads the movie through a counting file and returns the bytes read from it.
    long long LoadCounting(const Bytes& bytes) {
        CountingFile counter{&bytes};
        auto* file =
            new swfplayer::base_file(&counter, CountingFile::Read, nullptr, CountingFile::Seek, CountingFile::SeekToEnd,
                                     CountingFile::Tell, CountingFile::Eof, CountingFile::Close);
        m_def = swfplayer::create_movie_definition(m_player.get_ptr(), file);
        return counter.read;
    }
    const swfplayer::do_action* FirstAction() const {
        return dynamic_cast<const swfplayer::do_action*>(m_def->get_playlist(0)[0]);
    }

    swfplayer::smart_ptr<swfplayer::movie_def_impl> m_def;
};

TEST_F(LoadBudgetTest, clip_action_records_of_a_compressed_movie_are_inflated_once) {
    constexpr int records = 4000;
    swfkit::Placement placement;
    placement.characterId = 1;
    placement.clipActions.assign(records, swfkit::ClipAction{0x1, 0, {0x00}});
    Movie movie(6, {0, 100, 0, 100}, 12.0);
    movie.Tags().PlaceObject2(placement).ShowFrame();
    for (bool compressed : {false, true}) {
        SCOPED_TRACE(compressed);
        Bytes bytes = movie.Write(compressed);
        long long read = LoadCounting(bytes);
        ASSERT_TRUE(m_def);
        auto* place = dynamic_cast<const swfplayer::place_object_2*>(m_def->get_playlist(0)[0]);
        ASSERT_TRUE(place);
        EXPECT_EQ(place->m_event_handlers.size(), records);
        // Each byte of the file is read about once (the inflater reads ahead by a block).
        EXPECT_LE(read, static_cast<long long>(bytes.size()) + 8192);
    }
}

TEST_F(LoadBudgetTest, an_action_tag_is_read_up_to_its_end_action_into_a_buffer_no_larger_than_the_tag) {
    // 64 Push records of the longest payload, the end action, then bytes that are never actions.
    Bytes actions;
    for (int i = 0; i < 64; i++) {
        actions.insert(actions.end(), {0x96, 0xFF, 0xFF});
        actions.insert(actions.end(), 0xFFFF, static_cast<uint8_t>(i));
    }
    actions.push_back(0x00);
    const size_t used = actions.size();
    actions.insert(actions.end(), used, 0x07);
    Movie movie(6, {0, 100, 0, 100}, 12.0);
    movie.Tags().DoAction(actions).ShowFrame();
    Bytes bytes = movie.Write(false);

    long long read = LoadCounting(bytes);
    ASSERT_TRUE(m_def);
    const swfplayer::do_action* action = FirstAction();
    ASSERT_TRUE(action);
    EXPECT_EQ(action->m_buf.size(), static_cast<int>(used));
    EXPECT_LE(action->m_buf.capacity(), static_cast<int>(actions.size()) + 1);
    // The bytes behind the end action are skipped, not read.
    EXPECT_LE(read, static_cast<long long>(used) + 8192);
}

TEST_F(LoadBudgetTest, an_action_buffer_is_cut_at_its_cap_with_a_log_line) {
    // One-byte actions and no end action, past the cap; compressed, the movie is small.
    Bytes actions(swfplayer::max_action_buffer_bytes + 4096, 0x07);
    Movie movie(6, {0, 100, 0, 100}, 12.0);
    movie.Tags().DoAction(actions).ShowFrame();
    Bytes bytes = movie.Write(true);

    long long read = LoadCounting(bytes);
    ASSERT_TRUE(m_def);
    const swfplayer::do_action* action = FirstAction();
    ASSERT_TRUE(action);
    EXPECT_EQ(action->m_buf.size(), swfplayer::max_action_buffer_bytes + 1);
    EXPECT_EQ(action->m_buf[swfplayer::max_action_buffer_bytes], 0);
    EXPECT_LE(action->m_buf.capacity(), swfplayer::max_action_buffer_bytes + 1);
    EXPECT_TRUE(Logged("only the first"));
    EXPECT_LE(read, static_cast<long long>(bytes.size()) + 8192);
}

}  // namespace
