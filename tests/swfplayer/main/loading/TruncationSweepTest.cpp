#include "swfplayer/main/loading/movie_def_impl.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tools/swfkit/SampleMovies.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

class TruncationSweepTest : public swf_testing::SwfLoadingFixture {};

// Every prefix of every sample movie, plain and compressed, loads without a crash, an
// assertion or a hang; the frames of what loads are all there to be asked for.
TEST_F(TruncationSweepTest, every_prefix_of_every_sample_movie_loads) {
    auto samples = swfkit::LoaderSampleMovies();
    ASSERT_GE(samples.size(), 10u);
    size_t loads = 0;
    size_t expected_loads = 0;
    for (const auto& [name, bytes] : samples) {
        expected_loads += bytes.size() - 8;
        auto whole = LoadMovie(bytes);
        ASSERT_TRUE(whole) << name;
        for (size_t length = 0; length < bytes.size(); length++) {
            Bytes prefix(bytes.begin(), bytes.begin() + static_cast<long>(length));
            auto def = LoadMovie(prefix);
            if (length < 8) {
                EXPECT_FALSE(def) << name << " cut at " << length;
                continue;
            }
            ASSERT_TRUE(def) << name << " cut at " << length;
            // A cut file holds no more frames or frame tags than the whole one.
            ASSERT_LE(def->get_frame_count(), whole->get_frame_count()) << name << " cut at " << length;
            for (int frame = 0; frame < def->get_frame_count(); frame++) {
                EXPECT_LE(def->get_playlist(frame).size(), whole->get_playlist(frame).size())
                    << name << " cut at " << length;
            }
            loads++;
        }
    }
    EXPECT_EQ(loads, expected_loads);
}

// Flipping every third byte of each sample never breaks the loader either.
TEST_F(TruncationSweepTest, corrupted_bytes_load_without_crashing) {
    for (const auto& [name, bytes] : swfkit::LoaderSampleMovies()) {
        for (size_t i = 0; i < bytes.size(); i += 3) {
            Bytes corrupt = bytes;
            corrupt[i] ^= 0xFF;
            auto def = LoadMovie(corrupt);
            if (def) {
                EXPECT_GE(def->get_frame_count(), 1) << name << " byte " << i;
            }
        }
    }
}

}  // namespace
