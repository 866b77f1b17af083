#include "swfplayer/main/script/standard_member.h"

#include "swfplayer/base/hash.h"

#include <memory>

namespace swfplayer {

namespace {

// The table made on the first lookup and emptied with the last player (clear_standard_members).
std::unique_ptr<hash<base_stringi, int>> s_table;

void build_table() {
    s_table = std::make_unique<hash<base_stringi, int>>();
    for (int i = 0; i < M_STANDARD_MEMBER_COUNT; i++) {
        s_table->set(standard_member_names[i], i);
    }
}

}  // namespace

const char* const mouse_handler_names[8] = {
    "onKeyPress", "onRelease", "onDragOver", "onDragOut", "onPress", "onReleaseOutside", "onRollout", "onRollover",
};

standard_member find_standard_member(const base_stringi& name) {
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
