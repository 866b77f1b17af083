#include "swfplayer/main/script/instruction_budget.h"

#include "swfplayer/base/base_string.h"
#include "swfplayer/base/log.h"

namespace swfplayer {

instruction_budget::run_scope::run_scope() {
    if (s_running++ == 0) {
        s_left = s_budget;
        s_stopped = false;
        s_string_bytes_at_start = base_string::storage_bytes();
        base_string::set_storage_watch(&instruction_budget::watch_strings);
    }
}

instruction_budget::run_scope::~run_scope() {
    if (--s_running == 0) {
        base_string::set_storage_watch(nullptr);
    }
}

void instruction_budget::watch_strings(int64_t added_bytes) {
    charge_bytes(added_bytes);
    if (base_string::storage_bytes() - s_string_bytes_at_start > max_frame_string_bytes) {
        stop_all("string memory past its bound for one frame");
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
