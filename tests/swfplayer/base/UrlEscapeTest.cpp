// URL escaping of the pairs LoadVars sends and receives.
#include "swfplayer/base/url_escape.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using swfplayer::base_string;

namespace {

std::string Escaped(void (*escape)(base_string*), const std::string& text) {
    base_string s(text.c_str());
    escape(&s);
    return s.c_str();
}

TEST(UrlEscapeTest, encoding_and_decoding_keep_to_their_edges) {
    const std::string reserved = "$&+,/:=?@ \"<>#%{}|\\^~[]`";
    for (int c = 0; c < 256; c++) {
        EXPECT_EQ(swfplayer::is_reserved_url_char(c), c == 0 || reserved.find(char(c)) != std::string::npos) << c;
    }
    const std::pair<const char*, const char*> encoded[] = {{"a b", "a%20b"},
                                                           {"&", "%26"},
                                                           {"\xE9", "%e9"},
                                                           {"line\nend", "line%0aend"},  // raw line ends break requests
                                                           {"\r\t\x01\x7F", "%0d%09%01%7f"},
                                                           {"AZaz09-_.!*'()", "AZaz09-_.!*'()"}};
    for (const auto& [text, result] : encoded) {
        EXPECT_EQ(Escaped(swfplayer::url_encode, text), result) << text;
    }
    const std::pair<const char*, const char*> decoded[] = {{"a%20b+c", "a b c"}, {"%41%4a%4A", "AJJ"},
                                                           {"100%", "100%"},     {"1%2", "1%2"},
                                                           {"%zz", "%zz"},       {"%2%41", "%2A"},
                                                           {"%0a", "\n"},        {"a%00b", "ab"},
                                                           {"%e9", "\xE9"}};  // kept: dropping bytes above 127 would
                                                                              // lose every non-ASCII character
    for (const auto& [text, result] : decoded) {
        EXPECT_EQ(Escaped(swfplayer::url_decode, text), result) << text;
    }
}

TEST(UrlEscapeTest, every_byte_round_trips_through_printable_ascii) {
    std::string all;
    for (int c = 1; c < 256; c++) {
        all += char(c);
        std::string encoded = Escaped(swfplayer::url_encode, std::string(1, char(c)));
        EXPECT_TRUE(std::all_of(encoded.begin(), encoded.end(), [](char e) { return e > 0x20 && e < 0x7F; })) << c;
        EXPECT_EQ(Escaped(swfplayer::url_decode, encoded), std::string(1, char(c))) << c;
    }
    EXPECT_EQ(Escaped(swfplayer::url_decode, Escaped(swfplayer::url_encode, all)), all);
}

}  // namespace
