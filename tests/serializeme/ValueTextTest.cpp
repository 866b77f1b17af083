#include "serializeme/ValueText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using sme::FlagName;
using sme::ValueText;

namespace {

using Cases = std::initializer_list<std::pair<const char*, const char*>>;

// The result of parsing the text into a target that starts at 5, and the target afterwards.
template <class T>
std::string Parsed(bool (*parse)(const char*, T&), const char* text) {
    T value = 5;
    const bool read = parse(text, value);
    return std::to_string(read) + " " + std::to_string(value);
}

}  // namespace

TEST(ValueText, floats_have_six_significant_digits_and_switch_to_exponents_outside_1e_minus4_to_1e6) {
    const std::pair<float, const char*> cases[] = {
        {0.6f, "0.6"},         {1024.0f, "1024"},     {0.1f, "0.1"},
        {0.0f, "0"},           {-2.5f, "-2.5"},       {3.14159265f, "3.14159"},
        {999999.0f, "999999"}, {1000000.0f, "1e+06"}, {1234567.0f, "1.23457e+06"},
        {0.0001f, "0.0001"},   {0.00001f, "1e-05"},   {-0.000123456f, "-0.000123456"},
        {1e30f, "1e+30"}};
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(ValueText::FormatFloat(value), text) << text;
    }
    // Six digits do not always identify a float, but they do for these, which is what files hold.
    for (float f : {0.6f, 1024.0f, -0.125f, 0.0001f, 12345.6f, 1e-7f, 3.5e12f}) {
        EXPECT_EQ(ValueText::ParseFloat(ValueText::FormatFloat(f).c_str()), f) << f;
    }
}

TEST(ValueText, float_texts_read_their_leading_number_or_zero) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::pair<const char*, float> cases[] = {
        {"0.1", 0.1f}, {"  3.5abc", 3.5f}, {"+2", 2.0f},    {"-7.25e1", -72.5f}, {".5", 0.5f},
        {"1e", 1.0f},  {"0x10", 16.0f},    {"abc", 0.0f},   {"", 0.0f},          {"1,5", 1.0f},
        {"1e39", inf}, {"-1e999", -inf},   {"1e-50", 0.0f}, {"1e-999", 0.0f}};
    for (const auto& [text, value] : cases) {
        EXPECT_EQ(ValueText::ParseFloat(text), value) << '"' << text << '"';
    }
    EXPECT_TRUE(std::isnan(ValueText::ParseFloat("nan")));
}

TEST(ValueText, integer_texts_follow_stream_extraction_and_keep_the_value_when_there_is_no_number) {
    for (const auto& [text, outcome] : Cases{{" 42 apples", "1 42"},
                                             {"4294967295", "1 4294967295"},
                                             {"-1", "1 4294967295"},
                                             {"+7", "1 7"},
                                             {"4294967296", "0 5"},
                                             {"99999999999999999999999", "0 5"},
                                             {"abc", "0 5"},
                                             {"", "0 5"},
                                             {"- 3", "0 5"}}) {
        EXPECT_EQ(Parsed(ValueText::ParseUInt, text), outcome) << "unsigned \"" << text << '"';
    }
    for (const auto& [text, outcome] : Cases{{"-2147483648", "1 -2147483648"},
                                             {"2147483647x", "1 2147483647"},
                                             {"\t-12", "1 -12"},
                                             {"2147483648", "0 5"},
                                             {"-2147483649", "0 5"},
                                             {"x1", "0 5"}}) {
        EXPECT_EQ(Parsed(ValueText::ParseInt, text), outcome) << "signed \"" << text << '"';
    }
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
    const std::pair<uint32_t, const char*> written[] = {
        {0, ""}, {1, "static"}, {4, "dynamic both"}, {7, "static kinematic dynamic both"}, {8, ""}};
    for (const auto& [value, text] : written) {
        EXPECT_EQ(ValueText::FormatFlags(value, names, 4), text) << value;
    }
    const std::pair<const char*, uint32_t> read[] = {{"", 0}, {"static dynamic", 5}, {"STATIC", 0}, {"xxbothxx", 6}};
    for (const auto& [text, value] : read) {
        EXPECT_EQ(ValueText::ParseFlags(text, names, 4), value) << '"' << text << '"';
    }
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
