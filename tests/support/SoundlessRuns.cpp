#include "tests/support/SoundlessRuns.h"

#include "tests/support/GameProcess.h"
#include "tests/support/TextLines.h"
#include "tests/support/X11TestDisplay.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

namespace testing_support {
namespace {

constexpr std::chrono::seconds kChunk{1};
// Output lines are short; a file larger than this holds too many of them to be worth reading.
constexpr std::uintmax_t kMaxOutputBytes = kMaxSoundlessOutputLines * 1000;

// Whether the program's output is still within bounds; a failure says what it holds.
bool OutputWithinBounds(const GameProcess& game, const std::string& name) {
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(game.Folder() / "output.txt", error);
    if (!error && bytes > kMaxOutputBytes) {
        ADD_FAILURE() << name << " wrote " << bytes << " bytes of output";
        return false;
    }
    const std::string output = game.Output();
    const size_t lines = SplitLines(output).size();
    if (lines >= kMaxSoundlessOutputLines) {
        ADD_FAILURE() << name << " wrote " << lines << " lines of output, first:\n" << output.substr(0, 4000);
        return false;
    }
    return true;
}

void RunSoundless(const std::vector<std::string>& command, const std::string& gameFolder, int instance,
                  std::chrono::seconds gameTime) {
    const std::string name = "run " + std::to_string(instance);
    X11TestDisplay display(1024, 768);
    GameProcess game(display, gameFolder);
    if (!game.Start(command, {"ALSOFT_DRIVERS=nonexistent"})) {
        ADD_FAILURE() << name << " showed no window; output:\n" << game.Output().substr(0, 4000);
        return;
    }
    for (std::chrono::seconds run{0}; run < gameTime; run += kChunk) {
        if (!OutputWithinBounds(game, name) || !game.RunGameTime(kChunk)) {
            ADD_FAILURE() << name << " stopped after " << run.count() << " s of its time";
            return;
        }
    }
    if (!OutputWithinBounds(game, name)) {
        return;
    }
    EXPECT_TRUE(game.Close()) << name;
    EXPECT_TRUE(OutputWithinBounds(game, name));
    const std::string log = game.Log();
    int said = 0;
    for (const std::string& line : SplitLines(log)) {
        said += line.find(" ERROR: SoundManager: the game runs without sound: ") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(said, 1) << name << "'s log:\n" << log.substr(0, 4000);
}

}  // namespace

void ExpectSoundlessRuns(const std::vector<std::string>& command, const std::string& gameFolder, int instances,
                         std::chrono::seconds gameTime) {
    std::vector<std::thread> runs;
    for (int i = 1; i <= instances; ++i) {
        runs.emplace_back(RunSoundless, command, gameFolder, i, gameTime);
    }
    for (std::thread& run : runs) {
        run.join();
    }
}

}  // namespace testing_support
