#include "swfplayer/main/swfplayer_as_classes/as_array.h"
#include "swfplayer/main/swfplayer_as_classes/as_number.h"
#include "tests/swfplayer/main/script/ScriptTestKit.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

using namespace swfplayer;
using namespace script_test;

namespace {

class AsStringTest : public ::testing::Test {
protected:
    // Calls the built-in method name of the primitive value.
    as_value method(const as_value& self, const char* name, const std::vector<as_value>& args) {
        as_value function;
        EXPECT_TRUE(self.get_member(name, &function)) << name;
        return call(m_env, function, self, args);
    }
    as_value global(const char* name, const std::vector<as_value>& args) {
        return call(m_env, m_env.get_variable(name, m_no_with), as_value(), args);
    }
    smart_ptr<player> m_player = new player();
    as_environment m_env{m_player.get_ptr()};
    array<with_stack_entry> m_no_with;
};

const std::string e_acute = "\xc3\xa9";
const std::string cafe = "caf" + e_acute + " caf" + e_acute;  // 9 characters

struct method_case {
    as_value self;
    const char* name;
    std::vector<as_value> args;
    std::string expected;  // the result's text
};

TEST_F(AsStringTest, methods_of_strings_numbers_and_booleans_on_ascii_and_non_ascii_text) {
    const method_case cases[] = {
        {"hello", "substring", {3, 1}, "el"},
        {"hello", "substring", {-2}, "hello"},
        {"hello", "slice", {-3}, "llo"},
        {"hello", "slice", {1, -1}, "ell"},
        {"hello", "slice", {4, 2}, ""},
        {"hello", "substr", {-3, 2}, "he"},
        {"hello", "substr", {1}, "ello"},
        {"hello", "substr", {9}, "undefined"},
        {"hello", "substr", {}, "undefined"},
        {"abcabc", "lastIndexOf", {"b", 2}, "4"},
        {"abcabc", "lastIndexOf", {"b"}, "4"},
        {"abcabc", "lastIndexOf", {""}, "6"},
        {"abcabc", "indexOf", {"c", 3}, "5"},
        {"abcabc", "indexOf", {"x"}, "-1"},
        {"abcabc", "indexOf", {"a", 99}, "-1"},
        {"abcabc", "indexOf", {"a", -5}, "0"},
        {"abcabc", "indexOf", {}, "-1"},
        {"hello", "charAt", {1}, "e"},
        {"hello", "charAt", {5}, "undefined"},
        {"hello", "charCodeAt", {0}, "104"},
        {"hello", "charCodeAt", {-1}, "NaN"},
        {"ab", "concat", {1, true}, "ab1true"},
        {"MiXeD", "toLowerCase", {}, "mixed"},
        {"MiXeD", "toUpperCase", {}, "MIXED"},
        {"x", "fromCharCode", {72, 0xE9, 105}, "H" + e_acute + "i"},
        {"s", "toString", {}, "s"},
        {cafe.c_str(), "indexOf", {"caf", 1}, "5"},
        {cafe.c_str(), "indexOf", {" "}, "4"},
        {cafe.c_str(), "lastIndexOf", {e_acute.c_str()}, "8"},
        {cafe.c_str(), "charAt", {3}, e_acute},
        {cafe.c_str(), "charCodeAt", {3}, "233"},
        {cafe.c_str(), "substring", {3, 6}, e_acute + " c"},
        {cafe.c_str(), "slice", {-2}, "f" + e_acute},
        {cafe.c_str(), "toUpperCase", {}, "CAF" + e_acute + " CAF" + e_acute},
        {255, "toString", {16}, "FF"},
        {35, "toString", {36}, "Z"},
        {0, "toString", {2}, "0"},
        {5, "toString", {1}, ""},
        {5, "toString", {37}, ""},
        {-10, "toString", {2}, "-1010"},
        {10.9, "toString", {10}, "10"},
        {NAN, "toString", {2}, "0"},
        {4294967296.0, "toString", {16}, "100000000"},
        {1.0 / 3.0, "toString", {}, "0.33333333333333"},
        {NAN, "toString", {}, "NaN"},
        {7, "valueOf", {}, "7"},
        {true, "toString", {}, "true"},
    };
    for (const method_case& c : cases) {
        SCOPED_TRACE(std::string(as_value(c.self).to_string()) + "." + c.name);
        EXPECT_EQ(method(c.self, c.name, c.args).to_string(), c.expected);
    }
    EXPECT_TRUE(method(true, "valueOf", {}).is_bool());
}

TEST_F(AsStringTest, length_and_search_positions_count_characters) {
    as_value length;
    as_value text(("a" + e_acute + "b").c_str());
    ASSERT_TRUE(text.get_member("length", &length));
    as_value result;
    length.get_property_value(text, &result);
    EXPECT_EQ(result.to_number(), 3.0);

    // Positions from indexOf are valid starts for the next search, so a search loop ends.
    as_value repeated((e_acute + "x" + e_acute + "x" + e_acute + "x").c_str());
    int found = 0;
    int start = 0;
    for (int guard = 0; guard < 100; guard++) {
        int at = method(repeated, "indexOf", {"x", start}).to_int();
        if (at < 0) {
            break;
        }
        found++;
        start = at + 1;
    }
    EXPECT_EQ(found, 3);
}

std::vector<std::string> elements(const as_value& array_value) {
    std::vector<std::string> out;
    as_object* array = array_value.to_object();
    EXPECT_NE(array, nullptr);
    int size = array ? static_cast<as_array*>(array)->size() : 0;
    for (int i = 0; i < size; i++) {
        as_value element;
        array->get_member(std::to_string(i).c_str(), &element);
        out.push_back(element.to_string());
    }
    return out;
}

TEST_F(AsStringTest, split_pieces) {
    const std::string e_grave = "\xc3\xa8";
    const struct {
        std::string text;
        std::vector<as_value> args;
        std::vector<std::string> pieces;
    } cases[] = {
        {"a,b,,c", {","}, {"a", "b", "", "c"}},
        {"abc", {""}, {"a", "b", "c"}},
        {"a,b,c", {",", 2}, {"a", "b"}},
        {"a,b,c", {",", 0}, {}},
        {"a::b", {"::"}, {"a", "b"}},
        {"a,", {","}, {"a", ""}},
        {e_acute + "," + e_grave, {","}, {e_acute, e_grave}},
        // Without a separator every character is a piece.
        {e_acute + e_grave, {}, {e_acute, e_grave}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(elements(method(c.text.c_str(), "split", c.args)), c.pieces) << c.text;
    }
}

TEST_F(AsStringTest, constructors_and_global_number_functions) {
    const struct {
        const char* function;
        std::vector<as_value> args;
        const char* expected;  // the result's text
    } cases[] = {
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
        {"isNaN", {}, "true"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.function + std::string("(") + (c.args.empty() ? "" : as_value(c.args[0]).to_string()) + ")");
        as_value result = global(c.function, c.args);
        EXPECT_STREQ(result.to_string(), c.expected);
        EXPECT_EQ(result.is_bool(), c.function == std::string("Boolean") || c.function == std::string("isNaN"));
    }
}

TEST_F(AsStringTest, number_parsing_edges) {
    double number = -1;
    EXPECT_FALSE(parse_number("", &number));
    EXPECT_FALSE(parse_number(" ", &number));
    EXPECT_FALSE(parse_number(nullptr, &number));
    EXPECT_EQ(number, -1);
    EXPECT_TRUE(parse_number("1e3", &number));
    EXPECT_EQ(number, 1000);
    int integer = 0;
    EXPECT_TRUE(parse_int(" -12", &integer));
    EXPECT_EQ(integer, -12);
    EXPECT_FALSE(parse_int("12 ", &integer));
    EXPECT_TRUE(parse_int("-99999999999", &integer));
    EXPECT_EQ(integer, INT_MIN);
}

TEST_F(AsStringTest, arrays_print_in_name_order_and_survive_holding_themselves) {
    EXPECT_STREQ(global("Array", {3}).to_string(), "undefined,undefined,undefined");
    as_value pair = global("Array", {"a", "b"});
    EXPECT_STREQ(pair.to_string(), "a,b");
    as_array* array = static_cast<as_array*>(pair.to_object());
    EXPECT_EQ(method(pair, "push", {"c"}).to_number(), 3.0);
    EXPECT_STREQ(method(pair, "pop", {}).to_string(), "c");
    EXPECT_EQ(array->size(), 2);
    as_value length;
    array->get_member("length", &length);
    EXPECT_EQ(length.to_number(), 2.0);
    EXPECT_TRUE(method(global("Array", {}), "pop", {}).is_undefined());
    as_value eleven = global("Array", {});
    for (int i = 0; i < 11; i++) {
        static_cast<as_array*>(eleven.to_object())->push(as_value(i));
    }
    EXPECT_STREQ(eleven.to_string(), "0,1,10,2,3,4,5,6,7,8,9");
    array->push(pair);
    array->push(pair);
    EXPECT_STREQ(pair.to_string(), "a,b,,");
    array->erase("2");
    array->erase("3");
    EXPECT_EQ(static_cast<as_array*>(global("Array", {1e9}).to_object())->size(), as_array::max_initial_size);
}

}  // namespace
