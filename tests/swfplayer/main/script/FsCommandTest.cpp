#include "swfplayer/main/script/player.h"
#include "tests/swfplayer/main/display/DisplayTestKit.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace swfkit;

namespace {

std::vector<std::string> s_received;
swfplayer::character* s_movie = nullptr;

void receive(swfplayer::character* movie, const char* command, const char* argument) {
    s_received.push_back(std::string(command) + "(" + argument + ")");
    s_movie = movie;
}

class FsCommandTest : public display_test::DisplayFixture {
protected:
    void TearDown() override {
        swfplayer::register_fscommand_callback(nullptr);
        DisplayFixture::TearDown();
    }

    // Plays the movie's root sprite for the given number of frame steps.
    void Play(const swfkit::Movie& movie, int steps) {
        s_received.clear();
        s_movie = nullptr;
        auto def = LoadMovie(movie.Write(false));
        ASSERT_TRUE(def);
        m_sprite = make_root_sprite(def.get_ptr());
        m_player->set_root_movie(m_sprite.get_ptr());
        for (int i = 0; i < steps; i++) {
            m_sprite->advance(0.0f);
        }
    }

    swfplayer::smart_ptr<swfplayer::sprite_instance> m_sprite;
};

TEST_F(FsCommandTest, frame_scripts_jump_stop_and_send_commands_with_the_exact_prefix_to_a_receiver_if_any) {
    swfkit::Movie movie(6, {0, 8000, 0, 6000}, 30);
    // Frame 1 sends Go, a lower-case prefix (a URL, not a command), an empty command and, through
    // GetURL2, Two with an argument, then jumps to "last"; frame 2 is skipped; frame 3 stops.
    movie.Tags().DoAction(assemble("#83:'FSCommand:Go','' #83:'fscommand:Lower','' #83:'FSCommand:','x' "
                                   "'FSCommand:Two' 'arg' #9A:00 #8C:'last'")
                              .bytes());
    movie.Tags().ShowFrame().DoAction(assemble("#83:'FSCommand:Skipped',''").bytes()).ShowFrame();
    movie.Tags().FrameLabel("last").DoAction(assemble("#83:'FSCommand:Last','' stop").bytes()).ShowFrame();
    // Without a receiver commands are dropped quietly.
    Play(movie, 4);
    EXPECT_TRUE(s_received.empty());
    EXPECT_FALSE(Logged("get_url"));
    swfplayer::register_fscommand_callback(receive);
    Play(movie, 4);
    EXPECT_EQ(s_received, (std::vector<std::string>{"Go()", "(x)", "Two(arg)", "Last()"}));
    EXPECT_EQ(s_movie, m_sprite.get_ptr());
    EXPECT_FALSE(Logged("Lower"));  // a URL to load, which loads nothing, and quietly
    EXPECT_EQ(std::pair(m_sprite->get_current_frame(), m_sprite->get_play_state()),
              std::pair(2, swfplayer::character::STOP));
}

}  // namespace
