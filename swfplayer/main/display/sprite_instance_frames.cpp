#include "swfplayer/base/log.h"
#include "swfplayer/main/display/execute_actions.h"
#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/display/timeline_model.h"
#include "swfplayer/main/sound/sound_handler.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <unordered_map>
#include <vector>

namespace swfplayer {

namespace {

// Takes a frame's tags for their effects other than on the display list (actions, the
// background), which it hands on to the sprite; placements, moves and removals do nothing.
class frame_effects : public character {
public:
    explicit frame_effects(sprite_instance* target) : character(target->get_player(), nullptr, -1), m_target(target) {}
    void add_action_buffer(action_buffer* buffer) override { m_target->add_action_buffer(buffer); }
    void set_background_color(const rgba& color) override { m_target->set_background_color(color); }
    float get_background_alpha() override { return m_target->get_background_alpha(); }

private:
    sprite_instance* m_target;
};

// A script number as a frame index; values that are no int become -1 (no frame).
int to_frame_index(double value) {
    value = std::trunc(value);
    return value >= 0.0 && value <= INT_MAX ? static_cast<int>(value) : -1;
}

}  // namespace

bool sprite_instance::goto_labeled_frame(const char* label) {
    int frame = -1;
    if (m_def->get_labeled_frame(label, &frame)) {
        goto_frame(frame);
        return true;
    }
    if (get_verbose_action()) {
        log_error("error: movie_impl::goto_labeled_frame('%s') unknown label\n", label);
    }
    return false;
}

void sprite_instance::goto_frame(const base_string& target) {
    const char* text = target.c_str();
    char* end = nullptr;
    double number = std::strtod(text, &end);
    if (end != text && *end == '\0') {
        int frame = to_frame_index(number);
        goto_frame(frame > 0 ? frame - 1 : -1);
    } else {
        goto_labeled_frame(text);
    }
}

// Going forward applies the display-list effect of the frames in between, then runs the
// target frame. Going back brings the children into line with what the timeline shows at the
// target frame (keeping the instances it still shows), then runs the target frame's other
// effects, its stream sound and its frame script as running its tags would. Either way the
// target frame's actions wait for the next advance and its frame script for the end of it.
void sprite_instance::goto_frame(int target_frame) {
    if (target_frame < 0 || target_frame >= get_frame_count() || target_frame == m_current_frame) {
        m_play_state = STOP;
        return;
    }
    smart_ptr<sprite_instance> hold(this);
    if (target_frame > m_current_frame) {
        for (int frame = m_current_frame + 1; frame < target_frame; frame++) {
            execute_frame_tags(frame, true);
        }
        m_action_list.clear();
        execute_frame_tags(target_frame, false);
    } else {
        rebuild_to_frame(target_frame);
        m_action_list.clear();
        run_init_actions(target_frame);
        frame_effects effects(this);
        for (execute_tag* tag : m_def->get_playlist(target_frame)) {
            tag->execute(&effects);
        }
        restart_stream_sound_at(target_frame);
        take_frame_script(target_frame);
    }
    m_current_frame = target_frame;
    m_play_state = STOP;
    m_goto_action_list = m_action_list;
    m_action_list.clear();
}

void sprite_instance::rebuild_to_frame(int frame) {
    timeline_model model(get_player(), m_def.get_ptr());
    model.play_to(frame);
    const std::vector<timeline_model::entry>& entries = model.entries();
    std::unordered_map<int64_t, size_t> by_key;
    for (size_t i = 0; i < entries.size(); i++) {
        by_key.emplace(entries[i].m_place_key, i);
    }
    std::vector<smart_ptr<character>> placed(entries.size());
    std::vector<smart_ptr<character>> children;
    for (int i = 0; i < m_display_list.size(); i++) {
        children.push_back(m_display_list.get_character(i));
    }
    for (const smart_ptr<character>& ch : children) {
        if (ch->get_place_key() < 0) {
            continue;  // placed by script: the timeline does not own it
        }
        auto found = by_key.find(ch->get_place_key());
        if (found == by_key.end() || placed[found->second] || entries[found->second].m_depth != ch->get_depth() ||
            entries[found->second].m_id != ch->get_id()) {
            m_display_list.remove_display_object(ch.get_ptr());
            continue;
        }
        const timeline_model::entry& e = entries[found->second];
        placed[found->second] = ch;
        ch->set_cxform(e.m_color_transform);
        ch->set_matrix(e.m_matrix);
        ch->set_ratio(e.m_ratio);
        ch->set_clip_depth(e.m_clip_depth);
    }
    for (size_t i = 0; i < entries.size(); i++) {
        const timeline_model::entry& e = entries[i];
        character_def* def = m_def->get_character_def(e.m_id);
        if (placed[i] || def == nullptr) {
            continue;
        }
        m_executing_place_key = e.m_place_key;
        placed[i] = place_new_child(def, e.m_id, e.m_name, e.m_event_handlers, e.m_depth, false, e.m_color_transform,
                                    e.m_matrix, e.m_ratio, e.m_clip_depth);
    }
    m_executing_place_key = -1;
    // New instances went first among those at their depth; the timeline's order is restored.
    for (size_t i = 0; i < entries.size();) {
        std::vector<character*> run;
        size_t j = i;
        for (; j < entries.size() && entries[j].m_depth == entries[i].m_depth; j++) {
            if (placed[j] && placed[j]->get_depth() == entries[j].m_depth) {
                run.push_back(placed[j].get_ptr());
            }
        }
        if (run.size() > 1) {
            m_display_list.reorder_at_depth(entries[i].m_depth, run);
        }
        i = j;
    }
}

execute_tag* sprite_instance::find_previous_place_tag(int frame, int depth, int id) {
    uint32_t wanted = static_cast<uint32_t>(depth) << 16 | (static_cast<uint32_t>(id) & 0xFFFF);
    for (int f = std::min(frame, get_frame_count()) - 1; f >= 0; f--) {
        tag_span tags = m_def->get_playlist(f);
        for (int i = tags.size() - 1; i >= 0; i--) {
            if (tags[i]->get_depth_id_of_replace_or_add_tag() == wanted) {
                return tags[i];
            }
        }
    }
    return nullptr;
}

void sprite_instance::execute_frame_tags(int frame, bool state_only) {
    if (frame < 0 || frame >= get_frame_count()) {
        log_error("sprite_instance::execute_frame_tags: frame %d of %d does not exist\n", frame, get_frame_count());
        return;
    }
    smart_ptr<sprite_instance> hold(this);
    run_init_actions(frame);
    tag_span tags = m_def->get_playlist(frame);
    for (int i = 0; i < tags.size(); i++) {
        m_executing_place_key = make_place_key(frame, i);
        if (state_only) {
            tags[i]->execute_state(this);
        } else {
            tags[i]->execute(this);
        }
    }
    m_executing_place_key = -1;
    if (!state_only) {
        restart_stream_sound_at(frame);
    }
    take_frame_script(frame);
}

void sprite_instance::take_frame_script(int frame) {
    auto script = m_frame_scripts.find(frame);
    m_pending_frame_script = script != m_frame_scripts.end() ? script->second : nullptr;
}

void sprite_instance::restart_stream_sound_at(int frame) {
    sound_handler* handler = get_sound_handler();
    if (handler && m_def->m_ss_id >= 0 && m_def->m_ss_start == frame) {
        handler->stop_sound(m_def->m_ss_id);
        handler->play_sound(m_def->m_ss_id, 0);
    }
}

void sprite_instance::set_play_state(play_state state) {
    sound_handler* handler = get_sound_handler();
    if (handler && m_def->m_ss_id >= 0) {
        handler->pause(m_def->m_ss_id, m_play_state == PLAY);
    }
    m_play_state = state;
}

void sprite_instance::run_init_actions(int frame) {
    const array<execute_tag*>* init_actions = m_def->get_init_actions(frame);
    if (init_actions == nullptr || init_actions->size() == 0 || frame >= m_init_actions_executed.size() ||
        m_init_actions_executed[frame] != 0) {
        return;
    }
    m_init_actions_executed[frame] = 1;
    int top = m_action_list.size();
    for (execute_tag* tag : *init_actions) {
        tag->execute(this);
    }
    execute_actions(&m_environment, take_actions_from(top));
}

int sprite_instance::get_loading_frame() const {
    int loaded = m_def->get_loading_frame();
    int count = get_frame_count();
    return loaded < 0 ? 0 : (loaded > count ? count : loaded);
}

void sprite_instance::call_frame_actions(const as_value& frame_spec) {
    int frame = -1;
    if (frame_spec.is_string()) {
        if (!m_def->get_labeled_frame(frame_spec.to_string(), &frame)) {
            frame = to_frame_index(frame_spec.to_number());
        }
    } else {
        frame = to_frame_index(frame_spec.to_number());
        frame = frame >= 1 ? frame - 1 : -1;
    }
    if (frame < 0 || frame >= get_frame_count()) {
        log_error("error: call_frame('%s') -- unknown frame\n", frame_spec.to_string());
        return;
    }
    if (m_call_frame_depth >= max_call_frame_depth) {
        log_error("error: call_frame('%s') -- frames calling frames more than %d deep\n", frame_spec.to_string(),
                  max_call_frame_depth);
        return;
    }
    smart_ptr<sprite_instance> hold(this);
    m_call_frame_depth++;
    int top = m_action_list.size();
    for (execute_tag* tag : m_def->get_playlist(frame)) {
        if (tag->is_action_tag()) {
            tag->execute(this);
        }
    }
    // The frame's buffers are taken off the queue before they run, so what they queue or
    // remove cannot make this loop forever.
    execute_actions(&m_environment, take_actions_from(top));
    m_call_frame_depth--;
}

array<action_buffer*> sprite_instance::take_actions_from(int top) {
    array<action_buffer*> taken;
    for (int i = top; i < m_action_list.size(); i++) {
        taken.push_back(m_action_list[i]);
    }
    if (top < m_action_list.size()) {
        m_action_list.resize(top);
    }
    return taken;
}

void sprite_instance::do_actions(const array<action_buffer*>& actions) {
    execute_actions(&m_environment, actions);
}

}  // namespace swfplayer
