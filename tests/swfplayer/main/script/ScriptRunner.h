#pragma once

// Runs assembled byte code as a clip's frame actions and catches what it traces and logs.

#include "swfplayer/base/log.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/script/action_buffer.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/script/player.h"
#include "tools/swfkit/ActionAssembler.h"

#include <cstdint>
#include <string>
#include <vector>

namespace script_test {

// The script tests write the kit's assembler names unqualified.
using namespace swfkit;

// A display character with an environment of its own whose target is itself, as a sprite has.
class script_clip : public swfplayer::character {
public:
    explicit script_clip(swfplayer::player* owner, swfplayer::character* parent = nullptr);
    swfplayer::as_environment* get_environment() override { return &m_env; }
    swfplayer::as_environment m_env;
};

// One player with a clip as its root movie, a global trace that records its argument's text,
// and the log caught line by line.
class script_runner {
public:
    script_runner();
    ~script_runner();
    script_runner(const script_runner&) = delete;
    script_runner& operator=(const script_runner&) = delete;

    // Runs the code as frame actions of the clip; returns the traced texts joined by "|".
    std::string run(const action_assembler& code);
    std::string run_bytes(const Bytes& bytes);
    std::string run_buffer(const swfplayer::action_buffer& buffer);
    // Whether a caught log line contains the text, and how many do.
    bool logged(const std::string& text) const { return logged_count(text) > 0; }
    int logged_count(const std::string& text) const;
    // Every line logged since the runner was made.
    const std::vector<std::string>& log_lines() const;

    // The value of a member of the clip (a timeline variable).
    swfplayer::as_value variable(const char* name) const;

    swfplayer::smart_ptr<swfplayer::player> m_player;
    swfplayer::smart_ptr<script_clip> m_clip;

private:
    swfplayer::log_callback m_previous_log;
};

// Lowers the script budget of a frame for one test, so that endless scripts end quickly.
class budget_scope {
public:
    explicit budget_scope(int64_t instructions) : m_saved(swfplayer::instruction_budget::get_budget()) {
        swfplayer::instruction_budget::set_budget(instructions);
    }
    ~budget_scope() { swfplayer::instruction_budget::set_budget(m_saved); }
    budget_scope(const budget_scope&) = delete;
    budget_scope& operator=(const budget_scope&) = delete;

private:
    int64_t m_saved;
};

// A script in assemble()'s text, the texts it traces joined by "|" (a leading '*' takes two traces
// in either order) and texts the log must hold.
struct script_case {
    std::string code;
    const char* traces;
    std::vector<const char*> logged = {};
};

// Runs each case in a runner of its own and checks its traces and log.
void expect_traces(const std::vector<script_case>& cases);

}  // namespace script_test
