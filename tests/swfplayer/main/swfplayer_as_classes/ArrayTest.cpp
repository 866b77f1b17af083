#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/swfplayer_as_classes/as_array.h"
#include "tests/support/BoundedRun.h"
#include "tests/swfplayer/main/swfplayer_as_classes/BuiltinTestKit.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

using namespace builtin_test;

namespace {

class ArrayTest : public BuiltinFixture {
protected:
    // The literal form: the values (element 0 first) and the count lie on the stack, and the
    // call block carries -1 for the argument count and the first index.
    as_value literal(const std::vector<as_value>& stack) {
        for (const as_value& value : stack) {
            m_env.push(value);
        }
        as_value result;
        fn_call fn(&result, as_value(), &m_env, -1, -1);
        as_global_array_ctor(fn);
        return result;
    }
};

TEST_F(ArrayTest, literals_constructors_and_their_text) {
    // stack: bottom first; the count on top
    const std::tuple<std::vector<as_value>, const char*, int> literals[] = {
        {{"c", "b", "a", 3}, "a,b,c", 0},
        {{"x", "c", "b", "a", 3}, "a,b,c", 1},
        {{"b", "a", 5}, "a,b", 0},  // never more values than the stack holds
        {{"a", -2}, "", 1},
        {{"a", NAN}, "", 1},
        {{0}, "", 0}};
    for (const auto& [stack, text, stack_left] : literals) {
        as_value array = literal(stack);
        EXPECT_STREQ(array.to_string(), text);
        EXPECT_EQ(m_env.get_stack_depth(), stack_left) << text;
        m_env.truncate_stack(0);
    }
    const std::tuple<std::vector<as_value>, const char*, int> constructed[] = {
        {{}, "", 0},        {{3}, "undefined,undefined,undefined", 3},
        {{-5}, "", 0},      {{"2"}, "undefined,undefined", 2},
        {{1, 2}, "1,2", 2}, {{true, as_value(), "s"}, "true,undefined,s", 3}};
    for (const auto& [args, text, length] : constructed) {
        as_value array = call_global("Array", args);
        EXPECT_STREQ(array.to_string(), text);
        EXPECT_EQ(get(array, "length").to_number(), length) << text;
        EXPECT_STREQ(method(array, "toString", {}).to_string(), text);
    }
}

TEST_F(ArrayTest, any_visible_member_is_an_element_in_name_order) {
    as_value array = call_global("Array", {"a", "b"});
    array.to_object()->set_member("foo", "x");
    array.to_object()->set_member("Bar", "y");
    EXPECT_STREQ(array.to_string(), "a,b,y,x");
    EXPECT_EQ(get(array, "length").to_number(), 4.0);
    // push names the new element by the size, pop takes the member of size - 1.
    EXPECT_EQ(method(array, "push", {"c", "ignored"}).to_number(), 5.0);
    EXPECT_STREQ(method(array, "pop", {}).to_string(), "c");
    EXPECT_EQ(method(array, "push", {}).to_number(), 4.0);
    // A hole where size - 1 points: pop finds nothing and changes nothing.
    static_cast<as_array*>(array.to_object())->erase("1");
    EXPECT_STREQ(array.to_string(), "a,y,x");
    EXPECT_TRUE(method(array, "pop", {}).is_undefined());
    EXPECT_EQ(get(array, "length").to_number(), 3.0);
    // The methods need an array as "this".
    as_value plain(new as_object(m_player.get_ptr()));
    EXPECT_TRUE(call(m_env, get(array, "push"), plain, {1}).is_undefined());
    EXPECT_TRUE(plain.to_object()->get_members().size() == 0);
    EXPECT_TRUE(method(call_global("Array", {}), "pop", {}).is_undefined());
}

TEST_F(ArrayTest, elements_print_in_name_order_an_array_may_hold_itself_and_sizes_are_capped) {
    as_value array = call_global("Array", {});
    as_array* elements = static_cast<as_array*>(array.to_object());
    for (int i = 0; i < 11; i++) {
        elements->push(as_value(i));
    }
    EXPECT_STREQ(array.to_string(), "0,1,10,2,3,4,5,6,7,8,9");
    as_value pair = call_global("Array", {"a", "b"});
    static_cast<as_array*>(pair.to_object())->push(pair);
    static_cast<as_array*>(pair.to_object())->push(pair);
    EXPECT_STREQ(pair.to_string(), "a,b,,");
    static_cast<as_array*>(pair.to_object())->erase("2");
    static_cast<as_array*>(pair.to_object())->erase("3");
    EXPECT_EQ(static_cast<as_array*>(call_global("Array", {1e9}).to_object())->size(), as_array::max_initial_size);
}

// The text lists the elements in the case-insensitive order of their names (10 right after 1,
// "b" and "B" by their first difference), with a count of visible members kept as members come
// and go, hide and show: in n log n, with the size never recounted.
TEST_F(ArrayTest, the_text_orders_100000_names_as_text_and_the_size_follows_every_member_change) {
    smart_ptr<as_array> array = new as_array(m_player.get_ptr());
    std::vector<std::string> names;
    testing_support::BoundedRun run = testing_support::RunBounded(
        [&] {
            for (int i = 0; i < 100000; i++) {
                array->push(as_value(i));
            }
            if (array->size() != 100000 || array->to_string() == nullptr) {
                throw std::runtime_error("pushes");
            }
        },
        std::chrono::seconds(10), 256u << 20);
    EXPECT_TRUE(run.finished) << run.Describe();
    for (int i = 0; i < 1000; i++) {
        array->push(as_value(i));
        names.push_back(std::to_string(i));
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return base_string::stricmp(a.c_str(), b.c_str()) < 0;
    });
    std::string expected;
    for (const std::string& name : names) {
        expected += (expected.empty() ? "" : ",") + name;
    }
    EXPECT_EQ(array->to_string(), expected);
    // Members that are no index count and print at the place of their names; hidden ones do not.
    const std::tuple<const char*, int, int> changes[] = {
        {"foo", 0, 1001}, {"foo", AS_DONT_ENUM, 1000}, {"foo", 0, 1001}, {"0", AS_DONT_ENUM, 1000}, {"0", 0, 1001}};
    for (const auto& [name, flags, size] : changes) {
        array->change_member_flags(name, flags, AS_DONT_ENUM);
        if (!array->has_own_member(name)) {
            array->set_member(name, as_value("f"));
        }
        EXPECT_EQ(array->size(), size) << name;
    }
    array->builtin_member("hidden", as_value(1));
    array->set_member("hidden", as_value(2));  // a plain value over a hidden member shows it
    EXPECT_EQ(array->size(), 1002);
    array->erase_member("hidden");
    array->erase_member("foo");
    as_value popped;
    array->pop(&popped);
    EXPECT_EQ(std::pair(array->size(), popped.to_number()), std::pair(999, 999.0));
}

}  // namespace
