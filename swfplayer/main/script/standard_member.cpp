#include "swfplayer/main/script/standard_member.h"

#include "swfplayer/base/hash.h"

#include <memory>

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

// The table made on the first lookup and emptied with the last player (clear_standard_members).
std::unique_ptr<hash<base_stringi, int>> s_table;

void build_table() {
    s_table = std::make_unique<hash<base_stringi, int>>();
    for (int i = 0; i < M_STANDARD_MEMBER_COUNT; i++) {
        s_table->set(s_names[i], i);
    }
}

}  // namespace

const char* const mouse_handler_names[8] = {
    "onKeyPress", "onRelease", "onDragOver", "onDragOut", "onPress", "onReleaseOutside", "onRollout", "onRollover",
};

standard_member get_standard_member(const base_stringi& name) {
    if (!s_table) {
        build_table();
    }
    int n = M_INVALID;
    s_table->get(name, &n);
    return static_cast<standard_member>(n);
}

void clear_standard_members() {
    s_table.reset();
}

bool has_standard_members() {
    return s_table != nullptr;
}

}  // namespace swfplayer
