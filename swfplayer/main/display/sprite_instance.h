#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/display/display_list.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/script/as_environment.h"

#include <cstdint>
#include <map>

namespace swfplayer {

class canvas;
class movie_root;

// A timeline instance: the root movie of a player or a movie clip inside it. It owns a display
// list, plays the frames of its definition by running each frame's tags, queues the frame's
// action buffers and runs them in its own script environment, delivers the clip events, and
// answers the movie-clip operations scripts call.
class sprite_instance : public character {
public:
    // Sprites placed inside sprites deeper than this are refused, so a clip that places itself
    // (directly or through others) cannot recurse without end.
    static constexpr int max_nesting = 64;
    // Characters one player may hold alive. Nesting alone does not bound a timeline whose clips
    // each place several copies of themselves (the count doubles at every level), so placements
    // past this many are refused; real movies hold a few hundred.
    static constexpr int max_characters = 20000;
    // Rounds of actions queued by actions that one frame step runs before it gives up.
    static constexpr int max_action_rounds = 1000;
    // Nested call_frame_actions runs allowed at once.
    static constexpr int max_call_frame_depth = 16;

    // def must not be null; root may be null for a clip that lives outside a playing movie.
    sprite_instance(player* owner, movie_definition_sub* def, movie_root* root, character* parent, int id);
    ~sprite_instance() override;

    // Script object.
    bool is(int class_id) const override { return class_id == AS_SPRITE || character::is(class_id); }
    const char* typeof() override { return "movieclip"; }
    as_environment* get_environment() override { return &m_environment; }
    bool get_member(const base_stringi& name, as_value* value) override;
    bool set_member(const base_stringi& name, const as_value& value) override;
    bool on_event(const event_id& id) override;
    void enumerate(as_environment* env) override;
    void clear_refs(as_object_set* visited, as_object* target) override;
    // Also the children, the environment's values and the frame scripts.
    void this_alive(player* marker) override;
    void dump(base_string& indent) override;

    // One frame step (see sprite_instance.cpp).
    void advance(float delta_time) override;
    void display() override;
    void get_bound(rect* r) override;
    character* get_topmost_mouse_entity(float x, float y) override;
    character_def* get_character_def() override { return m_def.get_ptr(); }

    // The root and the things it keeps.
    void get_mouse_state(int* x, int* y, int* buttons) override;
    float get_pixel_scale() override;
    void get_drag_state(drag_state* state) override;
    void set_drag_state(const drag_state& state) override;
    void stop_drag() override;
    void set_background_color(const rgba& color) override;
    float get_background_alpha() override;
    character* get_root_movie() override;
    movie_root* get_movie_root() const { return m_root.get_ptr(); }

    movie_definition* get_movie_definition() override { return m_def.get_ptr(); }
    character_def* find_exported_resource(const base_string& name) override;

    // The host's calls into script (sprite_instance_host.cpp). The function is looked up by
    // name among this sprite's members (call_method with values) or by path from it (with a
    // format), and runs with this sprite as "this"; the result comes back as text.
    using character::call_method;
    base_string call_method(const char* name, const as_value* args, int nargs) override;
    const char* call_method_args(const char* name, const char* format, va_list args) override;
    // Variables by path, for the root movie only (a clip with a parent logs the call and does
    // nothing): a null path or value is logged and changes nothing; get_variable's text stays
    // valid until its next call.
    void set_variable(const char* path, const wchar_t* value) override;
    void set_variable(const char* path, const char* value) override;
    const char* get_variable(const char* path) override;
    // The character that the variable path names gets the callback.
    using character::set_display_callback;
    void set_display_callback(const char* path, display_callback callback, void* user) override;
    // The root's frame rate: 1 to 120 frames per second, anything else is ignored.
    void set_fps(float fps);

    // Timeline (sprite_instance_frames.cpp).
    // Pauses or resumes the timeline's stream sound at the sound handler as the state changes.
    void set_play_state(play_state state) override;
    play_state get_play_state() const override { return m_play_state; }
    bool goto_labeled_frame(const char* label) override;
    // A frame number counted from 1, or a label.
    void goto_frame(const base_string& target);
    void goto_frame(int target_frame) override;
    execute_tag* find_previous_place_tag(int frame, int depth, int id) override;
    void execute_frame_tags(int frame, bool state_only) override;
    int get_current_frame() const override { return m_current_frame; }
    int get_frame_count() const override { return m_def->get_frame_count(); }
    int get_loading_frame() const override;
    void call_frame_actions(const as_value& frame_spec) override;
    void add_action_buffer(action_buffer* buffer) override { m_action_list.push_back(buffer); }
    void do_actions(const array<action_buffer*>& actions) override;

    // Display list (sprite_instance_children.cpp).
    void clear_display_objects() override { m_display_list.clear(); }
    void remove_display_object(const base_string& name) override;
    void remove_display_object(int depth, int id) override { m_display_list.remove_display_object(depth, id); }
    void remove_display_object(character* ch) override { m_display_list.remove_display_object(ch); }
    character* add_display_object(uint16_t character_id, const base_string& name,
                                  const array<swf_event*>& event_handlers, int depth, bool replace_if_depth_is_occupied,
                                  const cxform& color_transform, const matrix& mat, float ratio,
                                  uint16_t clip_depth) override;
    void move_display_object(int depth, bool use_cxform, const cxform& color_transform, bool use_matrix,
                             const matrix& mat, float ratio, uint16_t clip_depth) override;
    void replace_display_object(character* ch, const base_string& name, int depth, bool use_cxform,
                                const cxform& color_transform, bool use_matrix, const matrix& mat, float ratio,
                                uint16_t clip_depth) override;
    void replace_display_object(uint16_t character_id, const base_string& name, int depth, bool use_cxform,
                                const cxform& color_transform, bool use_matrix, const matrix& mat, float ratio,
                                uint16_t clip_depth) override;
    int get_highest_depth() const { return m_display_list.get_highest_depth(); }
    display_list& get_display_list() { return m_display_list; }

    // Children made by scripts and the host (sprite_instance_clips.cpp). Depths are display
    // depths; every new child replaces what stood at its depth.
    // A copy of this sprite placed in its parent under name at depth, with this sprite's
    // transforms, members and drawing; null (logged) for the root movie.
    character* clone_display_object(const base_string& name, int depth) override;
    // An instance of the sprite exported as export_name, named new_name, that has run its first
    // frame; null when the name is not exported or not a sprite.
    character* attach_movie(const base_string& export_name, const base_string& new_name, int depth);
    // An instance of def (parent, name, depth and transforms of this sprite) in this sprite's
    // place; null (logged) for the root movie or without def.
    character* replace_me(character_def* def) override;
    // A new sprite of def (id -1) in this sprite's place, returned. The root movie is replaced
    // by a new root of def (a whole movie) at its root's next safe point, once no script of this
    // movie runs; it returns itself meanwhile, and null when def is not a whole movie or the
    // root refuses.
    character* replace_me(movie_definition* def) override;
    // The function runs at the end of the frame step that reaches frame (0 <= frame < frame
    // count, else ignored); for the current frame it is pending at once. Null removes it.
    void add_frame_script(int frame, as_object* function);
    // Whether a corner of the target's box lies inside this sprite's box, both boxes spanning
    // width and height from the translation of the world matrix.
    bool hit_test(character* target);

    // The same, built with the definitions they make (sprite_instance_movies.cpp).
    // A new empty clip named name at depth.
    character* create_empty_movieclip(const base_string& name, int depth);
    // Byte counts of the definition when it is a whole movie, else 0.
    int get_file_bytes() const;
    int get_loaded_bytes() const;

    // A text field of width by height pixels at (x, y) pixels, named name, at depth; its
    // definition is its own (sprite_instance_text.cpp).
    character* create_text_field(const base_string& name, int depth, int x, int y, int width, int height);

    // The drawing canvas (sprite_instance_canvas.cpp): made on first use and shown above every
    // child present then, at that depth; the same one afterwards. drop_canvas takes it off the
    // display list and forgets it, so the next get_canvas makes a new, empty one on top; nothing
    // when there is no canvas.
    canvas* get_canvas();
    void drop_canvas();

    // Events.
    bool has_keypress_event() override;
    bool can_handle_mouse_event() override;
    bool is_enabled() const override;

private:
    // Whether this is the root movie; otherwise the host's call of operation is logged.
    bool is_root_movie(const char* operation) const;
    // Whether the host's variable write may go ahead: on the root movie, with a path and a
    // value (each missing one logged).
    bool can_set_variable(const char* path, bool has_value) const;
    // Runs the frame's queued actions, and those they queue, each round swapped out first.
    void run_action_list();
    // How many sprites enclose this one.
    int get_nesting() const;
    // Whether a new child may be made here: false, with a log line naming operation, when clips
    // are nested max_nesting deep already or the player holds max_characters.
    bool may_add_child(const char* operation) const;
    // A new instance of def placed at depth, named, with its clip-event handlers as members.
    character* place_new_child(character_def* def, uint16_t character_id, const base_string& name,
                               const array<swf_event*>& event_handlers, int depth, bool replace_if_depth_is_occupied,
                               const cxform& color_transform, const matrix& mat, float ratio, uint16_t clip_depth);
    // Runs the init actions of frame at once, the first time the frame is reached.
    void run_init_actions(int frame);
    // Starts the timeline's stream sound again when it begins at frame.
    void restart_stream_sound_at(int frame);
    // Makes frame's script, when one is attached, the pending frame script; a script pending for
    // another frame is dropped.
    void take_frame_script(int frame);
    // Takes the queued actions from index top on off the queue.
    array<action_buffer*> take_actions_from(int top);
    // Brings the children placed by frame tags into line with what frames 0 to frame place.
    void rebuild_to_frame(int frame);
    // Calls the pending frame script once, dropping it first.
    void run_pending_frame_script();
    // Gives clone a canvas with a copy of this sprite's drawing, when this sprite has one.
    void copy_canvas_to(sprite_instance* clone);

    smart_ptr<movie_definition_sub> m_def;
    weak_ptr<movie_root> m_root;
    display_list m_display_list;
    array<action_buffer*> m_action_list;
    array<action_buffer*> m_goto_action_list;
    play_state m_play_state = PLAY;
    int m_current_frame = 0;
    array<uint8_t> m_init_actions_executed;
    as_environment m_environment;
    bool m_enabled = true;
    bool m_has_advanced = false;
    int m_call_frame_depth = 0;
    // The place key of the frame tag running now (see character::get_place_key).
    int64_t m_executing_place_key = -1;
    // The character that shows the drawing canvas; null until asked for.
    smart_ptr<character> m_canvas_child;
    // Script functions by frame index (addFrameScript), and the one the current frame step runs.
    std::map<int, smart_ptr<as_object>> m_frame_scripts;
    smart_ptr<as_object> m_pending_frame_script;
};

// The object as a sprite instance, or null when it is none.
sprite_instance* cast_to_sprite_instance(as_object* object);

}  // namespace swfplayer
