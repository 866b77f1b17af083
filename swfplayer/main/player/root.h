#pragma once

#include "swfplayer/base/base_string.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/script/as_value.h"
#include "swfplayer/main/script/movie_root.h"

#include <cstdarg>

namespace swfplayer {

class player;
class sprite_instance;

// The top of one playing movie: its definition and root sprite, the frame clock that turns the
// host's elapsed time into whole movie frames, the host's mouse turned into button events, and
// the viewport and background it draws with. The host holds it; the player only links to it.
//
// A movie that a script loads into the root movie replaces the whole root: the new root is made
// at a safe point of advance (see there), and this one retires. A retired root keeps its old
// movie for the host's questions but plays and shows its replacement: advance and display go on
// to it. A host adopts get_replacement() to let the old movie go.
class root : public movie_root {
public:
    // Registers itself as the player's root; the root sprite is attached by create_instance.
    root(player* owner, movie_def_impl* def);

    // The host's interface, in this order after the mouse state and the pixel scale that
    // movie_root gives. Every forwarder needs the root sprite ("m_movie != NULL") and the
    // definition ("m_def != NULL").
    ~root() override;
    // The root sprite's reserved_checked_query (which no character provides).
    virtual bool reserved_checked_query();
    // Goes to the frame of label; false for a label the movie does not have (logged when verbose
    // action logging is on), which changes nothing.
    virtual bool goto_labeled_frame(const char* label);
    virtual void set_play_state(character::play_state state);
    virtual character::play_state get_play_state() const;
    // Script variables by path (a null path or value is logged and changes nothing); the text
    // of get_variable stays valid until its next call.
    virtual void set_variable(const char* path, const wchar_t* value);
    virtual void set_variable(const char* path, const char* value);
    virtual const char* get_variable(const char* path) const;
    // Calls the root movie's function name with count values, or with arguments described by
    // a format ("%d" int, "%f" double, "%s" text, "%ls" wide text); the result as text, the
    // formatted calls' valid until the next such call.
    virtual base_string call_method(const char* name, const as_value* args, int count);
    virtual const char* call_method(const char* name, const char* format, ...);
    virtual const char* call_method_args(const char* name, const char* format, va_list args);
    // The root movie's visibility: a hidden movie draws nothing.
    virtual void set_visible(bool visible);
    virtual bool get_visible() const;
    // A number the host keeps with the movie; 0 at start.
    virtual int get_user_value() const { return m_user_value; }
    virtual void set_user_value(int value) { m_user_value = value; }
    // The character that the variable path names calls callback(user) after it is drawn.
    virtual void set_display_callback(const char* path, character::display_callback callback, void* user);
    virtual int get_movie_version() const;
    // The frame size in whole pixels.
    virtual int get_movie_width() const;
    virtual int get_movie_height() const;
    virtual float get_movie_fps() const;

    sprite_instance* get_root_sprite() const;
    movie_def_impl* get_movie_definition() const { return m_def.get_ptr(); }
    player* get_player() const { return m_player.get_ptr(); }
    // The root that took this one's place; null while this one plays.
    root* get_replacement() const { return m_replacement.get_ptr(); }

    // Seconds of host time to play: whole frames run once a frame time has gathered (see
    // root.cpp). A negative or non-finite dt counts as 0. Everything one advance runs (interval
    // timers, mouse events, the frame's events and actions) shares one script budget, and the
    // advance ends with the collection of unreachable script objects, unless it was called from
    // inside a script.
    void advance(float dt);
    // Draws the movie into the viewport between the render handler's begin and end of display.
    void display();

    // The viewport in pixels; the pixel scale follows from it and the frame size.
    void set_display_viewport(int x0, int y0, int width, int height);
    // Alpha 0..1 to the background's alpha byte.
    void set_background_alpha(float alpha);
    // Between 1 and 120 frames per second; anything else (NaN too) is ignored.
    void set_frame_rate(float fps) override;
    float get_frame_time() const { return m_frame_time; }
    float get_time_remainder() const { return m_time_remainder; }
    // Takes a whole movie (not a clip's timeline) to replace this one at the next safe point; a
    // later request replaces an earlier one. False for anything else and once retired.
    bool request_replacement(movie_definition* def) override;

    int get_current_frame() const;
    void goto_frame(int frame);

    // The character with the keyboard focus; null for none.
    character* get_current_focus() const { return cast_to_character(movie_root::get_current_focus()); }
    // The key goes to the global Key object; a press also to the key listeners.
    using movie_root::notify_key_event;
    void notify_key_event(int code, bool down);

private:
    // The root sprite, which every forwarder needs.
    sprite_instance* movie() const;
    // One advance of this root's own movie.
    void play(float dt);
    // Turns the mouse state of this advance into button events (root_mouse.cpp).
    void update_mouse_buttons();
    // Sets the members that the player's flash variables name on the root sprite.
    void apply_flash_vars();
    // Makes the requested root, when one was asked for, and retires this one (root_replace.cpp).
    void replace_if_requested();
    // Lets go of what the old movie's scripts and the host's input left behind, silently.
    void retire();

    smart_ptr<movie_def_impl> m_def;
    weak_ptr<player> m_player;
    int m_viewport_x0 = 0;
    int m_viewport_y0 = 0;
    int m_viewport_width = 1;
    int m_viewport_height = 1;
    int m_user_value = 0;
    // The mouse-button state: the entity that takes the events and the one under the mouse.
    smart_ptr<character> m_active_entity;
    smart_ptr<character> m_topmost_entity;
    bool m_mouse_down_last = false;
    bool m_mouse_down_now = false;
    bool m_mouse_inside = false;
    bool m_on_load_done = false;
    float m_time_remainder = 1.0f;
    float m_frame_time = 1.0f;
    // The movie asked for in place of this one, and the root made of it.
    smart_ptr<movie_def_impl> m_requested;
    smart_ptr<root> m_replacement;
};

}  // namespace swfplayer
