// The OpenGL handler drawing into a real window, pixels read back at pixel centres; and what
// scripts draw with the MovieClip drawing methods, shown through it.
#include "flash/render_handler_ogl.h"
#include "flash/texture_sizing.h"
#include "swfplayer/base/image.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/sprite_definition.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/movie_root.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"
#include "tests/flash/FlashTestKit.h"

#include <memory>

using namespace swfplayer;

namespace flash_testing {
namespace {

// The handler over SFML's state as SFML leaves it for its own drawing (client arrays on), with a
// projection of one unit a pixel, y down.
class RenderWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        m_Window->clear(sf::Color::Black);
        m_Window->resetGLStates();
        PushPixelProjection();
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

    // Begins a frame of the window's size with the identity matrix and colour transform.
    void Begin(rgba background = rgba(0, 0, 0, 0)) {
        m_handler.begin_display(background, 0, 0, kWidth, kHeight, 0, kWidth * kTwips, 0, kHeight * kTwips);
        m_handler.set_matrix(matrix());
        m_handler.set_cxform(cxform());
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
    void DrawBitmap(bitmap_info* bi, int x, int y, int width, int height) {
        m_handler.draw_bitmap(Moved(x), bi,
                              rect(0, static_cast<float>(width * kTwips), static_cast<float>(y * kTwips),
                                   static_cast<float>((y + height) * kTwips)),
                              rect(0, 1, 0, 1), rgba(255, 255, 255, 255));
    }

    // A matrix moving x pixels right.
    static matrix Moved(float x) {
        matrix m;
        m.m[0][2] = x * kTwips;
        return m;
    }

    // An rgb image of the given size from colour(x, y).
    template <class F>
    static std::unique_ptr<image::rgb> Image(int width, int height, F colour) {
        std::unique_ptr<image::rgb> im = image::create_rgb(width, height);
        for (int y = 0; y < height; y++) {
            for (int x = 0; x < width; x++) {
                const rgba c = colour(x, y);
                uint8_t* p = image::scanline(im.get(), y) + 3 * x;
                p[0] = c.r, p[1] = c.g, p[2] = c.b;
            }
        }
        return im;
    }

    render_handler_ogl m_handler;
};

Pixel Of(rgba c) {
    return {c.r, c.g, c.b};
}

// A 2 x 2 bitmap fill with texels of 40 pixels over a 120-pixel square: repeating starts the
// bitmap again in the third texel column and row, clamping repeats its last texels.
TEST_F(RenderWindowTest, bitmap_fill_repeats_and_clamps) {
    const rgba colours[4] = {rgba(250, 0, 0, 255), rgba(0, 250, 0, 255), rgba(0, 0, 250, 255), rgba(250, 250, 0, 255)};
    smart_ptr<bitmap_info> bi =
        m_handler.create_bitmap_info_rgb(Image(2, 2, [&](int x, int y) { return colours[2 * y + x]; }).get());
    matrix texels;  // shape twips to bitmap pixels
    texels.m[0][0] = texels.m[1][1] = 1.0f / (40 * kTwips);
    Begin();
    for (int clamp : {0, 1}) {
        m_handler.set_matrix(Moved(130.0f * clamp));
        m_handler.fill_style_bitmap(0, bi.get_ptr(), texels, clamp);
        FillRect(0, 0, 120, 120);
    }
    // Texel (column, row) centres at 20, 60 and 100 pixels.
    for (int row = 0; row < 3; row++) {
        for (int col = 0; col < 3; col++) {
            const int repeated = (row % 2) * 2 + col % 2;
            const int clamped = std::min(row, 1) * 2 + std::min(col, 1);
            const std::string where = std::to_string(col) + "," + std::to_string(row);
            ExpectNear(Read(20 + 40 * col, 20 + 40 * row), Of(colours[repeated]), 10, "repeat " + where);
            ExpectNear(Read(150 + 40 * col, 20 + 40 * row), Of(colours[clamped]), 10, "clamp " + where);
        }
    }
    m_handler.end_display();
}

// Images of sizes that are no power of two are resampled to one and still cover their quad:
// 100 x 70 (a 128 x 64 texture) in four coloured quarters and 300 x 1 (256 x 1) in thirds.
TEST_F(RenderWindowTest, non_power_of_two_bitmaps_cover_their_quads) {
    const rgba quarter[4] = {rgba(240, 20, 20, 255), rgba(20, 240, 20, 255), rgba(20, 20, 240, 255),
                             rgba(240, 240, 20, 255)};
    std::unique_ptr<image::rgba> line = image::create_rgba(300, 1);
    for (int x = 0; x < 300; x++) {
        line->set_pixel(x, 0, quarter[x / 100].r, quarter[x / 100].g, quarter[x / 100].b, 255);
    }
    smart_ptr<bitmap_info> a = m_handler.create_bitmap_info_rgb(
        Image(100, 70, [&](int x, int y) { return quarter[(y < 35 ? 0 : 2) + (x < 50 ? 0 : 1)]; }).get());
    smart_ptr<bitmap_info> b = m_handler.create_bitmap_info_rgba(line.get());
    EXPECT_EQ(a->get_width(), 100);
    EXPECT_EQ(a->get_height(), 70);
    Begin();
    DrawBitmap(a.get_ptr(), 0, 0, 100, 70);
    DrawBitmap(b.get_ptr(), 0, 100, 300, 10);
    for (int q = 0; q < 4; q++) {
        ExpectNear(Read(q % 2 ? 75 : 25, q < 2 ? 17 : 52), Of(quarter[q]), 12, "quarter " + std::to_string(q));
        if (q < 3) {
            ExpectNear(Read(50 + 100 * q, 105), Of(quarter[q]), 12, "third " + std::to_string(q));
        }
    }
    m_handler.end_display();
    EXPECT_EQ(m_handler.m_bitmaps, 2);
}

// Uploads whose rows are not 4-byte multiples arrive pixel-exact whatever unpack alignment was
// left behind: rgb rows padded to 4 bytes, packed alpha rows (with their mip chain), and packed
// rows of a resampled image. Each texture is drawn with one texel a pixel.
TEST_F(RenderWindowTest, odd_width_uploads_are_pixel_exact) {
    auto value = [](int x, int y, int c) {
        return static_cast<uint8_t>((x * 67 + y * 101 + c * 59 + 13) % 256);
    };
    Begin();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    int x = 0;
    // Draws the bitmap at x, one texel a pixel, and compares it with texels, 3 bytes a pixel.
    auto check = [&](smart_ptr<bitmap_info> bi, int w, int h, const std::vector<uint8_t>& texels) {
        DrawBitmap(bi.get_ptr(), x, 20, w, h);
        for (int i = 0; i < w * h; i++) {
            const uint8_t* t = &texels[3 * i];
            ExpectNear(Read(x + i % w, 20 + i / w), {t[0], t[1], t[2]}, 1,
                       "bitmap at " + std::to_string(x) + " texel " + std::to_string(i));
        }
        x += w + 2;
    };
    // Alpha, drawn white over black: the grey level is the alpha.
    for (auto [w, h] : {std::pair{1, 4}, {1, 5}, {3, 4}, {3, 5}}) {
        std::vector<uint8_t> alpha(w * h), grey;
        for (int i = 0; i < w * h; i++) {
            alpha[i] = value(i % w, i / w, 0);
            grey.insert(grey.end(), 3, alpha[i]);
        }
        check(m_handler.create_bitmap_info_alpha(w, h, alpha.data()), w, h, grey);
    }
    // Sizes of powers of two are uploaded as they are, the others as the resampler makes them.
    for (auto [w, h] : {std::pair{1, 4}, {2, 2}, {1, 3}, {5, 2}}) {
        std::unique_ptr<image::rgb> im = image::create_rgb(w, h);
        std::vector<uint8_t> texels;
        for (int i = 0; i < 3 * w * h; i++) {
            image::scanline(im.get(), i / (3 * w))[i % (3 * w)] = value(i % (3 * w) / 3, i / (3 * w), i % 3);
            texels.push_back(image::scanline(im.get(), i / (3 * w))[i % (3 * w)]);
        }
        const int tw = texture_size(w), th = texture_size(h);
        if (tw != w || th != h) {
            texels = resample(im->data.get(), w, h, im->pitch, 3, tw, th);
        }
        check(m_handler.create_bitmap_info_rgb(im.get()), tw, th, texels);
    }
    m_handler.end_display();
}

// Two nested masks: drawing shows only where both were drawn; removing the inner one restores
// drawing inside the outer one only; removing the outer one ends masking.
TEST_F(RenderWindowTest, nested_masks) {
    const rgba white(255, 255, 255, 255);
    Begin();
    m_handler.begin_submit_mask();
    FillRect(0, 0, 100, 100, white);  // outer: A
    m_handler.end_submit_mask();
    m_handler.begin_submit_mask();
    FillRect(50, 50, 150, 150, white);  // inner: B
    m_handler.end_submit_mask();
    FillRect(0, 0, kWidth, kHeight, rgba(255, 0, 0, 255));
    const Pixel black = {0, 0, 0}, red = {255, 0, 0}, green = {0, 255, 0};
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
    ExpectNear(Read(210, 210), {0, 0, 255}, 0, "unmasked");
    m_handler.end_display();
}

// A movie that leaves a mask open (and a bitmap fill, texturing and SFML's client arrays in an
// odd state) changes nothing in what follows: the next movie and SFML's own drawing give the
// same pixels as without it.
TEST_F(RenderWindowTest, unbalanced_mask_does_not_leak) {
    sf::Font font;
    ASSERT_TRUE(font.loadFromFile(TEST_FONT));
    smart_ptr<bitmap_info> bi =
        m_handler.create_bitmap_info_rgb(Image(2, 2, [](int, int) { return rgba(90, 90, 90, 255); }).get());
    auto next_movie_and_sfml = [&] {
        Begin();
        FillRect(0, 0, kWidth, 120, rgba(200, 60, 30, 255));
        m_handler.end_display();
        PopProjection();
        sf::Text text("Masks", font, 48);
        text.setPosition(10, 130);
        m_Window->draw(text);
        sf::RectangleShape box(sf::Vector2f(60, 40));
        box.setPosition(250, 180);
        box.setFillColor(sf::Color(40, 220, 90));
        m_Window->draw(box);
        PushPixelProjection();
        return ReadAll();
    };
    const std::vector<uint8_t> clean = next_movie_and_sfml();

    m_Window->clear(sf::Color::Black);
    m_Window->resetGLStates();
    Begin();
    m_handler.begin_submit_mask();
    FillRect(0, 0, 20, 20, rgba(255, 255, 255, 255));
    m_handler.end_submit_mask();
    m_handler.begin_submit_mask();
    FillRect(0, 0, 10, 10, rgba(255, 255, 255, 255));
    m_handler.fill_style_bitmap(0, bi.get_ptr(), matrix(), 0);
    FillRect(0, 0, 5, 5);
    m_handler.end_display();
    m_Window->clear(sf::Color::Black);
    const std::vector<uint8_t> after_leak = next_movie_and_sfml();
    EXPECT_TRUE(clean == after_leak);
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
    smart_ptr<bitmap_info> bi =
        m_handler.create_bitmap_info_rgb(Image(1, 1, [](int, int) { return rgba(250, 250, 250, 255); }).get());
    const int16_t line[] = {0, 100 * kTwips + kTwips / 2, 300 * kTwips, 100 * kTwips + kTwips / 2};
    for (int switches = 0; switches < 4; switches++) {
        const bool meshes = switches & 1, bitmaps = switches & 2;
        SCOPED_TRACE(std::string(meshes ? "meshes" : "no meshes") + (bitmaps ? ", bitmaps" : ", no bitmaps"));
        m_Window->clear(sf::Color::Black);
        m_handler.m_enable_meshes = meshes;
        m_handler.m_enable_bitmaps = bitmaps;
        Begin();
        m_handler.fill_style_color(0, rgba(0, 0, 200, 255));
        m_handler.fill_style_bitmap(0, bi.get_ptr(), matrix(), 1);
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

// clip.method(args...) as a script calls it.
as_value Call(as_object* clip, const char* method, const std::vector<as_value>& args) {
    as_value function;
    clip->get_member(method, &function);
    as_environment env(clip->get_player());
    for (auto arg = args.rbegin(); arg != args.rend(); ++arg) {
        env.push(*arg);
    }
    return call_method(function, &env, as_value(clip), static_cast<int>(args.size()), env.get_top_index());
}

// The root's canvas gets a red square; a clip made later draws a blue one over part of it and
// a green line below both; after clear() only the root's square is left.
TEST_F(RenderWindowTest, drawn_shapes_show_and_later_clips_draw_over_the_canvas) {
    register_builtin_classes();
    smart_ptr<player> owner = new player();
    smart_ptr<movie_root> root = new movie_root();
    smart_ptr<sprite_definition> def = new sprite_definition(owner.get_ptr(), nullptr);
    smart_ptr<sprite_instance> movie = new sprite_instance(owner.get_ptr(), def.get_ptr(), root.get_ptr(), nullptr, -1);
    owner->set_root_movie(movie.get_ptr());
    // A filled square side pixels wide, its corner at (x, y).
    auto square = [](as_object* clip, int colour, int x, int y, int side) {
        Call(clip, "beginFill", {colour});
        Call(clip, "moveTo", {x, y});
        for (auto [dx, dy] : {std::pair{side, 0}, {side, side}, {0, side}}) {
            Call(clip, "lineTo", {x + dx, y + dy});
        }
        Call(clip, "endFill", {});
    };
    square(movie.get_ptr(), 0xFF0000, 20, 20, 60);
    as_object* top = Call(movie.get_ptr(), "createEmptyMovieClip", {"top", 1}).to_object();
    ASSERT_TRUE(top);
    square(top, 0x0000FF, 60, 60, 60);
    Call(top, "lineStyle", {4, 0x00FF00, 100});
    Call(top, "moveTo", {0, 140});
    Call(top, "lineTo", {190, 140});
    set_render_handler(&m_handler);
    for (bool cleared : {false, true}) {
        m_Window->clear(sf::Color::Red);
        Begin(rgba(0, 0, 0, 255));  // the movie's own black background over the window's red
        movie->display();
        m_handler.end_display();
        const Pixel red{255, 0, 0}, blue{0, 0, 255}, green{0, 255, 0}, black{0, 0, 0};
        EXPECT_EQ(Read(40, 40), red);
        EXPECT_EQ(Read(10, 10), black);
        EXPECT_EQ(Read(150, 40), black);
        EXPECT_EQ(Read(70, 70), cleared ? red : blue);
        EXPECT_EQ(Read(100, 100), cleared ? black : blue);
        EXPECT_EQ(Read(100, 140), cleared ? black : green);
        Call(top, "clear", {});
    }
    set_render_handler(nullptr);
}

}  // namespace
}  // namespace flash_testing
