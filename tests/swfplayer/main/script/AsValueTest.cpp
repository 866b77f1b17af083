#include "swfplayer/main/script/as_c_function.h"
#include "swfplayer/main/script/as_property.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/swfplayer_as_classes/as_boolean.h"
#include "swfplayer/main/swfplayer_as_classes/as_number.h"
#include "swfplayer/main/swfplayer_as_classes/as_object_methods.h"
#include "swfplayer/main/swfplayer_as_classes/as_string.h"
#include "tests/swfplayer/main/script/ScriptTestKit.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

using namespace swfplayer;
using namespace script_test;

namespace {

struct conversion_case {
    const char* label;
    as_value value;
    const char* text;
    double number;  // NaN compared as NaN
    bool boolean;
    const char* type;
};

TEST(AsValueTest, conversion_matrix_over_the_kinds_and_edge_values) {
    player p;
    smart_ptr<as_object> object = new as_object(&p);
    const conversion_case cases[] = {
        {"undefined", as_value(), "undefined", NAN, false, "undefined"},
        {"null", as_value(static_cast<as_object*>(nullptr)), "null", 0.0, false, "null"},
        {"true", as_value(true), "true", 1.0, true, "boolean"},
        {"false", as_value(false), "false", 0.0, false, "boolean"},
        {"NaN", as_value(NAN), "NaN", NAN, true, "number"},
        {"-0", as_value(-0.0), "-0", -0.0, false, "number"},
        {"1/3", as_value(1.0 / 3.0), "0.33333333333333", 1.0 / 3.0, true, "number"},
        {"100", as_value(100.0), "100", 100.0, true, "number"},
        {"1e20", as_value(1e20), "1e+20", 1e20, true, "number"},
        {"infinity", as_value(INFINITY), "Infinity", INFINITY, true, "number"},
        {"' 12'", as_value(" 12"), " 12", 12.0, true, "string"},
        {"'12 '", as_value("12 "), "12 ", 0.0, true, "string"},
        {"'abc'", as_value("abc"), "abc", 0.0, true, "string"},
        {"''", as_value(""), "", 0.0, false, "string"},
        {"'0'", as_value("0"), "0", 0.0, true, "string"},
        {"'false'", as_value("false"), "false", 0.0, true, "string"},
        {"object", as_value(object.get_ptr()), "[object Object]", 0.0, true, "object"},
        {"wide text", as_value(L"a\u00e9"), "a\xc3\xa9", 0.0, true, "string"},
    };
    for (const conversion_case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_STREQ(c.value.to_string(), c.text);
        double number = c.value.to_number();
        if (std::isnan(c.number)) {
            EXPECT_TRUE(std::isnan(number));
        } else {
            EXPECT_EQ(number, c.number);
        }
        EXPECT_EQ(c.value.to_bool(), c.boolean);
        EXPECT_STREQ(c.value.typeof(), c.type);
    }
}

TEST(AsValueTest, to_int_truncates_and_gives_int_min_outside_32_bits) {
    const struct {
        double value;
        int expected;
    } cases[] = {
        {-3.9, -3},
        {3.9, 3},
        {2147483647.0, 2147483647},
        {2147483648.0, INT_MIN},
        {-2147483649.0, INT_MIN},
        {NAN, INT_MIN},
        {INFINITY, INT_MIN},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(as_value(c.value).to_int(), c.expected) << c.value;
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
            SCOPED_TRACE(std::to_string(i) + " vs " + std::to_string(j));
            EXPECT_EQ(values[i] == values[j], i == j);
            EXPECT_EQ(values[i] != values[j], i != j);
        }
    }
    EXPECT_FALSE(as_value(NAN) == as_value(NAN));
    EXPECT_TRUE(as_value(0.0) == as_value(-0.0));
    EXPECT_FALSE(as_value("abc") == as_value("ABC"));
    EXPECT_FALSE(as_value(object.get_ptr()) == as_value(other.get_ptr()));
}

TEST(AsValueTest, flags_travel_with_assignment_and_undefined_clears_them) {
    as_value hidden(5.0);
    hidden.set_flags(AS_DONT_ENUM);
    as_value copy;
    copy = hidden;
    EXPECT_EQ(copy.get_flags(), AS_DONT_ENUM);
    copy = as_value();
    EXPECT_EQ(copy.get_flags(), 0u);
    as_value kept(1.0);
    kept.set_flags(AS_READ_ONLY);
    kept.set_double(2.0);
    EXPECT_EQ(kept.get_flags(), AS_READ_ONLY);
}

TEST(AsValueTest, shifts_take_the_count_modulo_32) {
    struct shift_case {
        double value;
        int count;
        double shl;
        double asr;
        double lsr;
    };
    const shift_case cases[] = {
        {1, 1, 2, 0, 0},
        {1, 33, 2, 0, 0},
        {-8, 1, -16, -4, 2147483644},
        {-1, 0, -1, -1, -1},
        {-1, 32, -1, -1, -1},
        {1, 31, -2147483648.0, 0, 0},
        {4294967295.0, 1, 0, 0, 2147483647},
        {NAN, 1, 0, 0, 0},
    };
    for (const shift_case& c : cases) {
        SCOPED_TRACE(std::to_string(c.value) + " by " + std::to_string(c.count));
        as_value left(c.value);
        left.shl(c.count);
        as_value arithmetic(c.value);
        arithmetic.asr(c.count);
        as_value logical(c.value);
        logical.lsr(c.count);
        if (!std::isnan(c.value) && c.value <= 2147483647.0) {
            EXPECT_EQ(left.to_number(), c.shl);
            EXPECT_EQ(arithmetic.to_number(), c.asr);
        }
        EXPECT_EQ(logical.to_number(), c.lsr);
    }
}

TEST(AsValueTest, bitwise_and_arithmetic_operators_store_numbers) {
    as_value value("6");
    value &= 3;
    EXPECT_EQ(value.to_number(), 2.0);
    value |= 8;
    EXPECT_EQ(value.to_number(), 10.0);
    value ^= 2;
    EXPECT_EQ(value.to_number(), 8.0);
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

TEST(AsValueTest, a_bound_property_is_read_once_when_assigned) {
    player p;
    smart_ptr<as_object> target = new as_object(&p);
    as_value property{as_value(counting_getter), as_value()};
    property.set_property_target(target.get_ptr());
    s_getter_calls = 0;
    as_value copy;
    copy = property;
    EXPECT_EQ(s_getter_calls, 1);
    EXPECT_TRUE(copy.is_number());
    EXPECT_EQ(copy.to_number(), 42.0);

    as_value unbound{as_value(counting_getter), as_value()};
    as_value unbound_copy;
    unbound_copy = unbound;
    EXPECT_EQ(s_getter_calls, 1);
    EXPECT_TRUE(unbound_copy.is_property());
    EXPECT_EQ(unbound_copy.to_property(), unbound.to_property());
}

TEST(AsValueTest, a_property_compares_and_converts_as_its_value) {
    player p;
    smart_ptr<as_object> target = new as_object(&p);
    as_value property{as_value(counting_getter), as_value()};
    property.set_property_target(target.get_ptr());
    EXPECT_TRUE(property == as_value(42.0));
    EXPECT_TRUE(as_value(42.0) == property);
    EXPECT_STREQ(property.typeof(), "number");
    EXPECT_STREQ(property.to_string(), "42");
    // A property without getter keeps the out value.
    as_value setter_only{as_value(), as_value(counting_getter)};
    setter_only.set_property_target(target.get_ptr());
    as_value out(7.0);
    setter_only.get_property_value(&out);
    EXPECT_EQ(out.to_number(), 7.0);
}

TEST(AsValueTest, a_property_keeps_only_function_values) {
    as_value property(as_value(5.0), as_value("text"));
    ASSERT_TRUE(property.is_property());
    EXPECT_EQ(property.to_property()->get_getter(), nullptr);
    EXPECT_EQ(property.to_property()->get_setter(), nullptr);
}

TEST(AsValueTest, primitives_find_their_class_methods) {
    player p;
    as_value method;
    EXPECT_TRUE(as_value(1.0).get_member("toString", &method));
    EXPECT_TRUE(method.is_function());
    EXPECT_TRUE(as_value(true).get_member("VALUEOF", &method));
    EXPECT_TRUE(as_value("x").get_member("length", &method));
    EXPECT_TRUE(method.is_property());
    EXPECT_FALSE(as_value("x").get_member("push", &method));
    EXPECT_FALSE(as_value().get_member("toString", &method));
    EXPECT_FALSE(as_value(static_cast<as_object*>(nullptr)).get_member("toString", &method));
}

TEST(AsValueTest, primitives_are_instances_of_their_class_and_object) {
    player p;
    smart_ptr<as_c_function> number_ctor = new as_c_function(&p, as_global_number_ctor);
    smart_ptr<as_c_function> string_ctor = new as_c_function(&p, as_global_string_ctor);
    smart_ptr<as_c_function> boolean_ctor = new as_c_function(&p, as_global_boolean_ctor);
    smart_ptr<as_c_function> object_ctor = new as_c_function(&p, as_global_object_ctor);
    EXPECT_TRUE(as_value(1.0).is_instance_of(number_ctor.get_ptr()));
    EXPECT_TRUE(as_value(1.0).is_instance_of(object_ctor.get_ptr()));
    EXPECT_FALSE(as_value(1.0).is_instance_of(string_ctor.get_ptr()));
    EXPECT_TRUE(as_value("s").is_instance_of(string_ctor.get_ptr()));
    EXPECT_TRUE(as_value(false).is_instance_of(boolean_ctor.get_ptr()));
    EXPECT_FALSE(as_value().is_instance_of(object_ctor.get_ptr()));
    EXPECT_FALSE(as_value(1.0).is_instance_of(nullptr));
}

TEST(AsValueTest, overwriting_a_value_that_holds_the_last_reference_is_safe) {
    player p;
    as_object* object = new as_object(&p);
    as_value holder(object);
    // The object's member holds a value; replacing the holder's object frees the object and
    // with it that member, while the holder itself stays sound.
    object->set_member("self_text", as_value("x"));
    holder.set_double(1.0);
    EXPECT_EQ(holder.to_number(), 1.0);
}

}  // namespace
