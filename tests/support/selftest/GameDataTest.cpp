// The copy of the game's data that the window and end-to-end tests start from, while another
// test writes movie caches into the same folder.
#include "tests/support/GameData.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

// Every file but the caches arrives, nested folders included, while cache files and their
// temporary files appear and go in the folder being copied.
TEST(GameData, a_copy_takes_every_file_but_the_caches_while_caches_come_and_go) {
    const TempDir game;
    WriteFile(game / "data/gui/menu.swf", "movie");
    WriteFile(game / "data/gui/menu.swf.gsc", "cache");
    WriteFile(game / "data/levels/1_pond.xml", "<level/>");
    std::atomic<bool> copying = true;
    std::thread writer([&] {
        for (int i = 0; copying; ++i) {
            const std::filesystem::path temporary =
                game / ("data/gui/menu.swf.gsc.pondorix-unsaved-" + std::to_string(i % 100));
            WriteFile(temporary, "cache");
            std::filesystem::remove(temporary);
        }
    });
    for (int round = 0; round < 200; ++round) {
        const TempDir copy;
        ASSERT_NO_THROW(testing_support::CopyGameData(game / "data", copy / "data")) << "round " << round;
        EXPECT_EQ(ReadFile(copy / "data/gui/menu.swf"), "movie");
        EXPECT_EQ(ReadFile(copy / "data/levels/1_pond.xml"), "<level/>");
        EXPECT_FALSE(std::filesystem::exists(copy / "data/gui/menu.swf.gsc"));
    }
    copying = false;
    writer.join();
}

}  // namespace
