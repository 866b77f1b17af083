#include "platform/UserFolder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using testing_support::ScopedEnv;
using testing_support::TempDir;

TEST(UserFolder, xdg_data_home_is_used_and_created_with_parents) {
    TempDir dir;
    ScopedEnv xdg("XDG_DATA_HOME", (dir / "a/b").string());
    std::string folder = platform::GetUserDataFolder();
    EXPECT_EQ(folder, (dir / "a/b/Pondorix").string() + "/");
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(UserFolder, falls_back_to_home_when_xdg_is_unset_or_relative) {
    TempDir dir;
    ScopedEnv home("HOME", dir.Path().string());
    ScopedEnv xdg("XDG_DATA_HOME", "relative/path");
    EXPECT_EQ(platform::GetUserDataFolder(), (dir / ".local/share/Pondorix").string() + "/");
}

TEST(UserFolder, unusable_folder_gives_empty_path) {
    TempDir dir;
    testing_support::WriteFile(dir / "file", "not a folder");
    ScopedEnv xdg("XDG_DATA_HOME", (dir / "file").string());
    EXPECT_EQ(platform::GetUserDataFolder(), "");
}
