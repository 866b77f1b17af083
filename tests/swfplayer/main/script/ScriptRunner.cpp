#include "tests/swfplayer/main/script/ScriptRunner.h"

#include "swfplayer/main/script/fn_call.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace script_test {

using namespace swfplayer;

namespace {

std::vector<std::string> s_traces;
std::vector<std::string> s_log;

void record_trace(const fn_call& fn) {
    s_traces.push_back(fn.arg(0).to_string());
}

void record_log(bool /*is_error*/, const char* message) {
    s_log.push_back(message);
}

}  // namespace

script_clip::script_clip(player* owner, character* parent) : character(owner, parent, -1), m_env(owner) {}

script_runner::script_runner() : m_player(new player()), m_clip(new script_clip(m_player.get_ptr())) {
    m_clip->m_env.set_target(m_clip.get_ptr());
    m_player->set_root_movie(m_clip.get_ptr());
    m_player->get_global()->builtin_member("trace", as_value(m_player.get_ptr(), record_trace));
    m_previous_log = register_log_callback(record_log);
    s_log.clear();
}

script_runner::~script_runner() {
    register_log_callback(m_previous_log);
    // The clip's environment refers to the clip, and so may what scripts left there (its stack,
    // locals and registers) or stored in its members: every reference to it goes, as the
    // player's collection would drop them.
    as_object_set visited;
    m_clip->m_env.clear_refs(&visited, m_clip.get_ptr());
    as_object::walk_clear_refs(m_clip.get_ptr(), &visited, m_clip.get_ptr());
}

std::string script_runner::run(const action_assembler& code) {
    return run_bytes(code.bytes());
}

std::string script_runner::run_bytes(const Bytes& bytes) {
    action_buffer buffer;
    buffer.read(bytes.data(), static_cast<int>(bytes.size()));
    return run_buffer(buffer);
}

std::string script_runner::run_buffer(const action_buffer& buffer) {
    s_traces.clear();
    buffer.execute(&m_clip->m_env);
    std::string joined;
    for (size_t i = 0; i < s_traces.size(); i++) {
        joined += (i ? "|" : "") + s_traces[i];
    }
    return joined;
}

int script_runner::logged_count(const std::string& text) const {
    auto holds = [&text](const std::string& line) {
        return line.find(text) != std::string::npos;
    };
    return static_cast<int>(std::count_if(s_log.begin(), s_log.end(), holds));
}

const std::vector<std::string>& script_runner::log_lines() const {
    return s_log;
}

as_value script_runner::variable(const char* name) const {
    as_value value;
    m_clip->get_member(name, &value);
    return value;
}

void expect_traces(const std::vector<script_case>& cases) {
    for (const script_case& c : cases) {
        script_runner runner;
        std::string expected = c.traces;
        std::string got = runner.run(assemble(c.code));
        if (expected[0] == '*') {
            // Member order follows the hash table.
            expected = expected.substr(1);
            size_t bar = expected.find('|');
            EXPECT_TRUE(got == expected || got == expected.substr(bar + 1) + "|" + expected.substr(0, bar)) << c.code;
        } else {
            EXPECT_EQ(got, expected) << c.code;
        }
        for (const char* text : c.logged) {
            EXPECT_TRUE(runner.logged(text)) << c.code << ": " << text;
        }
    }
}

}  // namespace script_test
