#include "swfplayer/main/script/event_id.h"

namespace swfplayer {

namespace {

const base_string& name_of(int id) {
    static const base_string names[event_id::EVENT_COUNT + 1] = {
        "INVALID",      "onPress",        "onRelease",      "onReleaseOutside",
        "onRollOver",   "onRollOut",      "onDragOver",     "onDragOut",
        "onKeyPress",   "onInitialize",   "onLoad",         "onUnload",
        "onEnterFrame", "onMouseDown",    "onMouseUp",      "onMouseMove",
        "onKeyDown",    "onKeyUp",        "onData",         "onConstruct",
        "onSetFocus",   "onKillFocus",    "onLoadComplete", "onLoadError",
        "onLoadInit",   "onLoadProgress", "onLoadStart",    "",
    };
    return names[id];
}

}  // namespace

const base_string& event_id::handler_name() const {
    // Ids outside the table have no handler.
    return m_id > INVALID && m_id < EVENT_COUNT ? name_of(m_id) : name_of(EVENT_COUNT);
}

}  // namespace swfplayer
