#include "swfplayer/main/swfplayer_as_classes/script_handler.h"

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/call_method.h"

namespace swfplayer {

bool call_handler(as_object* self, const char* name, std::initializer_list<as_value> args) {
    smart_ptr<as_object> hold(self);
    as_value handler;
    if (self == nullptr || !self->get_member(name, &handler)) {
        return false;
    }
    as_environment env(self->get_player());
    for (auto arg = std::rbegin(args); arg != std::rend(args); ++arg) {
        env.push(*arg);
    }
    int nargs = static_cast<int>(args.size());
    call_method(handler, &env, as_value(self), nargs, env.get_top_index());
    env.drop(nargs);
    return true;
}

}  // namespace swfplayer
