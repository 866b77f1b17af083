// NetConnection and NetStream: video is not available, so only the local connection succeeds.
#include "tests/swfplayer/main/swfplayer_as_classes/BuiltinTestKit.h"

using namespace builtin_test;

namespace {

class NetConnectionTest : public BuiltinFixture {};

TEST_F(NetConnectionTest, only_connect_with_one_null_argument_succeeds) {
    as_value connection = call_global("NetConnection", {});
    ASSERT_TRUE(connection.to_object() && connection.to_object()->is(AS_NETCONNECTION));
    const as_value null_object(static_cast<as_object*>(nullptr));
    const struct {
        std::vector<as_value> args;
        bool connected;
    } cases[] = {
        {{null_object}, true},
        {{}, false},
        {{"rtmp://127.0.0.1/app"}, false},
        {{as_value()}, false},
        {{null_object, null_object}, false},
        {{plain_object()}, false},
    };
    for (const auto& c : cases) {
        as_value result = method(connection, "connect", c.args);
        EXPECT_TRUE(result.is_bool());
        EXPECT_EQ(result.to_bool(), c.connected) << c.args.size();
    }
    // An ordinary member: enumerated, and script may replace it.
    EXPECT_EQ(flags(connection.to_object(), "connect"), 0);
    connection.to_object()->set_member("connect", 5);
    EXPECT_EQ(member(connection.to_object(), "connect").to_number(), 5);
}

TEST_F(NetConnectionTest, netstream_logs_that_video_is_not_available_and_makes_nothing) {
    EXPECT_TRUE(call_global("NetStream", {call_global("NetConnection", {})}).is_undefined());
    EXPECT_EQ(s_log, "video requires FFMPEG library\n");
}

}  // namespace
