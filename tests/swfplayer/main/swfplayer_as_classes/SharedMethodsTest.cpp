// Built-in objects share their methods: one function object per native function and player, so
// making an object costs its own storage only. The heap allocations made while objects are
// created are counted through this program's operator new.
#include "swfplayer/main/script/builtin_registry.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/swfplayer_as_classes/as_array.h"
#include "tests/swfplayer/main/swfplayer_as_classes/AllocationCounter.h"
#include "tests/swfplayer/main/swfplayer_as_classes/BuiltinTestKit.h"

#include <vector>

using namespace builtin_test;

namespace {

constexpr int kObjects = 100000;

using testing_support::AllocationCounter;

class SharedMethodsTest : public BuiltinFixture {
protected:
    // An array made as script makes one: through the global constructor with two elements.
    as_value NewArray() { return call_global("Array", {1, 2}); }
    // The arguments array of a call with one argument.
    smart_ptr<as_object> NewArguments() {
        m_env.push(7);
        as_value result;
        fn_call fn(&result, as_value(), &m_env, 1, m_env.get_top_index());
        smart_ptr<as_object> arguments = make_arguments_array(m_player.get_ptr(), fn);
        m_env.drop(1);
        return arguments;
    }
};

// An array holds its object and its member table; before the methods were shared, each array
// made ten more objects (its methods, their prototypes, the length property, its constructor).
// The script's Array constructor adds what a native call costs, with or without an array.
TEST_F(SharedMethodsTest, making_arrays_and_arguments_allocates_no_function_objects) {
    constexpr long kPerObject = 2;
    // What is made once: the shared functions themselves and the tables that hold them.
    constexpr long kOnce = 100;
    std::vector<smart_ptr<as_array>> arrays;
    std::vector<smart_ptr<as_object>> arguments;
    std::vector<as_value> constructed;
    arrays.reserve(kObjects);
    arguments.reserve(kObjects);
    constructed.reserve(kObjects);

    AllocationCounter count_arrays;
    for (int i = 0; i < kObjects; i++) {
        arrays.push_back(new as_array(m_player.get_ptr()));
    }
    long for_arrays = count_arrays.Stop();
    EXPECT_LE(for_arrays, kPerObject * kObjects + kOnce);
    EXPECT_GE(for_arrays, kObjects);  // the counter sees the arrays themselves

    AllocationCounter count_arguments;
    for (int i = 0; i < kObjects; i++) {
        arguments.push_back(NewArguments());
    }
    EXPECT_LE(count_arguments.Stop(), kPerObject * kObjects + kOnce);

    as_value number_class = global("Number");
    AllocationCounter count_calls;
    for (int i = 0; i < kObjects; i++) {
        call(m_env, number_class, as_value(), {i});
    }
    long for_calls = count_calls.Stop();
    AllocationCounter count_constructed;
    for (int i = 0; i < kObjects; i++) {
        constructed.push_back(NewArray());
    }
    EXPECT_LE(count_constructed.Stop(), for_calls + kPerObject * kObjects + kOnce);

    // Every array still works through its own members.
    EXPECT_STREQ(method(constructed.back(), "toString", {}).to_string(), "1,2");
    EXPECT_EQ(method(constructed.front(), "push", {3}).to_number(), 3);
    EXPECT_EQ(get(constructed.front(), "length").to_number(), 3);
    EXPECT_EQ(get(constructed.back(), "length").to_number(), 2);
    EXPECT_EQ(get(as_value(arrays.back().get_ptr()), "length").to_number(), 0);
    EXPECT_STREQ(arguments.back()->to_string(), "7");
}

// The members stay own, hidden members of each object, holding the one function object of the
// player; another player has its own.
TEST_F(SharedMethodsTest, each_player_has_one_function_object_per_method) {
    as_value first = NewArray();
    as_value second = NewArray();
    smart_ptr<player> other = new player();
    as_value foreign(new as_array(other.get_ptr()));
    for (const char* name : {"toString", "push", "pop", "__constructor__"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(flags(first.to_object(), name), static_cast<int>(AS_DONT_ENUM));
        as_value mine;
        as_value again;
        as_value theirs;
        ASSERT_TRUE(first.to_object()->get_own_member(name, &mine));
        ASSERT_TRUE(second.to_object()->get_own_member(name, &again));
        ASSERT_TRUE(foreign.to_object()->get_own_member(name, &theirs));
        ASSERT_TRUE(mine.is_function());
        EXPECT_EQ(mine.to_object(), again.to_object());
        EXPECT_NE(mine.to_object(), theirs.to_object());
    }
    // The length property is read for each array through the shared getter.
    EXPECT_EQ(flags(first.to_object(), "length"), static_cast<int>(AS_DONT_ENUM));
    method(first, "push", {"x"});
    EXPECT_EQ(get(first, "length").to_number(), 3);
    EXPECT_EQ(get(second, "length").to_number(), 2);
    EXPECT_EQ(get(foreign, "length").to_number(), 0);
    // Arrays are still instances of Array.
    EXPECT_TRUE(first.is_instance_of(global("Array").to_function()));
}

// Objects without a player still get working methods of their own.
TEST_F(SharedMethodsTest, an_object_without_a_player_gets_its_own_functions) {
    smart_ptr<as_array> first = new as_array(nullptr);
    smart_ptr<as_array> second = new as_array(nullptr);
    as_value push_first;
    as_value push_second;
    ASSERT_TRUE(first->get_own_member("push", &push_first));
    ASSERT_TRUE(second->get_own_member("push", &push_second));
    EXPECT_NE(push_first.to_object(), push_second.to_object());
    EXPECT_EQ(method(as_value(first.get_ptr()), "push", {"a"}).to_number(), 1);
    EXPECT_EQ(first->size(), 1);
}

}  // namespace
