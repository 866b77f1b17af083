#include "platform/FontFiles.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/text/glyph_image.h"
#include "swfplayer/main/text/glyph_provider.h"
#include "tests/support/BoundedRun.h"
#include "tests/support/TempDir.h"
#include "tests/swfplayer/main/text/TextFixture.h"

#include <gtest/gtest.h>

#include <bit>
#include <chrono>
#include <cmath>
#include <map>
#include <stdexcept>
#include <string>

namespace text_test {
namespace {

using Texts = std::vector<std::string>;
using Bytes = std::vector<uint8_t>;
constexpr const char* kFamily = "DejaVu Sans";

// The provider's lookup here: names in g_files give their file, others go to the installed fonts;
// each lookup is written down as the name, " B" when bold, " I" when italic.
std::map<std::string, std::string> g_files;
Texts g_lookups;
bool RecordingFinder(const char* name, bool bold, bool italic, base_string* path) {
    g_lookups.push_back(std::string(name) + (bold ? " B" : "") + (italic ? " I" : ""));
    const auto file = g_files.find(name);
    if (file == g_files.end()) {
        return find_installed_font_file(name, bold, italic, path);
    }
    *path = file->second.c_str();
    return true;
}

// What FreeType renders apart from the provider: coverage rows top first, the ink's offset from
// the pen (pixels, y up) and the advance (pixels).
struct Rendered {
    int width = 0, rows = 0, pitch = 0, left = 0, top = 0;
    float advance = 0.0f;
    Bytes coverage;
};
Rendered RenderWithFreeType(int code, int size) {
    std::string path;
    EXPECT_TRUE(platform::FindFontFile(kFamily, false, false, &path));
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    Rendered r;
    if (FT_Init_FreeType(&library) || FT_New_Face(library, path.c_str(), 0, &face) ||
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(size)) || FT_Load_Char(face, code, FT_LOAD_RENDER)) {
        ADD_FAILURE() << "FreeType cannot render " << code;
        FT_Done_FreeType(library);
        return r;
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& b = slot->bitmap;
    r = {int(b.width), int(b.rows), b.pitch, slot->bitmap_left, slot->bitmap_top, slot->advance.x / 64.0f, {}};
    for (int y = 0; y < r.rows; y++) {
        r.coverage.insert(r.coverage.end(), b.buffer + y * r.pitch, b.buffer + y * r.pitch + r.width);
    }
    FT_Done_FreeType(library);
    return r;
}

// The coverage lies in the image's top-left corner, zeros around it.
void ExpectCoverage(const uint8_t* image, int image_width, int image_height, const Bytes& coverage, int width) {
    int mismatches = 0;
    for (int i = 0; i < image_width * image_height; i++) {
        const int x = i % image_width, y = i / image_width;
        const size_t at = static_cast<size_t>(y * width + x);
        mismatches += image[i] != (x < width && at < coverage.size() ? coverage[at] : 0);
    }
    EXPECT_EQ(mismatches, 0);
}

// A recording handler that keeps the alpha images and the draw_bitmap quads.
class BitmapRecorder : public MatrixRecorder {
public:
    struct Quad {
        matrix m;
        rect coords, uv;
    };
    std::vector<std::tuple<int, int, Bytes>> images;
    std::vector<Quad> quads;
    bitmap_info* create_bitmap_info_alpha(int w, int h, const unsigned char* data) override {
        images.emplace_back(w, h, Bytes(data, data + w * h));
        return MatrixRecorder::create_bitmap_info_alpha(w, h, data);
    }
    void draw_bitmap(const matrix& m, bitmap_info* bi, const rect& coords, const rect& uv, rgba c) override {
        quads.push_back({m, coords, uv});
        MatrixRecorder::draw_bitmap(m, bi, coords, uv, c);
    }
};

class GlyphProviderTest : public TextFixture {
protected:
    void SetUp() override {
        TextFixture::SetUp();
        set_render_handler(&m_bitmaps);
        g_files.clear();
        g_lookups.clear();
        create_glyph_provider(RecordingFinder);
        ASSERT_TRUE(get_glyph_provider());
    }
    void TearDown() override {
        close_glyph_provider();
        TextFixture::TearDown();
    }
    struct Answer {
        bitmap_info* bitmap;
        rect bounds{7, 7, 7, 7};
        float advance = 7.0f;
    };
    static Answer Ask(int code, int size, const char* family = kFamily, bool bold = false) {
        Answer a;
        a.bitmap = get_glyph_provider()->get_char_image(code, family, bold, false, size, &a.bounds, &a.advance);
        return a;
    }
    static face_entity* Face(const char* family, bool bold = false, bool italic = false) {
        return get_glyph_provider()->get_face(family, bold, italic);
    }
    BitmapRecorder m_bitmaps;
};

TEST_F(GlyphProviderTest, each_name_and_style_is_looked_up_once_and_a_missing_or_broken_font_stays_missing) {
    testing_support::TempDir dir;
    g_files["Broken"] = (dir / "broken.ttf").string();
    testing_support::WriteFile(g_files["Broken"], "not a font file");
    for (int round = 0; round < 3; round++) {
        EXPECT_FALSE(Ask('A', 12, "No Such Font Pondorix").bitmap);
        EXPECT_FALSE(Face("Broken"));
        // The key is a name and two flags: a name ending in "B" is not the bold of another.
        EXPECT_FALSE(Face("FooB") || Face("Foo", true) || Face("Foo", false, true));
    }
    EXPECT_EQ(g_lookups, (Texts{"No Such Font Pondorix", "Broken", "FooB", "Foo B", "Foo I"}));
    EXPECT_EQ(CountLogged("can't find font file 'No Such Font Pondorix'\n"), 1);
    EXPECT_EQ(CountLogged("some error opening font '" + g_files["Broken"] + "'\n"), 1);
    base_string path;
    EXPECT_FALSE(get_glyph_provider()->find_font_file(nullptr, &path, false, false));
    EXPECT_EQ(g_lookups.size(), 5u);
}

TEST_F(GlyphProviderTest, faces_and_glyphs_are_cached_per_style_size_and_code) {
    face_entity* regular = Face(kFamily);
    ASSERT_TRUE(regular && Face(kFamily, true) && Face("dejavu sans"));
    EXPECT_NE(regular, Face(kFamily, true));
    EXPECT_EQ(regular, Face(kFamily));
    EXPECT_EQ(g_lookups, (Texts{"DejaVu Sans", "DejaVu Sans B", "dejavu sans"}));

    const Answer a12 = Ask('A', 12), a24 = Ask('A', 24), bold12 = Ask('A', 12, kFamily, true);
    ASSERT_TRUE(a12.bitmap && a24.bitmap && bold12.bitmap);
    EXPECT_NE(a12.bitmap, a24.bitmap);
    EXPECT_NE(a12.bitmap, bold12.bitmap);
    const size_t rendered = m_bitmaps.images.size();
    const Answer again = Ask('A', 12);
    EXPECT_EQ(again.bitmap, a12.bitmap);
    EXPECT_EQ(again.advance, a12.advance);
    EXPECT_EQ(again.bounds.y_min, a12.bounds.y_min);
    EXPECT_EQ(m_bitmaps.images.size(), rendered);
    EXPECT_EQ(regular->get_glyph_count(), 2);
}

TEST_F(GlyphProviderTest, images_hold_freetypes_coverage_in_power_of_two_textures_with_bounds_on_the_pen) {
    for (auto [code, size] :
         {std::pair<int, int>{'A', 12}, {'g', 24}, {'W', 100}, {0xE9, 17}, {'.', 1}, {'A', 1024}, {' ', 12}}) {
        SCOPED_TRACE(testing::Message() << code << " at " << size);
        const Rendered expected = RenderWithFreeType(code, size);
        const Answer a = Ask(code, size);
        ASSERT_TRUE(a.bitmap);
        const auto& [w, h, data] = m_bitmaps.images.back();
        for (auto [side, needed] : {std::pair{w, std::max(expected.pitch, 1)}, {h, std::max(expected.rows, 1)}}) {
            EXPECT_TRUE(std::has_single_bit(static_cast<unsigned>(side)) && side >= needed && side / 2 < needed);
        }
        ExpectCoverage(data.data(), w, h, expected.coverage, expected.width);
        for (float v : {a.bounds.x_min, a.bounds.x_max, a.bounds.y_min, a.bounds.y_max}) {
            EXPECT_TRUE(std::isfinite(v));  // a space has no width or height
        }
        EXPECT_FLOAT_EQ(a.bounds.x_max * w, expected.width);
        EXPECT_FLOAT_EQ(a.bounds.y_max * h, expected.rows);
        EXPECT_NEAR(-a.bounds.x_min * w, expected.width ? expected.left : 0, 0.5f);
        EXPECT_NEAR(a.bounds.y_min * h, expected.rows ? expected.top : 0, 0.5f);
        EXPECT_NEAR(a.advance * size / 1024.0f, expected.advance, 0.01f);  // EM units
        EXPECT_TRUE(code != ' ' || a.advance > 0.0f);                      // a space still moves the pen
    }
    // Sizes that divide by zero or make huge images, and codes the 16-bit key cannot hold.
    const size_t rendered = m_bitmaps.images.size();
    for (auto [code, size] :
         {std::pair<int, int>{'A', 0}, {'A', -3}, {'A', 1025}, {'A', 2000}, {0x1F600, 12}, {0x10041, 12}, {-1, 12}}) {
        const Answer a = Ask(code, size);
        EXPECT_FALSE(a.bitmap) << code << " at " << size;
        EXPECT_TRUE(a.advance == 7.0f && a.bounds.x_min == 7.0f);
    }
    EXPECT_EQ(m_bitmaps.images.size(), rendered);
}

TEST_F(GlyphProviderTest, a_one_bit_font_gives_full_coverage_and_a_size_it_lacks_caches_nothing) {
    const Bytes rows = {0x18, 0x24, 0x42, 0x7E, 0x42, 0x42, 0x81, 0x00};
    std::string bdf =
        "STARTFONT 2.1\nFONT -P-B-M-R-N--8-80-75-75-C-80-ISO10646-1\nSIZE 8 75 75\nFONTBOUNDINGBOX 8 8 0 -1\n"
        "STARTPROPERTIES 3\nPIXEL_SIZE 8\nCHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\nENDPROPERTIES\n"
        "CHARS 1\nSTARTCHAR A\nENCODING 65\nSWIDTH 1000 0\nDWIDTH 8 0\nBBX 8 8 0 -1\nBITMAP\n";
    Bytes coverage;
    for (uint8_t row : rows) {
        bdf += {"0123456789ABCDEF"[row >> 4], "0123456789ABCDEF"[row & 15], '\n'};
        for (int x = 0; x < 8; x++) {
            coverage.push_back(row & (0x80 >> x) ? 255 : 0);
        }
    }
    testing_support::TempDir dir;
    g_files["Bitmap"] = (dir / "bitmap.bdf").string();
    testing_support::WriteFile(g_files["Bitmap"], bdf + "ENDCHAR\nENDFONT\n");

    EXPECT_FALSE(Ask('A', 12, "Bitmap").bitmap);
    ASSERT_TRUE(Face("Bitmap"));
    EXPECT_EQ(Face("Bitmap")->get_glyph_count(), 0);
    const Answer a = Ask('A', 8, "Bitmap");
    ASSERT_TRUE(a.bitmap);
    EXPECT_EQ(Face("Bitmap")->get_glyph_count(), 1);
    const auto& [w, h, data] = m_bitmaps.images.back();
    ASSERT_TRUE(w == 8 && h == 8);
    ExpectCoverage(data.data(), w, h, coverage, 8);
    EXPECT_FLOAT_EQ(a.advance, 1024.0f);
    EXPECT_FLOAT_EQ(a.bounds.y_min, 7.0f / 8.0f);
    EXPECT_EQ(g_lookups, Texts{"Bitmap"});
}

// Hand-made bitmaps: 1-bit rows become 0 and 255, bottom-up rows come out top first, and other
// pixel modes give no image.
TEST(GlyphImage, one_bit_and_bottom_up_bitmaps_become_top_down_8_bit_coverage) {
    const Bytes expected = {255, 0, 255, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255};
    Bytes mono_up = {0xFF, 0xC0, 0xA0, 0x00};
    Bytes gray_up(expected.begin() + 10, expected.end());  // a pitch of 12: two bytes of padding
    gray_up.insert(gray_up.end(), {9, 9});
    gray_up.insert(gray_up.end(), expected.begin(), expected.begin() + 10);
    gray_up.insert(gray_up.end(), {9, 9});
    for (auto [mode, buffer, pitch] : {std::tuple{FT_PIXEL_MODE_MONO, mono_up.data(), -2},
                                       {FT_PIXEL_MODE_GRAY, gray_up.data(), -12},
                                       {FT_PIXEL_MODE_LCD, mono_up.data(), 2}}) {
        SCOPED_TRACE(testing::Message() << mode << " pitch " << pitch);
        FT_Bitmap bitmap{};
        bitmap.rows = 2;
        bitmap.width = 10;
        bitmap.pitch = pitch;
        bitmap.buffer = buffer;
        bitmap.pixel_mode = static_cast<unsigned char>(mode);
        std::unique_ptr<image::alpha> im = make_glyph_image(bitmap);
        ASSERT_EQ(im != nullptr, mode != FT_PIXEL_MODE_LCD);
        if (im) {
            ASSERT_TRUE(im->width == 16 && im->height == 2);
            ExpectCoverage(im->data.get(), 16, 2, expected, 10);
        }
    }
    FT_Bitmap empty{};
    empty.pixel_mode = FT_PIXEL_MODE_GRAY;
    std::unique_ptr<image::alpha> dot = make_glyph_image(empty);
    ASSERT_TRUE(dot && dot->width == 1 && dot->height == 1);
    EXPECT_EQ(dot->data[0], 0);
}

// Glyphs at the largest size pile up to the byte bound; the one that would pass it empties the
// cache and is the only one cached afterwards.
TEST_F(GlyphProviderTest, a_full_glyph_cache_is_emptied_and_bitmaps_handed_out_live_on) {
    const int first = 0x100;
    smart_ptr<bitmap_info> kept = Ask(first, max_glyph_pixel_size).bitmap;
    ASSERT_TRUE(kept);
    auto image_bytes = [this] {
        const auto& [w, h, data] = m_bitmaps.images.back();
        return static_cast<size_t>(w) * static_cast<size_t>(h) + glyph_entry_bytes;
    };
    size_t counted = image_bytes();
    int code = first;
    while (Face(kFamily)->get_glyph_count() == code - first + 1) {
        ASSERT_EQ(get_glyph_provider()->get_glyph_bytes(), counted);
        ASSERT_LE(counted, max_cached_glyph_bytes);
        ASSERT_TRUE(Ask(++code, max_glyph_pixel_size).bitmap) << code;
        counted += image_bytes();
    }
    EXPECT_GT(counted, max_cached_glyph_bytes);  // the last one would have passed the bound
    EXPECT_EQ(Face(kFamily)->get_glyph_count(), 1);
    EXPECT_EQ(get_glyph_provider()->get_glyph_bytes(), image_bytes());
    EXPECT_EQ(kept->get_ref_count(), 1);  // only this test holds it now
    EXPECT_GT(kept->get_width(), 0);
    EXPECT_NE(Ask(first, max_glyph_pixel_size).bitmap, kept.get_ptr());
}

TEST_F(GlyphProviderTest, font_names_are_remembered_up_to_a_bound_then_all_forgotten) {
    smart_ptr<bitmap_info> held = Ask('A', 40).bitmap;
    ASSERT_TRUE(held);
    for (int i = 1; i < max_remembered_faces; i++) {
        EXPECT_FALSE(Face(("No Such Font Pondorix " + std::to_string(i)).c_str()));
    }
    EXPECT_EQ(get_glyph_provider()->get_face_count(), max_remembered_faces);
    const size_t lookups = g_lookups.size();
    EXPECT_TRUE(Face(kFamily) && !Face("No Such Font Pondorix 1"));  // remembered: not looked up again
    EXPECT_EQ(g_lookups.size(), lookups);
    EXPECT_GT(get_glyph_provider()->get_glyph_bytes(), 0u);

    EXPECT_FALSE(Face("No Such Font Pondorix new"));
    EXPECT_EQ(get_glyph_provider()->get_face_count(), 1);
    EXPECT_EQ(get_glyph_provider()->get_glyph_bytes(), 0u);
    EXPECT_EQ(held->get_ref_count(), 1);
    EXPECT_FALSE(Face("No Such Font Pondorix 1"));
    EXPECT_EQ(g_lookups.size(), lookups + 2);
    EXPECT_EQ(CountLogged("can't find font file 'No Such Font Pondorix 1'\n"), 2);
    EXPECT_TRUE(Ask('A', 40).bitmap);
}

// A renderer that keeps each alpha bitmap's bytes for as long as the bitmap lives, as the OpenGL
// one does until the bitmap becomes a texture.
class HeldBitmap : public bitmap_info {
public:
    HeldBitmap(int w, int h, const unsigned char* data)
        : m_width(w), m_height(h), m_bytes(data, data + static_cast<size_t>(w) * static_cast<size_t>(h)) {}
    void activate() override {}
    void bind() override {}
    int get_width() const override { return m_width; }
    int get_height() const override { return m_height; }

private:
    int m_width, m_height;
    Bytes m_bytes;
};
class HoldingRenderer : public MatrixRecorder {
public:
    bitmap_info* create_bitmap_info_alpha(int w, int h, const unsigned char* data) override {
        return new HeldBitmap(w, h, data);
    }
};

bool NoFontFiles(const char*, bool, bool, base_string*) {
    return false;
}

// Once 4,096 glyphs at the largest size held about 2.5 GB per face, and every unknown font name
// stayed remembered: both in a child process with a memory bound.
TEST_F(GlyphProviderTest, the_cache_stays_small_whatever_sizes_and_names_are_asked) {
    using namespace std::chrono_literals;
    constexpr size_t kMegabyte = 1024 * 1024;
    HoldingRenderer holding;
    const testing_support::BoundedRun glyphs = testing_support::RunBounded(
        [&] {
            set_render_handler(&holding);
            for (int code = 0x100; code < 0x100 + 300; code++) {
                if (!Ask(code, max_glyph_pixel_size).bitmap) {
                    throw std::runtime_error("a glyph is missing");
                }
            }
        },
        60s, 192 * kMegabyte);
    EXPECT_TRUE(glyphs.finished) << glyphs.Describe();

    EXPECT_LT(glyphs.peakGrowth, 96 * kMegabyte) << glyphs.Describe();

    const std::string padding(2000, 'x');
    const testing_support::BoundedRun names = testing_support::RunBounded(
        [&] {
            register_log_callback(nullptr);
            create_glyph_provider(NoFontFiles);
            for (int i = 0; i < 100000; i++) {
                Face((padding + std::to_string(i)).c_str());
            }
        },
        60s, 64 * kMegabyte);
    EXPECT_TRUE(names.finished) << names.Describe();
    EXPECT_LT(names.peakGrowth, 32 * kMegabyte) << names.Describe();
}

TEST_F(GlyphProviderTest, closing_removes_the_provider_and_cycles_release_everything) {
    for (int cycle = 0; cycle < 100; cycle++) {
        create_glyph_provider(RecordingFinder);  // replaces the one before rather than leaking it
        smart_ptr<bitmap_info> held = Ask('A' + cycle % 26, 10 + cycle % 5).bitmap;
        ASSERT_TRUE(held);
        close_glyph_provider();
        EXPECT_FALSE(get_glyph_provider());
        EXPECT_EQ(held->get_ref_count(), 1);
        close_glyph_provider();  // nothing left to close
    }
    EXPECT_EQ(g_lookups.size(), 100u);
}

// An edit text in a font named after an installed family, holding no outline (or one outline of a
// character not in the text, so that a twentieths font can take alignment zones).
TEST_F(GlyphProviderTest, edit_text_draws_provider_glyphs_as_bitmaps_on_the_pen_and_boxes_without_them) {
    const std::string text = "Ag";
    for (auto [family, provider, twentieths] : {std::tuple{kFamily, true, false},
                                                {kFamily, true, true},
                                                {"No Such Font Pondorix", true, false},
                                                {kFamily, false, false}}) {
        SCOPED_TRACE(testing::Message() << family << " provider " << provider << " twentieths " << twentieths);
        if (!provider) {
            close_glyph_provider();
        }
        swfkit::EmbeddedFont font;
        font.name = family;
        if (twentieths) {
            const size_t dot = static_cast<size_t>(KitFont().IndexOf('.'));
            font.codes = {KitFont().codes[dot]};
            font.glyphs = {KitFont().glyphs[dot]};
            font.advances = {KitFont().advances[dot]};
        }
        swfkit::EditText field;
        field.id = 7;
        field.bounds = {0, 8000, 0, 2000};
        field.fontId = kFontId;
        field.height = 400;  // 20 pixels
        field.color = swfkit::Color{10, 20, 30, 255};
        field.text = text;
        swfkit::Movie movie(8, {0, 11000, 0, 8000}, 12.0);
        movie.Tags().Tag(tag_define_font2, swfkit::DefineFont2Body(kFontId, font, false, false, true));
        if (twentieths) {
            movie.Tags().Tag(tag_define_font_align_zones, {kFontId, 0, 0, 0, 0});
        }
        movie.Tags().Tag(tag_define_edit_text, DefineEditTextBody(field));
        movie.Tags().ShowFrame();
        m_movie = LoadMovie(movie.Write(false));
        ASSERT_TRUE(m_movie);
        m_sprite = make_root_sprite(m_movie.get_ptr());
        smart_ptr<character> ch = m_movie->get_character_def(7)->create_character_instance(m_sprite.get_ptr(), 7);
        m_bitmaps.calls.clear();
        m_bitmaps.quads.clear();
        ch->display();
        const text_glyph_record& record = static_cast<edit_text_character*>(ch.get_ptr())->get_records()[0];
        ASSERT_EQ(record.m_style.m_font->is_twentieths(), twentieths);

        const bool bitmaps = provider && family == kFamily;
        EXPECT_EQ(m_bitmaps.quads.size(), bitmaps ? text.size() : 0);
        EXPECT_EQ(m_bitmaps.with_prefix("draw_line_strip 5").size(), bitmaps ? 0 : text.size());
        EXPECT_EQ(m_bitmaps.with_prefix("draw_bitmap 10,20,30,255").size(), m_bitmaps.quads.size());
        // Each quad puts FreeType's ink where FreeType puts it against the pen, in twips at the
        // text's scale; the pen moves by FreeType's advance.
        const float scale = 400.0f / 1024.0f / (twentieths ? 20.0f : 1.0f);
        for (size_t i = 0; i < m_bitmaps.quads.size(); i++) {
            const Rendered expected = RenderWithFreeType(text[i], 20);
            const glyph& g = record.m_glyphs[static_cast<int>(i)];
            const BitmapRecorder::Quad& q = m_bitmaps.quads[i];
            EXPECT_TRUE(g.m_glyph_index == -1 && g.m_bitmap && g.m_fontsize == 20);
            EXPECT_NEAR(g.m_glyph_advance, expected.advance * 20.0f, 0.1f);
            EXPECT_NEAR(q.coords.x_min * scale, expected.left * 20.0f, 10.0f);
            EXPECT_NEAR(q.coords.y_min * scale, -expected.top * 20.0f, 10.0f);
            EXPECT_NEAR((q.coords.x_max - q.coords.x_min) * scale, expected.width * 20.0f, 0.1f);
            EXPECT_NEAR((q.coords.y_max - q.coords.y_min) * scale, expected.rows * 20.0f, 0.1f);
            EXPECT_TRUE(q.uv.x_min == 0.0f && q.uv.y_min == 0.0f);
            EXPECT_FLOAT_EQ(q.uv.x_max, expected.width / static_cast<float>(g.m_bitmap->get_width()));
            EXPECT_FLOAT_EQ(q.uv.y_max, expected.rows / static_cast<float>(g.m_bitmap->get_height()));
        }
        if (bitmaps) {
            EXPECT_NEAR(m_bitmaps.quads[1].m.m[0][2] - m_bitmaps.quads[0].m.m[0][2], record.m_glyphs[0].m_glyph_advance,
                        0.01f);
        } else {
            EXPECT_FLOAT_EQ(record.m_glyphs[0].m_glyph_advance, 512.0f * 400.0f / 1024.0f);
        }
    }
}

}  // namespace
}  // namespace text_test
