#pragma once

#include "swfplayer/base/smart_ptr.h"

namespace swfplayer {

class player;

// One of the connections a player's network objects (LoadVars requests, XMLSockets) may hold
// open at once. A movie that opens connections in a loop would otherwise run the process out of
// descriptors; past the limit, connecting fails as if the server had refused.
class open_socket_slot {
public:
    static constexpr int max_open_sockets = 64;

    open_socket_slot() = default;
    ~open_socket_slot() { release(); }
    open_socket_slot(const open_socket_slot&) = delete;
    open_socket_slot& operator=(const open_socket_slot&) = delete;

    // Takes a slot of owner (a held one is given back first); false, logged, when owner is null
    // or its slots are all taken.
    bool acquire(player* owner);
    // Gives the slot back; nothing when none is held or its player is gone.
    void release();
    bool is_held() const { return m_held; }

private:
    weak_ptr<player> m_owner;
    bool m_held = false;
};

}  // namespace swfplayer
