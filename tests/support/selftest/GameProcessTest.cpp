// What a test learns of a program it started when the program ends otherwise than expected.
#include "tests/support/GameProcess.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

using testing_support::GameProcess;
using testing_support::TempDir;

// A game folder with nothing in it that GameProcess copies.
class EmptyGameFolder {
public:
    EmptyGameFolder() {
        testing_support::WriteFile(m_Folder / "application.xml", "<application/>");
        std::filesystem::create_directory(m_Folder / "data");
    }
    std::string Path() const { return m_Folder.Path().string(); }

private:
    TempDir m_Folder;
};

// A failure names the program's exit and everything it printed, to its last line: what a
// sanitizer prints as the program exits is often the reason.
TEST(GameProcess, an_unexpected_exit_is_reported_with_the_last_lines_printed) {
    testing_support::X11TestDisplay display(64, 64);
    const EmptyGameFolder folder;
    GameProcess program(display, folder.Path());
    ASSERT_TRUE(program.Launch({"/bin/sh", "-c", "echo the first words; sleep 0.5; echo the last words; exit 3"}));
    const testing::AssertionResult ended = program.Ends(0);
    EXPECT_FALSE(ended);
    EXPECT_NE(std::string(ended.message()).find("wait status 768"), std::string::npos) << ended.message();
    EXPECT_NE(std::string(ended.message()).find("the first words\nthe last words"), std::string::npos)
        << ended.message();

    ASSERT_TRUE(program.Launch({"/bin/sh", "-c", "sleep 0.2; exit 3"}));
    EXPECT_TRUE(program.Ends(3));
}

}  // namespace
