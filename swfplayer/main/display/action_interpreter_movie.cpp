// The interpreter's opcodes that steer the movie. They act on characters, so they are built
// with the display layer; the loop in script/ dispatches to them.
#include "swfplayer/base/base_timer.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/common/finite_float.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/script/action_interpreter.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/load_file.h"
#include "swfplayer/main/script/movie_root.h"
#include "swfplayer/main/script/number_parsing.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/sound/sound_handler.h"

#include <cmath>
#include <cstring>

namespace swfplayer {

namespace {

// The URL prefix that turns a GetURL into an FSCommand to the host, compared exactly.
const char* const fscommand_prefix = "FSCommand:";
constexpr int fscommand_prefix_length = 10;

// The root movie of the current target; the player's root movie when the target has none.
character* root_movie_of(as_environment* env) {
    character* target = cast_to_character(env->get_target());
    if (character* root = target ? target->get_root_movie() : nullptr) {
        return root;
    }
    player* owner = env->get_player();
    return owner ? cast_to_character(owner->get_root_movie()) : nullptr;
}

}  // namespace

void action_interpreter::movie_op(int id) {
    character* target = cast_to_character(m_env->get_target());
    switch (id) {
    case 0x04:
        if (target) {
            target->goto_frame(target->get_current_frame() + 1);
        }
        break;
    case 0x05:
        if (target) {
            target->goto_frame(target->get_current_frame() - 1);
        }
        break;
    case 0x06:
        if (target == nullptr) {
            target = root_movie_of(m_env);
        }
        if (target) {
            target->set_play_state(character::PLAY);
        }
        break;
    case 0x07:
        if (target) {
            target->set_play_state(character::STOP);
        }
        break;
    case 0x09:
        if (sound_handler* sounds = get_sound_handler()) {
            sounds->stop_all_sounds();
        }
        break;
    case 0x20: m_env->set_target(pop(), m_entry_target); break;
    case 0x28:
        if (character* root = root_movie_of(m_env)) {
            root->stop_drag();
        }
        break;
    case 0x34: {
        player* owner = m_env->get_player();
        uint64_t now = base_timer::get_ticks();
        push(as_value(owner ? static_cast<double>(now - owner->get_start_time()) : 0.0));
        break;
    }
    case 0x81:
        if (target) {
            target->goto_frame(u16_at(m_pc + 3));
        }
        break;
    case 0x83: {
        int pc = m_pc + 3;
        base_string url = string_at(&pc, m_next_pc);
        base_string window = string_at(&pc, m_next_pc);
        get_url(url, as_value(window.c_str()));
        break;
    }
    case 0x8B: {
        int pc = m_pc + 3;
        m_env->set_target(as_value(string_at(&pc, m_next_pc).c_str()), m_entry_target);
        break;
    }
    case 0x8C:
        if (target) {
            int pc = m_pc + 3;
            target->goto_labeled_frame(string_at(&pc, m_next_pc).c_str());
        }
        break;
    case 0x8D: pop(); break;  // frames are always loaded
    case 0x9A: {
        as_value window = pop();
        as_value url = pop();
        get_url(url.to_base_string(), window);
        break;
    }
    case 0x9E: {
        as_value frame = pop();
        if (target) {
            target->call_frame_actions(frame);
        }
        break;
    }
    case 0x9F: goto_frame_expression(); break;
    default: break;
    }
}

void action_interpreter::goto_frame_expression() {
    int flags = u8_at(m_pc + 3);
    as_value frame = pop();
    character* target = cast_to_character(m_env->get_target());
    if (target == nullptr) {
        return;
    }
    bool moved = false;
    if (frame.is_string()) {
        double number = 0;
        if (target->goto_labeled_frame(frame.to_string())) {
            moved = true;
        } else if (parse_number(frame.to_string(), &number)) {
            target->goto_frame(as_value(number).to_int());
            moved = true;
        }
    } else if (frame.is_number() && !std::isnan(frame.to_number())) {
        target->goto_frame(frame.to_int());
        moved = true;
    }
    if (moved) {
        target->set_play_state(flags != 0 ? character::PLAY : character::STOP);
    }
}

void action_interpreter::get_url(const base_string& url, const as_value& target) {
    if (url.size() >= fscommand_prefix_length &&
        std::memcmp(url.c_str(), fscommand_prefix, fscommand_prefix_length) == 0) {
        if (fscommand_callback callback = get_fscommand_callback()) {
            callback(root_movie_of(m_env), url.c_str() + fscommand_prefix_length, target.to_string());
        }
        return;
    }
    load_file(m_env, url.c_str(), target);
}

void action_interpreter::property_op(bool set) {
    as_value value = set ? pop() : as_value();
    int number = pop().to_int();
    as_value path = pop();
    smart_ptr<as_object> found = m_env->find_target(path);
    character* c = cast_to_character(found.get_ptr());
    if (set) {
        if (c) {
            set_property(c, number, value);
        }
        return;
    }
    push(c ? resolved(get_property(c, number)) : as_value());
}

void action_interpreter::clone_sprite() {
    int depth = pop().to_int();
    as_value name = pop();
    as_value source = pop();
    as_object* sprite = source.to_object();
    if (sprite == nullptr || !sprite->is(AS_SPRITE)) {
        sprite = m_env->get_variable(source.to_base_string(), m_with_stack).to_object();
    }
    smart_ptr<as_object> hold = sprite;
    if (sprite && sprite->is(AS_SPRITE)) {
        cast_to_character(sprite)->clone_display_object(name.to_base_string(), depth);
    }
}

void action_interpreter::remove_sprite() {
    as_value path = pop();
    smart_ptr<as_object> found = m_env->find_target(path);
    character* c = cast_to_character(found.get_ptr());
    character* parent = c ? c->get_parent() : nullptr;
    if (parent && parent->is(AS_SPRITE)) {
        smart_ptr<character> hold_parent = parent;
        parent->remove_display_object(c);
    }
}

void action_interpreter::trace() {
    player* owner = m_env->get_player();
    as_object* global = owner ? owner->get_global() : nullptr;
    as_value function;
    if (global) {
        global->get_member("trace", &function);
    }
    call_method(function, m_env, as_value(), 1, m_env->get_top_index());
    m_env->drop(1);
}

void action_interpreter::start_drag() {
    as_value target = pop();
    bool lock_center = pop().to_bool();
    bool bound = pop().to_bool();
    drag_state state;
    smart_ptr<as_object> found = m_env->find_target(target);
    character* c = cast_to_character(found.get_ptr());
    if (c == nullptr) {
        log_error("error: start_drag of invalid target '%s'.\n", target.to_string());
    }
    state.m_lock_center = lock_center;
    state.m_bound = bound;
    if (bound) {
        state.m_bound_y1 = finite_or_zero(pop().to_number());
        state.m_bound_x1 = finite_or_zero(pop().to_number());
        state.m_bound_y0 = finite_or_zero(pop().to_number());
        state.m_bound_x0 = finite_or_zero(pop().to_number());
    }
    character* root = root_movie_of(m_env);
    if (c && root) {
        state.m_character = c;
        root->set_drag_state(state);
    }
}

}  // namespace swfplayer
