#pragma once

#include <cstdint>

namespace swfplayer {

// Bytes a string that script builds may reach (by concatenation, joining, case mapping or any
// other growth): an operation that would go further stops the script instead.
constexpr int max_script_string_bytes = 1 << 24;

// The work the scripts of one frame may do, in units: an instruction costs one, and the native
// work behind instructions is charged by what it touches (string bytes copied, scanned or
// compared, elements made, candidates walked), so that no instruction is cheap to count and
// slow to run. Everything one frame runs (its actions, events, interval timers and listeners,
// for every interpreter) spends from one budget; once it is spent, every script still to run in
// that frame is cut, and the frame says so in one log line.
//
// A frame is the outermost script_frame open; a script run outside any frame (a host call)
// opens one of its own.
class script_budget {
public:
    // Units of one frame: seconds of work, far beyond what any menu script needs.
    static constexpr int64_t default_frame_units = 200000000;
    // Bytes of native string work that cost one unit.
    static constexpr int64_t bytes_per_unit = 16;

    // The units each new frame gets (tests lower it to reach the limit quickly).
    static void set_frame_units(int64_t units);
    static int64_t get_frame_units();

    // Spends units of the frame under way; false once the frame has spent its budget (the
    // first time, logged).
    static bool spend(int64_t units) {
        s_left -= units;
        return s_left >= 0 || report_spent();
    }
    static bool spend_bytes(int64_t bytes) { return spend(bytes / bytes_per_unit); }
    // Whether the frame's budget is spent: scripts stop at their next instruction.
    static bool is_spent() { return s_left < 0; }
    // Spends the rest of the frame's budget and logs "script stopped: " and the reason, unless
    // the frame said already why it stopped.
    static void stop(const char* reason);

private:
    friend class script_frame;

    // Logs that the budget is spent (once per frame); always false.
    static bool report_spent();

    static int64_t s_left;
};

// One frame of script for as long as it lives: the outermost frame starts a full budget, the
// frames opened inside it (a movie advanced from a script, a script run from a frame) share it.
class script_frame {
public:
    script_frame();
    ~script_frame();
    script_frame(const script_frame&) = delete;
    script_frame& operator=(const script_frame&) = delete;

    // Frames open now, the outermost included (0 when no script can be running).
    static int depth();
};

}  // namespace swfplayer
