#include "swfplayer/main/player/frame_scope.h"

#include "swfplayer/main/swfplayer_as_classes/net_wait_allowance.h"

namespace swfplayer {

frame_scope::frame_scope() {
    if (instruction_budget::run_scope::depth() == 1) {
        net_wait_allowance::begin_frame();
    }
    s_open++;
}

frame_scope::~frame_scope() {
    s_open--;
}

}  // namespace swfplayer
