#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/script/player.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/script/ScriptRunner.h"
#include "tools/swfkit/Movie.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace script_test;

namespace {

// A clip that runs the actions of its frames at once.
class running_clip : public script_clip {
public:
    using script_clip::script_clip;
    void add_action_buffer(swfplayer::action_buffer* buffer) override { buffer->execute(&m_env); }
};

struct received {
    swfplayer::character* movie;
    std::string command;
    std::string argument;
};

std::vector<received> s_received;

void receive(swfplayer::character* movie, const char* command, const char* argument) {
    s_received.push_back({movie, command, argument});
}

Bytes get_url(const std::string& url, const std::string& window) {
    Bytes payload(url.begin(), url.end());
    payload.push_back(0);
    payload.insert(payload.end(), window.begin(), window.end());
    payload.push_back(0);
    return action_assembler().record(0x83, payload).bytes();
}

class FsCommandTest : public swf_testing::SwfLoadingFixture {
protected:
    // Loads the movie and runs its first frame's actions on a clip that is the player's root.
    void PlayFirstFrame(const swfkit::Movie& movie) {
        auto def = LoadMovie(movie.Write(false));
        ASSERT_TRUE(def);
        m_clip = new running_clip(m_player.get_ptr());
        m_clip->m_env.set_target(m_clip.get_ptr());
        m_player->set_root_movie(m_clip.get_ptr());
        for (swfplayer::execute_tag* tag : def->get_playlist(0)) {
            tag->execute(m_clip.get_ptr());
        }
        m_clip->m_env.set_target(nullptr);
    }

    void TearDown() override {
        swfplayer::register_fscommand_callback(nullptr);
        m_clip = nullptr;
        SwfLoadingFixture::TearDown();
    }

    swfplayer::smart_ptr<running_clip> m_clip;
};

TEST_F(FsCommandTest, frame_scripts_send_commands_with_the_exact_prefix_only) {
    s_received.clear();
    swfplayer::register_fscommand_callback(receive);
    swfkit::Movie movie(6, {0, 8000, 0, 6000}, 30);
    movie.Tags().DoAction(get_url("FSCommand:Go", "")).DoAction(get_url("fscommand:Lower", ""));
    movie.Tags().DoAction(get_url("FSCommand:", "x"));
    movie.Tags().DoAction(action_assembler().push({str("FSCommand:Two"), str("arg")}).record(0x9A, {0}).bytes());
    movie.Tags().ShowFrame();
    PlayFirstFrame(movie);
    ASSERT_EQ(s_received.size(), 3u);
    EXPECT_EQ(s_received[0].command, "Go");
    EXPECT_EQ(s_received[0].argument, "");
    EXPECT_EQ(s_received[0].movie, m_clip.get_ptr());
    EXPECT_EQ(s_received[1].command, "");
    EXPECT_EQ(s_received[1].argument, "x");
    EXPECT_EQ(s_received[2].command, "Two");
    EXPECT_EQ(s_received[2].argument, "arg");
    EXPECT_TRUE(Logged("fscommand:Lower"));
}

TEST_F(FsCommandTest, without_a_receiver_commands_are_dropped) {
    s_received.clear();
    swfkit::Movie movie(6, {0, 8000, 0, 6000}, 30);
    movie.Tags().DoAction(get_url("FSCommand:Go", "")).ShowFrame();
    PlayFirstFrame(movie);
    EXPECT_TRUE(s_received.empty());
    EXPECT_FALSE(Logged("get_url"));
}

}  // namespace
