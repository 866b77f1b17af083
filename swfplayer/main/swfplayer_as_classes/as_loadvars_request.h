#pragma once

#include "swfplayer/base/base_string.h"
#include "swfplayer/base/net_socket.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/swfplayer_as_classes/http_answer.h"
#include "swfplayer/main/swfplayer_as_classes/open_socket_slot.h"

#include <cstdint>
#include <memory>

namespace swfplayer {

class as_object;
class player;

// One pending exchange of a LoadVars: the connection to the server, the answer read from it so
// far, and the object whose events fire when it ends (held weakly: an exchange does not keep a
// dropped object alive). Reading never waits: each frame takes what has arrived, at most
// max_bytes_per_frame, so neither a flood nor a silent server holds up a frame; a server silent
// for the idle time-out fails the answer. Connecting and writing the request wait at most their
// time-outs, cut to what the frame may still wait on the network (see net_wait_allowance).
class as_loadvars_request {
public:
    static constexpr int max_bytes_per_frame = 64 * 1024;
    static constexpr int write_timeout_ms = 1000;
    static constexpr int default_idle_timeout_ms = 30000;

    explicit as_loadvars_request(as_object* target);

    // Connects to host and port with one of owner's connection slots; false when no slot is
    // free or the connection fails (the reasons go to standard error and the log).
    bool connect(player* owner, const char* host, int port);
    // Writes the whole request within write_timeout_ms; false when it was not all taken.
    bool send(const base_string& request);
    // Reads what has arrived into the answer; ends it at the end of the connection or after
    // the idle time-out.
    void advance();
    bool is_finished() const { return m_answer.is_finished(); }
    // Closes the connection and gives its slot back.
    void close();

    const http_answer& get_answer() const { return m_answer; }
    // The object to tell, while it lives; null for none.
    as_object* get_target() const { return m_target.get_ptr(); }

    // How long an exchange may wait for the server's next bytes, for every exchange.
    static int get_idle_timeout_ms() { return s_idle_timeout_ms; }
    static void set_idle_timeout_ms(int ms) { s_idle_timeout_ms = ms; }

private:
    static inline int s_idle_timeout_ms = default_idle_timeout_ms;

    std::unique_ptr<net_interface_tcp> m_interface;
    std::unique_ptr<net_socket_tcp> m_socket;
    weak_ptr<as_object> m_target;
    http_answer m_answer;
    open_socket_slot m_slot;
    uint64_t m_last_progress = 0;  // ticks when bytes last arrived (or the connection was made)
};

}  // namespace swfplayer
