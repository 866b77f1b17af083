#pragma once

#include <cstdint>

namespace swfplayer {

// The time the network calls of one frame of script may spend waiting, in all: connecting to a
// server, and sending to a peer that does not take the bytes. Every connect, load and send of a
// frame draws on one allowance, so however many calls a movie's scripts make, the frame waits
// on the network no longer than that. Once it is spent, a call does only what goes without
// waiting: a connection, which always waits for the server's answer, fails at once as when the
// server does not answer, and a send writes what the system takes at once.
//
// The player gives each outermost frame a full allowance as it starts (frame_scope: a host's frame
// around several movies, root::play, and the whole of precompute_cached_data, which is one frame);
// a movie played or loaded from inside a script or a host's frame shares the allowance of the
// frame it runs in, and scripts run between frames share what the last frame left. Calls made
// with no frame or script under way (native code calling the classes directly) are no frame's and
// are bounded only by their own time-outs.
class net_wait_allowance {
public:
    static constexpr int frame_allowance_ms = 250;
    // A frame with less than this left has spent its allowance: the clocks under the sockets
    // count whole milliseconds, so a wait that runs out its time-out may end a millisecond or two
    // early, and what that leaves is rounding, not time to wait.
    static constexpr int least_wait_ms = 10;

    // A full allowance for the frame that starts.
    static void begin_frame();
    // Milliseconds the frame may still wait.
    static int get_left_ms();
    static bool is_spent() { return get_left_ms() < least_wait_ms; }

    // The clock waits are timed by, in nanoseconds: the profile ticks (base_timer) unless a test
    // sets a clock it steps itself, so that what each wait is charged is exactly the time the
    // test says it took.
    using clock = uint64_t (*)();
    static void set_clock(clock now) { s_clock = now; }

    // One call's wait: the time it may take (what it wants, cut to what the frame has left; none
    // once the allowance is spent), and the time it took, charged to the frame when the object
    // goes.
    class wait {
    public:
        explicit wait(int wanted_ms);
        ~wait();
        wait(const wait&) = delete;
        wait& operator=(const wait&) = delete;

        int get_ms() const { return m_ms; }
        float get_seconds() const { return static_cast<float>(m_ms) / 1000.0f; }

    private:
        int m_ms;
        bool m_charged;
        uint64_t m_start;  // s_clock's nanoseconds
    };

private:
    static clock s_clock;
    static inline int64_t s_left_ns = int64_t{frame_allowance_ms} * 1000000;
    // Whether the frame under way has said that its allowance is spent.
    static inline bool s_told = false;
};

}  // namespace swfplayer
