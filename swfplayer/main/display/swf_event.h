#pragma once

#include "swfplayer/main/script/as_value.h"
#include "swfplayer/main/script/event_id.h"

namespace swfplayer {

// One clip-event handler of a placement: the event and the script function that handles it.
struct swf_event {
    event_id m_event;
    as_value m_method;
};

}  // namespace swfplayer
