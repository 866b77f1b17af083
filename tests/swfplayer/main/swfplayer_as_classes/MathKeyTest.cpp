#include "swfplayer/base/base_random.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/key_input.h"
#include "tests/swfplayer/main/swfplayer_as_classes/BuiltinTestKit.h"

#include <cmath>

using namespace builtin_test;

namespace {

class MathKeyTest : public BuiltinFixture {
protected:
    as_value math(const char* name, const std::vector<as_value>& args) { return method(global("Math"), name, args); }
    as_value key(const char* name, const std::vector<as_value>& args) { return method(global("Key"), name, args); }
};

TEST_F(MathKeyTest, math_functions_at_their_edges_its_constants_and_random) {
    const double nan = NAN;
    // max and min: with a NaN on either side the second argument wins; atan2: argument 0 is y.
    const std::tuple<const char*, std::vector<as_value>, double> cases[] = {
        {"max", {1, nan}, nan},   {"max", {nan, 1}, 1},
        {"max", {"7", 5}, 7},     {"max", {}, nan},
        {"min", {2, 2}, 2},       {"min", {1, nan}, nan},
        {"min", {nan, 1}, 1},     {"round", {-2.5}, -2},
        {"round", {2.5}, 3},      {"round", {-0.6}, -1},
        {"round", {nan}, nan},    {"atan2", {1, 0}, M_PI / 2},
        {"atan2", {0, -1}, M_PI}, {"atan2", {-1, -1}, -3 * M_PI / 4},
        {"abs", {-3.5}, 3.5},     {"ceil", {1.2}, 2},
        {"floor", {-1.2}, -2},    {"sqrt", {-1}, nan},
        {"log", {0}, -INFINITY},  {"exp", {1}, M_E},
        {"pow", {2, 10}, 1024},   {"pow", {2}, nan},
        {"acos", {2}, nan},       {"asin", {1}, M_PI / 2},
        {"atan", {1}, M_PI / 4},  {"sin", {M_PI / 2}, 1},
        {"cos", {0}, 1},          {"tan", {0}, 0}};
    for (const auto& [name, args, expected] : cases) {
        double result = math(name, args).to_number();
        EXPECT_TRUE(std::isnan(expected) ? std::isnan(result) : result == expected) << name << " gave " << result;
    }
    const std::pair<const char*, double> constants[] = {
        {"E", M_E},           {"LN2", M_LN2}, {"LOG2E", M_LOG2E},     {"LN10", M_LN10},
        {"LOG10E", M_LOG10E}, {"PI", M_PI},   {"SQRT1_2", M_SQRT1_2}, {"SQRT2", M_SQRT2}};
    for (const auto& [name, value] : constants) {
        EXPECT_EQ(get(global("Math"), name).to_number(), value) << name;
    }
    // random is the player's generator scaled to 0 through 1.
    for (uint32_t seed = 0; seed < 1000; seed++) {
        base_random::seed_random(seed);
        double value = math("random", {}).to_number();
        base_random::seed_random(seed);
        EXPECT_EQ(value, base_random::next_random() / 4294967295.0);
        EXPECT_TRUE(value >= 0.0 && value <= 1.0);
    }
}

std::vector<std::string> s_key_events;

TEST_F(MathKeyTest, key_state_follows_the_events_the_root_forwards) {
    key_input* input = find_key_input(m_player.get_ptr());
    ASSERT_NE(input, nullptr);
    smart_ptr<as_object> listener = new as_object(m_player.get_ptr());
    listener->set_member("onKeyDown",
                         as_value(m_player.get_ptr(), [](const fn_call&) { s_key_events.push_back("down"); }));
    listener->set_member("onKeyUp", as_value(m_player.get_ptr(), [](const fn_call&) { s_key_events.push_back("up"); }));
    key("addListener", {as_value(listener.get_ptr())});
    s_key_events.clear();

    EXPECT_EQ(key("getCode", {}).to_number(), 0.0);
    EXPECT_TRUE(key("getAscii", {}).is_undefined());
    EXPECT_FALSE(key("isToggled", {20}).to_bool());
    // Each step: the event (code, down), then isDown(65), getCode and getAscii.
    const std::tuple<int, bool, bool, int, const char*> steps[] = {
        {65, true, true, 65, "A"},   {300, true, true, 65, "A"},          // outside the key map: ignored
        {-1, false, true, 65, "A"},  {192, true, true, 192, "\xc3\x80"},  // the character of code 192, as UTF-8
        {65, false, false, 65, "A"}, {222, false, false, 222, "\xc3\x9e"}};
    for (const auto& [code, down, a_down, last_code, ascii] : steps) {
        down ? input->set_key_down(code) : input->set_key_up(code);
        EXPECT_EQ(key("isDown", {65}).to_bool(), a_down) << code;
        EXPECT_EQ(key("getCode", {}).to_number(), last_code) << code;
        EXPECT_STREQ(key("getAscii", {}).to_string(), ascii) << code;
    }
    EXPECT_TRUE(key("isDown", {192}).to_bool());
    EXPECT_FALSE(key("isDown", {300}).to_bool() || key("isDown", {-5}).to_bool());
    EXPECT_EQ(s_key_events, (std::vector<std::string>{"down", "down", "up", "up"}));
    key("removeListener", {as_value(listener.get_ptr())});
    input->set_key_down(13);
    EXPECT_EQ(s_key_events.size(), 4u);
}

TEST_F(MathKeyTest, key_constants_are_ordinary_members_and_misuse_is_logged_or_ignored) {
    const std::pair<const char*, int> constants[] = {
        {"BACKSPACE", 8}, {"CAPSLOCK", 20}, {"CONTROL", 17}, {"DELETEKEY", 46}, {"DOWN", 40}, {"END", 35},
        {"ENTER", 13},    {"ESCAPE", 27},   {"HOME", 36},    {"INSERT", 45},    {"LEFT", 37}, {"PGDN", 34},
        {"PGUP", 33},     {"RIGHT", 39},    {"SHIFT", 16},   {"SPACE", 32},     {"TAB", 9},   {"UP", 38}};
    for (const auto& [name, code] : constants) {
        EXPECT_EQ(get(global("Key"), name).to_number(), code) << name;
        EXPECT_EQ(flags(global("Key").to_object(), name), 0) << name;
    }
    const std::tuple<const char*, std::vector<as_value>, const char*> misuse[] = {
        {"addListener", {}, "key_add_listener needs one argument (the listener object)\n"},
        {"addListener",
         {as_value(static_cast<as_object*>(nullptr))},
         "key_add_listener passed a NULL object; ignored\n"},
        {"removeListener", {}, "key_remove_listener needs one argument (the listener object)\n"},
        {"isDown", {}, "key_is_down needs one argument (the key code)\n"}};
    for (const auto& [name, args, logged] : misuse) {
        s_log.clear();
        EXPECT_TRUE(key(name, args).is_undefined()) << name;
        EXPECT_EQ(s_log, logged);
    }
    // With another "this" the methods do nothing; script that replaces the global Key stops the forwarding.
    EXPECT_TRUE(
        call(m_env, get(global("Key"), "isDown"), as_value(new as_object(m_player.get_ptr())), {65}).is_undefined());
    m_player->get_global()->builtin_member("Key", as_value(1));
    EXPECT_EQ(find_key_input(m_player.get_ptr()), nullptr);
}

}  // namespace
