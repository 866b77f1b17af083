#include "swfplayer/main/swfplayer_as_classes/as_textformat.h"

#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/static_names.h"

#include <algorithm>

namespace swfplayer {

void as_global_textformat_ctor(const fn_call& fn) {
    smart_ptr<as_textformat> format = new as_textformat(fn.get_player());
    int count = std::min(fn.nargs, static_names::textformat_member_count);
    for (int i = 0; i < count; i++) {
        format->set_member(static_names::textformat_member_name(i), fn.arg(i));
    }
    fn.result->set_as_object(format.get_ptr());
}

}  // namespace swfplayer
