#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/loading/button_character_definition.h"

#include <vector>

namespace swfplayer {

// A button on a display list. It shows the records of its mouse state, answers the mouse for its
// hit-test records, and on mouse transitions and key presses plays its sounds and has its parent
// run the matching actions.
class button_character_instance : public character {
public:
    // Mouse states; a new button is up.
    enum mouse_state { UP = 0, DOWN = 1, OVER = 2 };

    // Builds one child per record, placed by the record's matrix and colour transform. A record
    // gets no child when its character is not in the dictionary or is this button or one of its
    // ancestors, nor when the button is nested deeper than max_nesting or the outermost button
    // under construction has built max_children_built children (nested buttons' included).
    button_character_instance(player* owner, button_character_definition* def, character* parent, int id);
    ~button_character_instance() override;

    // Characters above a button, at most, for it to build its children.
    static constexpr int max_nesting = 64;
    static constexpr int max_children_built = 4096;

    // Mouse events (press, release, release outside, roll over, roll out, drag over, drag out)
    // set the mouse state, play the transition's sound and run the actions whose conditions
    // match; key presses run the actions of that key. True when an action ran. A button whose
    // parent is gone answers nothing; one removed by its own action finishes the event safely.
    bool on_event(const event_id& id) override;
    // The drag step, then the children shown now advance; the others are only kept alive.
    void advance(float delta_time) override;
    // This button when a hit-test record's child is under the point (twips, parent's space).
    character* get_topmost_mouse_entity(float x, float y) override;
    void execute_frame_tags(int frame, bool state_only) override;
    void display() override;
    // The union of the shown children's bounds in the parent's space; untouched without records.
    void get_bound(rect* r) override;
    character_def* get_character_def() override { return m_def.get_ptr(); }
    bool has_keypress_event() override { return m_def->has_key_actions(); }
    bool can_handle_mouse_event() override { return true; }

    // Also the children of every state.
    void this_alive(player* marker) override;

    // The mouse state shown: UP, DOWN or OVER.
    int get_button_state() const { return m_mouse_state; }

private:
    // The child of record i when it shows in the current mouse state, else null.
    character* shown_child(size_t i) const;
    void play_sound(const event_id& id);
    // The parent runs the action's buffers in its environment.
    static void run(character* parent, const button_action& action);

    smart_ptr<button_character_definition> m_def;
    // One slot per record, in record order; null where the record has no child.
    std::vector<smart_ptr<character>> m_record_character;
    int m_mouse_state = UP;
};

}  // namespace swfplayer
