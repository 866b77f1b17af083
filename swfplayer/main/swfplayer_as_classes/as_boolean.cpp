#include "swfplayer/main/swfplayer_as_classes/as_boolean.h"

#include "swfplayer/main/script/fn_call.h"

namespace swfplayer {

void as_global_boolean_ctor(const fn_call& fn) {
    fn.result->set_bool(fn.nargs == 1 ? fn.arg(0).to_bool() : false);
}

void as_boolean_tostring(const fn_call& fn) {
    fn.result->set_string(fn.this_value->to_bool() ? "true" : "false");
}

void as_boolean_valueof(const fn_call& fn) {
    fn.result->set_bool(fn.this_value->to_bool());
}

}  // namespace swfplayer
