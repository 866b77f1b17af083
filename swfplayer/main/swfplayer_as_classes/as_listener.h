#pragma once

#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/listener.h"

#include <deque>
#include <vector>

namespace swfplayer {

struct fn_call;

// The "_listeners" object that AsBroadcaster.initialize gives an object: the list of listeners
// and the broadcasts that arrived while one was being delivered.
class as_listener : public as_object {
public:
    // Broadcasts queued during one outermost broadcast that are still delivered, and broadcasts
    // that may wait in the queue at once; a listener that broadcasts from every handler would
    // otherwise never let the broadcast end, nor the queue stop growing.
    static constexpr int max_queued_broadcasts = 1000;

    explicit as_listener(player* owner);
    ~as_listener() override;

    bool is(int class_id) const override { return class_id == AS_LISTENER || as_object::is(class_id); }
    // "length" is the number of listeners; a decimal index names that listener (null when there
    // is none); other names are ordinary members.
    bool get_member(const base_stringi& name, as_value* value) override;
    // for-in visits the listener indexes.
    void enumerate(as_environment* env) override;
    // Also the values of the broadcasts waiting in the queue.
    void this_alive(player* marker) override;

    // False (logged by the list) when the list is full.
    bool add(as_object* object) { return m_listeners.add(object); }
    void remove(as_object* object) { m_listeners.remove(object); }
    // broadcastMessage(name, args...) as fn carries it: delivered at once, or queued when a
    // broadcast is under way and delivered, in arrival order, after it (dropped, logged once,
    // while the queue is full).
    void broadcast(const fn_call& fn);

private:
    // Calls every listener's member named by message[0] with the rest as arguments.
    void deliver(const std::vector<as_value>& message, const fn_call& fn);

    listener m_listeners;
    bool m_broadcasting = false;
    bool m_dropping = false;  // the queue was full during this broadcast (said once)
    std::deque<std::vector<as_value>> m_queue;
};

// The global AsBroadcaster object: one member, "initialize".
as_object* make_as_broadcaster(player* owner);

}  // namespace swfplayer
