#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

struct event_id;
struct fn_call;
class as_environment;

// A weak list of objects that want per-frame time, key and mouse events or broadcast messages.
// Dead and removed entries leave empty slots that later additions reuse. Every walk works on a
// copy of the slots, so callees may add and remove entries without disturbing it.
class listener {
public:
    // Slots (live or empty) a list may hold; further additions are refused.
    static constexpr int max_slots = 1000;

    // Adds the object unless it is null or already listed; takes the last empty slot, else
    // appends. False when the list is full.
    bool add(as_object* object);
    // Clears every slot holding the object.
    void remove(as_object* object);
    void clear() { m_slots.clear(); }
    // Number of live entries.
    int size() const;
    // The i-th live object, or null.
    as_object* operator[](int index) const;
    as_object* operator[](const base_stringi& name) const;
    // Pushes 0 .. size()-1 (for-in over the list).
    void enumerate(as_environment* env) const;
    // on_event on every live object.
    void notify(const event_id& id) const;
    // Calls each live object's member name with fn's arguments; nothing without a root movie.
    void notify(const base_string& name, const fn_call& fn) const;
    void advance(float dt) const;
    // Slots, live or empty (for tests and limits).
    int slot_count() const { return m_slots.size(); }

private:
    // A copy of the slots to walk; dead slots are cleared on the way.
    array<weak_ptr<as_object>> snapshot() const;

    mutable array<weak_ptr<as_object>> m_slots;
};

}  // namespace swfplayer
