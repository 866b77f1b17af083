#pragma once

#include "swfplayer/base/ref_counted.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/rgba.h"
#include "swfplayer/main/script/listener.h"

#include <vector>

namespace swfplayer {

class as_object;
class movie_definition;
class player;

// The drag record of a movie: the character that follows the mouse, whether it follows it at
// all (lock), and the rectangle (twips) that bounds its position when bounded is set.
struct drag_state {
    weak_ptr<as_object> m_character;
    bool m_lock_center = false;
    bool m_bound = false;
    float m_bound_x0 = 0.0f;
    float m_bound_y0 = 0.0f;
    float m_bound_x1 = 1.0f;
    float m_bound_y1 = 1.0f;
};

// What the clips and scripts of one playing movie share at its top: the root sprite, the
// host's mouse, the drag record, the background, the pixel scale, the keyboard focus and the
// list of objects told about key presses. The player that shows a movie keeps one and feeds it
// the host's input.
class movie_root : public ref_counted {
public:
    // The top sprite of the movie; null until set or once it is gone.
    as_object* get_root_movie() const { return m_movie.get_ptr(); }
    void set_root_movie(as_object* movie) { m_movie = movie; }

    // The host's mouse in pixels; bit 0 of buttons is the left button. None of the three
    // pointers may be null.
    virtual void get_mouse_state(int* x, int* y, int* buttons) const;
    void notify_mouse_state(int x, int y, int buttons);

    virtual float get_pixel_scale() const { return m_pixel_scale; }
    void set_pixel_scale(float scale) { m_pixel_scale = scale; }

    // The object with the keyboard focus (an edit field puts itself here when it takes the
    // focus); null for none.
    as_object* get_current_focus() const { return m_current_focus.get_ptr(); }
    // Gives the focus to object (null: to nobody). The object that had it, when another, hears
    // the kill-focus event first, while it still holds the focus; then the focus moves. A holder
    // that a kill-focus handler names meanwhile hears kill-focus in its turn, so the focus ends
    // on object; only an object that already heard kill-focus in this change and was focused
    // again keeps it (handlers that always refocus end there). Called from a handler while the
    // holder hears kill-focus, the focus moves at once and the holder hears no second one. An
    // object that has left the stage takes no focus: the focus stays where it is, or goes to
    // nobody when object leaves while the holder hears kill-focus.
    void set_current_focus(as_object* object);
    // The kill-focus of object's removal from the stage, its last. A holder hears it as one that
    // loses the focus (a change its handler makes stands and sends it no second kill-focus); when
    // the root still names object afterwards (or names it while giving it the focus), it names
    // nobody. An object that hears the root's kill-focus already hears no second one.
    void send_last_kill_focus(as_object* object);
    // How many times the root has named another holder (or nobody): a caller that reads it before
    // and after running handlers learns whether they moved the focus.
    unsigned get_focus_changes() const { return m_focus_changes; }

    // A key of the host: owner's global Key object records it (logged when owner has none), and
    // a press goes to the key listeners.
    void notify_key_event(player* owner, int key_code, bool down);

    const drag_state& get_drag_state() const { return m_drag_state; }
    void set_drag_state(const drag_state& state) { m_drag_state = state; }
    // ch follows the mouse from now on, unbounded.
    void set_drag_character(as_object* ch);
    void stop_drag() { m_drag_state.m_character = nullptr; }

    const rgba& get_background_color() const { return m_background_color; }
    void set_background_color(const rgba& color) { m_background_color = color; }
    // The background's alpha byte as 0..1.
    float get_background_alpha() const { return m_background_color.a / 255.0f; }

    listener& get_keypress_listener() { return m_keypress_listener; }

    // The frame rate a script asks for (setFPS); the playing root takes it, this base has no
    // frame clock and ignores it.
    virtual void set_frame_rate(float /*fps*/) {}

    // Asks that a new root playing def take this movie's place (a movie loaded into the root
    // movie). The playing root makes it at its next safe point, when no script of this movie
    // is running; true when the request is taken. This base cannot make roots: false.
    virtual bool request_replacement(movie_definition* /*def*/) { return false; }

protected:
    // Forgets what the movie's scripts and the host's input left here, without telling anyone:
    // the key listeners, the focus and the drag record (the movie has been replaced).
    void forget_movie_state();

private:
    // True while object hears kill-focus from this root.
    bool is_losing_focus(const as_object* object) const;
    // Makes object (null: nobody) the holder, counting the change.
    void name_holder(as_object* object);

    smart_ptr<as_object> m_movie;
    int m_mouse_x = 0;
    int m_mouse_y = 0;
    int m_mouse_buttons = 0;
    float m_pixel_scale = 1.0f;
    drag_state m_drag_state;
    rgba m_background_color{0, 0, 0, 255};
    listener m_keypress_listener;
    smart_ptr<as_object> m_current_focus;
    std::vector<as_object*> m_losing_focus;  // the holders hearing kill-focus, innermost last
    unsigned m_focus_changes = 0;
};

}  // namespace swfplayer
