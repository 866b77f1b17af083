#include "swfplayer/main/script/listener.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/player.h"

#include <cstdlib>

namespace swfplayer {

bool listener::add(as_object* object) {
    if (object == nullptr) {
        return true;
    }
    int empty_slot = -1;
    for (int i = 0; i < m_slots.size(); i++) {
        as_object* listed = m_slots[i].get_ptr();
        if (listed == object) {
            return true;
        }
        if (listed == nullptr) {
            m_slots[i] = nullptr;
            empty_slot = i;
        }
    }
    if (empty_slot >= 0) {
        m_slots[empty_slot] = object;
        return true;
    }
    if (m_slots.size() >= max_slots) {
        log_error("error: listener list is full (%d entries), addition refused\n", max_slots);
        return false;
    }
    m_slots.push_back(weak_ptr<as_object>(object));
    return true;
}

void listener::remove(as_object* object) {
    for (int i = 0; i < m_slots.size(); i++) {
        as_object* listed = m_slots[i].get_ptr();
        if (listed == nullptr || listed == object) {
            m_slots[i] = nullptr;
        }
    }
}

int listener::size() const {
    int count = 0;
    for (int i = 0; i < m_slots.size(); i++) {
        if (m_slots[i].get_ptr()) {
            count++;
        } else {
            m_slots[i] = nullptr;
        }
    }
    return count;
}

as_object* listener::operator[](int index) const {
    if (index < 0) {
        return nullptr;
    }
    for (int i = 0; i < m_slots.size(); i++) {
        as_object* listed = m_slots[i].get_ptr();
        if (listed && index-- == 0) {
            return listed;
        }
    }
    return nullptr;
}

as_object* listener::operator[](const base_stringi& name) const {
    return (*this)[std::atoi(name.c_str())];
}

void listener::enumerate(as_environment* env) const {
    int count = size();
    for (int i = 0; i < count; i++) {
        env->push(as_value(i));
    }
}

array<weak_ptr<as_object>> listener::snapshot() const {
    size();  // clears the dead slots
    return m_slots;
}

void listener::notify(const event_id& id) const {
    array<weak_ptr<as_object>> walk = snapshot();
    for (int i = 0; i < walk.size(); i++) {
        smart_ptr<as_object> object = walk[i].get_ptr();
        if (object) {
            object->on_event(id);
        }
    }
}

void listener::notify(const base_string& name, const fn_call& fn) const {
    player* owner = fn.get_player();
    if (owner == nullptr || owner->get_root_movie() == nullptr) {
        return;
    }
    array<weak_ptr<as_object>> walk = snapshot();
    for (int i = 0; i < walk.size(); i++) {
        smart_ptr<as_object> object = walk[i].get_ptr();
        as_value method;
        if (object && object->get_member(name, &method)) {
            call_method(method, fn.env, as_value(object.get_ptr()), fn.nargs, fn.env->get_top_index());
        }
    }
}

void listener::advance(float dt) const {
    array<weak_ptr<as_object>> walk = snapshot();
    for (int i = 0; i < walk.size(); i++) {
        smart_ptr<as_object> object = walk[i].get_ptr();
        if (object) {
            object->advance(dt);
        }
    }
}

}  // namespace swfplayer
