#pragma once

#include <cstdint>

namespace swfplayer {

// The instructions that script may execute, shared by every interpreter of the player (the
// ActionScript 1/2 one and the AVM2 one): one top-level run, with every call made from it, gets
// one budget, so an endless loop or a self-recursive call ends instead of freezing the game.
class instruction_budget {
public:
    // Instructions one top-level run (with every call made from it) may execute.
    static constexpr int64_t default_budget = 200000000;

    // Counts one run for as long as it lasts; the outermost run starts a fresh budget.
    class run_scope {
    public:
        run_scope();
        ~run_scope() { s_running--; }
        run_scope(const run_scope&) = delete;
        run_scope& operator=(const run_scope&) = delete;
    };

    // Takes one instruction; false once the budget is spent (logged once per top-level run).
    static bool take() { return --s_left >= 0 || spent(); }
    // Takes count instructions at once (the native work behind one instruction).
    static void charge(int64_t count) { s_left -= count; }
    // Ends the run under way and every run it was called from, up to the top-level one.
    static void stop_all(const char* reason);

    // The budget given to each top-level run (tests lower it to reach the limit quickly).
    static void set_budget(int64_t budget) { s_budget = budget; }
    static int64_t get_budget() { return s_budget; }

private:
    // Logs the end of the budget once and keeps it spent; always false.
    static bool spent();

    static inline int s_running = 0;
    static inline int64_t s_budget = default_budget;
    static inline int64_t s_left = 0;
    // Whether the outermost run was stopped (and said so): the runs it called end quietly.
    static inline bool s_stopped = false;
};

}  // namespace swfplayer
