#include "swfplayer/main/script/movie_root.h"
#include "tests/swfplayer/main/script/ScriptRunner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace script_test;
using swfplayer::as_value;

namespace {

// A sprite as far as the movie opcodes can tell: it writes every operation it receives into a
// shared journal. Its current frame is 3 and its one label is "intro".
class journal_clip : public script_clip {
public:
    journal_clip(swfplayer::player* owner, std::vector<std::string>* journal, const std::string& name,
                 swfplayer::character* parent = nullptr)
        : script_clip(owner, parent), m_journal(journal), m_name(name) {}

    bool is(int class_id) const override { return class_id == swfplayer::AS_SPRITE || script_clip::is(class_id); }
    void set_play_state(play_state state) override { note(state == PLAY ? "play" : "stop"); }
    int get_current_frame() const override { return 3; }
    void goto_frame(int frame) override { note("goto " + std::to_string(frame)); }
    bool goto_labeled_frame(const char* label) override {
        note(std::string("label ") + label);
        return std::string(label) == "intro";
    }
    void call_frame_actions(const as_value& frame) override { note(std::string("call ") + frame.to_string()); }
    void remove_display_object(swfplayer::character* child) override {
        note("remove " + static_cast<journal_clip*>(child)->m_name);
    }
    swfplayer::character* clone_display_object(const swfplayer::base_string& name, int depth) override {
        note("clone " + std::string(name.c_str()) + " " + std::to_string(depth));
        return nullptr;
    }
    void set_drag_state(const swfplayer::drag_state& s) override {
        auto* dragged = static_cast<journal_clip*>(s.m_character.get_ptr());
        note("drag " + dragged->m_name + (s.m_lock_center ? " lock" : "") + (s.m_bound ? " bound " : "") +
             (s.m_bound ? std::to_string(int(s.m_bound_x0)) + "," + std::to_string(int(s.m_bound_y0)) + "," +
                              std::to_string(int(s.m_bound_x1)) + "," + std::to_string(int(s.m_bound_y1))
                        : ""));
    }
    void stop_drag() override { note("stop_drag"); }

private:
    void note(const std::string& entry) const { m_journal->push_back(m_name + ": " + entry); }

    std::vector<std::string>* m_journal;
    std::string m_name;
};

// The runner's clip is the root; "child" is a journal clip whose parent is a journal clip too.
class movie_runner : public script_runner {
public:
    movie_runner() {
        m_root = new journal_clip(m_player.get_ptr(), &m_journal, "root");
        m_root->m_env.set_target(m_root.get_ptr());
        m_player->set_root_movie(m_root.get_ptr());
        m_child = new journal_clip(m_player.get_ptr(), &m_journal, "child", m_root.get_ptr());
        m_root->set_member("child", as_value(m_child.get_ptr()));
        m_clip->m_env.set_target(nullptr);
        m_clip = m_root;
    }
    ~movie_runner() { m_root->m_env.set_target(nullptr); }

    std::string journal(const action_assembler& code) {
        m_journal.clear();
        run(code);
        std::string joined;
        for (const std::string& entry : m_journal) {
            joined += (joined.empty() ? "" : "|") + entry;
        }
        return joined;
    }

    std::vector<std::string> m_journal;
    swfplayer::smart_ptr<journal_clip> m_root;
    swfplayer::smart_ptr<journal_clip> m_child;
};

action_assembler goto_expression(const push_item& frame, uint8_t flags) {
    return action_assembler().push({frame}).record(0x9F, {flags}).trace(str("popped"));
}

struct movie_case {
    const char* name;
    action_assembler code;
    const char* journal;
};

TEST(InterpreterMovieTest, frame_play_and_display_operations_reach_the_target) {
    const std::vector<movie_case> cases = {
        {"next and previous frame", action_assembler().op(NEXT_FRAME).op(PREV_FRAME), "root: goto 4|root: goto 2"},
        {"play and stop", action_assembler().op(PLAY).op(STOP), "root: play|root: stop"},
        {"goto_frame and goto_frame_lbl", action_assembler().record(0x81, {5, 0}).record(0x8C, {'x', 0}),
         "root: goto 5|root: label x"},
        {"goto_frame_exp: a label", goto_expression(str("intro"), 1), "root: label intro|root: play"},
        {"goto_frame_exp: a numeric text without such a label", goto_expression(str("3"), 0),
         "root: label 3|root: goto 3|root: stop"},
        {"goto_frame_exp: a number", goto_expression(num(7), 2), "root: goto 7|root: play"},
        {"goto_frame_exp: undefined and other values do nothing",
         goto_expression(undef(), 1).push({boolean(true)}).record(0x9F, {1}).push({str("x")}).record(0x9F, {1}),
         "root: label x"},
        {"set_target steers another clip",
         action_assembler().record(0x8B, {'c', 'h', 'i', 'l', 'd', 0}).op(PLAY).record(0x8B, {0}).op(STOP),
         "child: play|root: stop"},
        {"set_target_exp", action_assembler().push({str("child")}).op(SET_TARGET_EXP).op(STOP), "child: stop"},
        {"call_frame", action_assembler().push({str("intro")}).record(0x9E, {}), "root: call intro"},
        {"rem_sprite asks the parent", action_assembler().push({str("child")}).op(0x25), "root: remove child"},
        {"dup_sprite of a variable naming a sprite",
         action_assembler().push({str("child"), str("copy"), num(5)}).op(0x24), "child: clone copy 5"},
        {"start_drag without bounds",
         action_assembler().push({boolean(false), boolean(true), str("child")}).op(START_DRAG),
         "root: drag child lock"},
        {"start_drag with bounds",
         action_assembler()
             .push({num(1), num(2), num(3), num(4), boolean(true), boolean(false), str("child")})
             .op(START_DRAG),
         "root: drag child bound 1,2,3,4"},
        {"start_drag of an unknown target still pops",
         action_assembler().push({str("left"), boolean(false), boolean(false), str("nobody")}).op(START_DRAG).op(TRACE),
         ""},
        {"stop_drag", action_assembler().op(0x28), "root: stop_drag"},
    };
    for (const movie_case& c : cases) {
        movie_runner runner;
        EXPECT_EQ(runner.journal(c.code), c.journal) << c.name;
    }
}

TEST(InterpreterMovieTest, properties_timer_and_the_target_after_a_run) {
    movie_runner runner;
    action_assembler props;
    props.push({str("child"), num(0), num(42)}).op(SET_PROP).push({str("child"), num(0)}).op(GET_PROP).op(TRACE);
    props.push({str("child"), num(30)}).op(GET_PROP).op(TRACE).push({str("nobody"), num(0)}).op(GET_PROP).op(TRACE);
    props.op(GET_TIMER).op(TYPE_OF).op(TRACE);
    EXPECT_EQ(runner.run(props), "42|undefined|undefined|number");
    EXPECT_TRUE(runner.logged("error: invalid property query, property number 30"));

    // An End action leaves the target a SetTarget chose; running off the range restores it.
    Bytes code = action_assembler().record(0x8B, {'c', 'h', 'i', 'l', 'd', 0}).bytes();
    swfplayer::action_buffer buffer;
    buffer.read(code.data(), static_cast<int>(code.size()));
    swfplayer::array<swfplayer::with_stack_entry> no_with;
    buffer.execute(&runner.m_root->m_env, 0, buffer.size() - 1, nullptr, no_with, false);
    EXPECT_EQ(runner.m_root->m_env.get_target(), runner.m_root.get_ptr());
    buffer.execute(&runner.m_root->m_env);
    EXPECT_EQ(runner.m_root->m_env.get_target(), runner.m_child.get_ptr());
    runner.m_root->m_env.set_target(runner.m_root.get_ptr());
    EXPECT_EQ(runner.journal(action_assembler().push({str("child")}).op(GET_VAR).op(PLAY)), "root: play");
}

}  // namespace
