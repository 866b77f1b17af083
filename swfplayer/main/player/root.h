#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/script/movie_root.h"

namespace swfplayer {

class player;
class sprite_instance;

// The top of one playing movie: its definition and root sprite, the frame clock that turns the
// host's elapsed time into whole movie frames, the host's mouse turned into button events, and
// the viewport and background it draws with. The host holds it; the player only links to it.
class root : public movie_root {
public:
    // Registers itself as the player's root; the root sprite is attached by create_instance.
    root(player* owner, movie_def_impl* def);
    ~root() override;

    sprite_instance* get_root_sprite() const;
    movie_def_impl* get_movie_definition() const { return m_def.get_ptr(); }
    player* get_player() const { return m_player.get_ptr(); }

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

    // Forwarded to the root sprite.
    bool goto_labeled_frame(const char* label);
    void set_play_state(character::play_state state);
    character::play_state get_play_state() const;
    int get_current_frame() const;
    void goto_frame(int frame);

    int get_movie_version() const { return m_def->get_version(); }
    int get_movie_width() const { return static_cast<int>(m_def->get_width_pixels()); }
    int get_movie_height() const { return static_cast<int>(m_def->get_height_pixels()); }

    // The character with the keyboard focus; null for none.
    character* get_current_focus() const { return m_current_focus.get_ptr(); }
    void set_current_focus(character* ch) { m_current_focus = ch; }
    // The key goes to the global Key object; a press also to the key listeners.
    void notify_key_event(int code, bool down);

private:
    // Turns the mouse state of this advance into button events (root_mouse.cpp).
    void update_mouse_buttons();
    // Sets the members that the player's flash variables name on the root sprite.
    void apply_flash_vars();

    smart_ptr<movie_def_impl> m_def;
    weak_ptr<player> m_player;
    int m_viewport_x0 = 0;
    int m_viewport_y0 = 0;
    int m_viewport_width = 1;
    int m_viewport_height = 1;
    // The mouse-button state: the entity that takes the events and the one under the mouse.
    smart_ptr<character> m_active_entity;
    smart_ptr<character> m_topmost_entity;
    bool m_mouse_down_last = false;
    bool m_mouse_down_now = false;
    bool m_mouse_inside = false;
    bool m_on_load_done = false;
    smart_ptr<character> m_current_focus;
    float m_time_remainder = 1.0f;
    float m_frame_time = 1.0f;
};

}  // namespace swfplayer
