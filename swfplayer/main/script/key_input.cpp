#include "swfplayer/main/script/key_input.h"

#include "swfplayer/main/script/player.h"

namespace swfplayer {

key_input* find_key_input(player* owner) {
    as_value key;
    if (owner == nullptr || owner->get_global() == nullptr || !owner->get_global()->get_member("Key", &key)) {
        return nullptr;
    }
    as_object* object = key.to_object();
    return object && object->is(AS_KEY) ? static_cast<key_input*>(object) : nullptr;
}

}  // namespace swfplayer
