#pragma once

#include "swfplayer/base/ref_counted.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

class player;

// The shared, immutable definition of one dictionary entry of a movie (shape, bitmap, text,
// font, sound, button, sprite, movie, video). Loaders create definitions and hand them to the
// movie's dictionaries under the 16-bit id read from the tag.
class character_def : public ref_counted {
public:
    // owner must not be null; the definition keeps only a weak link to it.
    explicit character_def(player* owner);
    ~character_def() override;

    // Class test with the ids of as_class_id: true for AS_CHARACTER_DEF only in the base.
    virtual bool is(int class_id) const { return class_id == AS_CHARACTER_DEF; }

    // The owning player, or null once it is gone.
    player* get_player() const { return m_player.get_ptr(); }

    // The dictionary id; -1 until a loader assigns it.
    int m_id = -1;

private:
    weak_ptr<player> m_player;
};

}  // namespace swfplayer
