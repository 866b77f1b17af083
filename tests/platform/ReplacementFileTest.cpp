#include "platform/ReplacementFile.h"
#include "tests/support/KilledSave.h"
#include "tests/support/SpecialFiles.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

using platform::ReplacementFile;
using testing_support::KillDuringSave;
using testing_support::NamesIn;
using testing_support::ReadFile;
using testing_support::SpecialKind;

namespace {

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
    EXPECT_EQ(NamesIn(m_dir.Path()), std::vector<std::string>{"save.xml"});
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
    EXPECT_EQ(NamesIn(target.parent_path()), std::vector<std::string>{"save.xml"});

    ReplacementFile kept(target.string());
    ASSERT_TRUE(Write(kept, "new"));
    ASSERT_TRUE(kept.Commit());
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "the new version keeps the old one's permissions";
}

TEST_F(ReplacementFileTest, failures_are_reported_with_the_step_and_keep_the_old_file) {
    // A file where the parent folder would go: nothing can be created.
    testing_support::WriteFile(m_dir / "file", "x");
    ReplacementFile noFolder((m_dir / "file" / "y.xml").string());
    EXPECT_FALSE(noFolder.IsOpen());
    EXPECT_FALSE(noFolder.Commit());
    EXPECT_NE(noFolder.GetError().find("cannot create a temporary file"), std::string::npos) << noFolder.GetError();
}

// What is there and is not a regular file (a pipe, a socket, a folder, a device), named itself or
// through a link, whether links are replaced or followed: the replacement is refused before
// anything is made, what is there stays as it was, and the folder gains nothing.
TEST_F(ReplacementFileTest, what_is_not_a_regular_file_is_never_replaced) {
    for (SpecialKind kind : testing_support::SpecialKinds()) {
        SCOPED_TRACE(testing_support::NameOf(kind));
        testing_support::TempDir dir;
        const std::filesystem::path special = dir / "special";
        if (!testing_support::MakeSpecial(kind, special)) {
            continue;
        }
        std::filesystem::create_symlink("special", dir / "link.xml");
        const auto identity = testing_support::IdentityOf(special);
        const std::vector<std::string> names = NamesIn(dir.Path());
        for (const std::filesystem::path& path : {special, dir / "link.xml"}) {
            for (ReplacementFile::Links links : {ReplacementFile::Links::Replace, ReplacementFile::Links::Follow}) {
                ReplacementFile file(path.string(), links);
                EXPECT_FALSE(file.IsOpen()) << path;
                EXPECT_FALSE(file.Commit());
                const std::filesystem::path named = links == ReplacementFile::Links::Follow ? special : path;
                EXPECT_EQ(file.GetError(),
                          "cannot replace " + named.string() + ": " + testing_support::RefusalOf(kind));
            }
        }
        EXPECT_EQ(testing_support::IdentityOf(special), identity);
        EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.xml"));
        EXPECT_EQ(NamesIn(dir.Path()), names);
    }
}

// One put in place of the old file while the new version was written: the commit looks again and
// refuses it, and the temporary file goes.
TEST_F(ReplacementFileTest, what_becomes_other_than_a_regular_file_during_a_save_is_not_replaced) {
    for (SpecialKind kind : testing_support::SpecialKinds()) {
        SCOPED_TRACE(testing_support::NameOf(kind));
        testing_support::TempDir dir;
        const std::filesystem::path kept = dir / "kept.xml";
        testing_support::WriteFile(kept, "old");
        std::filesystem::create_symlink("kept.xml", dir / "link.xml");
        ReplacementFile file((dir / "link.xml").string(), ReplacementFile::Links::Follow);
        ASSERT_TRUE(Write(file, "new"));
        std::filesystem::remove(kept);
        if (!testing_support::MakeSpecial(kind, kept)) {
            continue;
        }
        const auto identity = testing_support::IdentityOf(kept);
        EXPECT_FALSE(file.Commit());
        EXPECT_EQ(file.GetError(), "cannot replace " + kept.string() + ": " + testing_support::RefusalOf(kind));
        EXPECT_EQ(testing_support::IdentityOf(kept), identity);
        EXPECT_EQ(NamesIn(dir.Path()), (std::vector<std::string>{"kept.xml", "link.xml"}));
    }
}

// Three saves killed halfway leave three temporary files, each with the mark that only the game
// writes; RemoveLeftovers takes those and only those: never the file of a save still running, nor
// a file without the mark, whatever its name looks like (a player's backups, the statistics' own
// copies moved aside, a name of six letters or digits after a dot).
TEST_F(ReplacementFileTest, leftovers_of_killed_saves_are_removed_and_nothing_else) {
    const std::string target = (m_dir / "save.xml").string();
    testing_support::WriteFile(target, "old");
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(KillDuringSave(target));
    }
    std::vector<std::string> killed = NamesIn(m_dir.Path());
    killed.erase(std::find(killed.begin(), killed.end(), "save.xml"));
    ASSERT_EQ(killed.size(), 3u);
    for (const std::string& name : killed) {
        EXPECT_EQ(name.rfind("save.xml.pondorix-unsaved-", 0), 0u) << name;
    }
    for (const char* name :
         {"save.xml.tmp", "save.xml.backup", "save.xml.bad100", "save.xml.old123", "save.xml.Ab12Cd", "save.xml.bad",
          "save.xml.pondorix-unsaved-Ab12C", "save.xml.pondorix-unsaved-Ab12Cd3", "save.xml.pondorix-unsaved-Ab-2Cd",
          "save.xml.pondorix-unsaved.Ab12Cd", "other.xml.pondorix-unsaved-Ab12Cd", "save.xmlpondorix-unsaved-Ab12Cd",
          "Save.xml.pondorix-unsaved-Ab12Cd"}) {
        testing_support::WriteFile(m_dir / name, "kept");
    }
    std::filesystem::create_directory(m_dir / "save.xml.pondorix-unsaved-Folder");
    testing_support::WriteFile(m_dir / "victim", "victim");
    std::filesystem::create_symlink(m_dir / "victim", m_dir / "save.xml.pondorix-unsaved-Link12");
    ReplacementFile running(target);
    ASSERT_TRUE(Write(running, "new"));
    std::vector<std::string> expected;
    for (const std::string& name : NamesIn(m_dir.Path())) {
        if (std::find(killed.begin(), killed.end(), name) == killed.end()) {
            expected.push_back(name);
        }
    }

    EXPECT_EQ(ReplacementFile::RemoveLeftovers(target), 3);
    EXPECT_EQ(NamesIn(m_dir.Path()), expected);
    EXPECT_EQ(ReadFile(m_dir / "victim"), "victim");
    EXPECT_TRUE(running.Commit()) << running.GetError();
    EXPECT_EQ(ReadFile(target), "new");
    EXPECT_EQ(ReplacementFile::RemoveLeftovers(target), 0);
    EXPECT_EQ(ReplacementFile::RemoveLeftovers((m_dir / "no folder" / "save.xml").string()), 0);
}

// The player's own file behind links (relative or not, one after another): following them, the
// file they lead to is replaced and they stay; cut-short saves left their files beside it.
TEST_F(ReplacementFileTest, following_links_replaces_the_file_they_lead_to_and_keeps_them) {
    const std::filesystem::path kept = m_dir / "kept" / "save.xml";
    testing_support::WriteFile(kept, "old");
    std::filesystem::create_symlink("kept/save.xml", m_dir / "relative.xml");
    std::filesystem::create_symlink(m_dir / "relative.xml", m_dir / "absolute.xml");
    ASSERT_TRUE(KillDuringSave(kept.string()));
    EXPECT_EQ(ReplacementFile::RemoveLeftovers((m_dir / "absolute.xml").string()), 0) << "not beside the link";
    EXPECT_EQ(ReplacementFile::RemoveLeftovers((m_dir / "absolute.xml").string(), ReplacementFile::Links::Follow), 1);

    ReplacementFile followed((m_dir / "absolute.xml").string(), ReplacementFile::Links::Follow);
    ASSERT_TRUE(Write(followed, "new"));
    ASSERT_TRUE(followed.Commit()) << followed.GetError();
    EXPECT_EQ(ReadFile(kept), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(m_dir / "relative.xml"));
    EXPECT_TRUE(std::filesystem::is_symlink(m_dir / "absolute.xml"));
    EXPECT_EQ(NamesIn(kept.parent_path()), std::vector<std::string>{"save.xml"});

    // A link to a file not there yet: the file is made where it leads.
    std::filesystem::create_symlink("later/first.xml", m_dir / "first.xml");
    ReplacementFile first((m_dir / "first.xml").string(), ReplacementFile::Links::Follow);
    ASSERT_TRUE(Write(first, "first"));
    ASSERT_TRUE(first.Commit()) << first.GetError();
    EXPECT_EQ(ReadFile(m_dir / "later" / "first.xml"), "first");
    EXPECT_TRUE(std::filesystem::is_symlink(m_dir / "first.xml"));

    // Links that go round: nothing is written.
    std::filesystem::create_symlink("round2.xml", m_dir / "round1.xml");
    std::filesystem::create_symlink("round1.xml", m_dir / "round2.xml");
    ReplacementFile round((m_dir / "round1.xml").string(), ReplacementFile::Links::Follow);
    EXPECT_FALSE(round.IsOpen());
    EXPECT_NE(round.GetError().find("cannot follow the links to"), std::string::npos) << round.GetError();
    EXPECT_TRUE(std::filesystem::is_symlink(m_dir / "round1.xml"));
}

}  // namespace
