#include "tests/support/OnlyClientStarts.h"

#include "tests/support/X11TestDisplay.h"

#include <thread>

namespace testing_support {
namespace {

// Large enough for the window of any preferences the tests give.
constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;

void StartAsOnlyClient(const std::vector<std::string>& command, const std::string& gameFolder,
                       const std::string& preferences, int start, const ShownCheck& shown) {
    SCOPED_TRACE("start " + std::to_string(start));
    X11TestDisplay display(kScreenWidth, kScreenHeight, X11TestDisplay::Connection::Later);
    GameProcess game(display, gameFolder, preferences);
    const testing::AssertionResult started = game.StartAsOnlyClient(command);
    if (!started) {
        ADD_FAILURE() << started.message();
        return;
    }
    EXPECT_TRUE(shown(game));
    EXPECT_TRUE(game.Close());
}

}  // namespace

void ExpectStartsAsOnlyClient(const std::vector<std::string>& command, const std::string& gameFolder,
                              const std::string& preferences, int starts, int atOnce, const ShownCheck& shown) {
    for (int first = 1; first <= starts; first += atOnce) {
        std::vector<std::thread> runs;
        for (int start = first; start < first + atOnce && start <= starts; ++start) {
            runs.emplace_back(StartAsOnlyClient, command, gameFolder, preferences, start, shown);
        }
        for (std::thread& run : runs) {
            run.join();
        }
    }
}

}  // namespace testing_support
