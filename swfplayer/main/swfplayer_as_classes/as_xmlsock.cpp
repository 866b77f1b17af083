#include "swfplayer/main/swfplayer_as_classes/as_xmlsock.h"

#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/swfplayer_as_classes/net_wait_allowance.h"
#include "swfplayer/main/swfplayer_as_classes/script_handler.h"

namespace swfplayer {

namespace {

as_xmlsock* xmlsock_of(const fn_call& fn) {
    return fn.this_ptr && fn.this_ptr->is(AS_XMLSOCKET) ? static_cast<as_xmlsock*>(fn.this_ptr) : nullptr;
}

// The port a script value names: its number truncated, 0 when that is not 1 to 65535.
int port_of(const as_value& value) {
    double number = value.to_number();
    return number >= 1.0 && number < 65536.0 ? static_cast<int>(number) : 0;
}

void xmlsock_connect(const fn_call& fn) {
    as_xmlsock* self = xmlsock_of(fn);
    if (self == nullptr) {
        return;
    }
    fn.result->set_bool(false);
    if (fn.nargs != 2) {
        return;
    }
    as_value host = fn.arg(0);
    bool no_host = host.is_null() || host.is_undefined();
    fn.result->set_bool(self->connect(no_host ? nullptr : host.to_string(), port_of(fn.arg(1))));
}

void xmlsock_send(const fn_call& fn) {
    as_xmlsock* self = xmlsock_of(fn);
    if (self && fn.nargs == 1) {
        self->send(fn.arg(0).to_base_string());
    }
}

void xmlsock_close(const fn_call& fn) {
    if (as_xmlsock* self = xmlsock_of(fn)) {
        self->close();
    }
}

}  // namespace

as_xmlsock::as_xmlsock(player* owner) : as_object(owner), m_interface(std::make_unique<net_interface_tcp>()) {
    builtin_member("connect", as_value(owner, xmlsock_connect));
    builtin_member("close", as_value(owner, xmlsock_close));
    builtin_member("send", as_value(owner, xmlsock_send));
}

as_xmlsock::~as_xmlsock() = default;

bool as_xmlsock::connect(const char* host, int port) {
    close();
    const bool connected = open_connection(host, port);
    call_handler(this, "onConnect", {as_value(connected)});
    return connected;
}

bool as_xmlsock::open_connection(const char* host, int port) {
    if (!m_slot.acquire(get_player())) {
        return false;
    }
    {
        net_wait_allowance::wait wait(net_interface_tcp::connect_timeout_ms);
        m_socket = m_interface->connect(host, port, wait.get_ms());
    }
    if (m_socket == nullptr || !get_player()->add_frame_object(this)) {
        drop_connection();
        return false;
    }
    return true;
}

void as_xmlsock::send(const base_string& data) {
    if (m_socket == nullptr) {
        return;
    }
    net_wait_allowance::wait wait(send_timeout_ms);
    if (m_socket->write(data.c_str(), data.size(), wait.get_seconds()) != data.size()) {
        drop_connection();
    }
}

void as_xmlsock::close() {
    if (player* owner = get_player()) {
        owner->remove_frame_object(this);
    }
    drop_connection();
}

void as_xmlsock::drop_connection() {
    m_socket.reset();
    m_line_cut = false;
    m_slot.release();
}

void as_xmlsock::end_connection() {
    close();
    call_handler(this, "onClose", {});
}

void as_xmlsock::advance(float) {
    if (m_socket == nullptr) {
        end_connection();
        return;
    }
    if (!m_socket->is_readable()) {
        return;
    }
    base_string line;
    int count = m_socket->read_line(&line, max_line_bytes, 0.0f);
    if (count == 0 && m_socket->is_open()) {
        return;  // part of a line has come; the rest will
    }
    const bool ends_cut_line = m_line_cut;
    m_line_cut = m_socket->was_line_cut();
    if (count > 0 && line.size() == 0 && ends_cut_line) {
        return;  // the end of a line handed out in pieces, its last piece already given
    }
    if (count <= 0 || line.size() == 0) {
        end_connection();
        return;
    }
    call_handler(this, "onData", {as_value(line.c_str())});
}

void as_global_xmlsock_ctor(const fn_call& fn) {
    fn.result->set_as_object(new as_xmlsock(fn.get_player()));
}

}  // namespace swfplayer
