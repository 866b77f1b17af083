// NetConnection and NetStream: video is not available, so only the local connection succeeds.
#include "tests/swfplayer/main/swfplayer_as_classes/BuiltinTestKit.h"

using namespace builtin_test;

namespace {

class NetConnectionTest : public BuiltinFixture {};

TEST_F(NetConnectionTest, only_connect_with_one_null_argument_succeeds_and_netstream_makes_nothing) {
    as_value connection = call_global("NetConnection", {});
    ASSERT_TRUE(connection.to_object()->is(AS_NETCONNECTION));
    const as_value null_object(static_cast<as_object*>(nullptr));
    const std::pair<std::vector<as_value>, bool> cases[] = {{{null_object}, true},
                                                            {{}, false},
                                                            {{"rtmp://127.0.0.1/app"}, false},
                                                            {{as_value()}, false},
                                                            {{null_object, null_object}, false}};
    for (const auto& [args, connected] : cases) {
        EXPECT_EQ(method(connection, "connect", args), as_value(connected)) << args.size();
    }
    EXPECT_EQ(flags(connection.to_object(), "connect"), 0);  // an ordinary member
    EXPECT_TRUE(call_global("NetStream", {connection}).is_undefined());
    EXPECT_EQ(s_log, "video requires FFMPEG library\n");
}

}  // namespace
