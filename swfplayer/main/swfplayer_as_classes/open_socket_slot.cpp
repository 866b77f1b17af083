#include "swfplayer/main/swfplayer_as_classes/open_socket_slot.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/player.h"

namespace swfplayer {

bool open_socket_slot::acquire(player* owner) {
    release();
    if (owner == nullptr) {
        return false;
    }
    int& open = owner->nesting().m_open_sockets;
    if (open >= max_open_sockets) {
        log_error("error: open_socket_slot::acquire: %d connections already open, connection refused\n",
                  max_open_sockets);
        return false;
    }
    open++;
    m_owner = owner;
    m_held = true;
    return true;
}

void open_socket_slot::release() {
    if (!m_held) {
        return;
    }
    m_held = false;
    if (player* owner = m_owner.get_ptr()) {
        owner->nesting().m_open_sockets--;
    }
    m_owner = nullptr;
}

}  // namespace swfplayer
