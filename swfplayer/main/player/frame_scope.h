#pragma once

#include "swfplayer/main/script/instruction_budget.h"

namespace swfplayer {

// One frame of the player for as long as it lives: every movie advanced, script run, movie loaded
// and network call made meanwhile draws on one instruction budget (instruction_budget) and one
// allowance of network waits (net_wait_allowance). The outermost scope starts both full; a scope
// opened inside another shares them.
//
// A movie's advance and a load's precompute open one for themselves, so a movie played alone is a
// frame of its own. A host that plays several movies in one frame of its own opens one around all
// of them (their advances, the calls into their scripts, their FSCommands' handlers, the movies it
// loads): however many movies the host's frame plays, it holds one budget and one allowance.
class frame_scope {
public:
    frame_scope();
    ~frame_scope();
    frame_scope(const frame_scope&) = delete;
    frame_scope& operator=(const frame_scope&) = delete;

    // Whether every run_scope open is a frame's and none a script's: no script is under way, so
    // nothing is held only from the running script's stack and a player may sweep its heap.
    static bool is_outside_scripts() { return instruction_budget::run_scope::depth() == s_open; }

private:
    instruction_budget::run_scope m_run;
    // Frame scopes open now, the outermost included.
    static inline int s_open = 0;
};

}  // namespace swfplayer
