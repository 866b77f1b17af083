#include "swfplayer/main/script/standard_member.h"

#include "swfplayer/base/hash.h"

#include <cctype>
#include <cstdint>
#include <cstring>
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

// For each first byte, bit n is set when a standard name of n bytes starts with it (in either
// ASCII case). Most names a script uses fail this test and are answered without hashing them:
// a character's member lookup asks for the standard member more than once.
uint32_t s_lengths_by_first_byte[256];

void build_table() {
    s_table = std::make_unique<hash<base_stringi, int>>();
    for (uint32_t& lengths : s_lengths_by_first_byte) {
        lengths = 0;
    }
    for (int i = 0; i < M_STANDARD_MEMBER_COUNT; i++) {
        s_table->set(s_names[i], i);
        unsigned char first = static_cast<unsigned char>(s_names[i][0]);
        uint32_t length_bit = 1u << std::strlen(s_names[i]);
        s_lengths_by_first_byte[std::tolower(first)] |= length_bit;
        s_lengths_by_first_byte[std::toupper(first)] |= length_bit;
    }
}

// False when no standard name has the name's first byte and length. Names compare up to their
// first NUL, so that is where the length ends; no standard name is 32 bytes long, so the count
// stops there, inline, rather than measuring the whole text.
bool may_be_standard(const base_stringi& name) {
    const char* text = name.c_str();
    size_t length = 0;
    while (length < 32 && text[length] != 0) {
        length++;
    }
    if (length == 0 || length >= 32) {
        return false;
    }
    return (s_lengths_by_first_byte[static_cast<unsigned char>(text[0])] >> length) & 1u;
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
    if (may_be_standard(name)) {
        s_table->get(name, &n);
    }
    return static_cast<standard_member>(n);
}

void clear_standard_members() {
    s_table.reset();
}

bool has_standard_members() {
    return s_table != nullptr;
}

}  // namespace swfplayer
