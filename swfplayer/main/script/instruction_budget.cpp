#include "swfplayer/main/script/instruction_budget.h"

#include "swfplayer/base/log.h"

namespace swfplayer {

instruction_budget::run_scope::run_scope() {
    if (s_running++ == 0) {
        s_left = s_budget;
        s_stopped = false;
    }
}

void instruction_budget::stop_all(const char* reason) {
    if (!s_stopped) {
        log_error("error: script stopped: %s\n", reason);
        s_stopped = true;
    }
    s_left = -1;
}

bool instruction_budget::spent() {
    if (!s_stopped) {
        log_error("error: script stopped after %lld instructions (endless loop?)\n", static_cast<long long>(s_budget));
        s_stopped = true;
    }
    s_left = -1;
    return false;
}

}  // namespace swfplayer
