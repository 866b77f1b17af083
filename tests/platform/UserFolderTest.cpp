#include "platform/UserFolder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using testing_support::ScopedEnv;

// An absolute XDG_DATA_HOME is used and created with its parents; a relative one falls back to
// HOME's ".local/share"; a folder that cannot be made gives an empty path.
TEST(UserFolder, xdg_data_home_or_home_gives_the_created_folder) {
    testing_support::TempDir dir;
    testing_support::WriteFile(dir / "file", "not a folder");
    ScopedEnv home("HOME", dir.Path().string());
    const std::pair<std::string, std::string> rows[] = {
        {(dir / "a/b").string(), (dir / "a/b/Pondorix").string() + "/"},
        {"relative/path", (dir / ".local/share/Pondorix").string() + "/"},
        {(dir / "file").string(), ""}};
    for (const auto& [xdg, expected] : rows) {
        ScopedEnv variable("XDG_DATA_HOME", xdg);
        const std::string folder = platform::GetUserDataFolder();
        EXPECT_EQ(folder, expected) << xdg;
        EXPECT_TRUE(folder.empty() || std::filesystem::is_directory(folder)) << xdg;
    }
}
