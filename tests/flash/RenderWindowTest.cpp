#include "flash/render_handler_ogl.h"
#include "flash/texture_sizing.h"
#include "swfplayer/base/image.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/twips.h"
#include "tests/support/X11TestDisplay.h"

#include <GL/gl.h>
#include <SFML/Graphics.hpp>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace swfplayer;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kTwips = twips_per_pixel;  // the tests draw frames of the window's size

using Pixel = std::array<int, 3>;

// A real window (24 depth, 8 stencil bits, 4x multisampling, as the game opens it) on an X server
// of its own with a
// projection of one unit a pixel, y down, and the handler drawing into it. Pixels are read back
// from the back buffer at pixel centres.
class RenderWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // An X server of the test's own, so that no other display can come or go under it.
        static testing_support::X11TestDisplay display(kWidth + 64, kHeight + 64);
        ASSERT_TRUE(display.Ready()) << "no Xvfb server";
        setenv("DISPLAY", display.Name().c_str(), 1);
        // SFML opens the display as soon as a window object exists, so the window comes after.
        m_window = std::make_unique<sf::RenderWindow>(sf::VideoMode(kWidth, kHeight), "render test", sf::Style::None,
                                                      sf::ContextSettings(24, 8, 4));
        ASSERT_TRUE(m_window->isOpen());
        ASSERT_GE(m_window->getSettings().stencilBits, 8u);
        ASSERT_TRUE(m_window->setActive(true));
        m_window->clear(sf::Color::Black);
        // SFML's state as it leaves it for its own drawing, client arrays on.
        m_window->resetGLStates();
        PushPixelProjection();
    }

    void TearDown() override {
        if (m_window && m_window->isOpen()) {
            PopProjection();
        }
    }

    // One unit a pixel, y down, over SFML's own matrices; PopProjection gives them back.
    static void PushPixelProjection() {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0, kWidth, kHeight, 0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadIdentity();
    }

    static void PopProjection() {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
    }

    void Begin() {
        m_handler.begin_display(rgba(0, 0, 0, 0), 0, 0, kWidth, kHeight, 0, kWidth * kTwips, 0, kHeight * kTwips);
    }

    // A rectangle of pixels as a triangle list in the current fill.
    void FillRect(int x0, int y0, int x1, int y1) {
        const int16_t a = static_cast<int16_t>(x0 * kTwips), b = static_cast<int16_t>(x1 * kTwips);
        const int16_t c = static_cast<int16_t>(y0 * kTwips), d = static_cast<int16_t>(y1 * kTwips);
        const int16_t coords[] = {a, c, b, c, b, d, a, c, b, d, a, d};
        m_handler.draw_triangle_list(coords, 6);
    }

    void FillRect(int x0, int y0, int x1, int y1, rgba colour) {
        m_handler.fill_style_color(0, colour);
        FillRect(x0, y0, x1, y1);
    }

    // Draws the bitmap with its texels on pixels, top-left at (x, y).
    void DrawBitmap(bitmap_info* bi, int x, int y, int width, int height, rgba colour = rgba(255, 255, 255, 255)) {
        matrix m;
        m.m[0][2] = static_cast<float>(x * kTwips);
        m.m[1][2] = static_cast<float>(y * kTwips);
        m_handler.draw_bitmap(m, bi,
                              rect(0, static_cast<float>(width * kTwips), 0, static_cast<float>(height * kTwips)),
                              rect(0, 1, 0, 1), colour);
    }

    static Pixel Read(int x, int y) {
        uint8_t p[4] = {};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, kHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }

    static std::vector<uint8_t> ReadAll() {
        std::vector<uint8_t> all(kWidth * kHeight * 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, all.data());
        return all;
    }

    static void ExpectNear(const Pixel& got, const Pixel& want, int tolerance, const std::string& where) {
        for (int c = 0; c < 3; c++) {
            EXPECT_NEAR(got[c], want[c], tolerance) << where << " channel " << c;
        }
    }

    std::unique_ptr<sf::RenderWindow> m_window;
    render_handler_ogl m_handler;
};

Pixel Of(rgba c) {
    return {c.r, c.g, c.b};
}

template <class image_type>
smart_ptr<bitmap_info> MakeBitmap(render_handler_ogl& handler, image_type* im) {
    if constexpr (std::is_same_v<image_type, image::rgb>) {
        return handler.create_bitmap_info_rgb(im);
    } else {
        return handler.create_bitmap_info_rgba(im);
    }
}

}  // namespace

// Solid fills go through the colour transform in force when the style is set, and through the
// shape's matrix.
TEST_F(RenderWindowTest, solid_fill_through_colour_transform_and_matrix) {
    struct Case {
        float mult[4], add[4];
        float tx;  // pixels
        rgba colour;
    };
    const Case cases[] = {{{1, 1, 1, 1}, {0, 0, 0, 0}, 0, rgba(200, 100, 40, 255)},
                          {{0.5f, 1, 0.25f, 1}, {10, -20, 0, 0}, 0, rgba(200, 100, 240, 255)},
                          {{0, 0, 0, 1}, {255, 128, 0, 0}, 100, rgba(10, 10, 10, 255)},
                          {{1, 1, 1, 0.5f}, {0, 0, 0, 0}, 160, rgba(255, 255, 255, 255)}};
    Begin();
    for (const Case& c : cases) {
        cxform cx;
        for (int i = 0; i < 4; i++) {
            cx.m[i][0] = c.mult[i];
            cx.m[i][1] = c.add[i];
        }
        matrix m;
        m.m[0][2] = c.tx * kTwips;
        m_handler.set_matrix(m);
        m_handler.set_cxform(cx);
        FillRect(10, 10, 50, 50, c.colour);
        const rgba want = cx.transform(c.colour);
        // Blended over black with the transformed alpha.
        const Pixel expected = {want.r * want.a / 255, want.g * want.a / 255, want.b * want.a / 255};
        ExpectNear(Read(static_cast<int>(c.tx) + 30, 30), expected, 2, "inside");
    }
    ExpectNear(Read(5, 5), {0, 0, 0}, 0, "outside");
    ExpectNear(Read(75, 30), {0, 0, 0}, 0, "between");
    m_handler.end_display();
    EXPECT_EQ(m_handler.m_meshes, 4);
}

// A 2 x 2 bitmap fill with texels of 40 pixels over a 120-pixel square: repeating starts the
// bitmap again in the third texel column and row, clamping repeats its last texels.
TEST_F(RenderWindowTest, bitmap_fill_repeats_and_clamps) {
    std::unique_ptr<image::rgb> im = image::create_rgb(2, 2);
    const rgba colours[4] = {rgba(250, 0, 0, 255), rgba(0, 250, 0, 255), rgba(0, 0, 250, 255), rgba(250, 250, 0, 255)};
    for (int i = 0; i < 4; i++) {
        uint8_t* p = image::scanline(im.get(), i / 2) + 3 * (i % 2);
        p[0] = colours[i].r;
        p[1] = colours[i].g;
        p[2] = colours[i].b;
    }
    smart_ptr<bitmap_info> bi = m_handler.create_bitmap_info_rgb(im.get());
    matrix texels;  // shape twips to bitmap pixels
    texels.m[0][0] = texels.m[1][1] = 1.0f / (40 * kTwips);
    Begin();
    m_handler.set_matrix(matrix());
    m_handler.set_cxform(cxform());
    m_handler.fill_style_bitmap(0, bi.get_ptr(), texels, 0);
    FillRect(0, 0, 120, 120);
    m_handler.set_matrix([] {
        matrix m;
        m.m[0][2] = 130 * kTwips;
        return m;
    }());
    m_handler.fill_style_bitmap(0, bi.get_ptr(), texels, 1);
    FillRect(0, 0, 120, 120);
    // Texel (column, row) centres at 20, 60 and 100 pixels.
    const int centres[3] = {20, 60, 100};
    for (int row = 0; row < 3; row++) {
        for (int col = 0; col < 3; col++) {
            const int repeated = (row % 2) * 2 + col % 2;
            const int clamped = std::min(row, 1) * 2 + std::min(col, 1);
            const std::string where = std::to_string(col) + "," + std::to_string(row);
            ExpectNear(Read(centres[col], centres[row]), Of(colours[repeated]), 10, "repeat " + where);
            ExpectNear(Read(130 + centres[col], centres[row]), Of(colours[clamped]), 10, "clamp " + where);
        }
    }
    m_handler.end_display();
}

// Images of sizes that are no power of two are resampled to one and still cover their quad:
// 100 x 70 (a 128 x 64 texture) in four coloured quarters and 300 x 1 (256 x 1) in thirds.
TEST_F(RenderWindowTest, non_power_of_two_bitmaps_cover_their_quads) {
    const rgba quarter[4] = {rgba(240, 20, 20, 255), rgba(20, 240, 20, 255), rgba(20, 20, 240, 255),
                             rgba(240, 240, 20, 255)};
    std::unique_ptr<image::rgb> wide = image::create_rgb(100, 70);
    for (int y = 0; y < 70; y++) {
        for (int x = 0; x < 100; x++) {
            const rgba c = quarter[(y < 35 ? 0 : 2) + (x < 50 ? 0 : 1)];
            uint8_t* p = image::scanline(wide.get(), y) + 3 * x;
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    }
    std::unique_ptr<image::rgba> line = image::create_rgba(300, 1);
    for (int x = 0; x < 300; x++) {
        const rgba c = quarter[x / 100];
        line->set_pixel(x, 0, c.r, c.g, c.b, 255);
    }
    smart_ptr<bitmap_info> a = m_handler.create_bitmap_info_rgb(wide.get());
    smart_ptr<bitmap_info> b = m_handler.create_bitmap_info_rgba(line.get());
    EXPECT_EQ(a->get_width(), 100);
    EXPECT_EQ(a->get_height(), 70);
    Begin();
    DrawBitmap(a.get_ptr(), 0, 0, 100, 70);
    DrawBitmap(b.get_ptr(), 0, 100, 300, 10);
    for (int q = 0; q < 4; q++) {
        ExpectNear(Read(q % 2 ? 75 : 25, q < 2 ? 17 : 52), Of(quarter[q]), 12, "quarter " + std::to_string(q));
    }
    for (int third = 0; third < 3; third++) {
        ExpectNear(Read(50 + 100 * third, 105), Of(quarter[third]), 12, "third " + std::to_string(third));
    }
    m_handler.end_display();
    EXPECT_EQ(m_handler.m_bitmaps, 2);
}

// Uploads whose rows are not 4-byte multiples arrive pixel-exact whatever unpack alignment was
// left behind: rgb rows padded to 4 bytes, packed alpha rows (with their mip chain), and packed
// rows of a resampled image. Each texture is drawn with one texel a pixel.
TEST_F(RenderWindowTest, odd_width_uploads_are_pixel_exact) {
    auto value = [](int x, int y, int c) {
        return (x * 67 + y * 101 + c * 59 + 13) % 256;
    };
    Begin();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    struct Drawn {
        smart_ptr<bitmap_info> bi;
        int x, w, h;
        std::vector<uint8_t> texels;  // 3 bytes a pixel as drawn
    };
    std::vector<Drawn> drawn;
    int x = 0;
    for (int w : {1, 3}) {
        for (int h : {4, 5}) {
            // Alpha, drawn white over black: the grey level is the alpha.
            std::vector<uint8_t> alpha(w * h);
            Drawn d{nullptr, x, w, h, {}};
            for (int i = 0; i < w * h; i++) {
                alpha[i] = static_cast<uint8_t>(value(i % w, i / w, 0));
                d.texels.insert(d.texels.end(), 3, alpha[i]);
            }
            d.bi = m_handler.create_bitmap_info_alpha(w, h, alpha.data());
            drawn.push_back(std::move(d));
            x += w + 2;
        }
    }
    for (auto [w, h] : {std::pair{1, 4}, std::pair{2, 2}, std::pair{1, 3}, std::pair{5, 2}}) {
        std::unique_ptr<image::rgb> im = image::create_rgb(w, h);
        for (int y = 0; y < h; y++) {
            for (int i = 0; i < 3 * w; i++) {
                image::scanline(im.get(), y)[i] = static_cast<uint8_t>(value(i / 3, y, i % 3));
            }
        }
        const int tw = texture_size(w), th = texture_size(h);
        Drawn d{m_handler.create_bitmap_info_rgb(im.get()), x, tw, th,
                resample(im->data.get(), w, h, im->pitch, 3, tw, th)};
        if (tw == w && th == h) {
            d.texels.clear();
            for (int y = 0; y < h; y++) {
                d.texels.insert(d.texels.end(), image::scanline(im.get(), y), image::scanline(im.get(), y) + 3 * w);
            }
        }
        drawn.push_back(std::move(d));
        x += tw + 2;
    }
    for (const Drawn& d : drawn) {
        DrawBitmap(d.bi.get_ptr(), d.x, 20, d.w, d.h);
    }
    for (const Drawn& d : drawn) {
        for (int ty = 0; ty < d.h; ty++) {
            for (int tx = 0; tx < d.w; tx++) {
                const uint8_t* t = &d.texels[(ty * d.w + tx) * 3];
                ExpectNear(
                    Read(d.x + tx, 20 + ty), {t[0], t[1], t[2]}, 1,
                    "bitmap at " + std::to_string(d.x) + " texel " + std::to_string(tx) + "," + std::to_string(ty));
            }
        }
    }
    m_handler.end_display();
}

// Two nested masks: drawing shows only where both were drawn; removing the inner one restores
// drawing inside the outer one only; removing the outer one ends masking.
TEST_F(RenderWindowTest, nested_masks) {
    Begin();
    m_handler.set_matrix(matrix());
    m_handler.set_cxform(cxform());
    m_handler.begin_submit_mask();
    FillRect(0, 0, 100, 100, rgba(255, 255, 255, 255));  // outer: A
    m_handler.end_submit_mask();
    m_handler.begin_submit_mask();
    FillRect(50, 50, 150, 150, rgba(255, 255, 255, 255));  // inner: B
    m_handler.end_submit_mask();
    FillRect(0, 0, kWidth, kHeight, rgba(255, 0, 0, 255));
    const Pixel black = {0, 0, 0}, red = {255, 0, 0}, green = {0, 255, 0}, blue = {0, 0, 255};
    ExpectNear(Read(75, 75), red, 0, "A and B");
    ExpectNear(Read(25, 25), black, 0, "A only");
    ExpectNear(Read(125, 125), black, 0, "B only");
    m_handler.disable_mask();
    FillRect(0, 0, kWidth, 75, rgba(0, 255, 0, 255));
    ExpectNear(Read(25, 25), green, 0, "A after the inner mask is gone");
    ExpectNear(Read(75, 60), green, 0, "A and B after the inner mask is gone");
    ExpectNear(Read(125, 60), black, 0, "B after the inner mask is gone");
    ExpectNear(Read(75, 90), red, 0, "A and B below the green");
    m_handler.disable_mask();
    FillRect(200, 200, 220, 220, rgba(0, 0, 255, 255));
    ExpectNear(Read(210, 210), blue, 0, "unmasked");
    m_handler.end_display();
}

// A movie that leaves a mask open (and a bitmap fill, texturing and SFML's client arrays in an
// odd state) changes nothing in what follows: the next movie and SFML's own drawing give the
// same pixels as without it.
TEST_F(RenderWindowTest, unbalanced_mask_does_not_leak) {
    sf::Font font;
    ASSERT_TRUE(font.loadFromFile(TEST_FONT));
    std::unique_ptr<image::rgb> im = image::create_rgb(2, 2);
    std::fill(im->data.get(), im->data.get() + im->pitch * 2, 90);
    smart_ptr<bitmap_info> bi = m_handler.create_bitmap_info_rgb(im.get());
    auto next_movie_and_sfml = [&] {
        Begin();
        m_handler.set_matrix(matrix());
        FillRect(0, 0, kWidth, 120, rgba(200, 60, 30, 255));
        m_handler.end_display();
        PopProjection();
        sf::Text text("Masks", font, 48);
        text.setPosition(10, 130);
        m_window->draw(text);
        sf::RectangleShape box(sf::Vector2f(60, 40));
        box.setPosition(250, 180);
        box.setFillColor(sf::Color(40, 220, 90));
        m_window->draw(box);
        std::vector<uint8_t> pixels = ReadAll();
        PushPixelProjection();
        return pixels;
    };
    m_handler.set_cxform(cxform());
    const std::vector<uint8_t> clean = next_movie_and_sfml();

    m_window->clear(sf::Color::Black);
    m_window->resetGLStates();
    Begin();
    m_handler.begin_submit_mask();
    FillRect(0, 0, 20, 20, rgba(255, 255, 255, 255));
    m_handler.end_submit_mask();
    m_handler.begin_submit_mask();
    FillRect(0, 0, 10, 10, rgba(255, 255, 255, 255));
    matrix texels;
    m_handler.fill_style_bitmap(0, bi.get_ptr(), texels, 0);
    FillRect(0, 0, 5, 5);
    m_handler.end_display();
    m_window->clear(sf::Color::Black);
    const std::vector<uint8_t> after_leak = next_movie_and_sfml();
    ASSERT_EQ(clean.size(), after_leak.size());
    int differing = 0;
    for (size_t i = 0; i < clean.size(); i++) {
        differing += clean[i] != after_leak[i] ? 1 : 0;
    }
    EXPECT_EQ(differing, 0);
    // The scene really drew: the movie's fill, the text's ink and the box.
    ExpectNear(Read(160, 60), {200, 60, 30}, 1, "movie");
    ExpectNear(Read(280, 200), {40, 220, 90}, 1, "box");
    int ink = 0;
    for (size_t i = 0; i < after_leak.size(); i += 4) {
        ink += after_leak[i] > 200 && after_leak[i + 1] > 200 && after_leak[i + 2] > 200 ? 1 : 0;
    }
    EXPECT_GT(ink, 200);
}

// The preferences' switches: without meshes no fill is drawn but lines are; without bitmaps a
// bitmap fill leaves the previous fill in force and draw_bitmap draws nothing.
TEST_F(RenderWindowTest, meshes_and_bitmaps_switches) {
    std::unique_ptr<image::rgb> im = image::create_rgb(1, 1);
    std::fill(im->data.get(), im->data.get() + 4, 250);
    smart_ptr<bitmap_info> bi = m_handler.create_bitmap_info_rgb(im.get());
    const int16_t line[] = {0, 100 * kTwips + kTwips / 2, 300 * kTwips, 100 * kTwips + kTwips / 2};
    for (bool meshes : {true, false}) {
        for (bool bitmaps : {true, false}) {
            SCOPED_TRACE(std::string(meshes ? "meshes" : "no meshes") + (bitmaps ? ", bitmaps" : ", no bitmaps"));
            m_window->clear(sf::Color::Black);
            m_handler.m_enable_meshes = meshes;
            m_handler.m_enable_bitmaps = bitmaps;
            Begin();
            m_handler.set_matrix(matrix());
            m_handler.set_cxform(cxform());
            m_handler.fill_style_color(0, rgba(0, 0, 200, 255));
            matrix texels;
            m_handler.fill_style_bitmap(0, bi.get_ptr(), texels, 1);
            FillRect(10, 10, 50, 50);
            m_handler.line_style_color(rgba(0, 255, 0, 255));
            m_handler.line_style_width(kTwips);
            m_handler.draw_line_strip(line, 2);
            DrawBitmap(bi.get_ptr(), 200, 10, 30, 30);
            const Pixel fill = !meshes ? Pixel{0, 0, 0} : bitmaps ? Pixel{250, 250, 250} : Pixel{0, 0, 200};
            ExpectNear(Read(30, 30), fill, 1, "fill");
            ExpectNear(Read(150, 100), {0, 255, 0}, 1, "line");
            ExpectNear(Read(215, 25), bitmaps ? Pixel{250, 250, 250} : Pixel{0, 0, 0}, 1, "bitmap");
            m_handler.end_display();
            EXPECT_EQ(m_handler.m_meshes, 1);
            EXPECT_EQ(m_handler.m_line_strips, 1);
            EXPECT_EQ(m_handler.m_bitmaps, bitmaps ? 1 : 0);
        }
    }
}
