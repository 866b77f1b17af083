#pragma once

#include "swfplayer/base/base_string.h"
#include "swfplayer/base/net_socket.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/swfplayer_as_classes/open_socket_slot.h"

#include <memory>

namespace swfplayer {

struct fn_call;

// XMLSocket: a line-oriented TCP client. connect reports onConnect(success); while connected
// the object takes the player's frame tick and hands at most one received line per frame to
// onData(line). A line of more than max_line_bytes bytes comes in pieces of max_line_bytes, one
// per frame, the connection kept; the end of a line cut exactly at a piece's end gives no empty
// line. An empty line, the end of the connection or an error ends it with onClose(). Handlers
// run with the socket object as "this". Reading never waits: a line that has not fully arrived
// stays in the socket's buffer (which holds at most net_socket_tcp::max_buffered_bytes) until it
// has. Connecting and sending wait at most their time-outs, cut to what the frame may still wait
// on the network (see net_wait_allowance).
class as_xmlsock : public as_object {
public:
    static constexpr int max_line_bytes = 102400;
    static constexpr int send_timeout_ms = 1000;

    explicit as_xmlsock(player* owner);
    ~as_xmlsock() override;

    bool is(int class_id) const override { return class_id == AS_XMLSOCKET || as_object::is(class_id); }
    void advance(float dt) override;

    // Closes a connection held before, then connects to host (null is refused) and port
    // (1 to 65535) and calls onConnect(success). True when connected.
    bool connect(const char* host, int port);
    // Writes the bytes of data as they are. A connection that does not take them all within
    // send_timeout_ms (or what the frame has left of its network allowance) is dropped, and the
    // next frame reports onClose.
    void send(const base_string& data);
    // Leaves the frame tick and closes the connection, without an event.
    void close();
    bool is_connected() const { return m_socket != nullptr; }

private:
    // Takes a connection slot, connects and joins the frame tick; false (nothing held) when any
    // of them fails.
    bool open_connection(const char* host, int port);
    // Closes the connection and gives its slot back; the object stays on the frame tick.
    void drop_connection();
    // Leaves the frame tick, closes the connection and calls onClose.
    void end_connection();

    std::unique_ptr<net_interface_tcp> m_interface;
    std::unique_ptr<net_socket_tcp> m_socket;
    open_socket_slot m_slot;
    // The last piece handed to onData was cut at max_line_bytes: the rest of its line follows.
    bool m_line_cut = false;
};

// new XMLSocket(): an unconnected socket.
void as_global_xmlsock_ctor(const fn_call& fn);

}  // namespace swfplayer
