// The MovieClip methods and the Sound object through short scripts run on the root of a
// kit-built movie: a clip "nav" of three frames (the second labelled "two", exported as "clip")
// at depth 1, the exported clip "item" whose first frame sets loaded = 1, the exported clip
// "gone" that removes itself, and the exported sound "snd".
#include "swfplayer/main/player/clip_loader.h"
#include "swfplayer/main/script/action_buffer.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/shapes/canvas.h"
#include "swfplayer/main/sound/sound_handler.h"
#include "tests/swfplayer/main/display/DisplayTestKit.h"
#include "tests/swfplayer/main/script/ScriptTestKit.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

#include <cmath>

namespace display_test {

namespace {

using namespace script_test;
using namespace swfkit;

// The traced texts, each followed by "|".
std::string s_traced;

void record_trace(const fn_call& fn) {
    s_traced += std::string(fn.arg(0).to_string()) + "|";
}

// An argument that is the value of the variable name rather than a pushed constant.
constexpr uint8_t variable_type = 0xFF;
push_item variable(const std::string& name) {
    return {variable_type, Bytes(name.begin(), name.end())};
}

// target.method(args...) (target a variable path), its result left on the stack.
action_assembler call_on(const char* target, const char* method, std::vector<push_item> args) {
    action_assembler a;
    for (auto arg = args.rbegin(); arg != args.rend(); ++arg) {
        arg->type == variable_type ? a.push({str(std::string(arg->data.begin(), arg->data.end()))}).op(GET_VAR)
                                   : a.push({*arg});
    }
    a.push({i32(static_cast<int32_t>(args.size())), str(target)}).op(GET_VAR);
    return a.push({str(method)}).op(CALL_METHOD);
}
action_assembler traced(const char* target, const char* method, std::vector<push_item> args = {}) {
    return call_on(target, method, std::move(args)).op(TRACE);
}
action_assembler done(const char* target, const char* method, std::vector<push_item> args = {}) {
    return call_on(target, method, std::move(args)).op(POP);
}
// trace(target.member)
action_assembler traced_member(const char* target, const char* member) {
    return action_assembler().push({str(target)}).op(GET_VAR).push({str(member)}).op(GET_MEMBER).op(TRACE);
}

// Writes every call as text; sounds get ids from 10 up.
class recording_sound_handler : public sound_handler {
public:
    int create_sound(void*, int, int, int, int, bool) override { return m_next_id++; }
    void append_sound(int, void*, int) override {}
    void play_sound(int id, int loops) override { note("play", id, " " + std::to_string(loops)); }
    void set_volume(int id, int volume) override { note("volume", id, " " + std::to_string(volume)); }
    void stop_sound(int id) override { note("stop", id); }
    void delete_sound(int id) override { note("delete", id); }
    bool is_usable() const override { return true; }
    void pause(int, bool) override {}
    int get_volume(int) override { return 100; }
    void stop_all_sounds() override { m_calls += "stop all|"; }
    int load_sound(const char* path) override {
        m_calls += std::string("load ") + path + "|";
        return m_next_id++;
    }
    int get_position(int id) override { return id * 100; }

    void note(const char* call, int id, const std::string& more = "") {
        m_calls += call + (" " + std::to_string(id)) + more + "|";
    }
    std::string m_calls;  // each call followed by "|"
    int m_next_id = 10;
};

class MovieClipTest : public DisplayFixture {
protected:
    void SetUp() override {
        DisplayFixture::SetUp();
        m_player->get_global()->builtin_member("trace", as_value(m_player.get_ptr(), record_trace));
        set_sound_handler(&m_handler);
        register_clip_loader();
        fresh_root();
    }
    void TearDown() override {
        set_sound_handler(nullptr);
        m_sprite = nullptr;
        DisplayFixture::TearDown();
    }
    // A new root sprite of the movie, advanced once; the log emptied.
    void fresh_root() {
        swfkit::Movie movie(6, {0, 8000, 0, 6000}, 30.0);
        swfkit::TagList item(6), nav(6), gone(6);
        item.DoAction(action_assembler().set_var("loaded", {i32(1)}).bytes()).ShowFrame();
        nav.ShowFrame().FrameLabel("two").ShowFrame().ShowFrame();
        gone.DoAction(done("this", "removeMovieClip").trace(str("after")).bytes()).ShowFrame();
        swfkit::Placement place;
        place.characterId = 3;
        place.name = "nav";
        movie.Tags().DefineSprite(1, item).ExportAssets({{1, "item"}}).DefineSprite(3, nav);
        movie.Tags().DefineSprite(4, gone).ExportAssets({{4, "gone"}});
        // DefineSound 7: raw 8-bit mono at 5512 Hz, four samples.
        movie.Tags().Tag(14, {7, 0, 0x00, 4, 0, 0, 0, 1, 2, 3, 4}).ExportAssets({{7, "snd"}, {3, "clip"}});
        movie.Tags().PlaceObject2(place).ShowFrame();
        m_def = LoadMovie(movie.Write(false));
        m_sprite = make_root_sprite(m_def.get_ptr());
        m_player->set_root_movie(m_sprite.get_ptr());
        m_sprite->advance(1.0f);
        ClearLog();
    }
    // Runs the parts as one frame action of the root; the traced texts joined by "|".
    std::string run(const std::vector<action_assembler>& parts) {
        Bytes bytes;
        for (const action_assembler& part : parts) {
            Bytes code = part.code();
            bytes.insert(bytes.end(), code.begin(), code.end());
        }
        bytes.push_back(0);
        s_traced.clear();
        action_buffer buffer;
        buffer.read(bytes.data(), static_cast<int>(bytes.size()));
        buffer.execute(m_sprite->get_environment());
        return s_traced.substr(0, s_traced.empty() ? 0 : s_traced.size() - 1);
    }

    recording_sound_handler m_handler;
    smart_ptr<movie_def_impl> m_def;
    smart_ptr<sprite_instance> m_sprite;
};

TEST_F(MovieClipTest, clip_operations_answer_as_scripts_expect) {
    // Runs the script on a fresh root; what it traces, and a log line when one is expected.
    const auto check = [&](const char* what, const char* traces, const char* logged,
                           const std::vector<action_assembler>& script) {
        fresh_root();
        EXPECT_EQ(run(script), traces) << what;
        EXPECT_TRUE(!logged || Logged(logged)) << what;
    };
    const double big = 1e12;
    check("script depths start at 0", "0|0|1", nullptr,
          {traced("_root", "getNextHighestDepth"), done("_root", "createEmptyMovieClip", {str("a"), i32(0)}),
           traced("a", "getDepth"), traced("_root", "getNextHighestDepth")});
    check("depths saturate", "2147467263|2147467263", nullptr,
          {done("_root", "createEmptyMovieClip", {str("a"), num(big)}), traced("a", "getDepth"),
           traced("_root", "getNextHighestDepth")});
    check("attached clips have run their first frame", "1|5|undefined|undefined", "attachMovie needs 3 or 4 args",
          {done("_root", "attachMovie", {str("item"), str("i"), i32(5)}), traced_member("i", "loaded"),
           traced("i", "getDepth"), traced("_root", "attachMovie", {str("none"), str("n"), i32(6)}),
           traced("_root", "attachMovie", {str("item")})});
    check("duplicates copy members; the root refuses", "1|2|undefined", "can't clone _root",
          {done("_root", "attachMovie", {str("item"), str("a"), i32(0)}),
           done("a", "duplicateMovieClip", {str("b"), i32(2)}), traced_member("b", "loaded"), traced("b", "getDepth"),
           traced("_root", "duplicateMovieClip", {str("r"), i32(3)})});
    check("removed clips are gone", "0|undefined", nullptr,
          {done("_root", "createEmptyMovieClip", {str("a"), i32(0)}), done("a", "removeMovieClip"),
           traced("_root", "getNextHighestDepth"), traced_member("_root", "a")});
    check("swapDepths moves to a free depth or exchanges", "1|0|7|0|7", "can't do _root.swapDepths",
          {done("_root", "createEmptyMovieClip", {str("a"), i32(0)}),
           done("_root", "createEmptyMovieClip", {str("b"), i32(1)}), done("a", "swapDepths", {variable("b")}),
           traced("a", "getDepth"), traced("b", "getDepth"), done("a", "swapDepths", {i32(7)}), traced("a", "getDepth"),
           done("a", "swapDepths", {i32(0)}), traced("a", "getDepth"), traced("b", "getDepth"),
           done("_root", "swapDepths", {i32(3)})});
    check("goto by number, text and label; NaN stays", "3|3|2|1", "sprite_goto_and_stop needs one arg",
          {done("nav", "gotoAndStop", {str("3")}), traced_member("nav", "_currentframe"),
           done("nav", "gotoAndStop", {num(NAN)}), done("nav", "gotoAndStop", {undef()}), done("nav", "nextFrame"),
           traced_member("nav", "_currentframe"), done("nav", "gotoAndPlay", {str("two")}),
           traced_member("nav", "_currentframe"), done("nav", "prevFrame"), traced_member("nav", "_currentframe"),
           done("nav", "gotoAndStop")});
    check("a clip removes itself inside its own frame actions", "after|undefined", nullptr,
          {done("_root", "attachMovie", {str("gone"), str("g"), i32(4)}), traced_member("_root", "g")});
    check("registered classes construct the instances of their symbol", "true|k|false",
          "can't find exported resource 'missing'",
          {action_assembler().function("C", {}, traced_member("this", "_name")),
           traced("Object", "registerClass", {str("item"), variable("C")}),
           done("_root", "attachMovie", {str("item"), str("k"), i32(3)}),
           traced("Object", "registerClass", {str("missing"), variable("C")})});
    check("text fields take exactly six arguments", "t|10|100|3|null",
          "createTextField: the number of arguments must be 6",
          {done("_root", "createTextField", {str("t"), i32(2), i32(10), i32(20), i32(100), i32(30)}),
           traced_member("t", "_name"), traced_member("t", "_x"), traced_member("t", "_width"),
           traced("_root", "getNextHighestDepth"), traced("_root", "createTextField", {str("u"), i32(3)})});
    check("clips load and unload through the clip loader", "nav|undefined", "missing.swf",
          {done("nav", "loadMovie", {str("missing.swf")}), traced_member("nav", "_name"), done("nav", "unloadMovie"),
           traced_member("_root", "nav")});
    check("new MovieClip makes a clip", "movieclip", nullptr,
          {action_assembler().push({i32(0), str("MovieClip")}).op(NEW).op(TYPE_OF).op(TRACE)});
}

// swapDepths between a clip and a kept reference to its removed sibling, in either order, swaps
// nothing and says so: the depths stay and the list stays sorted by depth.
TEST_F(MovieClipTest, swap_depths_with_a_removed_clip_changes_nothing) {
    const std::vector<action_assembler> depths = {traced("b", "getDepth"), traced("c", "getDepth"),
                                                  traced("keep", "getDepth")};
    run({done("_root", "createEmptyMovieClip", {str("a"), i32(0)}),
         done("_root", "createEmptyMovieClip", {str("b"), i32(2)}),
         done("_root", "createEmptyMovieClip", {str("c"), i32(3)}),
         action_assembler().push({str("keep"), str("a")}).op(GET_VAR).op(SET_VAR), done("a", "removeMovieClip")});
    const std::string before = run(depths);
    ClearLog();
    run({done("keep", "swapDepths", {variable("b")}), done("c", "swapDepths", {variable("keep")})});
    EXPECT_EQ(CountLogged("display_list::swap_characters: a character to swap is not in the display list"), 2);
    EXPECT_EQ(run(depths), before);
    const display_list& list = m_sprite->get_display_list();
    for (int i = 1; i < list.size(); i++) {
        EXPECT_LE(list.get_character(i - 1)->get_depth(), list.get_character(i)->get_depth()) << i;
    }
}

// Line and fill styles at their edges; the canvas sits above the children present then, a
// duplicate copies it, and it stays when the timeline loops, as clips made by script do.
TEST_F(MovieClipTest, drawing_methods_reach_a_canvas_above_the_children) {
    run({done("_root", "createEmptyMovieClip", {str("a"), i32(0)}),
         done("a", "lineStyle", {i32(300), i32(0xFF0000), i32(150)}), done("a", "beginFill"),
         done("a", "lineTo", {i32(10), i32(10)}), done("a", "duplicateMovieClip", {str("b"), i32(1)}),
         done("nav", "lineTo", {i32(5), i32(5)}), done("nav", "createEmptyMovieClip", {str("c"), i32(5)})});
    for (const char* name : {"a", "b"}) {
        sprite_instance* clip = cast_to_sprite_instance(member(m_sprite, name).to_object());
        canvas* drawing = clip->get_canvas();
        ASSERT_TRUE(drawing && drawing == clip->get_canvas() && drawing->m_line_styles.size() == 1);
        EXPECT_EQ(clip->get_display_list().get_character(0)->get_depth(), 16384);
        EXPECT_EQ(drawing->m_line_styles[0].get_width(), 5100);
        const rgba& line = drawing->m_line_styles[0].get_color();
        const rgba& fill = drawing->m_fill_styles[0].m_color;
        EXPECT_EQ(std::vector<int>({line.r, line.g, line.b, line.a, fill.r, fill.g, fill.b, fill.a}),
                  std::vector<int>({255, 0, 0, 255, 0, 0, 0, 255}));
        EXPECT_EQ(clip->get_width(), 200.0f);
    }
    sprite_instance* nav = cast_to_sprite_instance(member(m_sprite, "nav").to_object());
    for (int step = 0; step < 3; step++) {
        m_sprite->advance(1.0f);
    }
    EXPECT_EQ(nav->get_current_frame(), 0);
    EXPECT_EQ(nav->get_display_list().size(), 2);
}

// A script's clear drops the canvas: the next drawing call makes a new, empty one above every
// child present then. Until then the canvas keeps the depth it was placed at: a clip placed at its
// depth displaces it, and drawing goes on into the canvas without bringing it back.
TEST_F(MovieClipTest, clear_drops_the_canvas_and_a_displaced_canvas_stays_off_the_list) {
    run({done("_root", "createEmptyMovieClip", {str("a"), i32(0)}), done("a", "lineTo", {i32(10), i32(10)}),
         done("a", "createEmptyMovieClip", {str("above"), i32(5)}), done("a", "clear")});
    sprite_instance* a = cast_to_sprite_instance(member(m_sprite, "a").to_object());
    ASSERT_TRUE(a);
    const display_list& children = a->get_display_list();
    ASSERT_EQ(children.size(), 1);
    EXPECT_EQ(children.get_character(0)->get_name(), "above");
    run({done("a", "lineTo", {i32(20), i32(20)})});
    canvas* drawing = a->get_canvas();
    ASSERT_TRUE(drawing);
    ASSERT_EQ(children.size(), 2);
    EXPECT_EQ(children.get_character(0)->get_name(), "above");
    EXPECT_EQ(children.get_character(1)->get_character_def(), drawing);
    EXPECT_EQ(children.get_character(1)->get_depth(), 16390);
    int edges = 0;
    for (const path& p : drawing->m_paths) {
        edges += p.m_edges.size();
    }
    EXPECT_EQ(edges, 1);  // only the line drawn after the clear
    run({done("a", "createEmptyMovieClip", {str("d"), i32(6)}), done("a", "lineTo", {i32(1), i32(1)})});
    EXPECT_EQ(a->get_canvas(), drawing);
    ASSERT_EQ(children.size(), 2);
    EXPECT_EQ(children.get_character(0)->get_name(), "above");
    EXPECT_EQ(children.get_character(1)->get_name(), "d");
}

// Boxes in twips (x, y, width, height): a corner of the target's inside the clip's box hits;
// a target that encloses the clip does not.
TEST_F(MovieClipTest, hit_test_looks_for_a_corner_of_the_target_inside_the_clip) {
    const std::tuple<float, float, float, float, bool> cases[] = {
        {50, 50, 10, 10, true}, {90, 90, 50, 50, true}, {-20, -20, 300, 300, false}, {101, 0, 5, 5, false}};
    for (const auto& [tx, ty, tw, th, hit] : cases) {
        fresh_root();
        smart_ptr<sprite_instance> clip = cast_to_sprite_instance(m_sprite->create_empty_movieclip("clip", 16384));
        smart_ptr<sprite_instance> target = cast_to_sprite_instance(m_sprite->create_empty_movieclip("t", 16385));
        clip->get_canvas()->line_to(100, 100);
        target->get_canvas()->move_to(0, 0);
        target->get_canvas()->line_to(tw, th);
        matrix at;
        at.m[0][2] = tx;
        at.m[1][2] = ty;
        target->set_matrix(at);
        EXPECT_EQ(
            call(*m_sprite->get_environment(), member(clip, "hitTest"), as_value(clip.get_ptr()), {"t"}).to_bool(), hit)
            << tx;
    }
}

// A definition takes a clip's place, name and depth; the root movie cannot be replaced.
TEST_F(MovieClipTest, replace_me_puts_an_instance_in_the_clips_place) {
    smart_ptr<sprite_instance> nav = cast_to_sprite_instance(member(m_sprite, "nav").to_object());
    character* item = nav->replace_me(m_def->get_exported_resource("item"));
    ASSERT_TRUE(item && item != nav.get_ptr());
    EXPECT_EQ(std::make_pair(item->get_name(), item->get_depth()), std::make_pair(base_string("nav"), 1));
    EXPECT_EQ(member(m_sprite, "nav").to_object(), item);
    EXPECT_FALSE(nav->is_active());
    EXPECT_EQ(m_sprite->replace_me(m_def->get_exported_resource("item")), nullptr);
    EXPECT_TRUE(Logged("character can't replace _root"));
}

TEST_F(MovieClipTest, frame_scripts_run_at_the_end_of_the_frame_step) {
    sprite_instance* nav = cast_to_sprite_instance(member(m_sprite, "nav").to_object());
    ASSERT_TRUE(nav);
    nav->set_play_state(character::STOP);
    as_value script(m_player.get_ptr(), record_trace);
    const auto add_frame_script = [&](const std::vector<as_value>& args) {
        call(*m_sprite->get_environment(), member(nav, "addFrameScript"), as_value(nav), args);
    };
    for (const std::vector<as_value>& ignored : std::vector<std::vector<as_value>>{{-1, script}, {3, script}, {0}}) {
        add_frame_script(ignored);
    }
    s_traced.clear();
    m_sprite->advance(1.0f);
    EXPECT_EQ(s_traced, "");
    add_frame_script({0, script});
    m_sprite->advance(1.0f);
    m_sprite->advance(1.0f);
    EXPECT_EQ(s_traced, "undefined|");
}

// One script, with and without a handler: only the handler's calls differ. Its first start
// has nothing attached; attaching releases the loaded sound.
TEST_F(MovieClipTest, sound_methods_reach_the_handler_and_release_what_they_loaded) {
    const std::pair<const char*, std::vector<as_value>> script[] = {{"start", {}},
                                                                    {"attachSound", {"snd"}},
                                                                    {"start", {0, 3}},
                                                                    {"start", {}},
                                                                    {"setVolume", {50}},
                                                                    {"stop", {}},
                                                                    {"loadSound", {"music.mp3"}},
                                                                    {"attachSound", {"snd"}},
                                                                    {"loadSound", {"sub/again.mp3"}},
                                                                    {"attachSound", {"clip"}},
                                                                    {"attachSound", {"nothing"}},
                                                                    {"attachSound", {}},
                                                                    {"setVolume", {}}};
    m_player->set_workdir("movies/");
    for (bool with_handler : {true, false}) {
        set_sound_handler(with_handler ? &m_handler : nullptr);
        m_handler.m_calls.clear();
        ClearLog();
        {
            as_value sound =
                call(*m_sprite->get_environment(), member(m_player->get_global(), "Sound"), as_value(), {});
            ASSERT_TRUE(sound.to_object() && sound.to_object()->is(AS_SOUND));
            for (const auto& [name, args] : script) {
                call(*m_sprite->get_environment(), member(sound.to_object(), name), sound, args);
            }
            double position = member(sound.to_object(), "position").to_number();
            EXPECT_TRUE(with_handler ? position == 1200.0 : std::isnan(position));
        }  // the last loaded sound goes with the object
        m_player->sweep_heap();
        EXPECT_EQ(m_handler.m_calls, with_handler ? "play 10 3|play 10 0|volume 10 50|stop 10|load "
                                                    "movies/music.mp3|delete 11|load movies/sub/again.mp3|delete 12|"
                                                  : "");
        for (const char* message : {"sound sample is NULL", "import error: resource 'nothing' is not exported",
                                    "attach sound needs one argument", "set volume of sound needs one argument"}) {
            EXPECT_TRUE(Logged(message)) << message;
        }
    }
}

// A sound file is named as a movie is: relative to the working folder, never leaving it.
TEST_F(MovieClipTest, sounds_load_from_the_working_folder_only) {
    m_player->set_workdir("movies/");
    set_sound_handler(&m_handler);
    m_handler.m_calls.clear();
    const std::pair<const char*, const char*> names[] = {{"/etc/passwd", "absolute movie name"},
                                                         {"../../../etc/passwd", "leaves its folder"},
                                                         {"sounds/../../x.mp3", "leaves its folder"},
                                                         {"C:\\boot.ini", "absolute movie name"},
                                                         {"", "movie name of 0 bytes"}};
    as_value sound = call(*m_sprite->get_environment(), member(m_player->get_global(), "Sound"), as_value(), {});
    for (const auto& [name, logged] : names) {
        ClearLog();
        call(*m_sprite->get_environment(), member(sound.to_object(), "loadSound"), sound, {as_value(name)});
        EXPECT_TRUE(Logged(logged)) << name;
    }
    EXPECT_EQ(m_handler.m_calls, "");
    call(*m_sprite->get_environment(), member(sound.to_object(), "loadSound"), sound, {as_value("sounds/a.mp3")});
    EXPECT_EQ(m_handler.m_calls, "load movies/sounds/a.mp3|");
}

}  // namespace

}  // namespace display_test
