#pragma once

#include "swfplayer/main/display/character_def.h"

namespace swfplayer {

class bitmap_info;

// A dictionary entry that holds one renderer bitmap: what bitmap fills of shapes refer to.
class bitmap_character_def : public character_def {
public:
    explicit bitmap_character_def(player* owner) : character_def(owner) {}

    // The renderer's bitmap; it lives at least as long as this definition.
    virtual bitmap_info* get_bitmap_info() const = 0;
};

}  // namespace swfplayer
