// The real game with the player's files in its user folder: preferences kept elsewhere behind a
// link, and what saves that were killed left behind.
#include "tests/support/FileTail.h"
#include "tests/support/GameProcess.h"
#include "tests/support/X11TestDisplay.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

class UserFilesEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { game.emplace(x, PONDORIX_GAME_DIR); }

    std::filesystem::path UserFolder() const { return game->Folder() / "home/Pondorix"; }

    // Gives the window that size and closes the game once its title is drawn there (with bitmaps
    // off, the middle of the logical screen shows the sky's colour): closed sooner, the software
    // GL driver can leave blocks behind that the sanitizer build reports.
    testing::AssertionResult ResizeAndClose(int width, int height) {
        x.MoveResize(game->GetWindow(), width, height);
        testing::AssertionResult drawn = game->ShowsPicture({width, height}, {{width / 2, height / 2}}, {kSky});
        return drawn ? game->Close() : drawn;
    }

    static constexpr testing_support::Rgb kSky{152, 219, 248};

    testing_support::X11TestDisplay x{1700, 1100};
    std::optional<testing_support::GameProcess> game;
};

}  // namespace

// The preferences are read through the link (the window opens at their size) and the save at the
// end writes the file the link leads to, which keeps what was in it; the link stays.
TEST_F(UserFilesEndToEnd, preferences_behind_a_link_are_read_and_saved_through_it) {
    const std::filesystem::path kept = game->Folder() / "dotfiles/pondorix.xml";
    WriteFile(kept,
              "<resource><userpreferences name=\"prefs\" enableBitmaps=\"false\" musicVolume=\"0.25\"><vec2 "
              "x=\"900\" y=\"700\" name=\"windowSize\"/></userpreferences></resource>");
    std::filesystem::create_directories(UserFolder());
    std::filesystem::create_symlink("../../dotfiles/pondorix.xml", UserFolder() / "preferences.xml");
    ASSERT_TRUE(game->Start({PONDORIX_EXECUTABLE}));
    EXPECT_EQ(x.Size(game->GetWindow()), (std::pair{900, 700}));
    EXPECT_TRUE(ResizeAndClose(1000, 600));
    EXPECT_TRUE(std::filesystem::is_symlink(UserFolder() / "preferences.xml"));
    const std::string saved = ReadFile(kept);
    EXPECT_NE(saved.find("musicVolume=\"0.25\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("<vec2 x=\"1000\" y=\"600\" name=\"windowSize\""), std::string::npos) << saved;
}

// A start removes the temporary files of the preferences' and the statistics' saves that were cut
// short, and nothing else: not files that only look alike, not the files themselves.
TEST_F(UserFilesEndToEnd, a_start_removes_what_killed_saves_left_and_nothing_else) {
    const std::vector<std::string> leftovers = {"preferences.xml.Ab12Cd", "preferences.xml.zzZZ99",
                                                "data/statistics.xml.q1W2e3"};
    const std::vector<std::string> kept = {"preferences.xml.bak",     "preferences.xml.Ab12C",    "data/statistics.xml",
                                           "data/statistics.xml.bad", "data/statistics.xml.bad1", "notes.txt.Ab12Cd",
                                           "data/shapes.xml.Ab12Cd",  "statistics.xml.Ab12Cd"};
    for (const std::string& name : leftovers) {
        WriteFile(UserFolder() / name, "half a save");
    }
    for (const std::string& name : kept) {
        WriteFile(UserFolder() / name, "<resource/>");
    }
    WriteFile(UserFolder() / "preferences.xml",
              "<resource><userpreferences name=\"prefs\" enableBitmaps=\"false\"/></resource>");
    const testing_support::FileTail log(UserFolder() / "Pondorix.log");
    ASSERT_TRUE(game->Start({PONDORIX_EXECUTABLE}));
    EXPECT_TRUE(ResizeAndClose(1024, 768));
    for (const std::string& name : leftovers) {
        EXPECT_FALSE(std::filesystem::exists(UserFolder() / name)) << name;
    }
    for (const std::string& name : kept) {
        EXPECT_EQ(ReadFile(UserFolder() / name), "<resource/>") << name;
    }
    const std::string removed = "Application::RemoveLeftoverSaves: removed ";
    EXPECT_EQ(log.Count(removed + "2 temporary files that cut-short saves of preferences.xml left"), 1) << log.Text();
    EXPECT_EQ(log.Count(removed + "1 temporary files that cut-short saves of data/statistics.xml left"), 1)
        << log.Text();
}
