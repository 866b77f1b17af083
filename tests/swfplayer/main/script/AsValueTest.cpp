#include "swfplayer/main/script/as_c_function.h"
#include "swfplayer/main/script/as_property.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/swfplayer_as_classes/as_boolean.h"
#include "swfplayer/main/swfplayer_as_classes/as_number.h"
#include "swfplayer/main/swfplayer_as_classes/as_object_methods.h"
#include "swfplayer/main/swfplayer_as_classes/as_string.h"
#include "tests/swfplayer/main/script/ScriptTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

using namespace swfplayer;
using namespace script_test;

namespace {

// Equal numbers, or both NaN.
void expect_number(double got, double expected) {
    EXPECT_TRUE(got == expected || (std::isnan(got) && std::isnan(expected))) << got << " vs " << expected;
}

TEST(AsValueTest, conversion_matrix_over_the_kinds_and_edge_values) {
    player p;
    smart_ptr<as_object> object = new as_object(&p);
    const struct {
        as_value value;
        const char* text;
        double number;
        bool boolean;
        const char* type;
    } cases[] = {
        {as_value(), "undefined", NAN, false, "undefined"},
        {as_value(static_cast<as_object*>(nullptr)), "null", 0.0, false, "null"},
        {as_value(true), "true", 1.0, true, "boolean"},
        {as_value(false), "false", 0.0, false, "boolean"},
        {as_value(NAN), "NaN", NAN, true, "number"},
        {as_value(-0.0), "-0", -0.0, false, "number"},
        {as_value(1.0 / 3.0), "0.33333333333333", 1.0 / 3.0, true, "number"},
        {as_value(100.0), "100", 100.0, true, "number"},
        {as_value(1e20), "1e+20", 1e20, true, "number"},
        {as_value(INFINITY), "Infinity", INFINITY, true, "number"},
        {as_value(" 12"), " 12", 12.0, true, "string"},
        {as_value("12 "), "12 ", 0.0, true, "string"},
        {as_value("abc"), "abc", 0.0, true, "string"},
        {as_value(""), "", 0.0, false, "string"},
        {as_value("0"), "0", 0.0, true, "string"},
        {as_value("false"), "false", 0.0, true, "string"},
        {as_value(object.get_ptr()), "[object Object]", 0.0, true, "object"},
        {as_value(L"a\u00e9"), "a\xc3\xa9", 0.0, true, "string"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_STREQ(c.value.to_string(), c.text);
        expect_number(c.value.to_number(), c.number);
        EXPECT_EQ(c.value.to_bool(), c.boolean);
        EXPECT_STREQ(c.value.typeof(), c.type);
    }
}

TEST(AsValueTest, equality_never_converts_between_kinds) {
    player p;
    smart_ptr<as_object> object = new as_object(&p);
    smart_ptr<as_object> other = new as_object(&p);
    const as_value values[] = {as_value(),     as_value(static_cast<as_object*>(nullptr)),
                               as_value(true), as_value(1.0),
                               as_value("1"),  as_value(object.get_ptr())};
    for (int i = 0; i < 6; i++) {
        for (int j = 0; j < 6; j++) {
            EXPECT_EQ(values[i] == values[j], i == j) << i << " vs " << j;
            EXPECT_EQ(values[i] != values[j], i != j) << i << " vs " << j;
        }
    }
    EXPECT_TRUE(as_value(0.0) == as_value(-0.0));
    EXPECT_FALSE(as_value(NAN) == as_value(NAN) || as_value("abc") == as_value("ABC") ||
                 as_value(object.get_ptr()) == as_value(other.get_ptr()));
}

TEST(AsValueTest, flags_travel_with_assignment_and_undefined_clears_them) {
    player p;
    as_value hidden(new as_object(&p)), moved, copied;
    hidden.set_flags(AS_DONT_ENUM);
    moved = copied = hidden;
    EXPECT_EQ(moved.get_flags(), AS_DONT_ENUM);
    const as_value undefined;
    moved = as_value();
    copied = undefined;
    hidden.set_double(2.0);
    EXPECT_EQ(std::tuple(moved.get_flags(), copied.get_flags(), hidden.get_flags()),
              std::tuple(0u, 0u, uint32_t{AS_DONT_ENUM}));
}

// The bitwise operators and shifts are pinned by the interpreter's model test; these are the rest.
TEST(AsValueTest, arithmetic_operators_store_numbers) {
    as_value value("8");
    value += 0.5;
    value *= 2;
    EXPECT_EQ(value.to_number(), 17.0);
    value /= 0;
    EXPECT_TRUE(std::isinf(value.to_number()));
    EXPECT_TRUE(as_value(1.0) < 2.0);
}

int s_getter_calls = 0;

void counting_getter(const fn_call& fn) {
    s_getter_calls++;
    fn.result->set_double(42);
}

TEST(AsValueTest, a_bound_property_is_read_once_when_assigned_and_compares_as_its_value) {
    player p;
    smart_ptr<as_object> target = new as_object(&p);
    as_value property{as_value(&p, counting_getter), as_value()};
    property.set_property_target(target.get_ptr());
    s_getter_calls = 0;
    as_value copy;
    copy = property;
    EXPECT_EQ(std::tuple(s_getter_calls, copy.is_number(), copy.to_number()), std::tuple(1, true, 42.0));
    EXPECT_TRUE(property == as_value(42.0) && as_value(42.0) == property);
    EXPECT_EQ(std::string(property.typeof()) + property.to_string(), "number42");

    as_value unbound{as_value(&p, counting_getter), as_value()};
    s_getter_calls = 0;
    copy = unbound;
    EXPECT_EQ(std::tuple(s_getter_calls, copy.is_property(), copy.to_property()),
              std::tuple(0, true, unbound.to_property()));
    // A property without getter keeps the out value.
    as_value setter_only{as_value(), as_value(&p, counting_getter)};
    setter_only.set_property_target(target.get_ptr());
    as_value out(7.0);
    setter_only.get_property_value(&out);
    EXPECT_EQ(out.to_number(), 7.0);
    // A property keeps only function values.
    as_value not_functions(as_value(5.0), as_value("text"));
    ASSERT_TRUE(not_functions.is_property());
    EXPECT_TRUE(not_functions.to_property()->get_getter() == nullptr &&
                not_functions.to_property()->get_setter() == nullptr);
}

// Each player has method tables of its own: a primitive's method is a function object of the
// asking player, the same at every lookup, and never another player's.
TEST(AsValueTest, primitives_take_their_methods_from_the_asking_players_own_tables) {
    player first, second;
    as_value mine, again, theirs, length;
    ASSERT_TRUE(as_value("x").get_member(&first, "charAt", &mine) &&
                as_value("y").get_member(&first, "charAt", &again));
    ASSERT_TRUE(as_value("x").get_member(&second, "charAt", &theirs));
    EXPECT_EQ(mine.to_object(), again.to_object());
    EXPECT_NE(mine.to_object(), theirs.to_object());
    EXPECT_EQ(mine.to_object()->get_player(), &first);
    EXPECT_EQ(theirs.to_object()->get_player(), &second);
    ASSERT_TRUE(as_value("x").get_member(&first, "length", &length) && length.is_property());
    EXPECT_EQ(length.to_property()->get_getter()->get_player(), &first);
    EXPECT_FALSE(as_value("x").get_member(nullptr, "charAt", &mine));
}

TEST(AsValueTest, primitives_find_their_class_methods_and_are_instances_of_their_class) {
    player p;
    as_value method;
    EXPECT_TRUE(as_value(1.0).get_member(&p, "toString", &method) && method.is_function());
    EXPECT_TRUE(as_value(true).get_member(&p, "VALUEOF", &method));
    EXPECT_TRUE(as_value("x").get_member(&p, "length", &method) && method.is_property());
    EXPECT_FALSE(as_value("x").get_member(&p, "push", &method) || as_value().get_member(&p, "toString", &method) ||
                 as_value(static_cast<as_object*>(nullptr)).get_member(&p, "toString", &method));

    smart_ptr<as_c_function> number_ctor = new as_c_function(&p, as_global_number_ctor);
    smart_ptr<as_c_function> string_ctor = new as_c_function(&p, as_global_string_ctor);
    smart_ptr<as_c_function> boolean_ctor = new as_c_function(&p, as_global_boolean_ctor);
    smart_ptr<as_c_function> object_ctor = new as_c_function(&p, as_global_object_ctor);
    EXPECT_TRUE(
        as_value(1.0).is_instance_of(number_ctor.get_ptr()) && as_value(1.0).is_instance_of(object_ctor.get_ptr()) &&
        as_value("s").is_instance_of(string_ctor.get_ptr()) && as_value(false).is_instance_of(boolean_ctor.get_ptr()));
    EXPECT_FALSE(as_value(1.0).is_instance_of(string_ctor.get_ptr()) ||
                 as_value().is_instance_of(object_ctor.get_ptr()) || as_value(1.0).is_instance_of(nullptr));
}

}  // namespace
