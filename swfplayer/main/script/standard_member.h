#pragma once

#include "swfplayer/base/base_string.h"

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

// The number of a standard member name (without regard to case); M_INVALID for other names.
// The name table is made on the first lookup.
standard_member get_standard_member(const base_stringi& name);
// Empties the name table (the last player has gone); the next lookup makes it again.
void clear_standard_members();
// Whether the name table exists.
bool has_standard_members();

// The member names whose presence makes a clip take mouse events, in the order they are tested.
extern const char* const mouse_handler_names[8];

}  // namespace swfplayer
