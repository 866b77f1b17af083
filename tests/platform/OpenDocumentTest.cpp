#include "platform/OpenDocument.h"
#include "tests/support/TempDir.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

using testing_support::ReadFile;
using testing_support::ScopedEnv;
using testing_support::TempDir;
using testing_support::WaitUntil;
using testing_support::WriteFile;

namespace {

// A folder holding an "xdg-open" that writes its arguments, one a line, into "opened.txt".
struct FakeOpener {
    FakeOpener() {
        WriteFile(folder / "xdg-open", "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '" +
                                           (folder / "opened.txt").string() + ".part'\nmv '" +
                                           (folder / "opened.txt").string() + ".part' '" +
                                           (folder / "opened.txt").string() + "'\n");
        chmod((folder / "xdg-open").c_str(), 0755);
    }
    std::string Opened() const { return ReadFile(folder / "opened.txt"); }

    TempDir folder;
};

}  // namespace

// The address reaches the opener as one argument, spaces, quotes and shell characters and all.
TEST(OpenDocument, starts_the_desktop_opener_found_on_the_path_with_the_address_as_one_argument) {
    FakeOpener opener;
    ScopedEnv path("PATH", opener.folder.Path().string() + ":/usr/bin:/bin");
    const std::string address = "/tmp/a folder/it's \"here\"; $(rm -rf x) & more.html";
    ASSERT_TRUE(platform::OpenDocument(address));
    ASSERT_TRUE(WaitUntil([&] { return !opener.Opened().empty(); }, std::chrono::seconds(10)));
    EXPECT_EQ(opener.Opened(), address + "\n");
    // The next call reaps the ended opener; both run.
    ASSERT_TRUE(platform::OpenDocument("second"));
    EXPECT_TRUE(WaitUntil([&] { return opener.Opened() == "second\n"; }, std::chrono::seconds(10)));
}

TEST(OpenDocument, without_an_opener_on_the_path_it_reports_failure) {
    TempDir empty;
    ScopedEnv path("PATH", empty.Path().string());
    EXPECT_FALSE(platform::OpenDocument("/tmp/manual.html"));
}
