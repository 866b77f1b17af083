// What scripts draw with the MovieClip drawing methods shows in a real window (on an X server of
// the test's own) through the OpenGL handler.
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
#include <vector>

using namespace swfplayer;

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 150;

// clip.method(args...) as a script calls it.
as_value call(as_object* clip, const char* method, const std::vector<as_value>& args) {
    as_value function;
    clip->get_member(method, &function);
    as_environment env(clip->get_player());
    for (auto arg = args.rbegin(); arg != args.rend(); ++arg) {
        env.push(*arg);
    }
    return call_method(function, &env, as_value(clip), static_cast<int>(args.size()), env.get_top_index());
}

// A filled square drawn into the clip, side pixels wide, its corner at (x, y).
void square(as_object* clip, int colour, int x, int y, int side) {
    call(clip, "beginFill", {colour});
    call(clip, "moveTo", {x, y});
    for (auto [dx, dy] : {std::pair{side, 0}, {side, side}, {0, side}}) {
        call(clip, "lineTo", {x + dx, y + dy});
    }
    call(clip, "endFill", {});
}

std::array<int, 3> Read(int x, int y) {
    uint8_t p[4] = {};
    glReadPixels(x, kHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

// The root's canvas gets a red square; a clip made later draws a blue one over part of it and
// a green line below both; after clear() only the root's square is left.
TEST(CanvasDrawingTest, drawn_shapes_show_and_later_clips_draw_over_the_canvas) {
    static testing_support::X11TestDisplay display(kWidth + 64, kHeight + 64);
    ASSERT_TRUE(display.Ready()) << "no Xvfb server";
    setenv("DISPLAY", display.Name().c_str(), 1);
    sf::RenderWindow window(sf::VideoMode(kWidth, kHeight), "canvas test", sf::Style::None,
                            sf::ContextSettings(24, 8, 0));
    ASSERT_TRUE(window.setActive(true));
    register_builtin_classes();
    smart_ptr<player> owner = new player();
    smart_ptr<movie_root> root = new movie_root();
    smart_ptr<sprite_definition> def = new sprite_definition(owner.get_ptr(), nullptr);
    smart_ptr<sprite_instance> movie = new sprite_instance(owner.get_ptr(), def.get_ptr(), root.get_ptr(), nullptr, -1);
    owner->set_root_movie(movie.get_ptr());

    square(movie.get_ptr(), 0xFF0000, 20, 20, 60);
    as_object* top = call(movie.get_ptr(), "createEmptyMovieClip", {"top", 1}).to_object();
    ASSERT_TRUE(top);
    square(top, 0x0000FF, 60, 60, 60);
    call(top, "lineStyle", {4, 0x00FF00, 100});
    call(top, "moveTo", {0, 140});
    call(top, "lineTo", {190, 140});

    render_handler_ogl handler;
    set_render_handler(&handler);
    for (bool cleared : {false, true}) {
        window.clear(sf::Color::Black);
        window.resetGLStates();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kWidth, kHeight, 0, -1, 1);
        handler.begin_display(rgba(0, 0, 0, 255), 0, 0, kWidth, kHeight, 0, kWidth * 20.0f, 0, kHeight * 20.0f);
        movie->display();
        handler.end_display();
        const std::array<int, 3> red{255, 0, 0}, blue{0, 0, 255}, green{0, 255, 0}, black{0, 0, 0};
        EXPECT_EQ(Read(40, 40), red);
        EXPECT_EQ(Read(10, 10), black);
        EXPECT_EQ(Read(150, 40), black);
        EXPECT_EQ(Read(70, 70), cleared ? red : blue);
        EXPECT_EQ(Read(100, 100), cleared ? black : blue);
        EXPECT_EQ(Read(100, 140), cleared ? black : green);
        call(top, "clear", {});
    }
    set_render_handler(nullptr);
}

}  // namespace
