#include "swfplayer/main/display/standard_member.h"

#include "swfplayer/base/hash.h"

namespace swfplayer {

namespace {

const char* const s_names[M_STANDARD_MEMBER_COUNT] = {
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

hash<base_stringi, int> build_table() {
    hash<base_stringi, int> table;
    for (int i = 0; i < M_STANDARD_MEMBER_COUNT; i++) {
        table.set(s_names[i], i);
    }
    return table;
}

}  // namespace

const char* const mouse_handler_names[8] = {
    "onKeyPress", "onRelease", "onDragOver", "onDragOut", "onPress", "onReleaseOutside", "onRollout", "onRollover",
};

standard_member get_standard_member(const base_stringi& name) {
    static const hash<base_stringi, int> table = build_table();
    int n = M_INVALID;
    table.get(name, &n);
    return static_cast<standard_member>(n);
}

}  // namespace swfplayer
