#include "swfplayer/main/swfplayer_as_classes/as_selection.h"

#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/fn_call.h"

namespace swfplayer {

namespace {

void selection_set_focus(const fn_call& fn) {
    fn.result->set_bool(false);
    if (fn.this_ptr == nullptr || !fn.this_ptr->is(AS_SELECTION) || fn.nargs < 1 || fn.env == nullptr) {
        return;
    }
    as_value path = fn.arg(0);
    smart_ptr<as_object> target = path.is_string() ? fn.env->find_target(path) : path.to_object();
    // A kept reference to a character taken off the stage gives it no focus.
    if (target && target->is(AS_CHARACTER) && !target->has_left_stage()) {
        target->on_event(event_id(event_id::SETFOCUS));
        fn.result->set_bool(true);
    }
}

}  // namespace

as_selection::as_selection(player* owner) : as_object(owner) {
    builtin_member("setFocus", as_value(owner, selection_set_focus));
}

}  // namespace swfplayer
