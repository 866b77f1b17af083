#include "swfplayer/main/swfplayer_as_classes/as_netconnection.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/fn_call.h"

namespace swfplayer {

namespace {

void netconnection_connect(const fn_call& fn) {
    fn.result->set_bool(fn.nargs == 1 && fn.arg(0).is_null());
}

}  // namespace

as_netconnection::as_netconnection(player* owner) : as_object(owner) {
    set_member("connect", as_value(owner, netconnection_connect));
}

void as_global_netconnection_ctor(const fn_call& fn) {
    fn.result->set_as_object(new as_netconnection(fn.get_player()));
}

void as_global_netstream_ctor(const fn_call&) {
    log_error("video requires FFMPEG library\n");
}

}  // namespace swfplayer
