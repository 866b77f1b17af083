#include "platform/ReplacementFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

using platform::ReplacementFile;
using testing_support::ReadFile;

namespace {

std::vector<std::string> Names(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

bool Write(ReplacementFile& file, const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), file.GetFile()) == text.size();
}

class ReplacementFileTest : public ::testing::Test {
protected:
    testing_support::TempDir m_dir;
};

TEST_F(ReplacementFileTest, two_writers_of_one_file_never_share_a_temporary_file) {
    const std::string target = (m_dir / "save.xml").string();
    // Two running games saving at once: each writes its own temporary file, the last commit wins
    // whole, and nothing else is left in the folder.
    ReplacementFile first(target);
    ReplacementFile second(target);
    ASSERT_TRUE(first.IsOpen());
    ASSERT_TRUE(second.IsOpen());
    ASSERT_TRUE(Write(first, "first version, the longer one"));
    ASSERT_TRUE(Write(second, "second"));
    EXPECT_TRUE(second.Commit()) << second.GetError();
    EXPECT_TRUE(first.Commit()) << first.GetError();
    EXPECT_EQ(ReadFile(target), "first version, the longer one");
    EXPECT_EQ(Names(m_dir.Path()), std::vector<std::string>{"save.xml"});
}

TEST_F(ReplacementFileTest, what_is_not_committed_leaves_the_old_file_and_no_trace) {
    const std::filesystem::path target = m_dir / "deep" / "folder" / "save.xml";
    {
        ReplacementFile file(target.string());  // parent folders are made
        ASSERT_TRUE(file.IsOpen()) << file.GetError();
        ASSERT_TRUE(Write(file, "old"));
        ASSERT_TRUE(file.Commit());
    }
    ASSERT_EQ(chmod(target.c_str(), 0600), 0);
    {
        ReplacementFile dropped(target.string());  // destroyed without a commit
        ASSERT_TRUE(Write(dropped, "half"));
    }
    EXPECT_EQ(ReadFile(target), "old");
    EXPECT_EQ(Names(target.parent_path()), std::vector<std::string>{"save.xml"});

    ReplacementFile kept(target.string());
    ASSERT_TRUE(Write(kept, "new"));
    ASSERT_TRUE(kept.Commit());
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "the new version keeps the old one's permissions";
}

TEST_F(ReplacementFileTest, failures_are_reported_with_the_step_and_keep_the_old_file) {
    // A folder in place of the file: the rename fails, for root too.
    std::filesystem::create_directories(m_dir / "save.xml" / "inside");
    ReplacementFile blocked((m_dir / "save.xml").string());
    ASSERT_TRUE(Write(blocked, "new"));
    EXPECT_FALSE(blocked.Commit());
    EXPECT_NE(blocked.GetError().find("cannot rename over"), std::string::npos) << blocked.GetError();
    EXPECT_TRUE(std::filesystem::is_directory(m_dir / "save.xml" / "inside"));
    EXPECT_EQ(Names(m_dir.Path()), std::vector<std::string>{"save.xml"});

    // A file where the parent folder would go: nothing can be created.
    testing_support::WriteFile(m_dir / "file", "x");
    ReplacementFile noFolder((m_dir / "file" / "y.xml").string());
    EXPECT_FALSE(noFolder.IsOpen());
    EXPECT_FALSE(noFolder.Commit());
    EXPECT_NE(noFolder.GetError().find("cannot create a temporary file"), std::string::npos) << noFolder.GetError();
}

}  // namespace
