#pragma once

#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

struct fn_call;

// NetConnection: video streaming is not available, so the one connection it makes is the
// local one: connect(null) answers true, every other call false. "connect" is an ordinary
// member that script may replace.
class as_netconnection : public as_object {
public:
    explicit as_netconnection(player* owner);

    bool is(int class_id) const override { return class_id == AS_NETCONNECTION || as_object::is(class_id); }
};

// new NetConnection().
void as_global_netconnection_ctor(const fn_call& fn);
// new NetStream(): logs "video requires FFMPEG library\n" as an error and makes nothing.
void as_global_netstream_ctor(const fn_call& fn);

}  // namespace swfplayer
