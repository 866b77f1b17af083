#include "swfplayer/base/log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using swfplayer::log_error;
using swfplayer::log_msg;
using swfplayer::register_log_callback;

namespace {

std::vector<std::pair<bool, std::string>> g_messages;

void capture(bool is_error, const char* message) {
    g_messages.emplace_back(is_error, message);
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
    EXPECT_EQ("100% done\n", testing::internal::GetCapturedStdout());
    EXPECT_EQ("*** no tag loader for type 99\n", testing::internal::GetCapturedStderr());
    // Trace output stays off until the player turns it on.
    EXPECT_FALSE(swfplayer::get_verbose_parse());
    EXPECT_FALSE(swfplayer::get_verbose_action());
    EXPECT_TRUE(swfplayer::get_verbose_debug());
}

TEST_F(PlayerLog, formats_tells_errors_from_messages_passes_percent_signs_and_cuts_at_499_characters) {
    std::string long_text(1000, 'w');
    log_msg("frame %d of %s: %s\n", 3, "intro", "%s%n%d%%");
    log_error("bad tag %x\n", 0x3F);
    log_error("%s", long_text.c_str());
    log_msg("%s", long_text.substr(0, 499).c_str());
    const decltype(g_messages) expected = {{false, "frame 3 of intro: %s%n%d%%\n"},
                                           {true, "bad tag 3f\n"},
                                           {true, long_text.substr(0, 499)},
                                           {false, long_text.substr(0, 499)}};
    EXPECT_EQ(expected, g_messages);
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

}  // namespace
