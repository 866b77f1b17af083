#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/cxform.h"
#include "swfplayer/main/common/matrix.h"
#include "swfplayer/main/common/rgba.h"
#include "swfplayer/main/script/as_object.h"

#include <cstdint>

namespace swfplayer {

class action_buffer;
class execute_tag;
struct drag_state;
struct swf_event;

// A placed instance of a definition and a script object at once. This base carries the
// operations that frame tags call on the sprite that runs them; the base behaviour is the
// neutral one (nothing happens, null or 1.0 comes back), and sprite instances override them.
class character : public as_object {
public:
    enum play_state { PLAY = 0, STOP = 1 };

    character(player* owner, character* parent, int id);
    ~character() override;

    bool is(int class_id) const override { return class_id == AS_CHARACTER || as_object::is(class_id); }

    // The parent, or null for a root movie or once the parent is gone.
    character* get_parent() const { return m_parent.get_ptr(); }

    // The placement tag that last put a character at depth (with id, or any id for -1) in the
    // frames before frame; null when none.
    virtual execute_tag* find_previous_place_tag(int frame, int depth, int id);
    // Removes what lies at depth (with id, or any character for -1).
    virtual void remove_display_object(int depth, int id);
    virtual character* add_display_object(uint16_t character_id, const base_string& name,
                                          const array<swf_event*>& event_handlers, int depth,
                                          bool replace_if_depth_is_occupied, const cxform& color_transform,
                                          const matrix& mat, float ratio, uint16_t clip_depth);
    virtual void move_display_object(int depth, bool use_cxform, const cxform& color_transform, bool use_matrix,
                                     const matrix& mat, float ratio, uint16_t clip_depth);
    virtual void replace_display_object(uint16_t character_id, const base_string& name, int depth, bool use_cxform,
                                        const cxform& color_transform, bool use_matrix, const matrix& mat, float ratio,
                                        uint16_t clip_depth);
    // Queues a frame's actions to run after the frame is built; only sprites run actions.
    virtual void add_action_buffer(action_buffer* buffer);
    virtual void set_background_color(const rgba& color);
    // The host's background alpha as 0..1.
    virtual float get_background_alpha() { return 1.0f; }

    // Timeline, display list and dragging as scripts steer them; sprites answer them.
    virtual void set_play_state(play_state /*state*/) {}
    virtual play_state get_play_state() const { return STOP; }
    virtual bool goto_labeled_frame(const char* /*label*/) { return false; }
    virtual int get_current_frame() const { return -1; }
    virtual void goto_frame(int /*target_frame*/) {}
    // Runs the action tags of a frame (a number from 1 or a label) at once.
    virtual void call_frame_actions(const as_value& /*frame_spec*/) {}
    virtual void remove_display_object(character* /*ch*/) {}
    // A copy of this clip named name at depth of its parent (duplicateMovieClip); null when not a sprite.
    virtual character* clone_display_object(const base_string& /*name*/, int /*depth*/) { return nullptr; }
    virtual void set_drag_state(const drag_state& /*state*/) {}
    virtual void stop_drag() {}

    // The dictionary id of the definition (-1 or 0 for instances made by script).
    int m_id;

private:
    weak_ptr<character> m_parent;
};

}  // namespace swfplayer
