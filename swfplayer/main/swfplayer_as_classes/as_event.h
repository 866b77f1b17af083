#pragma once

#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

// An event object: flash.Events is one (holding "MouseEvent").
class as_event : public as_object {
public:
    explicit as_event(player* owner) : as_object(owner) {}

    bool is(int class_id) const override { return class_id == AS_EVENT || as_object::is(class_id); }
};

// flash.Events.MouseEvent: holds "CLICK", the string "click". It answers only its own id and 0.
class as_mouse_event : public as_event {
public:
    explicit as_mouse_event(player* owner);

    bool is(int class_id) const override { return class_id == AS_MOUSE_EVENT || as_object::is(class_id); }
};

}  // namespace swfplayer
