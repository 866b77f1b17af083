#include "swfplayer/main/swfplayer_as_classes/as_movieclip.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/finite_float.h"
#include "swfplayer/main/common/twips.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/sprite_definition.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/as_function.h"
#include "swfplayer/main/script/builtin_registry.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/load_file.h"
#include "swfplayer/main/script/movie_root.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/shapes/canvas.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace swfplayer {

namespace {

// Where script depths start among display depths.
constexpr int script_depth_offset = 0x4000;

sprite_instance* target_of(const fn_call& fn) {
    if (sprite_instance* sprite = cast_to_sprite_instance(fn.this_ptr)) {
        return sprite;
    }
    return fn.env ? cast_to_sprite_instance(fn.env->get_target()) : nullptr;
}

// A script depth as a display depth; NaN counts as the lowest int, as integer conversion gives.
int to_display_depth(const as_value& value) {
    double depth = value.to_number();
    depth = std::isnan(depth) ? INT_MIN : std::trunc(depth);
    return static_cast<int>(std::clamp(depth + script_depth_offset, double(INT_MIN), double(INT_MAX)));
}

double to_script_depth(int depth) {
    return static_cast<double>(static_cast<int64_t>(depth) - script_depth_offset);
}

// A number 0xRRGGBB as an opaque colour.
rgba to_rgba(const as_value& value) {
    int rgb = value.to_int();
    return rgba(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb), 255);
}

float to_twips(const as_value& pixels) {
    return finite_or_zero(pixels.to_number() * twips_per_pixel);
}

void set_clip_result(const fn_call& fn, character* clip) {
    if (clip) {
        fn.result->set_as_object(clip);
    }
}

void sprite_play(const fn_call& fn) {
    if (sprite_instance* sprite = target_of(fn)) {
        sprite->set_play_state(character::PLAY);
    }
}

void sprite_stop(const fn_call& fn) {
    if (sprite_instance* sprite = target_of(fn)) {
        sprite->set_play_state(character::STOP);
    }
}

// The frame of gotoAndPlay and gotoAndStop: a label or a number counted from 1, given as text or
// number; false when the argument is neither a text nor a number other than NaN.
bool goto_frame_argument(const fn_call& fn, sprite_instance* sprite, const char* missing) {
    if (fn.nargs < 1) {
        log_error("%s", missing);
        return false;
    }
    as_value frame = fn.arg(0);
    if (!frame.is_string() && (!frame.is_number() || std::isnan(frame.to_number()))) {
        return false;
    }
    sprite->goto_frame(frame.to_base_string());
    return true;
}

void sprite_goto_and_stop(const fn_call& fn) {
    sprite_instance* sprite = target_of(fn);
    if (sprite && goto_frame_argument(fn, sprite, "error: sprite_goto_and_stop needs one arg\n")) {
        sprite->set_play_state(character::STOP);
    }
}

void sprite_goto_and_play(const fn_call& fn) {
    sprite_instance* sprite = target_of(fn);
    if (sprite && goto_frame_argument(fn, sprite, "error: sprite_goto_and_play needs one arg\n")) {
        sprite->set_play_state(character::PLAY);
    }
}

void sprite_next_frame(const fn_call& fn) {
    if (sprite_instance* sprite = target_of(fn)) {
        if (sprite->get_current_frame() < sprite->get_frame_count()) {
            sprite->goto_frame(sprite->get_current_frame() + 1);
        }
        sprite->set_play_state(character::STOP);
    }
}

void sprite_prev_frame(const fn_call& fn) {
    if (sprite_instance* sprite = target_of(fn)) {
        if (sprite->get_current_frame() > 0) {
            sprite->goto_frame(sprite->get_current_frame() - 1);
        }
        sprite->set_play_state(character::STOP);
    }
}

void sprite_get_bytes_loaded(const fn_call& fn) {
    if (sprite_instance* sprite = target_of(fn)) {
        fn.result->set_int(sprite->get_loaded_bytes());
    }
}

void sprite_get_bytes_total(const fn_call& fn) {
    if (sprite_instance* sprite = target_of(fn)) {
        fn.result->set_int(sprite->get_file_bytes());
    }
}

void sprite_swap_depths(const fn_call& fn) {
    smart_ptr<sprite_instance> sprite = target_of(fn);
    if (fn.nargs != 1) {
        log_error("swapDepths needs one arg\n");
        return;
    }
    if (sprite == nullptr) {
        log_error("It is impossible to swap NULL character\n");
        return;
    }
    as_value x = fn.arg(0);
    smart_ptr<character> partner;
    if (x.is_number() && !std::isnan(x.to_number())) {
        int depth = to_display_depth(x);
        sprite_instance* parent = cast_to_sprite_instance(sprite->get_parent());
        if (parent == nullptr) {
            log_error("can't do _root.swapDepths\n");
            return;
        }
        partner = parent->get_display_list().get_character_at_depth(depth);
        if (partner == nullptr) {
            parent->get_display_list().change_character_depth(sprite.get_ptr(), depth);
            return;
        }
    } else if (as_object* object = x.to_object()) {
        partner = cast_to_sprite_instance(object);
    } else {
        log_error("swapDepths has received invalid arg\n");
        return;
    }
    if (partner == nullptr) {
        log_error("It is impossible to swap NULL character\n");
        return;
    }
    smart_ptr<sprite_instance> parent = cast_to_sprite_instance(sprite->get_parent());
    if (parent == nullptr || partner->get_parent() != parent.get_ptr()) {
        log_error("MovieClips should have the same parent\n");
        return;
    }
    parent->get_display_list().swap_characters(sprite.get_ptr(), partner.get_ptr());
}

void sprite_duplicate_movieclip(const fn_call& fn) {
    sprite_instance* sprite = target_of(fn);
    if (fn.nargs < 2) {
        log_error("duplicateMovieClip needs 2 or 3 args\n");
        return;
    }
    if (sprite == nullptr) {
        return;
    }
    smart_ptr<character> clone = sprite->clone_display_object(fn.arg(0).to_base_string(), to_display_depth(fn.arg(1)));
    as_object* init = fn.nargs == 3 ? fn.arg(2).to_object() : nullptr;
    if (clone && init) {
        init->copy_to(clone.get_ptr());
    }
    set_clip_result(fn, clone.get_ptr());
}

void sprite_get_depth(const fn_call& fn) {
    if (sprite_instance* sprite = target_of(fn)) {
        fn.result->set_double(to_script_depth(sprite->get_depth()));
    }
}

void sprite_create_empty_movieclip(const fn_call& fn) {
    sprite_instance* sprite = target_of(fn);
    if (fn.nargs != 2) {
        log_error("createEmptyMovieClip needs 2 args\n");
        return;
    }
    if (sprite) {
        set_clip_result(fn, sprite->create_empty_movieclip(fn.arg(0).to_base_string(), to_display_depth(fn.arg(1))));
    }
}

// The clip may be the one whose script runs: both it and its parent are held through the call.
void sprite_remove_movieclip(const fn_call& fn) {
    smart_ptr<sprite_instance> sprite = target_of(fn);
    smart_ptr<character> parent = sprite ? sprite->get_parent() : nullptr;
    if (parent) {
        parent->remove_display_object(sprite.get_ptr());
    }
}

void sprite_hit_test(const fn_call& fn) {
    fn.result->set_bool(false);
    sprite_instance* sprite = target_of(fn);
    if (fn.nargs != 1) {
        log_error("hitTest(x,y,flag) is't implemented yet\n");
        return;
    }
    if (sprite == nullptr || fn.env == nullptr) {
        return;
    }
    smart_ptr<as_object> found = fn.env->find_target(fn.arg(0));
    character* target = cast_to_character(found.get_ptr());
    if (target == nullptr) {
        log_error("hitTest: can't find target\n");
        return;
    }
    fn.result->set_bool(sprite->hit_test(target));
}

void sprite_start_drag(const fn_call& fn) {
    sprite_instance* sprite = target_of(fn);
    movie_root* root = sprite ? sprite->get_movie_root() : nullptr;
    if (root) {
        root->set_drag_character(sprite);
    }
}

void sprite_stop_drag(const fn_call& fn) {
    sprite_instance* sprite = target_of(fn);
    movie_root* root = sprite ? sprite->get_movie_root() : nullptr;
    if (root && root->get_drag_state().m_character.get_ptr() == sprite) {
        root->stop_drag();
    }
}

// The clip loader puts what it loads in the clip's place; an empty url unloads the clip.
void sprite_load_movie(const fn_call& fn) {
    sprite_instance* sprite = target_of(fn);
    if (sprite && fn.env && fn.nargs >= 1) {
        load_file(fn.env, fn.arg(0).to_string(), as_value(sprite));
    }
}

void sprite_unload_movie(const fn_call& fn) {
    sprite_instance* sprite = target_of(fn);
    if (sprite && fn.env) {
        load_file(fn.env, "", as_value(sprite));
    }
}

void sprite_get_next_highest_depth(const fn_call& fn) {
    if (sprite_instance* sprite = target_of(fn)) {
        fn.result->set_double(to_script_depth(sprite->get_highest_depth()));
    }
}

void sprite_create_text_field(const fn_call& fn) {
    sprite_instance* sprite = target_of(fn);
    fn.result->set_null();
    if (fn.nargs != 6) {
        log_error("createTextField: the number of arguments must be 6\n");
        return;
    }
    if (sprite) {
        set_clip_result(
            fn, sprite->create_text_field(fn.arg(0).to_base_string(), to_display_depth(fn.arg(1)), fn.arg(2).to_int(),
                                          fn.arg(3).to_int(), fn.arg(4).to_int(), fn.arg(5).to_int()));
    }
}

void sprite_attach_movie(const fn_call& fn) {
    sprite_instance* sprite = target_of(fn);
    if (fn.nargs < 3) {
        log_error("attachMovie needs 3 or 4 args\n");
        return;
    }
    if (sprite == nullptr) {
        return;
    }
    smart_ptr<character> clip =
        sprite->attach_movie(fn.arg(0).to_base_string(), fn.arg(1).to_base_string(), to_display_depth(fn.arg(2)));
    as_object* init = fn.nargs == 4 ? fn.arg(3).to_object() : nullptr;
    if (clip && init) {
        init->copy_to(clip.get_ptr());
    }
    set_clip_result(fn, clip.get_ptr());
}

canvas* canvas_of(const fn_call& fn) {
    sprite_instance* sprite = target_of(fn);
    return sprite ? sprite->get_canvas() : nullptr;
}

void sprite_begin_fill(const fn_call& fn) {
    if (canvas* c = canvas_of(fn)) {
        c->begin_fill(fn.nargs > 0 ? to_rgba(fn.arg(0)) : rgba(0, 0, 0, 255));
    }
}

void sprite_end_fill(const fn_call& fn) {
    if (canvas* c = canvas_of(fn)) {
        c->end_fill();
    }
}

void sprite_line_to(const fn_call& fn) {
    canvas* c = fn.nargs >= 2 ? canvas_of(fn) : nullptr;
    if (c) {
        c->line_to(to_twips(fn.arg(0)), to_twips(fn.arg(1)));
    }
}

void sprite_move_to(const fn_call& fn) {
    canvas* c = fn.nargs >= 2 ? canvas_of(fn) : nullptr;
    if (c) {
        c->move_to(to_twips(fn.arg(0)), to_twips(fn.arg(1)));
    }
}

void sprite_curve_to(const fn_call& fn) {
    canvas* c = fn.nargs >= 4 ? canvas_of(fn) : nullptr;
    if (c) {
        c->curve_to(to_twips(fn.arg(0)), to_twips(fn.arg(1)), to_twips(fn.arg(2)), to_twips(fn.arg(3)));
    }
}

void sprite_clear(const fn_call& fn) {
    if (sprite_instance* sprite = target_of(fn)) {
        sprite->drop_canvas();
    }
}

// A number clamped into [low, high]; NaN counts as low.
float clamped(const as_value& value, float low, float high) {
    double number = value.to_number();
    return std::isnan(number) ? low : static_cast<float>(std::clamp(number, double(low), double(high)));
}

void sprite_line_style(const fn_call& fn) {
    canvas* c = canvas_of(fn);
    if (c == nullptr) {
        return;
    }
    if (fn.nargs == 0) {
        c->m_current_line = 0;
        c->start_new_path(false);
        return;
    }
    uint16_t width = static_cast<uint16_t>(clamped(fn.arg(0), 0.0f, 255.0f) * twips_per_pixel);
    rgba color = fn.nargs >= 2 ? to_rgba(fn.arg(1)) : rgba(0, 0, 0, 255);
    if (fn.nargs >= 3) {
        color.a = static_cast<uint8_t>(clamped(fn.arg(2), 0.0f, 100.0f) / 100.0f * 255.0f);
    }
    c->set_line_style(width, color);
}

// Rates outside 1..120 frames per second are ignored by the root.
void sprite_set_fps(const fn_call& fn) {
    sprite_instance* sprite = target_of(fn);
    if (sprite && fn.nargs == 1) {
        sprite->set_fps(finite_or_zero(fn.arg(0).to_number()));
    }
}

void sprite_add_frame_script(const fn_call& fn) {
    sprite_instance* sprite = target_of(fn);
    if (sprite && fn.nargs == 2) {
        sprite->add_frame_script(fn.arg(0).to_int(), fn.arg(1).to_function());
    }
}

}  // namespace

void register_movieclip_methods() {
    const struct {
        const char* name;
        as_c_function_ptr function;
    } methods[] = {
        {"play", sprite_play},
        {"stop", sprite_stop},
        {"gotoAndStop", sprite_goto_and_stop},
        {"gotoAndPlay", sprite_goto_and_play},
        {"nextFrame", sprite_next_frame},
        {"prevFrame", sprite_prev_frame},
        {"getBytesLoaded", sprite_get_bytes_loaded},
        {"getBytesTotal", sprite_get_bytes_total},
        {"swapDepths", sprite_swap_depths},
        {"duplicateMovieClip", sprite_duplicate_movieclip},
        {"getDepth", sprite_get_depth},
        {"createEmptyMovieClip", sprite_create_empty_movieclip},
        {"removeMovieClip", sprite_remove_movieclip},
        {"hitTest", sprite_hit_test},
        {"startDrag", sprite_start_drag},
        {"stopDrag", sprite_stop_drag},
        {"loadMovie", sprite_load_movie},
        {"unloadMovie", sprite_unload_movie},
        {"getNextHighestDepth", sprite_get_next_highest_depth},
        {"createTextField", sprite_create_text_field},
        {"attachMovie", sprite_attach_movie},
        {"beginFill", sprite_begin_fill},
        {"endFill", sprite_end_fill},
        {"lineTo", sprite_line_to},
        {"moveTo", sprite_move_to},
        {"curveTo", sprite_curve_to},
        {"clear", sprite_clear},
        {"lineStyle", sprite_line_style},
        {"setFPS", sprite_set_fps},
        {"addFrameScript", sprite_add_frame_script},
    };
    for (const auto& method : methods) {
        register_builtin_method(BUILTIN_MOVIECLIP, method.name, method.function);
    }
}

void as_global_movieclip_ctor(const fn_call& fn) {
    player* owner = fn.get_player();
    if (owner == nullptr) {
        return;
    }
    smart_ptr<sprite_definition> def = new sprite_definition(owner, nullptr);
    character* parent = cast_to_character(owner->get_root_movie());
    fn.result->set_as_object(new sprite_instance(owner, def.get_ptr(), owner->get_root(), parent, -1));
}

}  // namespace swfplayer
