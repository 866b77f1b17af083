// What scripts draw with the MovieClip drawing methods shows on screen: a clip's canvas drawn
// through the OpenGL handler into a real window on an X server of the test's own.
#include "flash/render_handler_ogl.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/sprite_definition.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/movie_root.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"
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

constexpr int kWidth = 200;
constexpr int kHeight = 150;

using Pixel = std::array<int, 3>;

class CanvasDrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        static testing_support::X11TestDisplay display(kWidth + 64, kHeight + 64);
        ASSERT_TRUE(display.Ready()) << "no Xvfb server";
        setenv("DISPLAY", display.Name().c_str(), 1);
        m_window = std::make_unique<sf::RenderWindow>(sf::VideoMode(kWidth, kHeight), "canvas test", sf::Style::None,
                                                      sf::ContextSettings(24, 8, 0));
        ASSERT_TRUE(m_window->isOpen() && m_window->setActive(true));
        m_window->clear(sf::Color::Black);
        m_window->resetGLStates();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kWidth, kHeight, 0, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();

        register_builtin_classes();
        m_player = new player();
        m_root = new movie_root();
        m_player->set_root(m_root.get_ptr());
        smart_ptr<sprite_definition> def = new sprite_definition(m_player.get_ptr(), nullptr);
        m_movie = new sprite_instance(m_player.get_ptr(), def.get_ptr(), m_root.get_ptr(), nullptr, -1);
        m_player->set_root_movie(m_movie.get_ptr());
        m_root->set_root_movie(m_movie.get_ptr());
    }
    void TearDown() override { set_render_handler(nullptr); }

    // clip.method(args...) as a script calls it.
    as_value call(as_object* clip, const char* method, const std::vector<as_value>& args) {
        as_value function;
        EXPECT_TRUE(clip->get_member(method, &function)) << method;
        as_environment* env = m_movie->get_environment();
        for (auto arg = args.rbegin(); arg != args.rend(); ++arg) {
            env->push(*arg);
        }
        int count = static_cast<int>(args.size());
        as_value result = call_method(function, env, as_value(clip), count, env->get_top_index());
        env->drop(count);
        return result;
    }

    // A filled square of side pixels at (x, y) drawn into the clip.
    void square(as_object* clip, int colour, int x, int y, int side) {
        call(clip, "beginFill", {colour});
        call(clip, "moveTo", {x, y});
        call(clip, "lineTo", {x + side, y});
        call(clip, "lineTo", {x + side, y + side});
        call(clip, "lineTo", {x, y + side});
        call(clip, "endFill", {});
    }

    void draw() {
        set_render_handler(&m_handler);
        m_handler.begin_display(rgba(0, 0, 0, 255), 0, 0, kWidth, kHeight, 0, kWidth * 20.0f, 0, kHeight * 20.0f);
        m_movie->display();
        m_handler.end_display();
    }

    static Pixel Read(int x, int y) {
        uint8_t p[4] = {};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, kHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }

    std::unique_ptr<sf::RenderWindow> m_window;
    render_handler_ogl m_handler;
    smart_ptr<player> m_player;
    smart_ptr<movie_root> m_root;
    smart_ptr<sprite_instance> m_movie;
};

// A red square on the root's canvas, a clip made later draws a blue one over part of it, and a
// line of alpha 100% crosses both.
TEST_F(CanvasDrawingTest, drawn_shapes_show_and_later_clips_draw_over_the_canvas) {
    square(m_movie.get_ptr(), 0xFF0000, 20, 20, 60);
    as_object* top = call(m_movie.get_ptr(), "createEmptyMovieClip", {"top", 1}).to_object();
    ASSERT_TRUE(top);
    square(top, 0x0000FF, 60, 60, 60);
    call(top, "lineStyle", {4, 0x00FF00, 100});
    call(top, "moveTo", {0, 140});
    call(top, "lineTo", {190, 140});
    draw();
    const struct {
        int x, y;
        Pixel want;
    } probes[] = {{40, 40, {255, 0, 0}}, {70, 70, {0, 0, 255}}, {100, 100, {0, 0, 255}},
                  {10, 10, {0, 0, 0}},   {150, 40, {0, 0, 0}},  {100, 140, {0, 255, 0}}};
    for (const auto& probe : probes) {
        EXPECT_EQ(Read(probe.x, probe.y), probe.want) << probe.x << "," << probe.y;
    }

    // clear() takes the drawing away.
    call(top, "clear", {});
    m_window->clear(sf::Color::Black);
    draw();
    EXPECT_EQ(Read(100, 100), (Pixel{0, 0, 0}));
    EXPECT_EQ(Read(40, 40), (Pixel{255, 0, 0}));
}

}  // namespace
