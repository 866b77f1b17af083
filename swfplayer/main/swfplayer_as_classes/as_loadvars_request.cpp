#include "swfplayer/main/swfplayer_as_classes/as_loadvars_request.h"

#include "swfplayer/base/base_timer.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/swfplayer_as_classes/net_wait_allowance.h"

#include <algorithm>

namespace swfplayer {

namespace {

// Bytes taken from the socket at a time.
constexpr int read_chunk_bytes = 8192;

}  // namespace

as_loadvars_request::as_loadvars_request(as_object* target) : m_target(target) {}

bool as_loadvars_request::connect(player* owner, const char* host, int port) {
    if (!m_slot.acquire(owner)) {
        return false;
    }
    m_interface = std::make_unique<net_interface_tcp>();
    {
        net_wait_allowance::wait wait(net_interface_tcp::connect_timeout_ms);
        m_socket = m_interface->connect(host, port, wait.get_ms());
    }
    if (m_socket == nullptr) {
        close();
        return false;
    }
    m_last_progress = base_timer::get_ticks();
    return true;
}

bool as_loadvars_request::send(const base_string& request) {
    if (m_socket == nullptr) {
        return false;
    }
    net_wait_allowance::wait wait(write_timeout_ms);
    return m_socket->write(request.c_str(), request.size(), wait.get_seconds()) == request.size();
}

void as_loadvars_request::advance() {
    if (is_finished()) {
        return;
    }
    if (m_socket == nullptr) {
        m_answer.fail();
        return;
    }
    const uint64_t now = base_timer::get_ticks();
    char chunk[read_chunk_bytes];
    for (int total = 0; total < max_bytes_per_frame && !is_finished();) {
        int got = m_socket->read(chunk, std::min(read_chunk_bytes, max_bytes_per_frame - total), 0.0f);
        if (got <= 0) {
            break;
        }
        m_answer.feed(chunk, got);
        total += got;
        m_last_progress = now;
    }
    if (!is_finished() && !m_socket->is_open()) {
        m_answer.fail();  // a broken connection is no end of the answer
    } else if (!is_finished() && m_socket->has_ended()) {
        m_answer.end_of_input();
    }
    if (!is_finished() && now - m_last_progress >= static_cast<uint64_t>(std::max(s_idle_timeout_ms, 0))) {
        m_answer.fail();
    }
}

void as_loadvars_request::close() {
    m_socket.reset();
    m_interface.reset();
    m_slot.release();
}

}  // namespace swfplayer
