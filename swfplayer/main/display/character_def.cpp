#include "swfplayer/main/display/character_def.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/display/generic_character.h"
#include "swfplayer/main/script/player.h"

#include <cassert>

namespace swfplayer {

character_def::character_def(player* owner) : m_player(owner) {
    assert(owner);
}

character_def::~character_def() = default;

void character_def::get_bound(rect* r) const {
    // Every definition that can be placed has bounds of its own; one that reaches here was
    // placed from data that names a non-visual entry (a font or a sound) as a character.
    log_error("character_def::get_bound: definition %d has no bounds\n", m_id);
    *r = rect(0.0f, 0.0f, 0.0f, 0.0f);
}

character* character_def::create_character_instance(character* parent, int id) {
    return new generic_character(get_player(), this, parent, id);
}

}  // namespace swfplayer
