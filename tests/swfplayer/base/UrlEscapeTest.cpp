// URL escaping of the pairs LoadVars sends and receives.
#include "swfplayer/base/url_escape.h"

#include <gtest/gtest.h>

#include <string>

using swfplayer::base_string;

namespace {

std::string Encoded(const std::string& text) {
    base_string s(text.c_str());
    swfplayer::url_encode(&s);
    return s.c_str();
}

std::string Decoded(const std::string& text) {
    base_string s(text.c_str());
    swfplayer::url_decode(&s);
    return s.c_str();
}

TEST(UrlEscapeTest, reserved_bytes_are_the_24_characters_and_0) {
    const std::string reserved = "$&+,/:=?@ \"<>#%{}|\\^~[]`";
    for (int c = 0; c < 256; c++) {
        bool expected = c == 0 || reserved.find(static_cast<char>(c)) != std::string::npos;
        EXPECT_EQ(swfplayer::is_reserved_url_char(static_cast<unsigned char>(c)), expected) << c;
    }
}

TEST(UrlEscapeTest, encoding_escapes_reserved_high_and_control_bytes_with_two_lowercase_digits) {
    const struct {
        const char* text;
        const char* encoded;
    } cases[] = {
        {"a b", "a%20b"},
        {"&", "%26"},
        {"\xE9", "%e9"},
        {"line\nend", "line%0aend"},  // a raw line end would break the request
        {"\r\t\x01\x1F\x7F", "%0d%09%01%1f%7f"},
        {"AZaz09-_.!*'()", "AZaz09-_.!*'()"},
        {"x=1&y=2", "x%3d1%26y%3d2"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Encoded(c.text), c.encoded) << c.text;
    }
}

TEST(UrlEscapeTest, decoding_turns_escapes_and_plus_into_bytes_and_keeps_what_is_no_escape) {
    const struct {
        const char* text;
        const char* decoded;
    } cases[] = {
        {"a%20b", "a b"},
        {"a+b", "a b"},
        {"%41%4a%4A", "AJJ"},
        {"100%", "100%"},  // "%" in the last position
        {"1%2", "1%2"},    // and in the one before
        {"%zz", "%zz"},    // not hexadecimal: read as ordinary characters
        {"%2%41", "%2A"},  // the second digit is not hexadecimal: "%", "2" stay, "%41" decodes
        {"%0a", "\n"},
        {"a%00b", "ab"},  // a 0 byte cannot be held and is dropped
        // Bytes above 127 are kept: dropping them would lose every non-ASCII character.
        {"caf%c3%a9", "caf\xC3\xA9"},
        {"%e9", "\xE9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decoded(c.text), c.decoded) << c.text;
    }
}

TEST(UrlEscapeTest, every_byte_round_trips_and_encodes_to_printable_ascii) {
    std::string all;
    for (int c = 1; c < 256; c++) {
        std::string one(1, static_cast<char>(c));
        std::string encoded = Encoded(one);
        EXPECT_EQ(Decoded(encoded), one) << c;
        for (char e : encoded) {
            EXPECT_TRUE(e > 0x20 && e < 0x7F) << c;
        }
        all += one;
    }
    EXPECT_EQ(Decoded(Encoded(all)), all);
}

}  // namespace
