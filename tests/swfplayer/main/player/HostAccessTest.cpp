// A host that reaches a movie's script only through the root: variables by path, calls of script
// functions, visibility, display callbacks and the frame rate; and the answers of characters that
// are not the root movie.
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/render/render_handler.h"
#include "swfplayer/main/shapes/shape_loaders.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/player/PlayerMovies.h"
#include "tests/swfplayer/main/render/RecordingRenderHandler.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

#include <string>
#include <vector>

namespace swf_testing {
namespace {

using namespace swfplayer;
using swfkit::assemble;

// 100 x 100 pixels at 24 frames a second: a square shape named "box" and an empty clip named
// "clip"; the first frame defines add(a, b) and greet(name).
swfkit::Bytes ScriptedMovie() {
    swfkit::Movie movie(8, {0, 2000, 0, 2000}, 24);
    swfkit::TagList& tags = movie.Tags();
    tags.DefineShape(1, player_movies::Square({0, 128, 0, 255}, 400));
    tags.DefineSprite(2, swfkit::TagList(8).ShowFrame());
    tags.PlaceObject2(player_movies::Place(1, 1, "box")).PlaceObject2(player_movies::Place(2, 2, "clip"));
    tags.DoAction(assemble("fn:add(a,b) { 'a' get_var 'b' get_var add_t return } "
                           "fn:greet(name) { 'hi ' 'name' get_var add_t return }")
                      .bytes());
    tags.ShowFrame();
    return movie.Write(false);
}

void count_call(void* user) {
    ++*static_cast<int*>(user);
}

class HostAccessTest : public SwfLoadingFixture {
protected:
    void SetUp() override {
        SwfLoadingFixture::SetUp();
        register_shape_loaders();
        set_render_handler(&m_render);
        m_def = LoadMovie(ScriptedMovie());
        ASSERT_TRUE(m_def);
        m_root = create_instance(m_def.get_ptr());
        m_root->advance(0.0f);
    }
    void TearDown() override {
        m_root = nullptr;
        set_render_handler(nullptr);
        SwfLoadingFixture::TearDown();
    }
    // What one display of the root hands the renderer.
    std::vector<std::string> Drawn() {
        m_render.calls.clear();
        m_root->display();
        return m_render.calls;
    }

    testing_support::RecordingRenderHandler m_render;
    smart_ptr<movie_def_impl> m_def;
    smart_ptr<root> m_root;
};

TEST_F(HostAccessTest, variables_by_path_are_set_and_read_back_and_null_arguments_change_nothing) {
    const std::pair<const char*, const char*> paths[] = {
        {"score", "score"}, {"clip.v", "/clip:v"}, {"/clip:w", "clip.w"}, {"_root.clip.n", "clip.n"}};
    for (const auto& [path, read_as] : paths) {
        m_root->set_variable(path, path);
        EXPECT_STREQ(m_root->get_variable(read_as), path);
    }
    m_root->set_variable("score", L"wide \u00e9");
    EXPECT_STREQ(m_root->get_variable("score"), "wide \xc3\xa9");
    // A path that names nothing is not written.
    m_root->set_variable("nosuchclip.x", "1");
    EXPECT_STREQ(m_root->get_variable("nosuchclip.x"), "undefined");
    ClearLog();
    m_root->set_variable(nullptr, "1");
    m_root->set_variable("score", static_cast<const char*>(nullptr));
    m_root->set_variable("score", static_cast<const wchar_t*>(nullptr));
    EXPECT_EQ(Log(), (std::vector<std::string>{"error: NULL path_to_var passed to set_variable()\n",
                                               "error: NULL passed to set_variable('score', NULL)\n",
                                               "error: NULL passed to set_variable('score', NULL)\n"}));
    EXPECT_STREQ(m_root->get_variable("score"), "wide \xc3\xa9");
}

TEST_F(HostAccessTest, script_functions_are_called_with_a_format_or_an_argument_array) {
    EXPECT_STREQ(m_root->call_method("add", "%d, %f", 2, 0.5), "2.5");
    EXPECT_STREQ(m_root->call_method("greet", "%ls", L"you"), "hi you");
    const as_value texts[] = {as_value("3"), as_value("4")};
    EXPECT_STREQ(m_root->call_method("add", texts, 2).c_str(), "34");
    // A missing function answers empty or undefined text, as its kind of call does.
    EXPECT_STREQ(m_root->call_method("nothing", texts, 2).c_str(), "");
    EXPECT_STREQ(m_root->call_method("nothing", "%d", 1), "undefined");
}

TEST_F(HostAccessTest, the_host_hides_the_movie_reads_its_rate_and_is_called_back_after_drawing) {
    EXPECT_FLOAT_EQ(m_root->get_movie_fps(), 24.0f);
    m_root->set_visible(false);
    EXPECT_TRUE(Drawn().empty());
    m_root->set_visible(true);
    EXPECT_FALSE(Drawn().empty());
    // The named characters call back after each drawing; a name that is not a character does not.
    int box_calls = 0;
    int clip_calls = 0;
    m_root->set_display_callback("box", count_call, &box_calls);
    m_root->set_display_callback("clip", count_call, &clip_calls);
    m_root->set_display_callback("add", count_call, &clip_calls);
    Drawn();
    Drawn();
    EXPECT_EQ(std::make_pair(box_calls, clip_calls), std::make_pair(2, 2));
}

TEST_F(HostAccessTest, only_the_root_movie_answers_the_host_and_other_characters_log_the_call) {
    m_root->set_variable("clip.v", "kept");
    as_value clip, box;
    m_root->get_root_sprite()->get_member("clip", &clip);
    m_root->get_root_sprite()->get_member("box", &box);
    ASSERT_TRUE(cast_to_character(clip.to_object()) && cast_to_character(box.to_object()));
    ClearLog();
    cast_to_character(clip.to_object())->set_variable("v", "changed");
    cast_to_character(box.to_object())->set_variable("v", "changed");
    EXPECT_EQ(cast_to_character(box.to_object())->call_method("add", "%d %d", 1, 2), nullptr);
    EXPECT_STREQ(m_root->get_variable("clip.v"), "kept");
    EXPECT_EQ(CountLogged("only the root movie answers this"), 1);
    EXPECT_EQ(CountLogged("only sprites answer this"), 2);
    EXPECT_FALSE(m_root->reserved_checked_query());
    EXPECT_TRUE(Logged("no character provides this"));
}

}  // namespace
}  // namespace swf_testing
