#include "swfplayer/base/log.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/player.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace swfplayer;

namespace {

std::vector<std::string> s_lines;

void capture(bool, const char* message) {
    s_lines.push_back(message);
}

// Register traces name an object by its whole address, as %p prints it, not by its low 32 bits.
TEST(LogAddress, register_traces_print_the_whole_object_address) {
    smart_ptr<player> owner = new player();
    smart_ptr<as_object> object = new as_object(owner.get_ptr());
    char address[32];
    std::snprintf(address, sizeof(address), "%p", static_cast<void*>(object.get_ptr()));

    log_callback previous = register_log_callback(capture);
    const bool verbose = get_verbose_action();
    set_verbose_action(true);
    s_lines.clear();
    {
        as_environment env(owner.get_ptr());
        env.push_register_frame(1);
        env.set_register(0, as_value(object.get_ptr()));
        env.get_register(0);
    }
    set_verbose_action(verbose);
    register_log_callback(previous);

    ASSERT_EQ(s_lines.size(), 2u);
    for (const std::string& line : s_lines) {
        EXPECT_NE(line.find(std::string(" at ") + address + "\n"), std::string::npos) << line << " lacks " << address;
    }
}

}  // namespace
