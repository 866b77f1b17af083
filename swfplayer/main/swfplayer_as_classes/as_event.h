#pragma once

#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

// flash.Events: an event object holding "MouseEvent".
class as_event : public as_object {
public:
    explicit as_event(player* owner);

    bool is(int class_id) const override { return class_id == AS_EVENT || as_object::is(class_id); }

protected:
    // For the event classes below, which answer only their own id and 0.
    struct no_members {};
    as_event(player* owner, no_members) : as_object(owner) {}
};

// flash.Events.MouseEvent: holds "CLICK", the string "click".
class as_mouse_event : public as_event {
public:
    explicit as_mouse_event(player* owner);

    bool is(int class_id) const override { return class_id == AS_MOUSE_EVENT || as_object::is(class_id); }
};

}  // namespace swfplayer
