#include "swfplayer/main/display/character_def.h"

#include "swfplayer/main/script/player.h"

#include <cassert>

namespace swfplayer {

character_def::character_def(player* owner) : m_player(owner) {
    assert(owner);
}

character_def::~character_def() = default;

}  // namespace swfplayer
