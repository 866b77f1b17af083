#include "swfplayer/main/script/script_budget.h"

#include "swfplayer/base/log.h"

namespace swfplayer {

namespace {

int64_t s_frame_units = script_budget::default_frame_units;
int s_depth = 0;
// Whether the frame under way has said why its scripts stopped.
bool s_reported = false;

}  // namespace

int64_t script_budget::s_left = script_budget::default_frame_units;

void script_budget::set_frame_units(int64_t units) {
    s_frame_units = units;
}

int64_t script_budget::get_frame_units() {
    return s_frame_units;
}

bool script_budget::report_spent() {
    if (!s_reported) {
        s_reported = true;
        log_error("error: script stopped after %lld units of work in one frame (endless loop?)\n",
                  static_cast<long long>(s_frame_units));
    }
    return false;
}

void script_budget::stop(const char* reason) {
    if (!s_reported) {
        s_reported = true;
        log_error("error: script stopped: %s\n", reason);
    }
    s_left = -1;
}

script_frame::script_frame() {
    if (s_depth++ == 0) {
        script_budget::s_left = s_frame_units;
        s_reported = false;
    }
}

script_frame::~script_frame() {
    s_depth--;
}

int script_frame::depth() {
    return s_depth;
}

}  // namespace swfplayer
