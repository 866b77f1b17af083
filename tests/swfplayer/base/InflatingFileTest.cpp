#include "swfplayer/base/inflating_file.h"
#include "swfplayer/base/membuf.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <memory>
#include <random>
#include <vector>

using swfplayer::base_file;
using swfplayer::make_inflating_file;
using swfplayer::membuf;
using swfplayer::memory_buffer;

namespace {

using bytes = std::vector<uint8_t>;
using ints = std::vector<int>;

// Compressible but irregular data: runs and noise mixed.
bytes random_data(std::mt19937& random, int size) {
    bytes data(size);
    for (int i = 0; i < size; i++) {
        data[i] = (random() % 4 == 0) ? static_cast<uint8_t>(random()) : static_cast<uint8_t>(i / 64);
    }
    return data;
}

bytes compress_bytes(const bytes& data) {
    uLongf size = compressBound(data.size());
    bytes out(size);
    EXPECT_EQ(Z_OK, compress2(out.data(), &size, data.data(), data.size(), Z_DEFAULT_COMPRESSION));
    out.resize(size);
    return out;
}

// A memory file holding the given bytes (a writable copy, so positions work as for any file).
std::unique_ptr<base_file> file_of(const bytes& content) {
    auto file = std::make_unique<base_file>(memory_buffer);
    file->write_bytes(content.data(), static_cast<int>(content.size()));
    file->set_position(0);
    return file;
}

TEST(InflatingFile, matches_zlib_in_random_chunk_sizes_including_zero) {
    std::mt19937 random(1234);
    for (int round = 0; round < 12; round++) {
        bytes original = random_data(random, 1 + static_cast<int>(random() % 60000));
        auto source = file_of(compress_bytes(original));
        std::unique_ptr<base_file> in(make_inflating_file(source.get()));
        bytes out;
        while (!in->get_eof()) {
            int chunk = static_cast<int>(random() % 9000);
            chunk = random() % 10 == 0 ? 0 : chunk;
            bytes block(chunk + 1);
            int got = in->read_bytes(block.data(), chunk);
            ASSERT_GE(got, 0);
            ASSERT_LE(got, chunk);
            out.insert(out.end(), block.begin(), block.begin() + got);
            ASSERT_LE(out.size(), original.size());
        }
        EXPECT_EQ(original, out) << "round " << round;
        // At the end nothing more comes, and the stream is read-only.
        EXPECT_EQ((ints{in->get_position(), in->read_bytes(out.data(), 1), in->write_bytes("abc", 3)}),
                  (ints{static_cast<int>(original.size()), 0, 0}));
    }
}

TEST(InflatingFile, seeking_back_replays_the_same_bytes) {
    std::mt19937 random(99);
    bytes original = random_data(random, 20000);
    auto source = file_of(compress_bytes(original));
    std::unique_ptr<base_file> in(make_inflating_file(source.get()));
    bytes first(15000), again(15000);
    ASSERT_EQ(15000, in->read_bytes(first.data(), 15000));
    in->set_position(0);
    EXPECT_EQ((ints{in->get_position(), in->read_bytes(again.data(), 15000)}), (ints{0, 15000}));
    EXPECT_EQ(first, again);

    // Backwards, forwards (inflating and dropping) and after the end.
    for (int position : {12345, 19000, 3}) {
        in->set_position(position);
        uint8_t byte = 0;
        EXPECT_EQ((ints{in->get_position(), in->read_bytes(&byte, 1), byte}), (ints{position, 1, original[position]}));
        in->go_to_end();
        EXPECT_EQ((ints{in->get_position(), in->get_eof()}), (ints{20000, 1}));
    }
    in->set_position(30000);  // beyond the end stops at the end
    EXPECT_EQ(20000, in->get_position());
}

TEST(InflatingFile, corrupt_and_truncated_data_stop_the_stream_for_good) {
    std::mt19937 random(7);
    bytes original = random_data(random, 50000);
    bytes compressed = compress_bytes(original);
    bytes corrupt = compressed;
    for (size_t i = corrupt.size() / 3; i < corrupt.size() / 3 + 40; i++) {
        corrupt[i] ^= 0x5A;
    }
    std::vector<std::pair<std::string, bytes>> damaged = {{"corrupt", corrupt}};
    for (size_t cut : {size_t{0}, size_t{1}, size_t{2}, compressed.size() / 2, compressed.size() - 1}) {
        damaged.emplace_back("cut at " + std::to_string(cut), bytes(compressed.begin(), compressed.begin() + cut));
    }
    for (const auto& [name, data] : damaged) {
        auto source = file_of(data);
        std::unique_ptr<base_file> in(make_inflating_file(source.get()));
        bytes out(original.size() + 1);
        int got = in->read_bytes(out.data(), static_cast<int>(out.size()));
        // Without its last bytes (the checksum) the data may still all come out.
        EXPECT_LE(got, static_cast<int>(original.size())) << name;
        if (name != "corrupt") {
            EXPECT_TRUE(std::equal(out.begin(), out.begin() + got, original.begin())) << name;
        }
        // The stream is at its end, so copy loops end.
        EXPECT_EQ((ints{in->get_eof(), in->read_bytes(out.data(), 10)}), (ints{1, 0})) << name;
        membuf rest;
        in->copy_to(&rest);
        EXPECT_EQ(0, rest.size()) << name;
        if (name == "corrupt") {
            EXPECT_LT(got, static_cast<int>(original.size()));
            in->set_position(0);  // a stream in error stays stopped
            EXPECT_EQ(0, in->read_bytes(out.data(), 100));
        }
    }
}

TEST(InflatingFile, a_failing_source_is_not_read_as_a_length) {
    base_file failing(
        nullptr, [](void*, int, void*) { return -1; }, nullptr, nullptr, nullptr, [](void*) { return 0; },
        [](void*) { return false; }, nullptr);
    std::unique_ptr<base_file> in(make_inflating_file(&failing));
    uint8_t buffer[64];
    EXPECT_EQ((ints{in->read_bytes(buffer, 64), in->get_eof()}), (ints{0, 1}));
}

TEST(InflatingFile, closing_returns_unused_input_to_the_source) {
    std::mt19937 random(5);
    bytes original = random_data(random, 500);
    bytes compressed = compress_bytes(original);
    bytes file_bytes(8, 0xAA);  // the inflater is made at position 8
    file_bytes.insert(file_bytes.end(), compressed.begin(), compressed.end());
    file_bytes.insert(file_bytes.end(), 100, 0xBB);  // 100 bytes after the stream
    auto source = file_of(file_bytes);
    source->set_position(8);
    {
        std::unique_ptr<base_file> in(make_inflating_file(source.get()));
        bytes out(1000);
        EXPECT_EQ(500, in->read_bytes(out.data(), 1000));
        EXPECT_EQ(static_cast<int>(file_bytes.size()), source->get_position());  // read ahead to the end
    }
    EXPECT_EQ(static_cast<int>(8 + compressed.size()), source->get_position());
    EXPECT_EQ(0xBB, source->read_byte());
}

}  // namespace

namespace {

TEST(InflatingFile, without_check_sum_a_bad_check_value_still_ends_the_stream_cleanly) {
    std::mt19937 random(99);
    bytes original = random_data(random, 30000);
    bytes compressed = compress_bytes(original);
    // The last byte of the Adler-32 value changed.
    bytes bad_sum(compressed.begin(), compressed.end() - 1);
    bad_sum.push_back(static_cast<uint8_t>(compressed.back() ^ 0x01));
    bytes bad_header = compressed;
    bad_header[1] ^= 0x01;  // the header check fails
    const struct {
        const char* what;
        const bytes& data;
        bool check_sum;
        int produced;
        bool seek_back_works;  // a stream that ended cleanly replays from its start
    } rows[] = {
        {"good data, checked", compressed, true, 30000, true},
        {"good data, unchecked", compressed, false, 30000, true},
        {"bad check value, checked", bad_sum, true, 30000, false},
        {"bad check value, unchecked", bad_sum, false, 30000, true},
        {"bad header, unchecked", bad_header, false, 0, false},
    };
    for (const auto& row : rows) {
        auto source = file_of(row.data);
        std::unique_ptr<base_file> in(make_inflating_file(source.get(), row.check_sum));
        bytes out(original.size() + 10);
        int got = in->read_bytes(out.data(), static_cast<int>(out.size()));
        EXPECT_EQ(got, row.produced) << row.what;
        EXPECT_TRUE(std::equal(out.begin(), out.begin() + got, original.begin())) << row.what;
        EXPECT_TRUE(in->get_eof()) << row.what;
        // Seeking back restarts the stream, still without its check when it had none.
        in->set_position(100);
        uint8_t byte = 0;
        EXPECT_EQ(in->read_bytes(&byte, 1), row.seek_back_works ? 1 : 0) << row.what;
        if (row.seek_back_works) {
            EXPECT_EQ(byte, original[100]) << row.what;
            EXPECT_EQ(in->read_bytes(out.data(), static_cast<int>(out.size())), 30000 - 101) << row.what;
        }
    }
}

}  // namespace
