#include "swfplayer/main/script/load_file.h"

#include "swfplayer/base/log.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

namespace {

clip_loader_function s_clip_loader = nullptr;

}  // namespace

void register_clip_loader(clip_loader_function loader) {
    s_clip_loader = loader;
}

as_object* load_file(as_environment* env, const char* url, const as_value& target_value) {
    smart_ptr<as_object> target = env->find_target(target_value);
    if (target == nullptr || !target->is(AS_CHARACTER)) {
        if (get_verbose_action()) {
            log_msg("load_file: target %s is't found\n", target_value.to_string());
        }
        return nullptr;
    }
    const char* name = url ? url : "";
    return s_clip_loader ? s_clip_loader(env->get_player(), target.get_ptr(), name) : nullptr;
}

}  // namespace swfplayer
