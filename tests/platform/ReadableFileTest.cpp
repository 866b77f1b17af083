#include "platform/ReadableFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

using platform::WhyNotRegularFile;
using platform::WhyUnreadable;

// Both questions on what a folder may hold: a regular file, nothing, a link that leads nowhere, a
// folder and a pipe. The pipe is told without being opened (opening it would wait for a writer
// that never comes), so the calls return.
TEST(ReadableFile, tells_what_is_not_a_readable_regular_file_without_opening_it) {
    testing_support::TempDir dir;
    const std::filesystem::path file = dir / "file";
    testing_support::WriteFile(file, "data");
    std::filesystem::create_symlink("nowhere", dir / "dangling");
    std::filesystem::create_directory(dir / "folder");
    ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
    const std::string missing = std::generic_category().message(ENOENT);

    EXPECT_EQ(WhyUnreadable(file.string()), "");
    EXPECT_EQ(WhyNotRegularFile(file.string()), "");
    EXPECT_EQ(WhyUnreadable((dir / "none").string()), missing);
    EXPECT_EQ(WhyNotRegularFile((dir / "none").string()), "");
    EXPECT_EQ(WhyUnreadable((dir / "dangling").string()), missing);
    EXPECT_EQ(WhyNotRegularFile((dir / "dangling").string()), "");
    for (const auto& check : {WhyUnreadable, WhyNotRegularFile}) {
        EXPECT_EQ(check((dir / "folder").string()), std::generic_category().message(EISDIR));
        EXPECT_EQ(check((dir / "pipe").string()), "not a regular file");
    }
}
