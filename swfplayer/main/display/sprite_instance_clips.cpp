#include "swfplayer/base/log.h"
#include "swfplayer/main/display/character_def.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/movie_root.h"

namespace swfplayer {

namespace {

// A character's box for the rectangle hit test: its size from the translation of its world
// matrix.
rect hit_box(character* ch) {
    matrix world = ch->get_world_matrix();
    float x = world.m[0][2];
    float y = world.m[1][2];
    return rect(x, x + ch->get_width(), y, y + ch->get_height());
}

}  // namespace

character* sprite_instance::clone_display_object(const base_string& name, int depth) {
    smart_ptr<sprite_instance> parent = cast_to_sprite_instance(get_parent());
    if (parent == nullptr) {
        log_error("can't clone _root\n");
        return nullptr;
    }
    if (!parent->may_add_child("clone_display_object")) {
        return nullptr;
    }
    // A clip made by script stays one; its clone plays the same timeline.
    smart_ptr<sprite_instance> clone =
        new sprite_instance(get_player(), m_def.get_ptr(), m_root.get_ptr(), parent.get_ptr(), m_id == -1 ? -1 : 0);
    clone->set_name(name);
    copy_canvas_to(clone.get_ptr());
    parent->get_display_list().add_display_object(clone.get_ptr(), depth, true, get_cxform(), get_matrix(), get_ratio(),
                                                  get_clip_depth());
    copy_to(clone.get_ptr());
    return clone.get_ptr();
}

character* sprite_instance::attach_movie(const base_string& export_name, const base_string& new_name, int depth) {
    character_def* def = find_exported_resource(export_name);
    if (def == nullptr) {
        if (get_verbose_action()) {
            log_msg("import error: resource '%s' is not exported\n", export_name.c_str());
        }
        return nullptr;
    }
    if (!def->is(AS_SPRITE_DEF)) {
        return nullptr;
    }
    if (!may_add_child("attach_movie")) {
        return nullptr;
    }
    smart_ptr<sprite_instance> clip =
        new sprite_instance(get_player(), static_cast<movie_definition_sub*>(def), m_root.get_ptr(), this, -1);
    clip->set_name(new_name);
    m_display_list.add_display_object(clip.get_ptr(), depth, true, get_cxform(), get_matrix(), 0.0f, 0);
    clip->advance(1.0f);
    return clip.get_ptr();
}

character* sprite_instance::replace_me(character_def* def) {
    if (def == nullptr) {
        return nullptr;
    }
    smart_ptr<character> parent = get_parent();
    if (parent == nullptr) {
        log_error("character can't replace _root\n");
        return nullptr;
    }
    smart_ptr<sprite_instance> hold(this);
    smart_ptr<character> ch = def->create_character_instance(parent.get_ptr(), 0);
    if (ch == nullptr) {
        return nullptr;
    }
    parent->replace_display_object(ch.get_ptr(), get_name(), get_depth(), false, get_cxform(), false, get_matrix(),
                                   get_ratio(), get_clip_depth());
    return ch.get_ptr();
}

character* sprite_instance::replace_me(movie_definition* def) {
    if (def == nullptr) {
        return nullptr;
    }
    smart_ptr<character> parent = get_parent();
    if (parent == nullptr) {
        movie_root* root = get_movie_root();
        return root && root->request_replacement(def) ? this : nullptr;
    }
    if (!def->is(AS_MOVIE_DEF_SUB)) {
        return nullptr;
    }
    smart_ptr<sprite_instance> hold(this);
    smart_ptr<sprite_instance> movie = new sprite_instance(get_player(), static_cast<movie_definition_sub*>(def),
                                                           m_root.get_ptr(), parent.get_ptr(), -1);
    parent->replace_display_object(movie.get_ptr(), get_name(), get_depth(), false, get_cxform(), false, get_matrix(),
                                   get_ratio(), get_clip_depth());
    return movie.get_ptr();
}

void sprite_instance::add_frame_script(int frame, as_object* function) {
    if (frame < 0 || frame >= get_frame_count()) {
        return;
    }
    if (function == nullptr) {
        m_frame_scripts.erase(frame);
    } else {
        m_frame_scripts[frame] = function;
    }
    if (frame == m_current_frame) {
        m_pending_frame_script = function;
    }
}

void sprite_instance::run_pending_frame_script() {
    smart_ptr<as_object> script = m_pending_frame_script;
    m_pending_frame_script = nullptr;
    if (script != nullptr) {
        swfplayer::call_method(as_value(script.get_ptr()), &m_environment, as_value(this), 0,
                               m_environment.get_top_index());
    }
}

bool sprite_instance::hit_test(character* target) {
    if (target == nullptr) {
        return false;
    }
    rect mine = hit_box(this);
    rect theirs = hit_box(target);
    for (int corner = 0; corner < 4; corner++) {
        point p = theirs.get_corner(corner);
        if (mine.point_test(p.x, p.y)) {
            return true;
        }
    }
    return false;
}

}  // namespace swfplayer
