#include "swfplayer/main/text/glyph_image.h"
#include "tests/support/TempDir.h"
#include "tests/swfplayer/main/text/DeviceFontKit.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>

namespace text_test {
namespace {

using Texts = std::vector<std::string>;

// A one-size bitmap font (8 pixels, 1 bit a pixel) holding only 'A', in the text format FreeType
// reads; its rows are kBitmapRows.
const uint8_t kBitmapRows[8] = {0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x81, 0x00};
std::string BitmapFont() {
    std::string rows;
    for (uint8_t row : kBitmapRows) {
        const char hex[] = "0123456789ABCDEF";
        rows += std::string{hex[row >> 4], hex[row & 15], '\n'};
    }
    return "STARTFONT 2.1\n"
           "FONT -Pondorix-Bitmap-Medium-R-Normal--8-80-75-75-C-80-ISO10646-1\n"
           "SIZE 8 75 75\n"
           "FONTBOUNDINGBOX 8 8 0 -1\n"
           "STARTPROPERTIES 5\n"
           "PIXEL_SIZE 8\n"
           "FONT_ASCENT 7\n"
           "FONT_DESCENT 1\n"
           "CHARSET_REGISTRY \"ISO10646\"\n"
           "CHARSET_ENCODING \"1\"\n"
           "ENDPROPERTIES\n"
           "CHARS 1\n"
           "STARTCHAR A\n"
           "ENCODING 65\n"
           "SWIDTH 1000 0\n"
           "DWIDTH 8 0\n"
           "BBX 8 8 0 -1\n"
           "BITMAP\n" +
           rows + "ENDCHAR\nENDFONT\n";
}

// The image's sides are the smallest powers of two that hold the row length and the row count.
void ExpectTextureSides(const BitmapRecorder::AlphaImage& im, int row_bytes, int rows) {
    for (auto [side, needed] : {std::pair{im.width, row_bytes}, {im.height, rows}}) {
        needed = std::max(needed, 1);
        EXPECT_TRUE(std::has_single_bit(static_cast<unsigned>(side))) << side;
        EXPECT_GE(side, needed);
        EXPECT_LT(side / 2, needed);
    }
}

// The coverage sits in the image's top-left corner, row by row, with zeros around it.
void ExpectCoverage(const BitmapRecorder::AlphaImage& im, const std::vector<uint8_t>& coverage, int width, int rows) {
    int mismatches = 0;
    for (int y = 0; y < im.height; y++) {
        for (int x = 0; x < im.width; x++) {
            const uint8_t expected = x < width && y < rows ? coverage[static_cast<size_t>(y * width + x)] : 0;
            mismatches += im.data[static_cast<size_t>(y * im.width + x)] != expected;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

class GlyphProviderTest : public DeviceFontFixture {
protected:
    struct Answer {
        bitmap_info* bitmap = nullptr;
        rect bounds;
        float advance = 0.0f;
    };
    static Answer Ask(int code, int size, const char* family = kDeviceFamily, bool bold = false) {
        Answer a;
        a.bitmap = get_glyph_provider()->get_char_image(code, family, bold, false, size, &a.bounds, &a.advance);
        return a;
    }
    static face_entity* Face(const char* family, bool bold = false, bool italic = false) {
        return get_glyph_provider()->get_face(family, bold, italic);
    }
};

TEST_F(GlyphProviderTest, each_name_and_style_is_looked_up_once_and_a_missing_or_broken_font_stays_missing) {
    testing_support::TempDir dir;
    const std::string broken = (dir / "broken.ttf").string();
    testing_support::WriteFile(broken, "not a font file");
    g_font_files["Broken Pondorix"] = broken;

    for (int round = 0; round < 3; round++) {
        EXPECT_FALSE(Face("No Such Font Pondorix"));
        EXPECT_FALSE(Face("Broken Pondorix"));
        EXPECT_FALSE(Ask('A', 12, "No Such Font Pondorix").bitmap);
        // The key is a name and two flags, so a name ending in "B" is not the bold of another.
        EXPECT_FALSE(Face("FooB"));
        EXPECT_FALSE(Face("Foo", true));
        EXPECT_FALSE(Face("Foo", false, true));
    }
    EXPECT_EQ(g_font_lookups, (Texts{"No Such Font Pondorix", "Broken Pondorix", "FooB", "Foo B", "Foo I"}));
    EXPECT_EQ(CountLogged("can't find font file 'No Such Font Pondorix'\n"), 1);
    EXPECT_EQ(CountLogged("some error opening font '" + broken + "'\n"), 1);

    // The provider's own lookup refuses a null name before asking anyone.
    base_string path;
    EXPECT_FALSE(get_glyph_provider()->find_font_file(nullptr, &path, false, false));
    EXPECT_EQ(g_font_lookups.size(), 5u);
}

TEST_F(GlyphProviderTest, faces_and_glyphs_are_cached_per_style_size_and_code) {
    face_entity* regular = Face(kDeviceFamily);
    face_entity* bold = Face(kDeviceFamily, true);
    ASSERT_TRUE(regular);
    ASSERT_TRUE(bold);
    EXPECT_NE(regular, bold);
    EXPECT_EQ(Face(kDeviceFamily), regular);
    EXPECT_EQ(Face(kDeviceFamily, true), bold);
    EXPECT_TRUE(Face("dejavu sans"));
    EXPECT_EQ(g_font_lookups, (Texts{"DejaVu Sans", "DejaVu Sans B", "dejavu sans"}));

    const Answer a12 = Ask('A', 12), a24 = Ask('A', 24), bold12 = Ask('A', 12, kDeviceFamily, true);
    ASSERT_TRUE(a12.bitmap && a24.bitmap && bold12.bitmap);
    EXPECT_NE(a12.bitmap, a24.bitmap);
    EXPECT_NE(a12.bitmap, bold12.bitmap);
    EXPECT_EQ(regular->get_glyph_count(), 2);
    EXPECT_EQ(bold->get_glyph_count(), 1);
    const size_t rendered = m_bitmaps.images.size();
    const Answer again = Ask('A', 12);
    EXPECT_EQ(again.bitmap, a12.bitmap);
    EXPECT_EQ(again.advance, a12.advance);
    EXPECT_EQ(again.bounds.x_min, a12.bounds.x_min);
    EXPECT_EQ(again.bounds.y_max, a12.bounds.y_max);
    EXPECT_EQ(m_bitmaps.images.size(), rendered);
    EXPECT_EQ(regular->get_glyph_count(), 2);
}

TEST_F(GlyphProviderTest, glyph_images_hold_freetypes_coverage_in_power_of_two_textures) {
    const std::string file = InstalledFile(kDeviceFamily);
    const std::pair<int, int> cases[] = {{'A', 12}, {'g', 24}, {'W', 100}, {0xE9, 17}, {'.', 1}, {'A', 1024}};
    for (auto [code, size] : cases) {
        SCOPED_TRACE(testing::Message() << code << " at " << size);
        const RenderedGlyph expected = RenderWithFreeType(file, code, size);
        ASSERT_TRUE(expected.ok);
        const Answer a = Ask(code, size);
        ASSERT_TRUE(a.bitmap);
        ASSERT_FALSE(m_bitmaps.images.empty());
        const BitmapRecorder::AlphaImage& im = m_bitmaps.images.back();
        EXPECT_EQ(a.bitmap->get_width(), im.width);
        EXPECT_EQ(a.bitmap->get_height(), im.height);
        ExpectTextureSides(im, expected.pitch, expected.rows);
        ExpectCoverage(im, expected.coverage, expected.width, expected.rows);

        // The bounds place the ink where FreeType puts it against the pen, in texture pixels.
        EXPECT_FLOAT_EQ(a.bounds.x_max * im.width, expected.width);
        EXPECT_FLOAT_EQ(a.bounds.y_max * im.height, expected.rows);
        EXPECT_NEAR(-a.bounds.x_min * im.width, expected.left, 0.5f);
        EXPECT_NEAR(a.bounds.y_min * im.height, expected.top, 0.5f);
        // The advance is in units of the 1024-unit EM square.
        EXPECT_NEAR(a.advance * size / 1024.0f, expected.advance, 0.01f);
    }
}

TEST_F(GlyphProviderTest, a_space_has_finite_bounds_and_unrenderable_requests_give_nothing) {
    const Answer space = Ask(' ', 12);
    ASSERT_TRUE(space.bitmap);
    for (float v : {space.bounds.x_min, space.bounds.x_max, space.bounds.y_min, space.bounds.y_max}) {
        EXPECT_TRUE(std::isfinite(v));
        EXPECT_EQ(v, 0.0f);
    }
    EXPECT_GT(space.advance, 0.0f);
    EXPECT_EQ(m_bitmaps.images.back().width, 1);
    EXPECT_EQ(m_bitmaps.images.back().height, 1);

    face_entity* face = Face(kDeviceFamily);
    ASSERT_TRUE(face);
    const int cached = face->get_glyph_count();
    const size_t rendered = m_bitmaps.images.size();
    const std::pair<int, int> refused[] = {{'A', 0},      {'A', -3},     {'A', 1025}, {'A', 2000},
                                           {0x1F600, 12}, {0x1FFFF, 12}, {-1, 12},    {0x10041, 12}};
    for (auto [code, size] : refused) {
        Answer a;
        a.bounds = rect(7, 7, 7, 7);
        a.advance = 7.0f;
        a.bitmap = get_glyph_provider()->get_char_image(code, kDeviceFamily, false, false, size, &a.bounds, &a.advance);
        EXPECT_FALSE(a.bitmap) << code << " at " << size;
        EXPECT_EQ(a.advance, 7.0f);
        EXPECT_EQ(a.bounds.x_min, 7.0f);
    }
    EXPECT_EQ(face->get_glyph_count(), cached);
    EXPECT_EQ(m_bitmaps.images.size(), rendered);
}

TEST_F(GlyphProviderTest, a_bitmap_font_gives_full_coverage_and_sizes_it_lacks_are_asked_again) {
    testing_support::TempDir dir;
    g_font_files["Pondorix Bitmap"] = (dir / "bitmap.bdf").string();
    testing_support::WriteFile(g_font_files["Pondorix Bitmap"], BitmapFont());

    for (int round = 0; round < 2; round++) {
        EXPECT_FALSE(Ask('A', 12, "Pondorix Bitmap").bitmap);
    }
    face_entity* face = Face("Pondorix Bitmap");
    ASSERT_TRUE(face);
    EXPECT_EQ(face->get_glyph_count(), 0);  // a size FreeType cannot set caches nothing

    const Answer a = Ask('A', 8, "Pondorix Bitmap");
    ASSERT_TRUE(a.bitmap);
    EXPECT_EQ(face->get_glyph_count(), 1);
    const BitmapRecorder::AlphaImage& im = m_bitmaps.images.back();
    ASSERT_EQ(im.width, 8);
    ASSERT_EQ(im.height, 8);
    std::vector<uint8_t> coverage;
    for (uint8_t row : kBitmapRows) {
        for (int x = 0; x < 8; x++) {
            coverage.push_back(row & (0x80 >> x) ? 255 : 0);
        }
    }
    ExpectCoverage(im, coverage, 8, 8);
    EXPECT_FLOAT_EQ(a.advance, 1024.0f);  // 8 pixels at 8 pixels the EM
    EXPECT_FLOAT_EQ(a.bounds.y_min, 7.0f / 8.0f);
    EXPECT_EQ(g_font_lookups, Texts{"Pondorix Bitmap"});
}

TEST_F(GlyphProviderTest, a_full_glyph_cache_is_emptied_and_bitmaps_handed_out_live_on) {
    face_entity* face = Face(kDeviceFamily);
    ASSERT_TRUE(face);
    const int first = 0x100;
    smart_ptr<bitmap_info> kept = Ask(first, 6).bitmap;
    ASSERT_TRUE(kept);
    for (int code = first + 1; code < first + max_cached_glyphs_per_face; code++) {
        ASSERT_TRUE(Ask(code, 6).bitmap) << code;
    }
    EXPECT_EQ(face->get_glyph_count(), max_cached_glyphs_per_face);
    EXPECT_EQ(Ask(first, 6).bitmap, kept.get_ptr());

    ASSERT_TRUE(Ask(first + max_cached_glyphs_per_face, 6).bitmap);
    EXPECT_EQ(face->get_glyph_count(), 1);
    EXPECT_EQ(kept->get_ref_count(), 1);  // only this test holds it now
    EXPECT_GT(kept->get_width(), 0);
    const Answer again = Ask(first, 6);
    EXPECT_NE(again.bitmap, kept.get_ptr());
    EXPECT_EQ(face->get_glyph_count(), 2);
}

TEST_F(GlyphProviderTest, closing_removes_the_provider_and_cycles_release_everything) {
    close_glyph_provider();
    EXPECT_FALSE(get_glyph_provider());
    close_glyph_provider();  // closing without a provider does nothing
    for (int cycle = 0; cycle < 100; cycle++) {
        create_glyph_provider(RecordingFinder);
        ASSERT_TRUE(get_glyph_provider());
        // A second creation replaces the first rather than leaking it.
        create_glyph_provider(RecordingFinder);
        ASSERT_TRUE(get_glyph_provider());
        smart_ptr<bitmap_info> held = Ask('A' + cycle % 26, 10 + cycle % 5).bitmap;
        EXPECT_TRUE(held);
        close_glyph_provider();
        EXPECT_FALSE(get_glyph_provider());
        EXPECT_EQ(held->get_ref_count(), 1);
    }
    EXPECT_EQ(g_font_lookups.size(), 100u);
}

// Hand-made bitmaps: 1-bit rows become 0 and 255, bottom-up rows come out top first, and pixel
// modes other than 1 and 8 bits give no image.
TEST(GlyphImage, one_bit_and_bottom_up_bitmaps_become_top_down_8_bit_coverage) {
    // Two rows of 10 pixels: 1010000000 and 1111111111 (1 bit), or the same as bytes.
    const std::vector<uint8_t> expected = {255, 0,   255, 0,   0,   0,   0,   0,   0,   0,
                                           255, 255, 255, 255, 255, 255, 255, 255, 255, 255};
    uint8_t mono_down[] = {0xA0, 0x00, 0xFF, 0xC0};
    uint8_t mono_up[] = {0xFF, 0xC0, 0xA0, 0x00};
    std::vector<uint8_t> gray_down(expected);
    gray_down.resize(24);  // a pitch of 12 leaves 2 padding bytes a row
    std::copy(expected.begin() + 10, expected.end(), gray_down.begin() + 12);
    std::fill(gray_down.begin() + 10, gray_down.begin() + 12, 99);
    std::fill(gray_down.begin() + 22, gray_down.end(), 99);
    std::vector<uint8_t> gray_up(gray_down.begin() + 12, gray_down.end());
    gray_up.insert(gray_up.end(), gray_down.begin(), gray_down.begin() + 12);

    struct Case {
        const char* what;
        unsigned char mode;
        uint8_t* buffer;
        int pitch;
        int width;  // of the image
    };
    const Case cases[] = {{"mono down", FT_PIXEL_MODE_MONO, mono_down, 2, 16},
                          {"mono up", FT_PIXEL_MODE_MONO, mono_up, -2, 16},
                          {"gray down", FT_PIXEL_MODE_GRAY, gray_down.data(), 12, 16},
                          {"gray up", FT_PIXEL_MODE_GRAY, gray_up.data(), -12, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FT_Bitmap bitmap{};
        bitmap.rows = 2;
        bitmap.width = 10;
        bitmap.pitch = c.pitch;
        bitmap.buffer = c.buffer;
        bitmap.pixel_mode = c.mode;
        bitmap.num_grays = c.mode == FT_PIXEL_MODE_GRAY ? 256 : 2;
        std::unique_ptr<image::alpha> im = make_glyph_image(bitmap);
        ASSERT_TRUE(im);
        ASSERT_EQ(im->width, c.width);
        ASSERT_EQ(im->height, 2);
        BitmapRecorder::AlphaImage copy{im->width, im->height,
                                        std::vector<uint8_t>(im->data.get(), im->data.get() + 32)};
        ExpectCoverage(copy, expected, 10, 2);
    }

    FT_Bitmap empty{};
    empty.pixel_mode = FT_PIXEL_MODE_GRAY;
    std::unique_ptr<image::alpha> dot = make_glyph_image(empty);
    ASSERT_TRUE(dot);
    EXPECT_EQ(dot->width, 1);
    EXPECT_EQ(dot->height, 1);
    EXPECT_EQ(dot->data[0], 0);

    FT_Bitmap lcd{};
    lcd.rows = 2;
    lcd.width = 3;
    lcd.pitch = 4;
    lcd.buffer = mono_down;
    lcd.pixel_mode = FT_PIXEL_MODE_LCD;
    EXPECT_FALSE(make_glyph_image(lcd));
}

}  // namespace
}  // namespace text_test
