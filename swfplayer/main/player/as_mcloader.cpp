#include "swfplayer/main/player/as_mcloader.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/load_file.h"
#include "swfplayer/main/script/player.h"

#include <string>
#include <utility>

namespace swfplayer {

namespace {

as_mcloader* mcloader_of(const fn_call& fn) {
    return fn.this_ptr && fn.this_ptr->is(AS_MCLOADER) ? static_cast<as_mcloader*>(fn.this_ptr) : nullptr;
}

// addListener and removeListener: true, and the change made, with exactly one argument.
void change_listeners(const fn_call& fn, void (as_mcloader::*change)(as_object*)) {
    as_mcloader* self = mcloader_of(fn);
    if (self == nullptr) {
        return;
    }
    fn.result->set_bool(fn.nargs == 1);
    if (fn.nargs == 1) {
        (self->*change)(fn.arg(0).to_object());
    }
}

void mcloader_add_listener(const fn_call& fn) {
    change_listeners(fn, &as_mcloader::add_listener);
}

void mcloader_remove_listener(const fn_call& fn) {
    change_listeners(fn, &as_mcloader::remove_listener);
}

void mcloader_load_clip(const fn_call& fn) {
    as_mcloader* self = mcloader_of(fn);
    if (self == nullptr) {
        return;
    }
    fn.result->set_bool(fn.nargs == 2 && fn.env && self->load_clip(fn.env, fn.arg(0).to_string(), fn.arg(1)));
}

void mcloader_unload_clip(const fn_call& fn) {
    as_mcloader* self = mcloader_of(fn);
    if (self == nullptr) {
        return;
    }
    fn.result->set_bool(fn.nargs == 1);
    if (fn.nargs == 1 && fn.env) {
        load_file(fn.env, "", fn.arg(0));
    }
}

void mcloader_get_progress(const fn_call& fn) {
    fn.result->set_null();
    sprite_instance* sprite = mcloader_of(fn) ? cast_to_sprite_instance(fn.arg(0).to_object()) : nullptr;
    if (sprite == nullptr) {
        return;
    }
    smart_ptr<as_object> progress = new as_object(fn.get_player());
    progress->set_member("bytesLoaded", as_value(sprite->get_loaded_bytes()));
    progress->set_member("bytesTotal", as_value(sprite->get_file_bytes()));
    fn.result->set_as_object(progress.get_ptr());
}

}  // namespace

as_mcloader::as_mcloader(player* owner) : as_object(owner) {
    builtin_member("addListener", as_value(owner, mcloader_add_listener));
    builtin_member("removeListener", as_value(owner, mcloader_remove_listener));
    builtin_member("loadClip", as_value(owner, mcloader_load_clip));
    builtin_member("unloadClip", as_value(owner, mcloader_unload_clip));
    builtin_member("getProgress", as_value(owner, mcloader_get_progress));
}

as_mcloader::~as_mcloader() = default;

void as_mcloader::add_listener(as_object* object) {
    m_listeners.add(object);
    if (player* owner = get_player()) {
        owner->add_frame_object(this);
    }
}

void as_mcloader::remove_listener(as_object* object) {
    m_listeners.remove(object);
}

bool as_mcloader::load_clip(as_environment* env, const char* url, const as_value& target) {
    player* owner = get_player();
    array<as_value> args;
    args.push_back(as_value());
    smart_ptr<movie_def_impl> definition;
    if (owner && is_allowed_movie_name(url)) {
        definition = owner->create_movie((std::string(owner->get_workdir().c_str()) + url).c_str());
    }
    if (definition == nullptr) {
        if (get_verbose_action()) {
            log_msg("can't create movie from %s\n", url);
        }
        args.push_back(as_value("URLNotFound"));
        notify(event_id::LOAD_ERROR, args);
        return false;
    }
    as_object* found = env->find_target(target);
    character* clip = found && found->is(AS_CHARACTER) ? static_cast<character*>(found) : nullptr;
    m_queue.push_back(clip_request{definition, clip, nullptr});
    // The queue is read on the frame tick, with listeners or without.
    owner->add_frame_object(this);
    notify(event_id::LOAD_START, args);
    return true;
}

void as_mcloader::notify(int event, const array<as_value>& args) const {
    m_listeners.notify(event_id(static_cast<uint8_t>(event), 0, &args));
}

bool as_mcloader::advance_request(clip_request* request) {
    movie_def_impl* definition = request->m_definition.get_ptr();
    const int loading_frame = definition->get_loading_frame();
    if (loading_frame < 0 || loading_frame > definition->get_frame_count()) {
        log_error("error: as_mcloader::advance: loading frame %d of %d frames, load dropped\n", loading_frame,
                  definition->get_frame_count());
        return false;
    }
    array<as_value> args;
    args.push_back(as_value(request->m_instance.get_ptr()));
    if (loading_frame >= 1 && request->m_instance == nullptr) {
        if (smart_ptr<character> target = request->m_target.get_ptr()) {
            request->m_instance = target->replace_me(definition);
        }
        notify(event_id::LOAD_INIT, args);
    }
    const int loaded = definition->get_loaded_bytes();
    const int total = definition->get_file_bytes();
    args.push_back(as_value(loaded));
    args.push_back(as_value(total));
    notify(event_id::LOAD_PROGRESS, args);
    if (loaded < total) {
        return true;
    }
    notify(event_id::LOAD_COMPLETE, args);
    return false;
}

void as_mcloader::advance(float) {
    player* owner = get_player();
    if (m_queue.empty()) {
        if (owner) {
            owner->remove_frame_object(this);
        }
        return;
    }
    // Handlers may queue new loads; they wait for the next frame, after the ones walked now.
    std::vector<clip_request> walk;
    walk.swap(m_queue);
    std::vector<clip_request> pending;
    for (clip_request& request : walk) {
        if (advance_request(&request)) {
            pending.push_back(std::move(request));
        }
    }
    for (clip_request& request : m_queue) {
        pending.push_back(std::move(request));
    }
    m_queue.swap(pending);
}

void as_global_mcloader_ctor(const fn_call& fn) {
    fn.result->set_as_object(new as_mcloader(fn.get_player()));
}

}  // namespace swfplayer
