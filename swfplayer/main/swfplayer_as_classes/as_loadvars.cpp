#include "swfplayer/main/swfplayer_as_classes/as_loadvars.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/swfplayer_as_classes/script_handler.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace swfplayer {

namespace {

// The headers every request carries unless script replaces them.
constexpr const char* default_headers[][2] = {
    {"Content-Type", "application/x-www-form-urlencoded"},
    {"Cache-Control", "no-cache"},
    {"User-Agent", "swfplayer"},
};
// Headers each request sets for itself.
constexpr const char* request_headers[] = {"Host", "Content-Length", "Connection"};
// Members that stay members; every other name is a pair.
constexpr const char* handler_names[] = {"onData", "onHTTPStatus", "onLoad"};

as_loadvars* loadvars_of(const fn_call& fn) {
    return fn.this_ptr && fn.this_ptr->is(AS_LOADVARS) ? static_cast<as_loadvars*>(fn.this_ptr) : nullptr;
}

bool is_one_of(const char* name, const auto& names) {
    for (const char* candidate : names) {
        if (base_string::stricmp(name, candidate) == 0) {
            return true;
        }
    }
    return false;
}

bool is_header_name(const base_string& name) {
    if (name.size() == 0) {
        return false;
    }
    for (int i = 0; i < name.size(); i++) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (c <= 0x20 || c == 0x7F || c == ':') {
            return false;
        }
    }
    return true;
}

bool is_header_value(const base_string& value) {
    return std::strpbrk(value.c_str(), "\r\n") == nullptr;
}

// The value as a string, or false when the table has no such name.
bool get_pair(const as_loadvars::string_table& table, const base_stringi& name, as_value* value) {
    base_string text;
    if (!table.get(base_string(name), &text)) {
        return false;
    }
    value->set_base_string(text);
    return true;
}

void loadvars_load(const fn_call& fn) {
    as_loadvars* self = loadvars_of(fn);
    if (self == nullptr) {
        return;
    }
    fn.result->set_bool(false);
    if (fn.nargs < 1 || fn.arg(0).is_null()) {
        return;
    }
    fn.result->set_bool(self->start_request("GET", fn.arg(0).to_string(), self, self));
}

void loadvars_send_and_load(const fn_call& fn) {
    as_loadvars* self = loadvars_of(fn);
    if (self == nullptr) {
        return;
    }
    fn.result->set_bool(false);
    if (fn.nargs < 2) {
        return;
    }
    base_string method = fn.nargs == 3 ? fn.arg(2).to_base_string() : base_string("POST");
    if (method != "POST" && method != "GET") {
        log_error("error: LoadVars::sendAndLoad: method '%s' is neither POST nor GET\n", method.c_str());
        return;
    }
    as_value target_value = fn.arg(1);
    as_object* told = target_value.to_object();
    as_loadvars* target = told && told->is(AS_LOADVARS) ? static_cast<as_loadvars*>(told) : nullptr;
    fn.result->set_bool(self->start_request(method.c_str(), fn.arg(0).to_string(), target, told));
}

void loadvars_add_request_header(const fn_call& fn) {
    as_loadvars* self = loadvars_of(fn);
    if (self && fn.nargs >= 2 && fn.arg(0).is_string() && fn.arg(1).is_string()) {
        self->add_request_header(fn.arg(0).to_base_string(), fn.arg(1).to_base_string());
    }
}

void loadvars_decode(const fn_call& fn) {
    as_loadvars* self = loadvars_of(fn);
    if (self && fn.nargs >= 1) {
        self->decode(fn.arg(0).to_string());
    }
}

void loadvars_to_string(const fn_call& fn) {
    if (as_loadvars* self = loadvars_of(fn)) {
        fn.result->set_base_string(as_loadvars::create_vars_string(self->get_received()));
    }
}

// getBytesLoaded, getBytesTotal and send: members that do nothing.
void loadvars_not_implemented(const fn_call&) {}

}  // namespace

as_loadvars::as_loadvars(player* owner) : as_object(owner) {
    for (const auto& header : default_headers) {
        m_headers.set(header[0], header[1]);
    }
    builtin_member("addRequestHeader", as_value(owner, loadvars_add_request_header));
    builtin_member("decode", as_value(owner, loadvars_decode));
    builtin_member("getBytesLoaded", as_value(owner, loadvars_not_implemented));
    builtin_member("getBytesTotal", as_value(owner, loadvars_not_implemented));
    builtin_member("load", as_value(owner, loadvars_load));
    builtin_member("send", as_value(owner, loadvars_not_implemented));
    builtin_member("sendAndLoad", as_value(owner, loadvars_send_and_load));
    builtin_member("toString", as_value(owner, loadvars_to_string));
}

as_loadvars::~as_loadvars() = default;

bool as_loadvars::get_member(const base_stringi& name, as_value* value) {
    return get_pair(m_values, name, value) || get_pair(m_received, name, value) || as_object::get_member(name, value);
}

bool as_loadvars::set_member(const base_stringi& name, const as_value& value) {
    if (is_one_of(name.c_str(), handler_names)) {
        return as_object::set_member(name, value);
    }
    m_values.set(base_string(name), value.to_base_string());
    return true;
}

bool as_loadvars::add_request_header(const base_string& name, const base_string& value) {
    if (!is_header_name(name) || !is_header_value(value) || is_one_of(name.c_str(), request_headers)) {
        log_error("error: LoadVars::addRequestHeader: a header that would break requests is refused\n");
        return false;
    }
    // One header per name: HTTP names are compared without regard to case.
    for (const auto& header : string_table(m_headers)) {
        if (base_string::stricmp(header.first.c_str(), name.c_str()) == 0) {
            m_headers.remove(header.first);
        }
    }
    m_headers.set(name, value);
    return true;
}

bool as_loadvars::start_request(const char* method, const char* url, as_loadvars* target, as_object* told) {
    player* owner = get_player();
    base_string authority;
    base_string host;
    base_string path;
    int port = 0;
    std::unique_ptr<as_loadvars_request> request = std::make_unique<as_loadvars_request>(target);
    bool sent = owner && parse_url(url, &authority, &host, &port, &path) && request->connect(owner, host, port) &&
                owner->add_frame_object(this);
    if (sent) {
        base_string text = create_request(method, authority, path);
        std::fwrite(text.c_str(), 1, static_cast<size_t>(text.size()), stdout);
        sent = request->send(text);
    }
    // Without a pending request the object leaves the frame tick at its next advance.
    if (sent) {
        m_requests.push_back(std::move(request));
    } else {
        request.reset();
        call_handler(told, "onLoad", {as_value(false)});
    }
    return sent;
}

void as_loadvars::advance(float) {
    // Handlers may start new requests (onLoad calling load): the pending ones are walked from a
    // list of their own, and the new ones join after them.
    std::vector<std::unique_ptr<as_loadvars_request>> walk;
    walk.swap(m_requests);
    for (std::unique_ptr<as_loadvars_request>& request : walk) {
        request->advance();
        if (request->is_finished()) {
            finish(request.get());
            request.reset();
        }
    }
    std::erase(walk, nullptr);
    for (std::unique_ptr<as_loadvars_request>& request : m_requests) {
        walk.push_back(std::move(request));
    }
    m_requests.swap(walk);
    player* owner = get_player();
    if (m_requests.empty() && owner) {
        owner->remove_frame_object(this);
    }
}

void as_loadvars::finish(as_loadvars_request* request) {
    request->close();
    smart_ptr<as_object> target = request->get_target();
    if (target == nullptr) {
        return;
    }
    const http_answer& answer = request->get_answer();
    const bool loaded = !answer.has_failed();
    const int status = answer.get_status();
    const std::string content = loaded ? answer.get_content() : std::string();
    if (loaded && target->is(AS_LOADVARS)) {
        string_table* received = &static_cast<as_loadvars*>(target.get_ptr())->m_received;
        for (int i = 0; i < answer.get_line_count(); i++) {
            parse(std::string(answer.get_line(i)).c_str(), received);
        }
    }
    call_handler(target.get_ptr(), "onHTTPStatus", {as_value(status)});
    call_handler(target.get_ptr(), "onLoad", {as_value(loaded)});
    call_handler(target.get_ptr(), "onData", {as_value(content.c_str())});
}

void as_global_loadvars_ctor(const fn_call& fn) {
    fn.result->set_as_object(new as_loadvars(fn.get_player()));
}

}  // namespace swfplayer
