#include "swfplayer/main/script/number_parsing.h"
#include "tests/support/BoundedRun.h"
#include "tests/swfplayer/main/swfplayer_as_classes/BuiltinTestKit.h"

#include <chrono>
#include <climits>
#include <cmath>
#include <stdexcept>
#include <string>

using namespace builtin_test;

namespace {

using AsStringTest = BuiltinFixture;

const std::string e_acute = "\xc3\xa9";
const std::string cafe = "caf" + e_acute + " caf" + e_acute;  // 9 characters

TEST_F(AsStringTest, methods_of_strings_numbers_and_booleans_on_ascii_and_non_ascii_text) {
    const std::string e_x = e_acute + "x" + e_acute + "x";
    // calls: arguments, the result's text
    const std::tuple<as_value, const char*, std::vector<std::pair<std::vector<as_value>, std::string>>> cases[] = {
        {"hello", "substring", {{{3, 1}, "el"}, {{-2}, "hello"}}},
        {"hello", "slice", {{{-3}, "llo"}, {{1, -1}, "ell"}, {{4, 2}, ""}}},
        {"hello", "substr", {{{-3, 2}, "he"}, {{1}, "ello"}, {{9}, "undefined"}, {{}, "undefined"}}},
        {"abcabc", "lastIndexOf", {{{"b", 2}, "4"}, {{"b"}, "4"}, {{""}, "6"}}},
        {"abcabc", "indexOf", {{{"c", 3}, "5"}, {{"x"}, "-1"}, {{"a", 99}, "-1"}, {{"a", -5}, "0"}, {{}, "-1"}}},
        {"hello", "charAt", {{{1}, "e"}, {{5}, "undefined"}}},
        {"hello", "charCodeAt", {{{0}, "104"}, {{-1}, "NaN"}}},
        {"ab", "concat", {{{1, true}, "ab1true"}}},
        {"MiXeD", "toLowerCase", {{{}, "mixed"}}},
        {"MiXeD", "toUpperCase", {{{}, "MIXED"}}},
        {"x", "fromCharCode", {{{72, 0xE9, 105}, "H" + e_acute + "i"}}},
        {"s", "toString", {{{}, "s"}}},
        // Positions count characters, and a found position is a valid start for the next search.
        {cafe.c_str(), "indexOf", {{{"caf", 1}, "5"}, {{" "}, "4"}}},
        {e_x.c_str(), "indexOf", {{{"x", 2}, "3"}}},
        {cafe.c_str(), "lastIndexOf", {{{e_acute.c_str()}, "8"}}},
        {cafe.c_str(), "charAt", {{{3}, e_acute}}},
        {cafe.c_str(), "charCodeAt", {{{3}, "233"}}},
        {cafe.c_str(), "substring", {{{3, 6}, e_acute + " c"}}},
        {cafe.c_str(), "slice", {{{-2}, "f" + e_acute}}},
        {cafe.c_str(), "toUpperCase", {{{}, "CAF" + e_acute + " CAF" + e_acute}}},
        {255, "toString", {{{16}, "FF"}}},
        {35, "toString", {{{36}, "Z"}}},
        {0, "toString", {{{2}, "0"}}},
        {5, "toString", {{{1}, ""}, {{37}, ""}}},
        {-10, "toString", {{{2}, "-1010"}}},
        {10.9, "toString", {{{10}, "10"}}},
        {NAN, "toString", {{{2}, "0"}, {{}, "NaN"}}},
        {4294967296.0, "toString", {{{16}, "100000000"}}},
        {1.0 / 3.0, "toString", {{{}, "0.33333333333333"}}},
        {7, "valueOf", {{{}, "7"}}},
        {true, "toString", {{{}, "true"}}},
    };
    for (const auto& [self, name, calls] : cases) {
        for (const auto& [args, expected] : calls) {
            EXPECT_EQ(method(self, name, args).to_string(), expected) << self.to_string() << "." << name;
        }
    }
    EXPECT_TRUE(method(true, "valueOf", {}).is_bool());
    as_value length, text(("a" + e_acute + "b").c_str());
    ASSERT_TRUE(text.get_member(m_player.get_ptr(), "length", &length));
    as_value result;
    length.get_property_value(text, &result);
    EXPECT_EQ(result.to_number(), 4.0);  // bytes: the accented letter takes two
}

TEST_F(AsStringTest, split_pieces) {
    const std::string e_grave = "\xc3\xa8";
    const std::tuple<std::string, std::vector<as_value>, std::vector<std::string>> cases[] = {
        {"a,b,,c", {","}, {"a", "b", "", "c"}},
        {"abc", {""}, {"a", "b", "c"}},
        {"a,b,c", {",", 2}, {"a", "b"}},
        {"a,b,c", {",", 0}, {}},
        {"a::b", {"::"}, {"a", "b"}},
        {"a,", {","}, {"a", ""}},
        {e_acute + "," + e_grave, {","}, {e_acute, e_grave}},
        {e_acute + e_grave, {}, {e_acute, e_grave}}};  // without a separator, every character
    for (const auto& [text, args, expected] : cases) {
        as_value array = method(text.c_str(), "split", args);
        std::vector<std::string> pieces;
        for (int i = 0; i < get(array, "length").to_int(); i++) {
            pieces.push_back(get(array, std::to_string(i).c_str()).to_string());
        }
        EXPECT_EQ(pieces, expected) << text;
    }
}

TEST_F(AsStringTest, constructors_and_global_number_functions) {
    // expected: the result's text
    const std::tuple<const char*, std::vector<as_value>, const char*> cases[] = {
        {"Boolean", {"false"}, "true"},
        {"Boolean", {}, "false"},
        {"Number", {""}, "0"},
        {"Number", {"2.5"}, "2.5"},
        {"Number", {}, "0"},
        {"String", {}, ""},
        {"String", {1.5}, "1.5"},
        {"parseFloat", {" 3.5"}, "3.5"},
        {"parseFloat", {"3.5 "}, "NaN"},
        {"parseFloat", {"12abc"}, "NaN"},
        {"parseFloat", {}, "NaN"},
        {"parseInt", {"42"}, "42"},
        {"parseInt", {"42", 16}, "42"},
        {"parseInt", {"4.2"}, "NaN"},
        {"parseInt", {}, "NaN"},
        {"parseInt", {"99999999999"}, "2147483647"},
        {"isNaN", {"abc"}, "false"},
        {"isNaN", {as_value()}, "true"},
        {"isNaN", {}, "true"}};
    for (const auto& [function, args, expected] : cases) {
        // Read as a script reads it, from an environment without a target.
        as_value result = call(m_env, m_env.get_variable(function, array<with_stack_entry>()), as_value(), args);
        EXPECT_STREQ(result.to_string(), expected) << function << " of " << args.size();
        EXPECT_EQ(result.is_bool(), function == std::string("Boolean") || function == std::string("isNaN"));
    }
    double number = -1;
    for (const char* refused : {"", " ", static_cast<const char*>(nullptr)}) {
        EXPECT_FALSE(parse_number(refused, &number));
    }
    EXPECT_EQ(number, -1);
    EXPECT_TRUE(parse_number("1e3", &number) && number == 1000);
    int integer = 0;
    EXPECT_TRUE(parse_int(" -12", &integer) && integer == -12);
    EXPECT_FALSE(parse_int("12 ", &integer));
    EXPECT_TRUE(parse_int("-99999999999", &integer) && integer == INT_MIN);
}

// Searches are linear in the bytes whatever the texts repeat: a text of 16 MB of one letter,
// searched for half of itself forward, backward and as a separator, once took as many byte
// comparisons as the product of the two lengths. A separator that matches only across a
// character's bytes is no separator.
TEST_F(AsStringTest, searches_in_long_repeated_texts_stay_linear) {
    testing_support::BoundedRun run = testing_support::RunBounded(
        [this] {
            const as_value text(std::string(16 << 20, 'a').c_str());
            const as_value needle(std::string(8 << 20, 'a').c_str());
            auto number = [&](const char* name) {
                return method(text, name, {needle}).to_number();
            };
            if (number("indexOf") != 0 || number("lastIndexOf") != (8 << 20)) {
                throw std::runtime_error("wrong positions");
            }
            if (get(method(text, "split", {needle}), "length").to_number() != 3) {
                throw std::runtime_error("wrong pieces");
            }
        },
        std::chrono::seconds(20), 512u << 20);
    EXPECT_TRUE(run.finished) << run.Describe();
    // U+00E9 U+00A9 is C3 A9 C2 A9: "A9 C2" stands across two characters.
    const std::string two = e_acute + "\xc2\xa9";
    EXPECT_EQ(get(method(as_value(two.c_str()), "split", {"\xa9\xc2"}), "length").to_number(), 1);
    EXPECT_EQ(get(method(as_value(two.c_str()), "split", {e_acute.c_str()}), "length").to_number(), 2);
}

}  // namespace
