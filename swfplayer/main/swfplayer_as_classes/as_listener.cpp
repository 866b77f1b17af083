#include "swfplayer/main/swfplayer_as_classes/as_listener.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/player.h"

#include <cctype>

namespace swfplayer {

namespace {

bool is_decimal_index(const char* text) {
    if (*text == '\0') {
        return false;
    }
    for (; *text; text++) {
        if (!std::isdigit(static_cast<unsigned char>(*text))) {
            return false;
        }
    }
    return true;
}

// The "_listeners" member of fn's "this" when it is a listener object.
as_listener* listeners_of(const fn_call& fn) {
    as_value listeners;
    if (fn.this_ptr == nullptr || !fn.this_ptr->get_member("_listeners", &listeners)) {
        return nullptr;
    }
    as_object* object = listeners.to_object();
    return object && object->is(AS_LISTENER) ? static_cast<as_listener*>(object) : nullptr;
}

void broadcaster_addlistener(const fn_call& fn) {
    as_listener* listeners = listeners_of(fn);
    as_object* object = fn.arg(0).to_object();
    if (listeners && object) {
        listeners->add(object);
    }
}

void broadcaster_removelistener(const fn_call& fn) {
    if (as_listener* listeners = listeners_of(fn)) {
        listeners->remove(fn.arg(0).to_object());
    }
}

void broadcaster_broadcastmessage(const fn_call& fn) {
    smart_ptr<as_listener> listeners = listeners_of(fn);
    if (listeners) {
        listeners->broadcast(fn);
    }
}

void broadcaster_initialize(const fn_call& fn) {
    as_object* object = fn.nargs == 1 ? fn.arg(0).to_object() : nullptr;
    if (object == nullptr) {
        return;
    }
    object->set_member("_listeners", as_value(new as_listener(fn.get_player())));
    object->set_member("addListener", as_value(fn.get_player(), broadcaster_addlistener));
    object->set_member("removeListener", as_value(fn.get_player(), broadcaster_removelistener));
    object->set_member("broadcastMessage", as_value(fn.get_player(), broadcaster_broadcastmessage));
}

}  // namespace

as_listener::as_listener(player* owner) : as_object(owner) {}

as_listener::~as_listener() {
    m_queue.clear();
    m_listeners.clear();
}

bool as_listener::get_member(const base_stringi& name, as_value* value) {
    if (name == "length") {
        value->set_int(m_listeners.size());
        return true;
    }
    if (is_decimal_index(name.c_str())) {
        value->set_as_object(m_listeners[name]);
        return true;
    }
    return as_object::get_member(name, value);
}

void as_listener::enumerate(as_environment* env) {
    m_listeners.enumerate(env);
}

void as_listener::this_alive(player* marker) {
    as_object::this_alive(marker);
    for (const std::vector<as_value>& message : m_queue) {
        for (const as_value& value : message) {
            mark_value(marker, value);
        }
    }
}

void as_listener::broadcast(const fn_call& fn) {
    // Without a message name there is nothing to deliver.
    if (fn.nargs < 1) {
        return;
    }
    if (m_broadcasting && static_cast<int>(m_queue.size()) >= max_queued_broadcasts) {
        if (!m_dropping) {
            log_error("error: broadcastMessage: %d broadcasts from listeners wait already; more are dropped\n",
                      max_queued_broadcasts);
            m_dropping = true;
        }
        return;
    }
    std::vector<as_value> message;
    message.reserve(static_cast<size_t>(fn.nargs));
    for (int i = 0; i < fn.nargs; i++) {
        message.push_back(fn.arg(i));
    }
    if (m_broadcasting) {
        m_queue.push_back(std::move(message));
        return;
    }
    m_broadcasting = true;
    deliver(message, fn);
    int delivered = 0;
    while (!m_queue.empty()) {
        if (delivered++ >= max_queued_broadcasts) {
            log_error("error: broadcastMessage: more than %d broadcasts from listeners, %d dropped\n",
                      max_queued_broadcasts, static_cast<int>(m_queue.size()));
            m_queue.clear();
            break;
        }
        std::vector<as_value> next = std::move(m_queue.front());
        m_queue.pop_front();
        deliver(next, fn);
    }
    m_broadcasting = false;
    m_dropping = false;
}

void as_listener::deliver(const std::vector<as_value>& message, const fn_call& fn) {
    if (fn.env == nullptr) {
        return;
    }
    int nargs = static_cast<int>(message.size()) - 1;
    for (int i = nargs; i >= 1; i--) {
        fn.env->push(message[i]);
    }
    fn_call notify_call(fn.result, *fn.this_value, fn.env, nargs, fn.env->get_top_index());
    m_listeners.notify(message[0].to_base_string(), notify_call);
    fn.env->drop(nargs);
}

as_object* make_as_broadcaster(player* owner) {
    as_object* broadcaster = new as_object(owner);
    broadcaster->builtin_member("initialize", as_value(owner, broadcaster_initialize));
    return broadcaster;
}

}  // namespace swfplayer
