#include "swfplayer/main/script/static_names.h"

namespace swfplayer {
namespace static_names {

namespace {

const base_stringi& empty_name() {
    static const base_stringi empty;
    return empty;
}

}  // namespace

const base_stringi& property_name(int number) {
    static const base_stringi names[property_count] = {
        "_x",           "_y",           "_xscale",       "_yscale",       "_currentframe",
        "_totalframes", "_alpha",       "_visible",      "_width",        "_height",
        "_rotation",    "_target",      "_framesloaded", "_name",         "_droptarget",
        "_url",         "_highquality", "_focusrect",    "_soundbuftime", "@@ mystery quality member",
        "_xmouse",      "_ymouse",
    };
    return number >= 0 && number < property_count ? names[number] : empty_name();
}

const base_stringi& button_event_name(int index) {
    static const base_stringi names[button_event_count] = {
        "onKeyPress", "onRelease", "onDragOver", "onDragOut", "onPress", "onReleaseOutside", "onRollout", "onRollover",
    };
    return index >= 0 && index < button_event_count ? names[index] : empty_name();
}

const base_stringi& textformat_member_name(int index) {
    static const base_stringi names[textformat_member_count] = {
        "font",   "size",  "color",      "bold",        "italic", "underline", "url",
        "target", "align", "leftMargin", "rightMargin", "indent", "leading",
    };
    return index >= 0 && index < textformat_member_count ? names[index] : empty_name();
}

const base_string& call_local_name(call_local which) {
    static const base_string names[call_local_count] = {"this", "arguments", "super"};
    return names[which];
}

const base_stringi& constructor_name() {
    static const base_stringi name("__constructor__");
    return name;
}

const base_string& platform_name() {
    static const base_string name("WIN");
    return name;
}

}  // namespace static_names
}  // namespace swfplayer
