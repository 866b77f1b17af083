#pragma once

#include "swfplayer/base/base_string.h"

#include <cstddef>
#include <cstdint>

namespace swfplayer {

// The members every character answers itself, by number.
enum standard_member {
    M_INVALID = -1,
    M_X = 0,
    M_Y,
    M_XSCALE,
    M_YSCALE,
    M_CURRENTFRAME,
    M_TOTALFRAMES,
    M_ALPHA,
    M_VISIBLE,
    M_WIDTH,
    M_HEIGHT,
    M_ROTATION,
    M_TARGET,
    M_FRAMESLOADED,
    M_NAME,
    M_DROPTARGET,
    M_URL,
    M_HIGHQUALITY,
    M_FOCUSRECT,
    M_SOUNDBUFTIME,
    M_XMOUSE,
    M_YMOUSE,
    M_PARENT,
    M_TEXT,
    M_TEXTWIDTH,
    M_TEXTCOLOR,
    M_BORDER,
    M_MULTILINE,
    M_WORDWRAP,
    M_TYPE,
    M_BACKGROUNDCOLOR,
    M_THIS,
    M_THIS_PLAIN,
    M_ROOT,
    M_DOT,
    M_DOTDOT,
    M_LEVEL0,
    M_GLOBAL,
    M_ENABLED,
    M_STANDARD_MEMBER_COUNT
};

// The standard member names, in the order of their numbers.
inline constexpr const char* standard_member_names[M_STANDARD_MEMBER_COUNT] = {
    "_x",
    "_y",
    "_xscale",
    "_yscale",
    "_currentframe",
    "_totalframes",
    "_alpha",
    "_visible",
    "_width",
    "_height",
    "_rotation",
    "_target",
    "_framesloaded",
    "_name",
    "_droptarget",
    "_url",
    "_highquality",
    "_focusrect",
    "_soundbuftime",
    "_xmouse",
    "_ymouse",
    "_parent",
    "text",
    "textWidth",
    "textColor",
    "border",
    "multiline",
    "wordWrap",
    "type",
    "backgroundColor",
    "_this",
    "this",
    "_root",
    ".",
    "..",
    "_level0",
    "_global",
    "enabled",
};

// For each first byte, bit n is set when a standard name of n bytes starts with it (in either
// ASCII case). Most names a script uses fail this test and are answered without a lookup: a
// character's member lookup asks for the standard member more than once.
struct standard_member_lengths {
    uint32_t by_first_byte[256];
    constexpr standard_member_lengths() : by_first_byte() {
        for (const char* name : standard_member_names) {
            size_t length = 0;
            while (name[length] != 0) {
                length++;
            }
            unsigned char first = static_cast<unsigned char>(name[0]);
            by_first_byte[first] |= 1u << length;
            if (first >= 'a' && first <= 'z') {
                by_first_byte[first - 'a' + 'A'] |= 1u << length;
            } else if (first >= 'A' && first <= 'Z') {
                by_first_byte[first - 'A' + 'a'] |= 1u << length;
            }
        }
    }
};
inline constexpr standard_member_lengths standard_member_length_table;

// The table lookup behind get_standard_member. The name table is made on the first lookup.
standard_member find_standard_member(const base_stringi& name);

// The number of a standard member name (without regard to case); M_INVALID for other names.
// Names compare up to their first NUL, so that is where the length ends; no standard name is
// 32 bytes long, so the count stops there.
inline standard_member get_standard_member(const base_stringi& name) {
    const char* text = name.c_str();
    size_t length = 0;
    while (length < 32 && text[length] != 0) {
        length++;
    }
    if (length == 0 || length >= 32 ||
        ((standard_member_length_table.by_first_byte[static_cast<unsigned char>(text[0])] >> length) & 1u) == 0) {
        return M_INVALID;
    }
    return find_standard_member(name);
}
// Empties the name table (the last player has gone); the next lookup makes it again.
void clear_standard_members();
// Whether the name table exists.
bool has_standard_members();

// The member names whose presence makes a clip take mouse events, in the order they are tested.
extern const char* const mouse_handler_names[8];

}  // namespace swfplayer
