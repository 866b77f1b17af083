// The per-frame collection of script objects: what a movie can still reach survives it, however
// it is reached, and what it cannot reach goes, cycles included.
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/player/frame_scope.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/script/player.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

#include <string>

namespace swf_testing {

using namespace swfplayer;

class CollectionTest : public SwfLoadingFixture {
protected:
    // A movie of two frames whose script makes a ring of two literals on the timeline each time
    // it runs, then drops it; null when it does not load.
    smart_ptr<root> RingMovie() {
        const std::string script =
            "'a' 0 decl_obj set_var 'a' get_var 'b' 0 decl_obj set_member "
            "'a' get_var 'b' get_member 'a' 'a' get_var set_member 'a' 0 set_var";
        swfkit::Movie movie(8, {0, 2000, 0, 2000}, 12.0);
        movie.Tags().DoAction(swfkit::assemble(script).bytes()).ShowFrame().ShowFrame();
        smart_ptr<movie_def_impl> def = LoadMovie(movie.Write(false));
        return def ? create_instance(def.get_ptr()) : nullptr;
    }
};

TEST_F(CollectionTest, objects_reached_only_through_registers_prototypes_properties_watches_and_with_blocks_stay) {
    // Frame 1 makes objects {v: {w: "n"}} that only one path reaches; two frames (two collections)
    // later, frame 3 reads each back through its path into "seen". A collection that missed a path
    // would take the inner object from the outer one.
    const std::string setup =
        // A global register of the root's environment.
        "'v' 'w' '1' 1 decl_obj 1 decl_obj store:1 pop "
        // The prototype an instance took from its constructor, which is then dropped.
        "fn:C() { } 'C' get_var 'prototype' get_member 'keep' 'v' 'w' '2' 1 decl_obj 1 decl_obj set_member "
        "'o' 0 'C' new set_var 'C' get_var 'prototype' get_member 'keep' 0 set_member 'C' 0 set_var "
        // A getter, defined in a with-block of the object, that only a property of a plain
        // object holds.
        "'q' 0 decl_obj set_var 'v' 'w' '3' 1 decl_obj 1 decl_obj with { 'g' fn:() { 'v' get_var 'w' get_member return "
        "} set_var } "
        "null 'g' get_var 'p' 3 'q' get_var 'addProperty' call_method pop 'g' 0 set_var "
        // A watch's callback and user value.
        "'w' 0 decl_obj set_var 'v' 'w' '4' 1 decl_obj 1 decl_obj fn:(n,o,v,u) { 'u' get_var 'v' get_member 'w' "
        "get_member return } 'x' 3 "
        "'w' get_var 'watch' call_method pop "
        // The with-block a function was defined in.
        "'v' 'w' '5' 1 decl_obj 1 decl_obj with { 'f' fn:() { 'v' get_var 'w' get_member return } set_var } ";
    const std::string readback =
        "'seen' r1 'v' get_member 'w' get_member 'o' get_var 'keep' get_member 'v' get_member 'w' get_member add_t "
        "'q' get_var 'p' get_member add_t 'w' get_var 'x' 0 set_member 'w' get_var 'x' get_member "
        "add_t 0 'f' call_func add_t set_var stop";
    swfkit::Movie movie(8, {0, 2000, 0, 2000}, 12.0);
    movie.Tags().DoAction(swfkit::assemble(setup).bytes()).ShowFrame().ShowFrame();
    movie.Tags().DoAction(swfkit::assemble(readback).bytes()).ShowFrame();
    smart_ptr<movie_def_impl> def = LoadMovie(movie.Write(false));
    ASSERT_TRUE(def);
    smart_ptr<root> r = create_instance(def.get_ptr());
    ASSERT_TRUE(r);
    const int heap_before = r->get_player()->get_heap_size();
    for (int frame = 0; frame < 3; frame++) {
        r->advance(r->get_frame_time());
    }
    as_value seen;
    r->get_root_sprite()->get_member("seen", &seen);
    EXPECT_EQ(std::string(seen.to_string()), "12345");
    EXPECT_GT(r->get_player()->get_heap_size(), heap_before);
}

TEST_F(CollectionTest, objects_stored_on_built_in_functions_and_methods_stay_whole) {
    // Frame 1 stores {child: {v: 42}} as "keep" on the built-in; three frames (three collections)
    // later, frame 4 reads v back through it.
    const char* holders[] = {
        "'trace' get_var",
        "'Color' get_var",
        "'Color' get_var 'prototype' get_member",
        "'Math' get_var 'max' get_member",
        "'' 'charAt' get_member",
        "5 'toString' get_member",
        "true 'valueOf' get_member",
        "0 decl_obj 'hasOwnProperty' get_member",
        "'_root' get_var 'gotoAndStop' get_member",
    };
    for (const char* holder : holders) {
        SCOPED_TRACE(holder);
        const std::string h = holder;
        swfkit::Movie movie(8, {0, 2000, 0, 2000}, 12.0);
        movie.Tags().DoAction(swfkit::assemble(h + " 'keep' 'child' 'v' 42 1 decl_obj 1 decl_obj set_member").bytes());
        movie.Tags().ShowFrame().ShowFrame().ShowFrame();
        movie.Tags().DoAction(
            swfkit::assemble("'seen' " + h + " 'keep' get_member 'child' get_member 'v' get_member set_var stop")
                .bytes());
        movie.Tags().ShowFrame();
        smart_ptr<movie_def_impl> def = LoadMovie(movie.Write(false));
        ASSERT_TRUE(def);
        smart_ptr<root> r = create_instance(def.get_ptr());
        ASSERT_TRUE(r);
        // The first advance stays on frame 1, which the root showed when it was made.
        for (int advance = 0; advance < 4; advance++) {
            r->advance(r->get_frame_time());
        }
        as_value seen;
        r->get_root_sprite()->get_member("seen", &seen);
        EXPECT_EQ(std::string(seen.to_string()), "42");
    }
}

TEST_F(CollectionTest, cycles_nothing_reaches_go_at_the_end_of_the_frame_that_dropped_them) {
    smart_ptr<root> r = RingMovie();
    ASSERT_TRUE(r);
    r->advance(r->get_frame_time());
    const int heap_after_one = r->get_player()->get_heap_size();
    for (int frame = 0; frame < 20; frame++) {
        r->advance(r->get_frame_time());
    }
    EXPECT_EQ(r->get_player()->get_heap_size(), heap_after_one);
}

TEST_F(CollectionTest, an_advance_in_a_host_frame_collects_and_one_under_a_running_script_leaves_it_for_later) {
    smart_ptr<root> r = RingMovie();
    ASSERT_TRUE(r);
    r->advance(r->get_frame_time());
    const int heap_after_one = r->get_player()->get_heap_size();
    for (int frame = 0; frame < 4; frame++) {
        // The host's frame around its movies runs no script itself.
        const frame_scope host;
        r->advance(r->get_frame_time());
        r->advance(r->get_frame_time());
    }
    EXPECT_EQ(r->get_player()->get_heap_size(), heap_after_one);
    {
        // A script under way (a host handler of its FSCommand advancing the movie) holds objects
        // that only its own stack reaches.
        instruction_budget::run_scope script_running;
        for (int frame = 0; frame < 4; frame++) {
            r->advance(r->get_frame_time());
        }
        EXPECT_GT(r->get_player()->get_heap_size(), heap_after_one);
    }
    r->advance(r->get_frame_time());
    EXPECT_EQ(r->get_player()->get_heap_size(), heap_after_one);
}

}  // namespace swf_testing
