#pragma once

#include <cstdint>

namespace swfplayer {

class character;

// A frame tag: what a sprite runs when it enters the frame that holds the tag, steps back over
// it, or rebuilds its display list. The frame lists of a definition own their tags.
class execute_tag {
public:
    virtual ~execute_tag() = default;

    // Runs the tag on entering its frame in play.
    virtual void execute(character* /*m*/) {}
    // Applies only the tag's effect on the display list (used when a sprite jumps to a frame).
    virtual void execute_state(character* /*m*/) {}
    // Undoes the tag when the sprite steps back from frame.
    virtual void execute_state_reverse(character* m, int /*frame*/) { execute_state(m); }
    virtual bool is_remove_tag() const { return false; }
    virtual bool is_action_tag() const { return false; }
    // (depth << 16) | id for tags that place or replace a character, else 0xFFFFFFFF.
    virtual uint32_t get_depth_id_of_replace_or_add_tag() const { return 0xFFFFFFFF; }
};

}  // namespace swfplayer
