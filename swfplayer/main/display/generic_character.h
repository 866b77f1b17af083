#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/display/character_def.h"

namespace swfplayer {

// The instance of a definition that needs no behaviour of its own (shapes, morph shapes,
// static text, bitmaps): the definition draws it and answers its hit test.
class generic_character : public character {
public:
    // def must not be null; the instance holds it until destruction.
    generic_character(player* owner, character_def* def, character* parent, int id);

    void display() override;
    character* get_topmost_mouse_entity(float x, float y) override;
    character_def* get_character_def() override { return m_def.get_ptr(); }

private:
    smart_ptr<character_def> m_def;
};

}  // namespace swfplayer
