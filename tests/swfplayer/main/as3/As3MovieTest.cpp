#include "swfplayer/main/as3/as_3_function.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/root.h"
#include "tests/swfplayer/main/as3/As3Fixture.h"
#include "tests/swfplayer/main/script/ScriptTestKit.h"

namespace abc_testing {

using namespace swfplayer;
using script_test::member;

namespace {

// this.state = "ready"; trace("constructed"); this.stop(). Multinames 2 to 10 are the names
// below; strings 12 and 13 are "ready" and "constructed".
const Bytes kConstructor = {0xD0, 0x2C, 12, 0x68, 2, 0x5D, 3, 0x2C, 13, 0x4F, 3, 1, 0xD0, 0x4F, 4, 0, 0x47};

// this.update = this: the sprite stored over its bound method copies the sprite's members into
// the method, among them "update" and "size", the method itself.
const Bytes kCyclicConstructor = {0xD0, 0xD0, 0x68, 6, 0x47};

AbcBuilder MainMovieClass(const Bytes& constructor = kConstructor) {
    // Slot, method, getter, setter, function and const traits of the instance.
    std::vector<Trait> traits = {{5, 0, 1, 0, 0, 0}, {6, 1, 2, 1, 0, 0}, {7, 2, 3, 1, 0, 0},
                                 {8, 3, 4, 1, 0, 0}, {9, 5, 5, 1, 0, 0}, {10, 6, 6, 0, 0, 0}};
    AbcBuilder abc = MainClass(constructor, traits);
    for (const char* name : {"state", "trace", "stop", "score", "update", "size", "resize", "helper", "limit"}) {
        abc.QName(name);
    }
    abc.String("ready");
    abc.String("constructed");
    return abc;
}

class As3MovieTest : public As3Fixture {
protected:
    smart_ptr<root> Play(const std::vector<std::pair<uint16_t, std::string>>& symbols,
                         const Bytes& constructor = kConstructor) {
        m_def = LoadMovie(Movie({MainMovieClass(constructor).Build()}, symbols));
        EXPECT_TRUE(m_def && m_def->get_abc()) << LinesWith("abc");
        smart_ptr<root> instance = create_instance(m_def.get_ptr());
        instance->advance(0.0f);
        return instance;
    }
    smart_ptr<movie_def_impl> m_def;
};

TEST_F(As3MovieTest, the_main_class_binds_its_traits_and_its_constructor_runs_on_the_first_advance) {
    smart_ptr<root> instance = Play({{0, "Main"}});
    sprite_instance* movie = static_cast<sprite_instance*>(instance->get_root_movie());
    EXPECT_EQ(member(movie, "state").to_base_string(), "ready");
    EXPECT_EQ(CountLogged("constructed\n"), 1);
    EXPECT_EQ(movie->get_play_state(), character::STOP);
    auto* abc = static_cast<abc_def*>(m_def->get_abc());
    EXPECT_EQ(script_test::texts({member(movie, "score"), member(movie, "limit")}), "0|0");
    EXPECT_EQ(member(movie, "update").to_object(), abc->find_method(1));
    EXPECT_EQ(member(movie, "size").to_object(), abc->find_method(1));
    EXPECT_EQ(member(movie, "resize").to_object(), abc->find_method(1));
    EXPECT_FALSE(movie->has_own_member("helper"));
    // The class runs once.
    instance->advance(1.0f);
    EXPECT_EQ(CountLogged("constructed\n"), 1);
}

TEST_F(As3MovieTest, without_a_symbol_class_for_the_main_timeline_nothing_binds) {
    for (const auto& symbols : {std::vector<std::pair<uint16_t, std::string>>{},
                                std::vector<std::pair<uint16_t, std::string>>{{5, "Main"}}}) {
        ClearLog();
        smart_ptr<root> instance = Play(symbols);
        sprite_instance* movie = static_cast<sprite_instance*>(instance->get_root_movie());
        EXPECT_FALSE(movie->has_own_member("state"));
        EXPECT_FALSE(movie->has_own_member("score"));
        EXPECT_EQ(CountLogged("constructed"), 0);
        EXPECT_EQ(movie->get_play_state(), character::PLAY);
    }
}

TEST_F(As3MovieTest, a_symbol_class_without_a_block_binds_nothing) {
    AbcBuilder broken = MainMovieClass();
    broken.majorVersion = 47;
    m_def = LoadMovie(Movie({broken.Build()}, {{0, "Main"}}));
    ASSERT_TRUE(m_def);
    smart_ptr<root> instance = create_instance(m_def.get_ptr());
    EXPECT_EQ(m_def->bind_symbol_class(static_cast<sprite_instance*>(instance->get_root_movie())), nullptr);
    instance->advance(0.0f);
    EXPECT_FALSE(static_cast<sprite_instance*>(instance->get_root_movie())->has_own_member("score"));
}

TEST_F(As3MovieTest, dropping_the_movie_frees_its_block_and_methods) {
    for (const Bytes& constructor : {kConstructor, kCyclicConstructor}) {
        SCOPED_TRACE(constructor.size());
        weak_ptr<abc_block> block;
        weak_ptr<as_3_function> method;
        {
            smart_ptr<root> instance = Play({{0, "Main"}}, constructor);
            block = m_def->get_abc();
            method = static_cast<abc_def*>(m_def->get_abc())->find_method(1);
            m_def = nullptr;
            m_player = nullptr;  // its library holds the definitions it loaded
            EXPECT_NE(block.get_ptr(), nullptr);
        }
        EXPECT_EQ(block.get_ptr(), nullptr);
        EXPECT_EQ(method.get_ptr(), nullptr);
        m_player = new player();
    }
}

}  // namespace

}  // namespace abc_testing
