#pragma once

#include "swfplayer/main/common/rgba.h"
#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/script/action_buffer.h"

namespace swfplayer {

class stream;

// The most bytes of actions one buffer keeps; real movies stay far below it.
constexpr int max_action_buffer_bytes = 16 * 1024 * 1024;

// Fills buffer with the action records from the stream's position to the first end action
// (included), reading at most max_bytes and never past the tag's end or the cap above (logged).
// A stream cut short keeps its whole records and gets an end action. The stream only moves
// forward, to just behind the bytes taken; returns their number.
int read_action_buffer(stream* in, action_buffer* buffer, int max_bytes);

// RemoveObject (5) and RemoveObject2 (28): takes the character at a depth off the display list.
class remove_object_2 : public execute_tag {
public:
    // Tag 5 reads the id and the depth, tag 28 the depth only (the id stays -1: any character).
    void read(stream* in, int tag_type);

    // Made and freed through a pool: movies hold thousands of them.
    static void* operator new(size_t size);
    static void operator delete(void* p);

    void execute(character* m) override;
    void execute_state(character* m) override { execute(m); }
    // Puts back what the last earlier placement at the depth put there.
    void execute_state_reverse(character* m, int frame) override;
    bool is_remove_tag() const override { return true; }

    int m_depth = -1;
    int m_id = -1;
};

// SetBackgroundColor (9): the colour goes to the root with the alpha the host set.
class set_background_color : public execute_tag {
public:
    void read(stream* in);

    void execute(character* m) override;
    void execute_state(character* m) override { execute(m); }

    rgba m_color;
};

// DoAction (12) and DoInitAction (59): a block of frame actions, queued on the sprite that runs
// the frame so that it runs after the frame is built.
class do_action : public execute_tag {
public:
    void read(stream* in);

    void execute(character* m) override;
    bool is_action_tag() const override { return true; }

    action_buffer m_buf;
};

}  // namespace swfplayer
