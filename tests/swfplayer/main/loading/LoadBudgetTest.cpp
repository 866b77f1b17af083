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
// its start for every tag, shows up as bytes read beyond the file's size. The stream measures
// the end of a compressed movie's data once before it reads the tags, which reads the file
// once more.
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

    swfplayer::smart_ptr<swfplayer::movie_def_impl> m_def;
};

TEST_F(LoadBudgetTest, clip_action_records_of_a_compressed_movie_are_not_inflated_again_per_record) {
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
        // Each byte of the file is read about once, twice when compressed (the inflater reads
        // ahead by a block).
        EXPECT_LE(read, static_cast<long long>(bytes.size()) * (compressed ? 2 : 1) + 8192);
    }
}

// An action tag is read up to its end action, into a buffer no larger than the tag; the bytes
// behind the end action are skipped, not read. Without an end action the buffer is cut at its
// cap with a log line (compressed, the movie is small).
TEST_F(LoadBudgetTest, an_action_tag_is_read_up_to_its_end_action_or_its_cap) {
    Bytes pushes;  // 64 Push records of the longest payload, the end action, then as many stops
    for (int i = 0; i < 64; i++) {
        pushes.insert(pushes.end(), {0x96, 0xFF, 0xFF});
        pushes.insert(pushes.end(), 0xFFFF, static_cast<uint8_t>(i));
    }
    pushes.push_back(0x00);
    const int used = static_cast<int>(pushes.size());
    pushes.insert(pushes.end(), pushes.size(), 0x07);
    constexpr int cap = swfplayer::max_action_buffer_bytes;
    const struct {
        Bytes actions;
        bool compressed;
        int size;
        const char* logged;
    } cases[] = {{pushes, false, used, nullptr}, {Bytes(cap + 4096, 0x07), true, cap + 1, "only the first"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        ClearLog();
        Movie movie(6, {0, 100, 0, 100}, 12.0);
        movie.Tags().DoAction(c.actions).ShowFrame();
        const Bytes bytes = movie.Write(c.compressed);
        const long long read = LoadCounting(bytes);
        ASSERT_TRUE(m_def);
        auto* action = dynamic_cast<const swfplayer::do_action*>(m_def->get_playlist(0)[0]);
        ASSERT_TRUE(action);
        EXPECT_EQ(action->m_buf.size(), c.size);
        EXPECT_EQ(action->m_buf[c.size - 1], 0);
        EXPECT_LE(action->m_buf.capacity(), std::min(static_cast<int>(c.actions.size()) + 1, cap + 1));
        EXPECT_LE(read, std::min<long long>(c.size, bytes.size()) * (c.compressed ? 2 : 1) + 8192);
        EXPECT_EQ(Logged(c.logged ? c.logged : "only the first"), c.logged != nullptr);
    }
}

}  // namespace
