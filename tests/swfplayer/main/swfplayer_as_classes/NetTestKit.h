#pragma once

// The network classes' fixture: objects whose handlers record their calls, and a frame tick the
// test drives between the steps of a loopback server.

#include "swfplayer/main/script/fn_call.h"
#include "tests/support/LoopbackServer.h"
#include "tests/swfplayer/main/swfplayer_as_classes/BuiltinTestKit.h"

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>

namespace net_test {

using namespace builtin_test;
using testing_support::LoopbackServer;

// Every handler call as "<handler>(<arguments>)" ("<label>.<handler>(...)" when "this" has a
// label), joined by blanks; then the hook, if any.
inline std::string s_events;
inline std::map<const as_object*, std::string> s_labels;
inline std::function<void(const fn_call&, const std::string&)> s_after_event;

template <const char* Name>
void record_event(const fn_call& fn) {
    auto label = s_labels.find(fn.this_ptr);
    s_events += (s_events.empty() ? "" : " ") + (label == s_labels.end() ? "" : label->second + ".") + Name + "(";
    for (int i = 0; i < fn.nargs; i++) {
        s_events += (i ? "," : "") + std::string(fn.arg(i).to_string());
    }
    s_events += ")";
    if (s_after_event) {
        s_after_event(fn, Name);
    }
}

inline constexpr char kOnHttpStatus[] = "onHTTPStatus", kOnLoad[] = "onLoad", kOnData[] = "onData",
                      kOnConnect[] = "onConnect", kOnClose[] = "onClose";

class NetFixture : public BuiltinFixture {
protected:
    NetFixture() { s_events.clear(), s_labels.clear(), s_after_event = nullptr; }

    // A new object of the class, labelled, whose named handlers record their calls.
    as_value make(const char* class_name, const char* label, std::initializer_list<const char*> handlers) {
        as_value object = call_global(class_name, {});
        if (label[0]) {
            s_labels[object.to_object()] = label;
        }
        for (const char* name : handlers) {
            as_c_function_ptr handler = name == kOnHttpStatus ? record_event<kOnHttpStatus>
                                        : name == kOnLoad     ? record_event<kOnLoad>
                                        : name == kOnData     ? record_event<kOnData>
                                        : name == kOnConnect  ? record_event<kOnConnect>
                                                              : record_event<kOnClose>;
            object.to_object()->set_member(name, as_value(m_player.get_ptr(), handler));
        }
        return object;
    }
    as_value make_loadvars(const char* label) { return make("LoadVars", label, {kOnHttpStatus, kOnLoad, kOnData}); }
    as_value make_xmlsocket(const char* label) { return make("XMLSocket", label, {kOnConnect, kOnData, kOnClose}); }

    // One frame tick, after a moment for bytes on their way through 127.0.0.1.
    void frame() {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        m_player->advance_frame_objects(1.0f / 30.0f);
    }
    bool frames_until(const std::function<bool()>& done) {
        for (int i = 0; i < 2000 && !done(); i++) {
            frame();
        }
        return done();
    }
};

}  // namespace net_test
