#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/listener.h"

#include <vector>

namespace swfplayer {

class as_environment;
class character;
class movie_def_impl;
struct fn_call;

// MovieClipLoader: loads a movie into a target clip and tells its listeners (held weakly) how
// the load goes: onLoadStart when the movie was read, then on a later frame onLoadInit once the
// movie stands in the target's place, onLoadProgress (instance, loaded bytes, total bytes) and,
// when all bytes are there, onLoadComplete; onLoadError(undefined, "URLNotFound") when the file
// cannot be read or its name is refused (absolute, or leaving its folder). While loads are
// queued the loader takes the player's frame tick; with an empty queue it leaves on its next
// advance. Loads started by handlers wait for the next frame.
class as_mcloader : public as_object {
public:
    explicit as_mcloader(player* owner);
    ~as_mcloader() override;

    bool is(int class_id) const override { return class_id == AS_MCLOADER || as_object::is(class_id); }
    void advance(float dt) override;

    // Adds a listener and takes the frame tick.
    void add_listener(as_object* object);
    void remove_listener(as_object* object);
    // Reads the movie at url (inside the player's working directory) and queues it for the
    // clip that target names in env; true when the movie was read.
    bool load_clip(as_environment* env, const char* url, const as_value& target);
    int get_queue_size() const { return static_cast<int>(m_queue.size()); }

private:
    struct clip_request {
        smart_ptr<movie_def_impl> m_definition;
        weak_ptr<character> m_target;
        smart_ptr<character> m_instance;  // null until placed
    };

    // Delivers event (an event id) with args to every listener.
    void notify(int event, const array<as_value>& args) const;
    // One frame of a request; false once it is complete (or unusable) and leaves the queue.
    bool advance_request(clip_request* request);

    listener m_listeners;
    std::vector<clip_request> m_queue;
};

// new MovieClipLoader().
void as_global_mcloader_ctor(const fn_call& fn);

}  // namespace swfplayer
