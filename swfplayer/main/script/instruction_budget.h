#pragma once

#include <cstdint>

namespace swfplayer {

// Bytes a string that script builds may reach (by concatenation, joining, case mapping or any
// other growth): an operation that would go further stops the script instead.
constexpr int max_script_string_bytes = 1 << 24;

// Bytes of string storage that one frame may add to what all strings held when it began: a frame
// whose strings grow past it stops its scripts. Copies of a string share its bytes, so only new
// text counts; what a frame frees again makes room.
constexpr int64_t max_frame_string_bytes = int64_t{192} << 20;

// The instructions the scripts of one frame may execute, shared by every interpreter of the
// player (the ActionScript 1/2 one and the AVM2 one) and by everything the frame runs: its
// actions, events, interval timers and listeners. The native work behind an instruction is
// charged too, by what it touches (string bytes copied, scanned or compared, elements made), so
// that no instruction is cheap to count and slow to run; every string buffer made or grown
// while a frame runs is charged by its bytes. Once the budget is spent, every script
// still to run in that frame is cut, and the frame says so in one log line; an endless loop or a
// self-recursive call ends instead of freezing the game.
//
// A frame is the outermost run_scope open: a movie's advance opens one, and so does a script run
// outside any frame (a host call), for itself.
class instruction_budget {
public:
    // Instructions of one frame: seconds of work, far beyond what any menu script needs.
    static constexpr int64_t default_budget = 200000000;
    // Bytes of native string work that cost one instruction.
    static constexpr int64_t bytes_per_instruction = 16;

    // One frame of script for as long as it lives: the outermost scope starts a full budget,
    // the scopes opened inside it (a movie advanced from a script, a script run from a frame)
    // share it.
    class run_scope {
    public:
        run_scope();
        ~run_scope();
        run_scope(const run_scope&) = delete;
        run_scope& operator=(const run_scope&) = delete;

        // Scopes open now, the outermost included (0 when no script can be running).
        static int depth() { return s_running; }
    };

    // Takes one instruction; false once the budget is spent (logged once per frame).
    static bool take() { return --s_left >= 0 || spent(); }
    // Takes count instructions at once (the native work behind one instruction); the next take
    // fails when they were more than the budget had left.
    static void charge(int64_t count) { s_left -= count; }
    static void charge_bytes(int64_t bytes) { charge(bytes / bytes_per_instruction); }
    // Whether the frame's budget is spent: scripts stop at their next instruction.
    static bool is_spent() { return s_left < 0; }
    // Spends the rest of the frame's budget and logs "script stopped: " and the reason, unless
    // the frame said already why it stopped.
    static void stop_all(const char* reason);

    // The budget each new frame gets (tests lower it to reach the limit quickly).
    static void set_budget(int64_t budget) { s_budget = budget; }
    static int64_t get_budget() { return s_budget; }

private:
    // Logs the end of the budget once and keeps it spent; always false.
    static bool spent();
    // Told of every string buffer made or grown while a frame runs: charges its bytes, and stops
    // the frame's scripts once its strings pass max_frame_string_bytes.
    static void watch_strings(int64_t added_bytes);

    static inline int s_running = 0;
    static inline int64_t s_budget = default_budget;
    static inline int64_t s_left = default_budget;
    // Whether the frame under way has said why its scripts stopped.
    static inline bool s_stopped = false;
    // What strings held when the frame under way began.
    static inline int64_t s_string_bytes_at_start = 0;
};

}  // namespace swfplayer
