#include "swfplayer/base/log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using swfplayer::log_error;
using swfplayer::log_msg;
using swfplayer::register_log_callback;

namespace {

struct captured_message {
    bool is_error;
    std::string text;
};

std::vector<captured_message> g_messages;

void capture(bool is_error, const char* message) {
    g_messages.push_back({is_error, message});
}

// Installs the capturing callback for one test and puts the previous one back afterwards.
class PlayerLog : public testing::Test {
protected:
    void SetUp() override {
        g_messages.clear();
        m_previous = register_log_callback(capture);
    }
    void TearDown() override { register_log_callback(m_previous); }

    swfplayer::log_callback m_previous = nullptr;
};

TEST(PlayerLogDefault, writes_messages_to_stdout_and_errors_to_stderr_verbatim) {
    // Each registration hands back the one it replaced, down to the default handler.
    swfplayer::log_callback default_handler = register_log_callback(capture);
    EXPECT_EQ(capture, register_log_callback(default_handler));
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    log_msg("%s", "100% done\n");
    log_error("*** no tag loader for type %d\n", 99);
    std::string out = testing::internal::GetCapturedStdout();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ("100% done\n", out);
    EXPECT_EQ("*** no tag loader for type 99\n", err);
}

TEST_F(PlayerLog, formats_and_tells_errors_from_messages) {
    log_msg("frame %d of %s\n", 3, "intro");
    log_error("bad tag %x\n", 0x3F);
    ASSERT_EQ(2u, g_messages.size());
    EXPECT_FALSE(g_messages[0].is_error);
    EXPECT_EQ("frame 3 of intro\n", g_messages[0].text);
    EXPECT_TRUE(g_messages[1].is_error);
    EXPECT_EQ("bad tag 3f\n", g_messages[1].text);
}

TEST_F(PlayerLog, a_percent_sign_in_an_argument_reaches_the_callback_unchanged) {
    log_msg("name: %s\n", "%s%n%d%%");
    ASSERT_EQ(1u, g_messages.size());
    EXPECT_EQ("name: %s%n%d%%\n", g_messages[0].text);
}

TEST_F(PlayerLog, long_messages_are_cut_to_499_characters) {
    std::string long_text(1000, 'w');
    log_error("%s", long_text.c_str());
    log_msg("%s", long_text.substr(0, 499).c_str());
    ASSERT_EQ(2u, g_messages.size());
    EXPECT_EQ(long_text.substr(0, 499), g_messages[0].text);
    EXPECT_EQ(long_text.substr(0, 499), g_messages[1].text);
}

TEST_F(PlayerLog, a_null_callback_silences_both_functions) {
    register_log_callback(nullptr);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    log_msg("quiet\n");
    log_error("quiet\n");
    EXPECT_EQ("", testing::internal::GetCapturedStdout());
    EXPECT_EQ("", testing::internal::GetCapturedStderr());
    EXPECT_TRUE(g_messages.empty());
}

TEST(PlayerLogSwitches, verbose_switches_start_off_except_debug) {
    EXPECT_FALSE(swfplayer::get_verbose_parse());
    EXPECT_FALSE(swfplayer::get_verbose_action());
    EXPECT_TRUE(swfplayer::get_verbose_debug());
    swfplayer::set_verbose_parse(true);
    swfplayer::set_verbose_action(true);
    EXPECT_TRUE(swfplayer::get_verbose_parse());
    EXPECT_TRUE(swfplayer::get_verbose_action());
    swfplayer::set_verbose_parse(false);
    swfplayer::set_verbose_action(false);
    EXPECT_FALSE(swfplayer::get_verbose_parse());
}

}  // namespace
