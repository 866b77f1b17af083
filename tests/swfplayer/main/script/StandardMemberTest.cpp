#include "swfplayer/base/base_string.h"
#include "swfplayer/main/script/standard_member.h"

#include <gtest/gtest.h>

#include <string>

using swfplayer::base_stringi;
using swfplayer::get_standard_member;
using swfplayer::standard_member;

namespace {

struct name_case {
    const char* name;
    standard_member expected;
};

// Every standard name and its number, in both ASCII cases where the name has letters.
const name_case standard_names[] = {
    {"_x", swfplayer::M_X},
    {"_Y", swfplayer::M_Y},
    {"_XSCALE", swfplayer::M_XSCALE},
    {"_yscale", swfplayer::M_YSCALE},
    {"_currentframe", swfplayer::M_CURRENTFRAME},
    {"_totalFrames", swfplayer::M_TOTALFRAMES},
    {"_alpha", swfplayer::M_ALPHA},
    {"_visible", swfplayer::M_VISIBLE},
    {"_width", swfplayer::M_WIDTH},
    {"_height", swfplayer::M_HEIGHT},
    {"_rotation", swfplayer::M_ROTATION},
    {"_target", swfplayer::M_TARGET},
    {"_framesloaded", swfplayer::M_FRAMESLOADED},
    {"_name", swfplayer::M_NAME},
    {"_droptarget", swfplayer::M_DROPTARGET},
    {"_url", swfplayer::M_URL},
    {"_highquality", swfplayer::M_HIGHQUALITY},
    {"_focusrect", swfplayer::M_FOCUSRECT},
    {"_soundbuftime", swfplayer::M_SOUNDBUFTIME},
    {"_xmouse", swfplayer::M_XMOUSE},
    {"_ymouse", swfplayer::M_YMOUSE},
    {"_parent", swfplayer::M_PARENT},
    {"Text", swfplayer::M_TEXT},
    {"textwidth", swfplayer::M_TEXTWIDTH},
    {"TEXTCOLOR", swfplayer::M_TEXTCOLOR},
    {"Border", swfplayer::M_BORDER},
    {"multiline", swfplayer::M_MULTILINE},
    {"WordWrap", swfplayer::M_WORDWRAP},
    {"TYPE", swfplayer::M_TYPE},
    {"backgroundcolor", swfplayer::M_BACKGROUNDCOLOR},
    {"_this", swfplayer::M_THIS},
    {"This", swfplayer::M_THIS_PLAIN},
    {"_ROOT", swfplayer::M_ROOT},
    {".", swfplayer::M_DOT},
    {"..", swfplayer::M_DOTDOT},
    {"_Level0", swfplayer::M_LEVEL0},
    {"_global", swfplayer::M_GLOBAL},
    {"ENABLED", swfplayer::M_ENABLED},
};

}  // namespace

TEST(StandardMember, every_standard_name_answers_its_number_in_any_ascii_case) {
    for (const name_case& entry : standard_names) {
        EXPECT_EQ(entry.expected, get_standard_member(entry.name)) << entry.name;
    }
}

TEST(StandardMember, other_names_answer_invalid_even_when_they_share_a_first_byte_or_length) {
    for (const char* name : {"", "i", "fib", "m37", "_", "_xx", "_z", "x", "texts", "tex", "...", "e", "enable",
                             "_level1", "backgroundColour", "_soundbuftimes", "T", "thiss", "multilinE2"}) {
        EXPECT_EQ(swfplayer::M_INVALID, get_standard_member(name)) << name;
    }
}

TEST(StandardMember, a_name_compares_up_to_its_first_nul) {
    // Names match as texts: bytes after a NUL take no part in the lookup.
    const std::string with_nul("_x\0tail", 7);
    EXPECT_EQ(swfplayer::M_X, get_standard_member(base_stringi(with_nul.data(), 7)));
    const std::string long_with_nul(std::string("text") + '\0' + std::string(40, 'a'));
    EXPECT_EQ(swfplayer::M_TEXT,
              get_standard_member(base_stringi(long_with_nul.data(), static_cast<int>(long_with_nul.size()))));
    const std::string leading_nul("\0_x", 3);
    EXPECT_EQ(swfplayer::M_INVALID, get_standard_member(base_stringi(leading_nul.data(), 3)));
}
