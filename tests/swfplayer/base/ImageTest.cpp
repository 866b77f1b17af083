#include "swfplayer/base/base_file.h"
#include "swfplayer/base/image.h"
#include "swfplayer/base/image_jpeg.h"
#include "swfplayer/base/jpeg.h"
#include "swfplayer/base/log.h"
#include "tests/support/JpegWriter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace swfplayer;
using testing_support::JpegColour;
using testing_support::JpegTables;
using testing_support::WriteJpeg;
using testing_support::WriteJpegTables;
using Bytes = std::vector<uint8_t>;

namespace {

// Flat 8 x 8 blocks, which JPEG at quality 100 without chroma subsampling keeps within a few
// levels.
std::array<uint8_t, 3> Blocks(int x, int y) {
    const int b = (x / 8) + 3 * (y / 8);
    return {static_cast<uint8_t>(40 * (b % 6) + 20), static_cast<uint8_t>(200 - 30 * (b % 5)),
            static_cast<uint8_t>((b * 70) % 256)};
}

constexpr int tolerance = 6;

// Every pixel of im (3 or 4 bytes a pixel) is near Blocks.
void ExpectBlocks(const image::image_base* im, int bytes_per_pixel, bool grey = false) {
    ASSERT_NE(im, nullptr);
    int worst = 0;
    for (int y = 0; y < im->height; y++) {
        const uint8_t* row = image::scanline(im, y);
        for (int x = 0; x < im->width; x++) {
            const std::array<uint8_t, 3> want = Blocks(x, y);
            for (int c = 0; c < 3; c++) {
                worst = std::max(worst, std::abs(row[x * bytes_per_pixel + c] - want[grey ? 0 : c]));
            }
        }
    }
    EXPECT_LE(worst, tolerance);
}

struct MemoryFile {
    explicit MemoryFile(Bytes b)
        : bytes(std::move(b)), file(memory_buffer, static_cast<int>(bytes.size()), bytes.data()) {}
    Bytes bytes;
    base_file file;
};

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) {
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

// What the decoder logged in the current test.
std::string s_jpeg_log;

// The decoder logs what it refuses; the tests keep the output quiet and keep the text.
class JpegTest : public ::testing::Test {
protected:
    void SetUp() override {
        s_jpeg_log.clear();
        m_previous = register_log_callback([](bool, const char* text) { s_jpeg_log += text; });
    }
    void TearDown() override { register_log_callback(m_previous); }

private:
    log_callback m_previous = nullptr;
};

}  // namespace

// The same picture through each reader that takes a whole stream: a complete JPEG, the same after
// a tables-only block, and one whose first bytes are an end-of-image code before the start.
TEST_F(JpegTest, readers_decode_complete_and_split_streams) {
    const Bytes full = WriteJpeg(24, 17, Blocks);
    const Bytes split = Join({WriteJpegTables(), WriteJpeg(24, 17, Blocks, JpegColour::Rgb, JpegTables::Omitted)});
    const Bytes swapped = Join({Bytes{0xFF, 0xD9, 0xFF, 0xD8}, full});
    for (const Bytes* data : {&full, &split, &swapped}) {
        SCOPED_TRACE(data == &full ? "full" : data == &split ? "split" : "swapped");
        if (data == &full) {
            MemoryFile f(*data);
            std::unique_ptr<image::rgb> im = image::read_jpeg(&f.file);
            ExpectBlocks(im.get(), 3);
            EXPECT_TRUE(im->width == 24 && im->height == 17);
        }
        MemoryFile f(*data);
        ExpectBlocks(image::read_jpeg_tables_and_image(&f.file).get(), 3);
        MemoryFile g(*data);
        std::unique_ptr<image::rgba> im = image::read_jpeg_rgba(&g.file);
        ExpectBlocks(im.get(), 4);
        for (int i = 0; i < im->width * im->height; i++) {
            ASSERT_EQ(im->data[4 * i + 3], 255);
        }
    }
}

// One tables decoder serves several images that follow it, as a movie's JPEGTables serves its
// DefineBits tags: the caller moves the file and drops what the decoder read ahead.
TEST_F(JpegTest, shared_tables_decoder_decodes_successive_images) {
    const Bytes tables = WriteJpegTables();
    const Bytes first = WriteJpeg(16, 8, Blocks, JpegColour::Rgb, JpegTables::Omitted);
    const Bytes second = WriteJpeg(9, 30, Blocks, JpegColour::Rgb, JpegTables::Omitted);
    MemoryFile f(Join({tables, first, second}));
    std::unique_ptr<jpeg::input> j_in = jpeg::input::create_tables_only(&f.file);
    ASSERT_NE(j_in, nullptr);
    int start = static_cast<int>(tables.size());
    for (const Bytes* image_bytes : {&first, &second}) {
        f.file.set_position(start);
        j_in->discard_buffered_input();
        std::unique_ptr<image::rgb> im = image::read_jpeg_with_tables(j_in.get());
        ExpectBlocks(im.get(), 3);
        start += static_cast<int>(image_bytes->size());
    }
}

// Grey data is expanded to colour; CMYK has no conversion and gives no image.
TEST_F(JpegTest, grey_becomes_colour_and_cmyk_is_refused) {
    MemoryFile grey(WriteJpeg(16, 16, Blocks, JpegColour::Grey));
    ExpectBlocks(image::read_jpeg(&grey.file).get(), 3, true);
    MemoryFile cmyk(WriteJpeg(16, 16, Blocks, JpegColour::Cmyk)), cmyk_rgba(cmyk.bytes);
    EXPECT_EQ(image::read_jpeg(&cmyk.file), nullptr);
    EXPECT_EQ(image::read_jpeg_rgba(&cmyk_rgba.file), nullptr);
}

// Broken data never stops the program: truncated data is completed by libjpeg at full size,
// everything else gives null.
TEST_F(JpegTest, damaged_streams_give_null_or_a_completed_image) {
    const Bytes full = WriteJpeg(128, 128, Blocks);
    MemoryFile truncated(Bytes(full.begin(), full.begin() + full.size() * 3 / 4));
    std::unique_ptr<image::rgb> im = image::read_jpeg(&truncated.file);
    ASSERT_NE(im, nullptr);
    EXPECT_TRUE(im->width == 128 && im->height == 128);

    // The frame header's height and width (after the marker, length and precision) claim
    // 65500 x 65500 pixels.
    Bytes huge = full;
    for (size_t i = 0; i + 8 < huge.size(); i++) {
        if (huge[i] == 0xFF && huge[i + 1] == 0xC0) {
            huge[i + 5] = huge[i + 7] = 0xFF;
            huge[i + 6] = huge[i + 8] = 0xDC;
            break;
        }
    }
    Bytes garbage(3000);
    for (size_t i = 0; i < garbage.size(); i++) {
        garbage[i] = static_cast<uint8_t>(i * 7919 >> 3);
    }
    const Bytes cases[] = {
        huge, Bytes{}, garbage, Bytes{0xFF, 0xD8}, Bytes(full.begin(), full.begin() + 20), WriteJpegTables()};
    for (const Bytes& data : cases) {
        SCOPED_TRACE(data.size());
        MemoryFile a(data), b(data), c(data);
        EXPECT_EQ(image::read_jpeg(&a.file), nullptr);
        EXPECT_EQ(image::read_jpeg_tables_and_image(&b.file), nullptr);
        EXPECT_EQ(image::read_jpeg_rgba(&c.file), nullptr);
    }
    EXPECT_EQ(image::read_jpeg("no/such/file.jpg"), nullptr);
}

// A fatal error inside libjpeg ends the decode with libjpeg's message and the decoder's own line on
// standard error; a source with no bytes at all fails as the source's fault, without that line.
TEST_F(JpegTest, fatal_errors_and_an_empty_source_each_say_what_failed) {
    Bytes garbage(3000);
    for (size_t i = 0; i < garbage.size(); i++) {
        garbage[i] = static_cast<uint8_t>(i * 7919 >> 3);
    }
    for (const Bytes& data : {garbage, Bytes{}}) {
        SCOPED_TRACE(data.size());
        s_jpeg_log.clear();
        MemoryFile f(data);
        testing::internal::CaptureStderr();
        EXPECT_EQ(image::read_jpeg(&f.file), nullptr);
        const std::string written = testing::internal::GetCapturedStderr();
        const bool empty = data.empty();
        EXPECT_EQ(written, empty ? "" : "internal error in jpeglib\n");
        EXPECT_EQ(s_jpeg_log.find("empty jpeg source stream.\n") != std::string::npos, empty) << s_jpeg_log;
        EXPECT_FALSE(s_jpeg_log.empty());  // libjpeg's message, or the empty source's
    }
}

// Each kind's pitch: rgb rows padded to 4 bytes, rgba and alpha rows packed; rows run top first.
TEST(Image, pitch_of_each_kind_and_rows_top_first) {
    struct Case {
        int width;
        int rgb_pitch;
    };
    for (const Case& c : {Case{1, 4}, Case{2, 8}, Case{3, 12}, Case{4, 12}, Case{5, 16}, Case{100, 300}}) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(image::create_rgb(c.width, 3)->pitch, c.rgb_pitch);
        EXPECT_EQ(image::create_rgba(c.width, 3)->pitch, 4 * c.width);
        EXPECT_EQ(image::create_alpha(c.width, 3)->pitch, c.width);
        EXPECT_EQ(image::create_rgb(c.width, 3)->type, image::image_base::RGB);
    }
    std::unique_ptr<image::rgba> im = image::create_rgba(3, 5);
    im->set_pixel(2, 4, 1, 2, 3, 4);
    const uint8_t* p = im->data.get() + 4 * 12 + 2 * 4;  // row 4 of pitch 12, pixel 2
    EXPECT_EQ((std::vector<int>{p[0], p[1], p[2], p[3]}), (std::vector<int>{1, 2, 3, 4}));
}

// Sizes from data are checked before anything is allocated: empty, negative, too wide and too
// many pixels give no image.
TEST(Image, refused_sizes_give_no_image) {
    struct Case {
        int width, height;
        bool allowed;
    };
    const Case cases[] = {
        {1, 1, true},   {image::max_side, 1, true},      {4096, 4096, true},    {0, 5, false},      {5, 0, false},
        {-1, 5, false}, {image::max_side + 1, 1, false}, {65500, 65500, false}, {4097, 4096, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        EXPECT_EQ(image::size_allowed(c.width, c.height), c.allowed);
        EXPECT_EQ(image::create_alpha(c.width, c.height) != nullptr, c.allowed);
        if (!c.allowed) {
            EXPECT_EQ(image::create_rgb(c.width, c.height), nullptr);
            EXPECT_EQ(image::create_rgba(c.width, c.height), nullptr);
        }
    }
}
