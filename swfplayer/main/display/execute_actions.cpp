#include "swfplayer/main/display/execute_actions.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/action_buffer.h"

namespace swfplayer {

void execute_actions(as_environment* env, const array<action_buffer*>& actions) {
    for (int i = 0; i < actions.size(); i++) {
        if (i == max_executed_actions) {
            log_error("execute_actions: more than %d action buffers queued at once; the rest are dropped\n",
                      max_executed_actions);
            return;
        }
        actions[i]->execute(env);
    }
}

}  // namespace swfplayer
