#include "platform/UserFolder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using testing_support::ScopedEnv;

// An absolute XDG_DATA_HOME is used and created with its parents; a relative one falls back to
// HOME's ".local/share"; a folder that cannot be made (its parent is a file) gives an empty path,
// while the path it was to have is still known.
TEST(UserFolder, xdg_data_home_or_home_gives_the_created_folder) {
    testing_support::TempDir dir;
    testing_support::WriteFile(dir / "file", "not a folder");
    ScopedEnv home("HOME", dir.Path().string());
    const struct {
        std::string xdg, path, created;
    } rows[] = {{(dir / "a/b").string(), (dir / "a/b/Pondorix").string() + "/", (dir / "a/b/Pondorix").string() + "/"},
                {"relative/path", (dir / ".local/share/Pondorix").string() + "/",
                 (dir / ".local/share/Pondorix").string() + "/"},
                {(dir / "file").string(), (dir / "file/Pondorix").string() + "/", ""}};
    for (const auto& row : rows) {
        ScopedEnv variable("XDG_DATA_HOME", row.xdg);
        EXPECT_EQ(platform::UserDataFolderPath(), row.path) << row.xdg;
        const std::string folder = platform::GetUserDataFolder();
        EXPECT_EQ(folder, row.created) << row.xdg;
        EXPECT_TRUE(folder.empty() || std::filesystem::is_directory(folder)) << row.xdg;
    }
}

// Only a folder that exists counts as writable: not a file, not a path that leads nowhere.
TEST(UserFolder, only_an_existing_folder_is_writable) {
    testing_support::TempDir dir;
    testing_support::WriteFile(dir / "file", "not a folder");
    EXPECT_TRUE(platform::IsWritableFolder(dir.Path().string()));
    EXPECT_FALSE(platform::IsWritableFolder((dir / "file").string()));
    EXPECT_FALSE(platform::IsWritableFolder((dir / "missing").string()));
    EXPECT_FALSE(platform::IsWritableFolder((dir / "file/below").string()));
}
