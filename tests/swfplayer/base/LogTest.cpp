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

// Logs a message and an error with the callback installed and returns what reached stdout and
// stderr; the previous callback is put back.
std::pair<std::string, std::string> LogBoth(swfplayer::log_callback callback, const char* message, const char* error) {
    swfplayer::log_callback previous = register_log_callback(callback);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    log_msg("%s", message);
    log_error("*** %s %d\n", error, 99);
    std::pair<std::string, std::string> printed = {testing::internal::GetCapturedStdout(),
                                                   testing::internal::GetCapturedStderr()};
    EXPECT_EQ(callback, register_log_callback(previous));  // each registration hands back the one it replaced
    return printed;
}

TEST(PlayerLog, the_default_writes_messages_to_stdout_and_errors_to_stderr_verbatim_and_null_silences_both) {
    swfplayer::log_callback default_handler = register_log_callback(capture);
    register_log_callback(default_handler);
    EXPECT_EQ(LogBoth(default_handler, "100% done\n", "no tag loader for type"),
              (std::pair<std::string, std::string>{"100% done\n", "*** no tag loader for type 99\n"}));
    EXPECT_EQ(LogBoth(nullptr, "quiet\n", "quiet"), (std::pair<std::string, std::string>{"", ""}));
    // Trace output stays off until the player turns it on.
    EXPECT_FALSE(swfplayer::get_verbose_parse());
    EXPECT_FALSE(swfplayer::get_verbose_action());
    EXPECT_TRUE(swfplayer::get_verbose_debug());
}

TEST(PlayerLog, formats_tells_errors_from_messages_passes_percent_signs_and_cuts_at_499_characters) {
    g_messages.clear();
    std::string long_text(1000, 'w');
    swfplayer::log_callback previous = register_log_callback(capture);
    log_msg("frame %d of %s: %s\n", 3, "intro", "%s%n%d%%");
    log_error("bad tag %x\n", 0x3F);
    log_error("%s", long_text.c_str());
    log_msg("%s", long_text.substr(0, 499).c_str());
    register_log_callback(previous);
    const decltype(g_messages) expected = {{false, "frame 3 of intro: %s%n%d%%\n"},
                                           {true, "bad tag 3f\n"},
                                           {true, long_text.substr(0, 499)},
                                           {false, long_text.substr(0, 499)}};
    EXPECT_EQ(expected, g_messages);
}

}  // namespace
