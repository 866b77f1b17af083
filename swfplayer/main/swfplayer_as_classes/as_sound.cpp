#include "swfplayer/main/swfplayer_as_classes/as_sound.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/loading/sound_sample.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/sound/sound_handler.h"

namespace swfplayer {

namespace {

as_sound* sound_of(const fn_call& fn) {
    return fn.this_ptr && fn.this_ptr->is(AS_SOUND) ? static_cast<as_sound*>(fn.this_ptr) : nullptr;
}

// The exported sample named name, looked up from the Sound's clip or else the calling
// script's target; null, with the reason logged, when there is none.
sound_sample* find_sample(const fn_call& fn, as_sound* sound, const base_string& name) {
    character* clip = sound->get_target();
    if (clip == nullptr && fn.env) {
        clip = cast_to_character(fn.env->get_target());
    }
    character_def* def = clip ? clip->find_exported_resource(name) : nullptr;
    if (def == nullptr) {
        log_error("import error: resource '%s' is not exported\n", name.c_str());
        return nullptr;
    }
    if (!def->is(AS_SOUND_SAMPLE)) {
        log_error("sound sample is NULL\n");
        return nullptr;
    }
    return static_cast<sound_sample*>(def);
}

void sound_attach(const fn_call& fn) {
    as_sound* sound = sound_of(fn);
    if (fn.nargs < 1) {
        log_error("attach sound needs one argument\n");
        return;
    }
    if (sound == nullptr) {
        return;
    }
    if (sound_sample* sample = find_sample(fn, sound, fn.arg(0).to_base_string())) {
        sound->set_sound(sample->m_sound_handler_id, false);
    }
}

void sound_start(const fn_call& fn) {
    as_sound* sound = sound_of(fn);
    sound_handler* handler = get_sound_handler();
    if (sound && handler && sound->get_sound_id() >= 0) {
        // Argument 0, the offset in seconds to start from, is not supported.
        handler->play_sound(sound->get_sound_id(), fn.nargs >= 2 ? fn.arg(1).to_int() : 0);
    }
}

void sound_stop(const fn_call& fn) {
    as_sound* sound = sound_of(fn);
    sound_handler* handler = get_sound_handler();
    if (sound && handler && sound->get_sound_id() >= 0) {
        handler->stop_sound(sound->get_sound_id());
    }
}

void sound_set_volume(const fn_call& fn) {
    as_sound* sound = sound_of(fn);
    if (fn.nargs < 1) {
        log_error("set volume of sound needs one argument\n");
        return;
    }
    sound_handler* handler = get_sound_handler();
    if (sound && handler && sound->get_sound_id() >= 0) {
        handler->set_volume(sound->get_sound_id(), fn.arg(0).to_int());
    }
}

void sound_load(const fn_call& fn) {
    as_sound* sound = sound_of(fn);
    sound_handler* handler = get_sound_handler();
    player* owner = fn.get_player();
    if (sound == nullptr || handler == nullptr || owner == nullptr || fn.nargs < 1) {
        return;
    }
    // The name follows the rule of the movies a script loads: relative to the working folder and
    // never leaving it, so a movie cannot reach any other file of the machine.
    base_string url = fn.arg(0).to_base_string();
    if (!is_allowed_movie_name(url.c_str())) {
        return;
    }
    base_string path = owner->get_workdir();
    path += url;
    sound->set_sound(handler->load_sound(path.c_str()), true);
}

void sound_position(const fn_call& fn) {
    as_sound* sound = sound_of(fn);
    sound_handler* handler = get_sound_handler();
    if (sound && handler && sound->get_sound_id() >= 0) {
        fn.result->set_int(handler->get_position(sound->get_sound_id()));
    }
}

}  // namespace

as_sound::as_sound(player* owner, character* target) : as_object(owner), m_target(target) {
    builtin_member("attachSound", as_value(owner, sound_attach));
    builtin_member("start", as_value(owner, sound_start));
    builtin_member("stop", as_value(owner, sound_stop));
    builtin_member("setVolume", as_value(owner, sound_set_volume));
    builtin_member("loadSound", as_value(owner, sound_load));
    builtin_member("position", as_value(as_value(owner, sound_position), as_value()));
}

as_sound::~as_sound() {
    set_sound(-1, false);
}

void as_sound::set_sound(int id, bool owned) {
    sound_handler* handler = get_sound_handler();
    if (m_owned && m_id >= 0 && handler) {
        handler->delete_sound(m_id);
    }
    m_id = id;
    m_owned = owned;
}

void as_global_sound_ctor(const fn_call& fn) {
    character* target = nullptr;
    if (fn.nargs > 0 && fn.env) {
        target = cast_to_character(fn.env->find_target(fn.arg(0)));
    }
    fn.result->set_as_object(new as_sound(fn.get_player(), target));
}

}  // namespace swfplayer
