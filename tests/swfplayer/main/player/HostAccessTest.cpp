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
#include "tests/swfplayer/main/script/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

#include <string>
#include <vector>

namespace swf_testing {
namespace {

using namespace swfplayer;
using script_test::assemble;

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

TEST_F(HostAccessTest, variables_by_path_are_set_and_read_back_as_text) {
    const std::string e_acute = "\xc3\xa9";
    const struct {
        const char* path;
        const char* read_as;  // the same variable by another path
        std::string value;
        bool wide;
    } rows[] = {
        {"score", "score", "12", false},
        {"clip.v", "/clip:v", "7", false},
        {"/clip:w", "clip.w", "wide " + e_acute, true},
        {"_root.clip.n", "clip.n", "", false},
    };
    for (const auto& row : rows) {
        if (row.wide) {
            m_root->set_variable(row.path, L"wide \u00e9");
        } else {
            m_root->set_variable(row.path, row.value.c_str());
        }
        EXPECT_EQ(std::string(m_root->get_variable(row.read_as)), row.value) << row.path;
    }
    // A path that names nothing is not written.
    m_root->set_variable("nosuchclip.x", "1");
    EXPECT_STREQ(m_root->get_variable("nosuchclip.x"), "undefined");
    EXPECT_STREQ(m_root->get_variable("never_set"), "undefined");
    EXPECT_STREQ(m_root->get_variable(nullptr), "");
}

TEST_F(HostAccessTest, null_paths_and_values_are_logged_and_change_nothing) {
    m_root->set_variable("score", "12");
    ClearLog();
    m_root->set_variable(nullptr, "1");
    m_root->set_variable(nullptr, L"1");
    m_root->set_variable("score", static_cast<const char*>(nullptr));
    m_root->set_variable("score", static_cast<const wchar_t*>(nullptr));
    const std::vector<std::string> expected = {
        "error: NULL path_to_var passed to set_variable()\n", "error: NULL path_to_var passed to set_variable()\n",
        "error: NULL passed to set_variable('score', NULL)\n", "error: NULL passed to set_variable('score', NULL)\n"};
    EXPECT_EQ(Log(), expected);
    EXPECT_STREQ(m_root->get_variable("score"), "12");
}

TEST_F(HostAccessTest, script_functions_are_called_with_a_format_or_an_argument_array) {
    EXPECT_STREQ(m_root->call_method("add", "%d, %f", 2, 0.5), "2.5");
    EXPECT_STREQ(m_root->call_method("greet", "%s", "you"), "hi you");
    EXPECT_STREQ(m_root->call_method("greet", "%ls", L"there"), "hi there");
    const as_value numbers[] = {as_value(3.0), as_value(4.0)};
    EXPECT_STREQ(m_root->call_method("add", numbers, 2).c_str(), "7");
    const as_value texts[] = {as_value("3"), as_value("4")};
    EXPECT_STREQ(m_root->call_method("add", texts, 2).c_str(), "34");
    // A function that is not there answers with empty or undefined text, as its kind of call does.
    EXPECT_STREQ(m_root->call_method("nothing", numbers, 2).c_str(), "");
    EXPECT_STREQ(m_root->call_method("nothing", "%d", 1), "undefined");
    // The stack is as it was before the calls.
    EXPECT_STREQ(m_root->call_method("add", "%d %d", 20, 22), "42");
}

TEST_F(HostAccessTest, the_host_hides_the_movie_reads_its_rate_and_is_called_back_after_drawing) {
    EXPECT_FLOAT_EQ(m_root->get_movie_fps(), 24.0f);
    EXPECT_EQ(m_root->get_movie_version(), 8);
    EXPECT_EQ(std::make_pair(m_root->get_movie_width(), m_root->get_movie_height()), std::make_pair(100, 100));
    EXPECT_FALSE(Drawn().empty());
    m_root->set_visible(false);
    EXPECT_FALSE(m_root->get_visible());
    EXPECT_TRUE(Drawn().empty());
    m_root->set_visible(true);
    EXPECT_TRUE(m_root->get_visible());
    // The named characters call back after each drawing; a name that is not a character does not.
    int box_calls = 0;
    int clip_calls = 0;
    m_root->set_display_callback("box", count_call, &box_calls);
    m_root->set_display_callback("clip", count_call, &clip_calls);
    m_root->set_display_callback("add", count_call, &clip_calls);
    Drawn();
    Drawn();
    EXPECT_EQ(std::make_pair(box_calls, clip_calls), std::make_pair(2, 2));
    EXPECT_EQ(m_root->get_user_value(), 0);
    m_root->set_user_value(-5);
    EXPECT_EQ(m_root->get_user_value(), -5);
}

TEST_F(HostAccessTest, only_the_root_movie_answers_the_host_and_other_characters_log_the_call) {
    m_root->set_variable("clip.v", "kept");
    sprite_instance* stage = m_root->get_root_sprite();
    as_value clip_value;
    ASSERT_TRUE(stage->get_member("clip", &clip_value));
    character* clip = cast_to_character(clip_value.to_object());
    as_value box_value;
    ASSERT_TRUE(stage->get_member("box", &box_value));
    character* box = cast_to_character(box_value.to_object());
    ASSERT_TRUE(clip && box);
    ClearLog();
    clip->set_variable("v", "changed");
    EXPECT_STREQ(clip->get_variable("v"), "");
    box->set_variable("v", "changed");
    EXPECT_STREQ(box->get_variable("v"), "");
    EXPECT_EQ(box->call_method("add", "%d %d", 1, 2), nullptr);
    EXPECT_EQ(box->replace_me(static_cast<movie_definition*>(m_def.get_ptr())), nullptr);
    EXPECT_STREQ(m_root->get_variable("clip.v"), "kept");
    EXPECT_EQ(CountLogged("only the root movie answers this"), 2);
    EXPECT_EQ(CountLogged("only sprites answer this"), 4);
    // The places kept in the interface answer as fixed, and the checked ones log.
    EXPECT_FALSE(box->reserved_false_query());
    EXPECT_EQ(box->reserved_null_query(1), nullptr);
    EXPECT_EQ(box->reserved_null_query_a(), nullptr);
    EXPECT_EQ(box->reserved_zero_query(), 0.0);
    EXPECT_TRUE(box->accepts_timeline_moves());
    EXPECT_TRUE(box->is_displayable());
    EXPECT_EQ(clip->reserved_count(), 0);
    EXPECT_FALSE(m_root->reserved_checked_query());
    EXPECT_EQ(CountLogged("no character provides this"), 2);
}

}  // namespace
}  // namespace swf_testing
