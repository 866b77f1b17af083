#pragma once

// A fixture for the network classes: script objects whose handlers record every call, and a
// frame tick driven by the test between the steps of a loopback server (tests/support).

#include "swfplayer/main/script/fn_call.h"
#include "tests/support/LoopbackServer.h"
#include "tests/swfplayer/main/swfplayer_as_classes/BuiltinTestKit.h"

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace net_test {

using namespace builtin_test;

// Every handler call as "<label of this>.<handler>(<arguments>)", in order.
inline std::vector<std::string> s_events;
inline std::map<const as_object*, std::string> s_labels;
// Runs after a handler call is recorded (the handler's name is passed along).
inline std::function<void(const fn_call&, const std::string&)> s_after_event;

template <const char* Name>
void record_event(const fn_call& fn) {
    auto label = s_labels.find(fn.this_ptr);
    std::string text = (label == s_labels.end() ? std::string("?") : label->second) + "." + Name + "(";
    for (int i = 0; i < fn.nargs; i++) {
        text += (i ? "," : "") + std::string(fn.arg(i).to_string());
    }
    s_events.push_back(text + ")");
    if (s_after_event) {
        s_after_event(fn, Name);
    }
}

inline constexpr char kOnHttpStatus[] = "onHTTPStatus";
inline constexpr char kOnLoad[] = "onLoad";
inline constexpr char kOnData[] = "onData";
inline constexpr char kOnConnect[] = "onConnect";
inline constexpr char kOnClose[] = "onClose";

class NetFixture : public BuiltinFixture {
protected:
    NetFixture() {
        s_events.clear();
        s_labels.clear();
        s_after_event = nullptr;
    }
    ~NetFixture() override { s_after_event = nullptr; }

    // A new LoadVars, labelled for the event record, whose onHTTPStatus, onLoad and onData
    // record their calls.
    as_value make_loadvars(const char* label) {
        return make("LoadVars", label,
                    {{kOnHttpStatus, record_event<kOnHttpStatus>},
                     {kOnLoad, record_event<kOnLoad>},
                     {kOnData, record_event<kOnData>}});
    }
    // A new XMLSocket whose onConnect, onData and onClose record their calls.
    as_value make_xmlsocket(const char* label) {
        return make("XMLSocket", label,
                    {{kOnConnect, record_event<kOnConnect>},
                     {kOnData, record_event<kOnData>},
                     {kOnClose, record_event<kOnClose>}});
    }
    as_value make(const char* class_name, const char* label,
                  std::initializer_list<std::pair<const char*, as_c_function_ptr>> handlers) {
        as_value object = call_global(class_name, {});
        as_object* o = object.to_object();
        EXPECT_TRUE(o) << class_name;
        if (o) {
            s_labels[o] = label;
            for (const auto& [name, handler] : handlers) {
                o->set_member(name, as_value(handler));
            }
        }
        return object;
    }
    // One frame tick, after a moment for bytes on their way through 127.0.0.1.
    void frame() {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        m_player->advance_frame_objects(1.0f / 30.0f);
    }
    // Frames until done holds; false when max_frames passed first.
    bool frames_until(const std::function<bool()>& done, int max_frames = 2000) {
        for (int i = 0; i < max_frames && !done(); i++) {
            frame();
        }
        return done();
    }
    // The events recorded so far, joined by blanks.
    static std::string events() {
        std::string joined;
        for (const std::string& event : s_events) {
            joined += (joined.empty() ? "" : " ") + event;
        }
        return joined;
    }
};

}  // namespace net_test
