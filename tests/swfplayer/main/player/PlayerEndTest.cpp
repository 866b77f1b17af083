// A player's end: what is its own lets go of everything, so that no cycle its scripts made
// outlives it, while what another player runs stays whole, however the ending player reached it.
#include "swfplayer/base/base_file.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/script/player.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/player/PlayerMovies.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

#include <string>
#include <vector>

namespace swf_testing {
namespace {

using namespace swfplayer;

// One movie played by a player of its own, as the game plays each of its screens.
struct stage {
    smart_ptr<player> m_player;
    smart_ptr<root> m_root;

    as_value variable(const char* name) const {
        as_value value;
        m_root->get_root_sprite()->get_member(name, &value);
        return value;
    }
    void advance() { m_root->advance(m_root->get_frame_time()); }
    // The host lets go of the movie, and so the player ends.
    void end() {
        m_root = nullptr;
        m_player = nullptr;
    }
};

class PlayerEndTest : public SwfLoadingFixture {
protected:
    // A movie with a sprite named "clip" at depth 1 whose frames run the scripts in turn, on its
    // first frame.
    stage Play(const std::vector<std::string>& frame_scripts) {
        swfkit::Movie movie(8, {0, 2000, 0, 2000}, 12.0);
        swfkit::TagList clip(8);
        clip.ShowFrame();
        movie.Tags().DefineSprite(1, clip).PlaceObject2(player_movies::Place(1, 1, "clip"));
        for (const std::string& script : frame_scripts) {
            movie.Tags().DoAction(swfkit::assemble(script).bytes()).ShowFrame();
        }
        const swfkit::Bytes bytes = movie.Write(false);
        stage played{new player(), nullptr};
        auto* file = new base_file(memory_buffer, static_cast<int>(bytes.size()), bytes.data());
        smart_ptr<movie_def_impl> def = create_movie_definition(played.m_player.get_ptr(), file);
        played.m_root = def ? create_instance(def.get_ptr()) : nullptr;
        EXPECT_TRUE(played.m_root);
        if (played.m_root) {
            played.advance();  // runs frame 1's actions
        }
        return played;
    }
};

// B sets values on its built-ins; A runs a script and ends; B's next frame reads them back into
// "seen". The same run with A's control script, which reaches nothing of B's, reads the same.
TEST_F(PlayerEndTest, another_players_built_ins_stay_whole_whatever_the_ending_player_reached) {
    const struct {
        const char* label;
        std::string b_setup;
        std::string a_script;
        std::string b_read;
        const char* expected;
    } cases[] = {
        {"a string method",
         "'Color' get_var 'prototype' get_member 'tag' 'colour' set_member "
         "'' 'charAt' get_member 'cls' 'Color' get_var set_member "
         "'' 'charAt' get_member 'prototype' get_member 'x' 5 set_member "
         "'Math' get_var 'max' get_member 'note' 'm' set_member",
         "'f' '' 'charAt' get_member set_var",
         "'seen' 'Color' get_var 'prototype' get_member 'tag' get_member '|' add_t "
         "'' 'charAt' get_member 'prototype' get_member 'x' get_member add_t '|' add_t "
         "'Math' get_var 'max' get_member 'note' get_member add_t set_var",
         "colour|5|m"},
        {"a number method holding the global object",
         "5 'toString' get_member 'g' '_global' get_var set_member "
         "'MovieClip' get_var 'prototype' get_member 'mark' 'mc' set_member 'trace' get_var 'note' 't' set_member",
         "'_global' get_var 'f' 5 'toString' get_member set_member",
         "'seen' 'String' get_var 'prototype' get_member type_of '|' add_t "
         "'Array' get_var 'prototype' get_member type_of add_t '|' add_t "
         "'MovieClip' get_var 'prototype' get_member 'mark' get_member add_t '|' add_t "
         "'trace' get_var 'note' get_member add_t set_var",
         "object|object|mc|t"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        std::string seen[2];
        for (int reached = 0; reached < 2; reached++) {
            stage b = Play({c.b_setup, c.b_read});
            stage a = Play({reached ? c.a_script : "'f' 1 set_var"});
            a.end();
            b.advance();
            seen[reached] = b.variable("seen").to_string();
        }
        EXPECT_EQ(seen[0], c.expected);
        EXPECT_EQ(seen[1], seen[0]);
    }
}

// X shows Y's clip in its display list, as the game shows one movie's portrait in another; X's
// end leaves Y's built-ins whole.
TEST_F(PlayerEndTest, a_movie_showing_another_players_clip_ends_without_emptying_that_player) {
    std::string seen[2];
    for (int shown = 0; shown < 2; shown++) {
        stage y = Play({"", "'seen' 'MovieClip' get_var 'prototype' get_member type_of set_var"});
        stage x = Play({""});
        if (shown) {
            as_object* clip = y.variable("clip").to_object();
            ASSERT_TRUE(clip && clip->is(AS_CHARACTER));
            x.m_root->get_root_sprite()->get_display_list().replace_display_object(
                static_cast<character*>(clip), 1, false, cxform(), false, matrix(), 0.0f, 0);
        }
        x.end();
        y.advance();
        seen[shown] = y.variable("seen").to_string();
    }
    EXPECT_EQ(seen[0], "object");
    EXPECT_EQ(seen[1], seen[0]);
}

// Each script makes a cycle that nothing but the cycle holds once the player is gone, and names
// its objects w1, w2: none of them outlives the player.
TEST_F(PlayerEndTest, cycles_a_script_makes_die_with_its_player) {
    const struct {
        const char* label;
        std::string script;
    } cases[] = {
        {"a function watching itself",
         "'w1' fn:() { } set_var 'w1' get_var 'x' 2 'w1' get_var 'watch' call_method pop"},
        {"an object that is its own watch's user data",
         "'w1' 0 decl_obj set_var 'w1' get_var fn:() { } 'x' 3 'w1' get_var 'watch' call_method pop"},
        {"a watch whose callback was defined inside a with block of the object",
         "'w1' 0 decl_obj set_var 'w1' get_var with { 'w2' fn:() { } set_var } "
         "'w2' get_var 'x' 2 'w1' get_var 'watch' call_method pop"},
        {"an object that is its own interval's argument",
         "'w1' 0 decl_obj set_var 'w1' get_var 'id' 'w1' get_var 100 fn:() { } 3 'setInterval' call_func set_member"},
        {"trace holding itself", "'w1' 'trace' get_var set_var 'w1' get_var 't' 'w1' get_var set_member"},
        {"a function and trace holding each other",
         "'w1' fn:() { } set_var 'w1' get_var 't' 'trace' get_var set_member 'trace' get_var 'f' 'w1' get_var "
         "set_member"},
        {"a string method holding itself",
         "'w1' '' 'charAt' get_member set_var 'w1' get_var 'self' 'w1' get_var set_member"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        stage s = Play({c.script});
        std::vector<weak_ptr<as_object>> made;
        for (const char* name : {"w1", "w2"}) {
            if (as_object* object = s.variable(name).to_object()) {
                made.emplace_back(object);
            }
        }
        ASSERT_FALSE(made.empty());
        s.end();
        for (const weak_ptr<as_object>& object : made) {
            EXPECT_EQ(object.get_ptr(), nullptr);
        }
    }
}

}  // namespace
}  // namespace swf_testing
