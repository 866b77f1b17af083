#pragma once

#include "swfplayer/base/array.h"

namespace swfplayer {

class action_buffer;
class as_environment;

// Buffers one execute_actions call runs at most; a list that keeps growing while it runs is cut
// off there.
constexpr int max_executed_actions = 65536;

// Runs each buffer of actions in env, from the first. The list's size is read again before
// each step, so buffers appended while it runs are run too.
void execute_actions(as_environment* env, const array<action_buffer*>& actions);

}  // namespace swfplayer
