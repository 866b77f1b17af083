#include "swfplayer/main/display/character_def.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/display/generic_character.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/as_function.h"
#include "swfplayer/main/script/call_method.h"
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

void character_def::set_registered_class_constructor(const as_value& constructor) {
    m_class_function = constructor.to_function();
}

void character_def::construct_symbol_class(character* ch) {
    if (ch == nullptr) {
        return;
    }
    if (m_class_function.get_ptr() == nullptr) {
        m_class_function = bind_symbol_class(ch);
    }
    smart_ptr<as_object> function = m_class_function.get_ptr();
    player* owner = get_player();
    if (function == nullptr || owner == nullptr) {
        return;
    }
    smart_ptr<character> hold(ch);
    as_value constructor(function.get_ptr());
    ch->make_prototype(constructor);
    as_environment env(owner);
    call_method(constructor, &env, as_value(ch), 0, env.get_top_index());
}

}  // namespace swfplayer
