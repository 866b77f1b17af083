#include "swfplayer/main/swfplayer_as_classes/net_wait_allowance.h"

#include "swfplayer/base/base_timer.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/script/instruction_budget.h"

#include <algorithm>

namespace swfplayer {

namespace {

constexpr int64_t nanoseconds_per_ms = 1000000;

}  // namespace

net_wait_allowance::clock net_wait_allowance::s_clock = base_timer::get_profile_ticks;

void net_wait_allowance::begin_frame() {
    s_left_ns = frame_allowance_ms * nanoseconds_per_ms;
    s_told = false;
}

int net_wait_allowance::get_left_ms() {
    return static_cast<int>(std::max<int64_t>(s_left_ns, 0) / nanoseconds_per_ms);
}

net_wait_allowance::wait::wait(int wanted_ms)
    : m_ms(std::max(wanted_ms, 0)), m_charged(instruction_budget::run_scope::depth() > 0), m_start(s_clock()) {
    if (!m_charged) {
        return;
    }
    const bool wanted = m_ms > 0;
    m_ms = is_spent() ? 0 : std::min(m_ms, get_left_ms());
    if (wanted && m_ms == 0 && !s_told) {
        log_error(
            "error: net_wait_allowance::wait: this frame has waited its %d ms on the network; until the next "
            "frame connections fail and sends write only what goes without waiting\n",
            frame_allowance_ms);
        s_told = true;
    }
}

net_wait_allowance::wait::~wait() {
    if (m_charged) {
        s_left_ns -= static_cast<int64_t>(s_clock() - m_start);
    }
}

}  // namespace swfplayer
