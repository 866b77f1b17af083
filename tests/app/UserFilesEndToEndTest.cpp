// The real game with the player's files in its user folder: preferences kept elsewhere behind a
// link, what saves that were killed left behind, and preferences no parser should spend a
// minute on.
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

    static int Count(const std::string& text, const std::string& part) {
        int count = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) {
            ++count;
        }
        return count;
    }

    testing_support::X11TestDisplay x{1700, 1100};
    std::optional<testing_support::GameProcess> game;
};

}  // namespace

// The preferences are read through the link (the window opens at their size) and the save at the
// end writes the file the link leads to, which keeps what was in it; the link stays.
TEST_F(UserFilesEndToEnd, preferences_behind_a_link_are_read_and_saved_through_it) {
    const std::filesystem::path kept = game->Folder() / "dotfiles/pondorix.xml";
    WriteFile(kept,
              "<resource><userpreferences name=\"prefs\" musicVolume=\"0.25\"><vec2 x=\"900\" y=\"700\" "
              "name=\"windowSize\"/></userpreferences></resource>");
    std::filesystem::create_directories(UserFolder());
    std::filesystem::create_symlink("../../dotfiles/pondorix.xml", UserFolder() / "preferences.xml");
    ASSERT_TRUE(game->Start({PONDORIX_EXECUTABLE}));
    EXPECT_EQ(x.Size(game->GetWindow()), (std::pair{900, 700}));
    x.MoveResize(game->GetWindow(), 1000, 600);
    EXPECT_TRUE(game->ShowsPicture({1000, 600}, {}, {}));
    EXPECT_TRUE(game->Close());
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
    ASSERT_TRUE(game->Start({PONDORIX_EXECUTABLE}));
    EXPECT_TRUE(game->Close());
    for (const std::string& name : leftovers) {
        EXPECT_FALSE(std::filesystem::exists(UserFolder() / name)) << name;
    }
    for (const std::string& name : kept) {
        EXPECT_EQ(ReadFile(UserFolder() / name), "<resource/>") << name;
    }
    const std::string log = game->Log();
    const std::string removed = "Application::RemoveLeftoverSaves: removed ";
    EXPECT_EQ(Count(log, removed + "2 temporary files that cut-short saves of preferences.xml left"), 1) << log;
    EXPECT_EQ(Count(log, removed + "1 temporary files that cut-short saves of data/statistics.xml left"), 1) << log;
}

// Preferences with 60,000 attributes on their element once held the window back half a minute
// and more: the file is refused at once, logged once by name, and the game starts with defaults.
TEST_F(UserFilesEndToEnd, preferences_with_too_many_attributes_do_not_hold_the_window_back) {
    std::string attributes;
    for (int i = 0; i < 60000; ++i) {
        attributes += " a" + std::to_string(i) + "=\"\"";
    }
    WriteFile(UserFolder() / "preferences.xml",
              "<resource><userpreferences name=\"prefs\"" + attributes + "/></resource>");
    // Start waits 15 seconds at most for the window.
    ASSERT_TRUE(game->Start({PONDORIX_EXECUTABLE}));
    EXPECT_EQ(x.Size(game->GetWindow()), (std::pair{1024, 768}));
    EXPECT_TRUE(game->Close());
    const std::string log = game->Log();
    EXPECT_EQ(Count(log,
                    "ResourceXml::ResourceXml: cannot parse /userfolder/preferences.xml: an element has more "
                    "than"),
              1)
        << log;
}
