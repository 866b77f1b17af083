#include "serializeme/ValueText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using sme::FlagName;
using sme::ValueText;

TEST(ValueText, floats_have_six_significant_digits_and_switch_to_exponents_outside_1e_minus4_to_1e6) {
    EXPECT_EQ(ValueText::FormatFloat(0.6f), "0.6");
    EXPECT_EQ(ValueText::FormatFloat(1024.0f), "1024");
    EXPECT_EQ(ValueText::FormatFloat(0.1f), "0.1");
    EXPECT_EQ(ValueText::FormatFloat(0.0f), "0");
    EXPECT_EQ(ValueText::FormatFloat(-2.5f), "-2.5");
    EXPECT_EQ(ValueText::FormatFloat(3.14159265f), "3.14159");
    EXPECT_EQ(ValueText::FormatFloat(123456.0f), "123456");
    EXPECT_EQ(ValueText::FormatFloat(999999.0f), "999999");
    EXPECT_EQ(ValueText::FormatFloat(1000000.0f), "1e+06");
    EXPECT_EQ(ValueText::FormatFloat(1234567.0f), "1.23457e+06");
    EXPECT_EQ(ValueText::FormatFloat(0.0001f), "0.0001");
    EXPECT_EQ(ValueText::FormatFloat(0.00001f), "1e-05");
    EXPECT_EQ(ValueText::FormatFloat(-0.000123456f), "-0.000123456");
    EXPECT_EQ(ValueText::FormatFloat(1e30f), "1e+30");
}

TEST(ValueText, float_texts_read_their_leading_number_or_zero) {
    EXPECT_EQ(ValueText::ParseFloat("0.1"), 0.1f);
    EXPECT_EQ(ValueText::ParseFloat("  3.5abc"), 3.5f);
    EXPECT_EQ(ValueText::ParseFloat("+2"), 2.0f);
    EXPECT_EQ(ValueText::ParseFloat("-7.25e1"), -72.5f);
    EXPECT_EQ(ValueText::ParseFloat(".5"), 0.5f);
    EXPECT_EQ(ValueText::ParseFloat("1e"), 1.0f);
    EXPECT_EQ(ValueText::ParseFloat("0x10"), 16.0f);
    EXPECT_EQ(ValueText::ParseFloat("abc"), 0.0f);
    EXPECT_EQ(ValueText::ParseFloat(""), 0.0f);
    EXPECT_EQ(ValueText::ParseFloat("1,5"), 1.0f);
}

TEST(ValueText, float_texts_beyond_the_float_range_give_infinity_or_zero) {
    EXPECT_EQ(ValueText::ParseFloat("1e39"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(ValueText::ParseFloat("-1e999"), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(ValueText::ParseFloat("1e-50"), 0.0f);
    EXPECT_EQ(ValueText::ParseFloat("1e-999"), 0.0f);
    EXPECT_TRUE(std::isnan(ValueText::ParseFloat("nan")));
}

TEST(ValueText, every_float_reads_back_exactly) {
    // Six digits do not always identify a float, but they do for these, which is what files hold.
    for (float f : {0.6f, 1024.0f, -0.125f, 0.0001f, 12345.6f, 1e-7f, 3.5e12f}) {
        EXPECT_EQ(ValueText::ParseFloat(ValueText::FormatFloat(f).c_str()), f) << f;
    }
}

TEST(ValueText, unsigned_texts_follow_stream_extraction_and_keep_the_value_when_there_is_no_number) {
    uint32_t value = 5;
    EXPECT_TRUE(ValueText::ParseUInt(" 42 apples", value));
    EXPECT_EQ(value, 42u);
    EXPECT_TRUE(ValueText::ParseUInt("4294967295", value));
    EXPECT_EQ(value, 4294967295u);
    EXPECT_TRUE(ValueText::ParseUInt("-1", value));
    EXPECT_EQ(value, 4294967295u);
    EXPECT_TRUE(ValueText::ParseUInt("+7", value));
    EXPECT_EQ(value, 7u);

    value = 5;
    EXPECT_FALSE(ValueText::ParseUInt("4294967296", value));
    EXPECT_FALSE(ValueText::ParseUInt("99999999999999999999999", value));
    EXPECT_FALSE(ValueText::ParseUInt("abc", value));
    EXPECT_FALSE(ValueText::ParseUInt("", value));
    EXPECT_FALSE(ValueText::ParseUInt("- 3", value));
    EXPECT_EQ(value, 5u);
}

TEST(ValueText, signed_texts_follow_stream_extraction_within_the_32_bit_range) {
    int32_t value = 5;
    EXPECT_TRUE(ValueText::ParseInt("-2147483648", value));
    EXPECT_EQ(value, std::numeric_limits<int32_t>::min());
    EXPECT_TRUE(ValueText::ParseInt("2147483647x", value));
    EXPECT_EQ(value, std::numeric_limits<int32_t>::max());
    EXPECT_TRUE(ValueText::ParseInt("\t-12", value));
    EXPECT_EQ(value, -12);

    value = 5;
    EXPECT_FALSE(ValueText::ParseInt("2147483648", value));
    EXPECT_FALSE(ValueText::ParseInt("-2147483649", value));
    EXPECT_FALSE(ValueText::ParseInt("x1", value));
    EXPECT_EQ(value, 5);
}

TEST(ValueText, bools_are_true_for_true_in_any_case_and_numbers_of_one_or_more) {
    EXPECT_STREQ(ValueText::FormatBool(true), "true");
    EXPECT_STREQ(ValueText::FormatBool(false), "false");
    for (const char* yes : {"true", "TRUE", "True", "1", "2", " 15", "1.5", "99999999999999"}) {
        EXPECT_TRUE(ValueText::ParseBool(yes)) << yes;
    }
    for (const char* no : {"false", "yes", "0", "-1", "", "0.5", "true ", "tru", "+0"}) {
        EXPECT_FALSE(ValueText::ParseBool(no)) << no;
    }
}

TEST(ValueText, flags_write_the_names_sharing_a_bit_and_read_every_name_found_in_the_text) {
    const FlagName names[] = {{"static", 1}, {"kinematic", 2}, {"dynamic", 4}, {"both", 6}};
    EXPECT_EQ(ValueText::FormatFlags(0, names, 4), "");
    EXPECT_EQ(ValueText::FormatFlags(1, names, 4), "static");
    EXPECT_EQ(ValueText::FormatFlags(4, names, 4), "dynamic both");
    EXPECT_EQ(ValueText::FormatFlags(7, names, 4), "static kinematic dynamic both");
    EXPECT_EQ(ValueText::FormatFlags(8, names, 4), "");

    EXPECT_EQ(ValueText::ParseFlags("", names, 4), 0u);
    EXPECT_EQ(ValueText::ParseFlags("static dynamic", names, 4), 5u);
    EXPECT_EQ(ValueText::ParseFlags("STATIC", names, 4), 0u);
    EXPECT_EQ(ValueText::ParseFlags("xxbothxx", names, 4), 6u);

    // A name contained in another is found inside the longer one.
    const FlagName nested[] = {{"ball", 1}, {"bigball", 2}};
    EXPECT_EQ(ValueText::ParseFlags("bigball", nested, 2), 3u);
}

TEST(ValueText, letter_case_comparison_only_folds_ascii_letters) {
    EXPECT_TRUE(ValueText::EqualsIgnoringCase("m_Controllers", "M_CONTROLLERS"));
    EXPECT_TRUE(ValueText::EqualsIgnoringCase("", ""));
    EXPECT_FALSE(ValueText::EqualsIgnoringCase("abc", "abcd"));
    EXPECT_FALSE(ValueText::EqualsIgnoringCase("[", "{"));
    EXPECT_FALSE(ValueText::EqualsIgnoringCase("\xC3\xA4", "\xC3\x84"));
}
