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
        std::string bounds;
        for (float bound : {s.m_bound_x0, s.m_bound_y0, s.m_bound_x1, s.m_bound_y1}) {
            bounds += (bounds.empty() ? " bound " : ",") + std::to_string(int(bound));
        }
        note("drag " + static_cast<journal_clip*>(s.m_character.get_ptr())->m_name + (s.m_lock_center ? " lock" : "") +
             (s.m_bound ? bounds : ""));
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

TEST(InterpreterMovieTest, frame_play_and_display_operations_reach_the_target) {
    const std::pair<const char*, const char*> cases[] = {
        {"next_frame prev_frame", "root: goto 4|root: goto 2"},
        {"play stop", "root: play|root: stop"},
        {"#81:05,00 #8C:'x'", "root: goto 5|root: label x"},
        // goto_frame_exp: a label, a numeric text without such a label, a number, other values
        {"'intro' #9F:01 'popped' trace", "root: label intro|root: play"},
        {"'3' #9F:00 'popped' trace", "root: label 3|root: goto 3|root: stop"},
        {"7 #9F:02 'popped' trace", "root: goto 7|root: play"},
        {"undef #9F:01 'popped' trace true #9F:01 'x' #9F:01", "root: label x"},
        {"#8B:'child' play #8B:'' stop", "child: play|root: stop"},
        {"'child' set_target_exp stop", "child: stop"},
        {"'intro' #9E", "root: call intro"},
        {"'child' #25", "root: remove child"},            // rem_sprite asks the parent
        {"'child' 'copy' 5 #24", "child: clone copy 5"},  // dup_sprite of a variable naming a sprite
        {"false true 'child' start_drag", "root: drag child lock"},
        {"1 2 3 4 true false 'child' start_drag", "root: drag child bound 1,2,3,4"},
        {"'left' false false 'nobody' start_drag trace", ""},  // an unknown target still pops
        {"#28", "root: stop_drag"},
    };
    for (const auto& [code, journal] : cases) {
        movie_runner runner;
        EXPECT_EQ(runner.journal(assemble(code)), journal) << code;
    }
}

TEST(InterpreterMovieTest, properties_timer_and_the_target_after_a_run) {
    movie_runner runner;
    EXPECT_EQ(runner.run(assemble("'child' 0 42 set_prop 'child' 0 get_prop trace 'child' 30 get_prop trace "
                                  "'nobody' 0 get_prop trace get_timer type_of trace")),
              "42|undefined|undefined|number");
    EXPECT_TRUE(runner.logged("error: invalid property query, property number 30"));

    // An End action leaves the target a SetTarget chose; running off the range restores it.
    Bytes code = assemble("#8B:'child'").bytes();
    swfplayer::action_buffer buffer;
    buffer.read(code.data(), static_cast<int>(code.size()));
    swfplayer::array<swfplayer::with_stack_entry> no_with;
    buffer.execute(&runner.m_root->m_env, 0, buffer.size() - 1, nullptr, no_with, false);
    EXPECT_EQ(runner.m_root->m_env.get_target(), runner.m_root.get_ptr());
    buffer.execute(&runner.m_root->m_env);
    EXPECT_EQ(runner.m_root->m_env.get_target(), runner.m_child.get_ptr());
    runner.m_root->m_env.set_target(runner.m_root.get_ptr());
    EXPECT_EQ(runner.journal(assemble("'child' get_var play")), "root: play");
}

}  // namespace
