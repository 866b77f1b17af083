#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/cxform.h"
#include "swfplayer/main/common/matrix.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/common/rgba.h"
#include "swfplayer/main/script/as_object.h"

#include <cstdarg>
#include <cstdint>
#include <vector>

namespace swfplayer {

class action_buffer;
class character_def;
class display_list;
class execute_tag;
class movie_definition;
struct drag_state;
struct swf_event;

// A placed instance of a definition and a script object at once: it has a depth, a matrix, a
// colour transform and a name, and scripts read and write its standard members (_x, _alpha,
// _target, ...) by name. The timeline operations (frames, play state, the display list) are
// answered by sprite instances; this base gives the neutral answer (nothing happens, null,
// -1 or false comes back) and logs the calls that only a sprite may receive.
class character : public as_object {
public:
    enum play_state { PLAY = 0, STOP = 1 };

    // A host function called after the character was drawn.
    typedef void (*display_callback)(void* user);

    character(player* owner, character* parent, int id);
    ~character() override;

    // Script object.
    bool is(int class_id) const override { return class_id == AS_CHARACTER || as_object::is(class_id); }
    bool set_member(const base_stringi& name, const as_value& value) override;
    bool get_member(const base_stringi& name, as_value* value) override;
    bool is_active() const override { return m_active; }
    // Off the stage for good: this character or a clip that holds it has left the stage, or the
    // clip that held it is gone (only a removed clip dies while its children live on).
    bool has_left_stage() const override;

    // The character operations, in the order of the interface. Those named reserved_* hold
    // their places with fixed answers: nothing in the player asks them for anything else, and
    // the checked ones log a call as one that no character provides.

    // Mouse.
    // The character under the point (twips, in the parent's space) that takes mouse events.
    virtual character* get_topmost_mouse_entity(float /*x*/, float /*y*/) { return nullptr; }
    // The host's mouse in pixels; zeros when no root answers.
    virtual void get_mouse_state(int* x, int* y, int* buttons);
    virtual bool reserved_false_query() const { return false; }
    virtual float get_pixel_scale() { return 1.0f; }
    virtual as_object* reserved_null_query(int /*argument*/) { return nullptr; }

    // Definitions and host calls into script. Only sprites answer the calls; other characters
    // log them and answer empty.
    virtual movie_definition* get_movie_definition();
    virtual character_def* find_exported_resource(const base_string& name);
    // Calls the member function name with the arguments; the result as text.
    virtual base_string call_method(const char* name, const as_value* args, int nargs);
    // The same with arguments described by a format ("%d", "%f", "%s", "%ls"); the text stays
    // valid until the next such call.
    virtual const char* call_method(const char* name, const char* format, ...);
    virtual const char* call_method_args(const char* name, const char* format, va_list args);

    // Timeline.
    virtual void set_play_state(play_state /*state*/) {}
    virtual play_state get_play_state() const;
    virtual bool goto_labeled_frame(const char* label);
    // The placement tag that last put a character at depth (with id, or any id for -1) in the
    // frames before frame; null when none.
    virtual execute_tag* find_previous_place_tag(int frame, int depth, int id);

    // Display list.
    virtual void clear_display_objects() {}
    virtual void remove_display_object(const base_string& name);
    // Removes what lies at depth (with id, or any character for -1).
    virtual void remove_display_object(int depth, int id);
    virtual void remove_display_object(character* ch);
    // A new instance of def in this character's place (name, depth, transforms, ratio, clip
    // depth), which it returns; null when it cannot take the place.
    virtual character* replace_me(movie_definition* def);
    virtual character* replace_me(character_def* def);
    virtual character* add_display_object(uint16_t character_id, const base_string& name,
                                          const array<swf_event*>& event_handlers, int depth,
                                          bool replace_if_depth_is_occupied, const cxform& color_transform,
                                          const matrix& mat, float ratio, uint16_t clip_depth);
    virtual void move_display_object(int depth, bool use_cxform, const cxform& color_transform, bool use_matrix,
                                     const matrix& mat, float ratio, uint16_t clip_depth);
    virtual void replace_display_object(character* ch, const base_string& name, int depth, bool use_cxform,
                                        const cxform& color_transform, bool use_matrix, const matrix& mat, float ratio,
                                        uint16_t clip_depth);
    virtual void replace_display_object(uint16_t character_id, const base_string& name, int depth, bool use_cxform,
                                        const cxform& color_transform, bool use_matrix, const matrix& mat, float ratio,
                                        uint16_t clip_depth);
    virtual void execute_frame_tags(int /*frame*/, bool /*state_only*/) {}

    // Actions.
    // Queues a frame's actions to run after the frame is built; only sprites run actions.
    virtual void add_action_buffer(action_buffer* buffer);
    // Runs the buffers at once in this character's environment.
    virtual void do_actions(const array<action_buffer*>& actions);
    // A copy of the child named name at depth (duplicateMovieClip); null when not a sprite.
    virtual character* clone_display_object(const base_string& name, int depth);

    // Dragging, frame actions and the root's background.
    virtual void get_drag_state(drag_state* state);
    virtual void set_drag_state(const drag_state& state);
    virtual void stop_drag();
    // Runs the action tags of a frame (a number from 1 or a label) at once.
    virtual void call_frame_actions(const as_value& frame_spec);
    virtual void set_background_color(const rgba& color);
    virtual void reserved_operation(int /*argument*/) {}
    // The host's background alpha as 0..1.
    virtual float get_background_alpha() { return 1.0f; }
    virtual void reserved_operation(int /*a*/, int /*b*/, int /*c*/, int /*d*/) {}
    virtual int reserved_count();
    virtual void reserved_checked_operation(int argument);

    // Script variables by path, for the host: only the root movie answers them (see
    // sprite_instance). get_variable's text stays valid until its next call.
    virtual void set_variable(const char* path, const wchar_t* value);
    virtual void set_variable(const char* path, const char* value);
    virtual const char* get_variable(const char* path);
    // The character that path names gets the display callback.
    virtual void set_display_callback(const char* path, display_callback callback, void* user);

    // Transforms and bounds.
    // The matrix from this character's space to the stage, and the colour transform it shows with.
    virtual matrix get_world_matrix() const;
    virtual cxform get_world_cxform() const;
    virtual void display() {}
    // Width and height of the bounds (twips, parent's space); 0 for an empty or broken bound.
    virtual float get_height();
    virtual float get_width();
    // The bounds in the parent's space, twips.
    virtual void get_bound(rect* r);
    virtual character_def* get_character_def();
    // The top sprite of the movie; null when there is none.
    virtual character* get_root_movie();

    // Frames.
    virtual int get_current_frame() const { return -1; }
    virtual int get_frame_count() const { return -1; }
    virtual int get_loading_frame() const { return -1; }
    virtual bool reserved_checked_query();
    virtual void goto_frame(int /*target_frame*/) {}
    // Whether the timeline's moves (PlaceObject on an occupied depth) still place this
    // character; a display list asks before it moves one.
    virtual bool accepts_timeline_moves() const { return true; }

    virtual void set_visible(bool visible) { m_visible = visible; }
    virtual bool get_visible() const { return m_visible; }
    virtual void set_display_callback(display_callback callback, void* user);
    virtual void do_display_callback();

    // Events.
    virtual bool has_keypress_event() { return false; }
    virtual bool can_handle_mouse_event() { return false; }
    // Whether the character is drawn at all; displays ask before they draw.
    virtual bool is_displayable() const { return true; }
    virtual as_object* reserved_null_query_a() { return nullptr; }
    virtual as_object* reserved_null_query_b() { return nullptr; }
    virtual as_object* reserved_null_query_c() { return nullptr; }
    virtual double reserved_zero_query() const { return 0.0; }
    virtual bool is_enabled() const { return true; }

    // The per-frame drag step: when this is the dragged character of its root, it follows the
    // host's mouse.
    void do_mouse_drag();

    // The parent, or null for a root movie or once the parent is gone.
    character* get_parent() const { return m_parent.get_ptr(); }
    int get_depth() const { return m_depth; }
    void set_depth(int depth) { m_depth = depth; }
    int get_id() const { return m_id; }
    const base_string& get_name() const { return m_name; }
    // The display lists that hold the character index it by name and hear of a new one.
    void set_name(const base_string& name);
    // A display list that holds the character (one, or two while a character is shared by two
    // movies) enters and leaves itself here.
    void add_holding_list(display_list* list) { m_holding_lists.push_back(list); }
    void remove_holding_list(display_list* list);
    const cxform& get_cxform() const { return m_color_transform; }
    void set_cxform(const cxform& cx) { m_color_transform = cx; }
    const matrix& get_matrix() const { return m_matrix; }
    void set_matrix(const matrix& m) { m_matrix = m; }
    float get_ratio() const { return m_ratio; }
    void set_ratio(float ratio) { m_ratio = ratio; }
    uint16_t get_clip_depth() const { return m_clip_depth; }
    void set_clip_depth(uint16_t clip_depth) { m_clip_depth = clip_depth; }
    // Display lists mark what they hold as on the stage; a root movie is on it from the start.
    void set_active(bool active) { m_active = active; }
    // A display list marks a character whose removal begins, before its children are removed and
    // it hears its last kill-focus; a removed character, and whatever is placed into it later, is
    // never on the stage again.
    void leave_stage() { m_left_stage = true; }
    // The frame tag that placed this child: frame << 32 | the tag's index in the frame; -1 for a
    // child placed by script.
    int64_t get_place_key() const { return m_place_key; }
    void set_place_key(int64_t key) { m_place_key = key; }

    // The dictionary id of the definition (-1 or 0 for instances made by script).
    int m_id;
    // Whether the world colour transform includes the parent's.
    bool m_inherit_cxform = true;

protected:
    // The "_target" path of this character ("/" for a root).
    base_string get_target_path();
    // The host's mouse mapped into this character's space, twips.
    point get_local_mouse();

private:
    weak_ptr<character> m_parent;
    // Whether the character was made with a parent, which then dies only off the stage.
    bool m_had_parent;
    base_string m_name;
    std::vector<display_list*> m_holding_lists;
    int m_depth = 0;
    cxform m_color_transform;
    matrix m_matrix;
    float m_ratio = 0.0f;
    uint16_t m_clip_depth = 0;
    bool m_visible = true;
    bool m_active = false;
    bool m_left_stage = false;
    int64_t m_place_key = -1;
    display_callback m_display_callback = nullptr;
    void* m_display_callback_user = nullptr;
};

// The object as a character, or null when it is none.
character* cast_to_character(as_object* object);

}  // namespace swfplayer
