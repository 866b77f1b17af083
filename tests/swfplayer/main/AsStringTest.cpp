#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "ScriptTestKit.h"
#include "swfplayer/main/swfplayer_as_classes/as_array.h"
#include "swfplayer/main/swfplayer_as_classes/as_boolean.h"
#include "swfplayer/main/swfplayer_as_classes/as_number.h"
#include "swfplayer/main/swfplayer_as_classes/as_string.h"

using namespace swfplayer;
using namespace script_test;

namespace {

class AsStringTest : public ::testing::Test {
protected:
    // Calls the built-in method name of the primitive value.
    as_value method(const as_value& self, const char* name, std::initializer_list<as_value> args) {
        as_value function;
        EXPECT_TRUE(self.get_member(name, &function)) << name;
        return call(m_env, function, self, args);
    }
    as_value global(const char* name, std::initializer_list<as_value> args) {
        return call(m_env, m_env.get_variable(name, m_no_with), as_value(), args);
    }
    smart_ptr<player> m_player = new player();
    as_environment m_env{m_player.get_ptr()};
    array<with_stack_entry> m_no_with;
};

struct string_case {
    const char* text;
    const char* name;
    std::vector<as_value> args;
    std::string expected;  // the result's text
};

TEST_F(AsStringTest, string_methods_on_ascii_and_non_ascii_text) {
    const char* e_acute = "\xc3\xa9";
    const std::string cafe = std::string("caf") + e_acute + " caf" + e_acute;  // 9 characters
    const string_case cases[] = {
        {"hello", "substring", {as_value(3), as_value(1)}, "el"},
        {"hello", "substring", {as_value(-2)}, "hello"},
        {"hello", "slice", {as_value(-3)}, "llo"},
        {"hello", "slice", {as_value(1), as_value(-1)}, "ell"},
        {"hello", "slice", {as_value(4), as_value(2)}, ""},
        {"hello", "substr", {as_value(-3), as_value(2)}, "he"},
        {"hello", "substr", {as_value(1)}, "ello"},
        {"hello", "substr", {as_value(9)}, "undefined"},
        {"hello", "substr", {}, "undefined"},
        {"abcabc", "lastIndexOf", {as_value("b"), as_value(2)}, "4"},
        {"abcabc", "lastIndexOf", {as_value("b")}, "4"},
        {"abcabc", "lastIndexOf", {as_value("")}, "6"},
        {"abcabc", "indexOf", {as_value("c"), as_value(3)}, "5"},
        {"abcabc", "indexOf", {as_value("x")}, "-1"},
        {"abcabc", "indexOf", {as_value("a"), as_value(99)}, "-1"},
        {"abcabc", "indexOf", {as_value("a"), as_value(-5)}, "0"},
        {"abcabc", "indexOf", {}, "-1"},
        {"hello", "charAt", {as_value(1)}, "e"},
        {"hello", "charAt", {as_value(5)}, "undefined"},
        {"hello", "charCodeAt", {as_value(0)}, "104"},
        {"hello", "charCodeAt", {as_value(-1)}, "NaN"},
        {"ab", "concat", {as_value(1), as_value(true)}, "ab1true"},
        {"MiXeD", "toLowerCase", {}, "mixed"},
        {"MiXeD", "toUpperCase", {}, "MIXED"},
        {"x", "fromCharCode", {as_value(72), as_value(0xE9), as_value(105)}, "H\xc3\xa9i"},
        {cafe.c_str(), "indexOf", {as_value("caf"), as_value(1)}, "5"},
        {cafe.c_str(), "indexOf", {as_value(" ")}, "4"},
        {cafe.c_str(), "lastIndexOf", {as_value(e_acute)}, "8"},
        {cafe.c_str(), "charAt", {as_value(3)}, e_acute},
        {cafe.c_str(), "charCodeAt", {as_value(3)}, "233"},
        {cafe.c_str(), "substring", {as_value(3), as_value(6)}, std::string(e_acute) + " c"},
        {cafe.c_str(), "slice", {as_value(-2)}, std::string("f") + e_acute},
        {cafe.c_str(), "toUpperCase", {}, std::string("CAF") + e_acute + " CAF" + e_acute},
    };
    for (const string_case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + "." + c.name);
        as_value self(c.text);
        as_value function;
        ASSERT_TRUE(self.get_member(c.name, &function));
        for (int i = static_cast<int>(c.args.size()) - 1; i >= 0; i--) {
            m_env.push(c.args[i]);
        }
        as_value result = call_method(function, &m_env, self, static_cast<int>(c.args.size()), m_env.get_top_index());
        m_env.drop(static_cast<int>(c.args.size()));
        EXPECT_EQ(result.to_string(), c.expected);
    }
}

TEST_F(AsStringTest, length_counts_characters) {
    as_value length;
    as_value text("a\xc3\xa9" "b");
    ASSERT_TRUE(text.get_member("length", &length));
    as_value result;
    length.get_property_value(text, &result);
    EXPECT_EQ(result.to_number(), 3.0);
}

TEST_F(AsStringTest, a_search_loop_over_non_ascii_text_ends) {
    // Positions from indexOf are valid starts for the next search.
    as_value text("\xc3\xa9x\xc3\xa9x\xc3\xa9x");
    int found = 0;
    int start = 0;
    for (int guard = 0; guard < 100; guard++) {
        int at = method(text, "indexOf", {as_value("x"), as_value(start)}).to_int();
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
    if (array == nullptr) {
        return out;
    }
    int size = static_cast<as_array*>(array)->size();
    for (int i = 0; i < size; i++) {
        as_value element;
        array->get_member(std::to_string(i).c_str(), &element);
        out.push_back(element.to_string());
    }
    return out;
}

TEST_F(AsStringTest, split_pieces) {
    using list = std::vector<std::string>;
    EXPECT_EQ(elements(method(as_value("a,b,,c"), "split", {as_value(",")})), (list{"a", "b", "", "c"}));
    EXPECT_EQ(elements(method(as_value("abc"), "split", {as_value("")})), (list{"a", "b", "c"}));
    EXPECT_EQ(elements(method(as_value("a,b,c"), "split", {as_value(","), as_value(2)})), (list{"a", "b"}));
    EXPECT_EQ(elements(method(as_value("a,b,c"), "split", {as_value(","), as_value(0)})), (list{}));
    EXPECT_EQ(elements(method(as_value("a::b"), "split", {as_value("::")})), (list{"a", "b"}));
    EXPECT_EQ(elements(method(as_value("a,"), "split", {as_value(",")})), (list{"a", ""}));
    EXPECT_EQ(elements(method(as_value("\xc3\xa9,\xc3\xa8"), "split", {as_value(",")})),
              (list{"\xc3\xa9", "\xc3\xa8"}));
    // Without a separator every character is a piece.
    EXPECT_EQ(elements(method(as_value("\xc3\xa9\xc3\xa8"), "split", {})), (list{"\xc3\xa9", "\xc3\xa8"}));
}

TEST_F(AsStringTest, constructors_and_global_number_functions) {
    EXPECT_TRUE(global("Boolean", {as_value("false")}).to_bool());
    EXPECT_TRUE(global("Boolean", {as_value("false")}).is_bool());
    EXPECT_FALSE(global("Boolean", {}).to_bool());
    EXPECT_EQ(global("Number", {as_value("")}).to_number(), 0.0);
    EXPECT_EQ(global("Number", {as_value("2.5")}).to_number(), 2.5);
    EXPECT_EQ(global("Number", {}).to_number(), 0.0);
    EXPECT_STREQ(global("String", {}).to_string(), "");
    EXPECT_STREQ(global("String", {as_value(1.5)}).to_string(), "1.5");
    EXPECT_EQ(global("parseFloat", {as_value(" 3.5")}).to_number(), 3.5);
    EXPECT_TRUE(std::isnan(global("parseFloat", {as_value("3.5 ")}).to_number()));
    EXPECT_TRUE(std::isnan(global("parseFloat", {as_value("12abc")}).to_number()));
    EXPECT_TRUE(std::isnan(global("parseFloat", {}).to_number()));
    EXPECT_EQ(global("parseInt", {as_value("42")}).to_number(), 42.0);
    EXPECT_EQ(global("parseInt", {as_value("42"), as_value(16)}).to_number(), 42.0);
    EXPECT_TRUE(std::isnan(global("parseInt", {as_value("4.2")}).to_number()));
    EXPECT_TRUE(std::isnan(global("parseInt", {}).to_number()));
    EXPECT_EQ(global("parseInt", {as_value("99999999999")}).to_number(), 2147483647.0);
    EXPECT_FALSE(global("isNaN", {as_value("abc")}).to_bool());
    EXPECT_TRUE(global("isNaN", {as_value()}).to_bool());
    EXPECT_TRUE(global("isNaN", {}).to_bool());
}

TEST_F(AsStringTest, number_and_boolean_methods) {
    struct radix_case {
        double number;
        int radix;
        const char* text;
    };
    const radix_case cases[] = {
        {255, 16, "FF"}, {35, 36, "Z"}, {0, 2, "0"}, {5, 1, ""}, {5, 37, ""}, {-10, 2, "-1010"},
        {10.9, 10, "10"}, {NAN, 2, "0"}, {4294967296.0, 16, "100000000"},
    };
    for (const radix_case& c : cases) {
        SCOPED_TRACE(std::to_string(c.number) + " radix " + std::to_string(c.radix));
        EXPECT_STREQ(method(as_value(c.number), "toString", {as_value(c.radix)}).to_string(), c.text);
    }
    EXPECT_STREQ(method(as_value(1.0 / 3.0), "toString", {}).to_string(), "0.33333333333333");
    EXPECT_STREQ(method(as_value(NAN), "toString", {}).to_string(), "NaN");
    EXPECT_EQ(method(as_value(7.0), "valueOf", {}).to_number(), 7.0);
    EXPECT_STREQ(method(as_value(true), "toString", {}).to_string(), "true");
    EXPECT_TRUE(method(as_value(true), "valueOf", {}).is_bool());
    EXPECT_STREQ(method(as_value("s"), "toString", {}).to_string(), "s");
}

TEST_F(AsStringTest, number_parsing_edges) {
    double number = -1;
    EXPECT_FALSE(parse_number("", &number));
    EXPECT_FALSE(parse_number(" ", &number));
    EXPECT_EQ(number, -1);
    EXPECT_TRUE(parse_number("1e3", &number));
    EXPECT_EQ(number, 1000);
    EXPECT_FALSE(parse_number(nullptr, &number));
    int integer = 0;
    EXPECT_TRUE(parse_int(" -12", &integer));
    EXPECT_EQ(integer, -12);
    EXPECT_FALSE(parse_int("12 ", &integer));
    EXPECT_TRUE(parse_int("-99999999999", &integer));
    EXPECT_EQ(integer, INT_MIN);
}

TEST_F(AsStringTest, arrays_print_in_name_order_and_survive_holding_themselves) {
    as_value made = global("Array", {as_value(3)});
    EXPECT_STREQ(made.to_string(), "undefined,undefined,undefined");
    as_value pair = global("Array", {as_value("a"), as_value("b")});
    EXPECT_STREQ(pair.to_string(), "a,b");
    as_array* array = static_cast<as_array*>(pair.to_object());
    EXPECT_EQ(method(pair, "push", {as_value("c")}).to_number(), 3.0);
    EXPECT_STREQ(method(pair, "pop", {}).to_string(), "c");
    EXPECT_EQ(array->size(), 2);
    as_value length;
    array->get_member("length", &length);
    EXPECT_EQ(length.to_number(), 2.0);
    as_value empty = global("Array", {});
    EXPECT_TRUE(method(empty, "pop", {}).is_undefined());
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
    EXPECT_EQ(static_cast<as_array*>(global("Array", {as_value(1e9)}).to_object())->size(), as_array::max_initial_size);
}

}  // namespace
