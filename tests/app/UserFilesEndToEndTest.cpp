// The real game with the player's files in its user folder: preferences kept elsewhere behind a
// link, preferences that are not a regular file or cannot be read, and what saves that were killed
// left behind.
#include "tests/support/FileTail.h"
#include "tests/support/GameProcess.h"
#include "tests/support/KilledSave.h"
#include "tests/support/OrdinaryUser.h"
#include "tests/support/SpecialFiles.h"
#include "tests/support/X11TestDisplay.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <set>
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

// A start removes the temporary files that killed saves of the preferences and the statistics
// left, and nothing else: not the player's own copies, not the statistics' copies moved aside
// however many there are, not any other name that merely ends like a temporary file.
TEST_F(UserFilesEndToEnd, a_start_removes_what_killed_saves_left_and_nothing_else) {
    const std::vector<std::string> kept = {"data/statistics.xml.backup", "preferences.xml.backup",
                                           "data/statistics.xml.bad100", "preferences.xml.old123",
                                           "data/statistics.xml.bad",    "data/statistics.xml.bad7"};
    for (const std::string& name : kept) {
        WriteFile(UserFolder() / name, "<resource/>");
    }
    WriteFile(UserFolder() / "preferences.xml",
              "<resource><userpreferences name=\"prefs\" enableBitmaps=\"false\"/></resource>");
    WriteFile(UserFolder() / "data/statistics.xml", "<array name=\"statistics\"/>");
    const auto names = [&] {
        std::set<std::string> all;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(UserFolder())) {
            all.insert(std::filesystem::relative(entry.path(), UserFolder()).string());
        }
        return all;
    };
    const std::set<std::string> before = names();
    for (const char* target : {"preferences.xml", "preferences.xml", "data/statistics.xml"}) {
        ASSERT_TRUE(testing_support::KillDuringSave((UserFolder() / target).string()));
    }
    ASSERT_EQ(names().size(), before.size() + 3) << "three temporary files left";
    const testing_support::FileTail log(UserFolder() / "Pondorix.log");
    ASSERT_TRUE(game->Start({PONDORIX_EXECUTABLE}));
    EXPECT_TRUE(ResizeAndClose(1024, 768));
    for (const std::string& name : kept) {
        EXPECT_EQ(ReadFile(UserFolder() / name), "<resource/>") << name;
    }
    std::set<std::string> after = names();
    after.erase("Pondorix.log");
    EXPECT_EQ(after, before);
    const std::string removed = "Application::RemoveLeftoverSaves: removed ";
    EXPECT_EQ(log.Count(removed + "2 temporary files that cut-short saves of preferences.xml left"), 1) << log.Text();
    EXPECT_EQ(log.Count(removed + "1 temporary files that cut-short saves of data/statistics.xml left"), 1)
        << log.Text();
}

// Preferences that are not a regular file are left as they are, and the game plays on its
// defaults: a pipe is never opened (the start once waited on it for ever, before its window), and
// a device node behind a link (as a link to /dev/null) stays that device when the game closes.
TEST_F(UserFilesEndToEnd, preferences_that_are_not_a_regular_file_are_left_as_they_are) {
    const std::filesystem::path place = UserFolder() / "preferences.xml";
    const std::filesystem::path device = game->Folder() / "dotfiles/null";
    for (const auto& [kind, made] :
         {std::pair{testing_support::SpecialKind::Pipe, place}, {testing_support::SpecialKind::Device, device}}) {
        SCOPED_TRACE(testing_support::NameOf(kind));
        std::filesystem::remove(place);
        if (!testing_support::MakeSpecial(kind, made)) {
            continue;
        }
        if (made != place) {
            std::filesystem::create_symlink(made, place);
        }
        const auto identity = testing_support::IdentityOf(made);
        std::optional<testing_support::WaitingWriter> writer;
        if (kind == testing_support::SpecialKind::Pipe) {
            ASSERT_TRUE(writer.emplace(made).IsWaiting());
        }
        const testing_support::FileTail log(UserFolder() / "Pondorix.log");
        ASSERT_TRUE(game->Start({PONDORIX_EXECUTABLE}));
        EXPECT_TRUE(game->WaitForGame());
        EXPECT_TRUE(game->Close());
        EXPECT_FALSE(writer && writer->WasLetThrough());
        EXPECT_EQ(testing_support::IdentityOf(made), identity);
        EXPECT_EQ(log.Count("/userfolder/preferences.xml is not read: it is not a regular file"), 1) << log.Text();
        EXPECT_EQ(log.Count("cannot replace " + made.string() + ": not a regular file"), 1) << log.Text();
    }
}

// Preferences the game may not read (no read permission) are kept as they are, byte for byte and
// with their mode: the game opens its window at the default size, says why in its log, and saves
// nothing over them when it closes. The game runs as an ordinary user, as a player's game does:
// root reads every file.
TEST_F(UserFilesEndToEnd, preferences_that_cannot_be_read_are_kept_as_they_are) {
    const std::filesystem::path file = UserFolder() / "preferences.xml";
    const std::string stored =
        "<resource><userpreferences name=\"prefs\" enableBitmaps=\"false\" musicVolume=\"0.25\"><vec2 x=\"900\" "
        "y=\"700\" name=\"windowSize\"/></userpreferences></resource>";
    WriteFile(file, stored);
    ASSERT_EQ(chmod(file.c_str(), 0200), 0);
    testing_support::GiveToOrdinaryUser(game->Folder().Path());
    const testing_support::FileTail log(UserFolder() / "Pondorix.log");
    ASSERT_TRUE(game->Start(testing_support::AsOrdinaryUser({PONDORIX_EXECUTABLE})));
    EXPECT_EQ(x.Size(game->GetWindow()), (std::pair{1024, 768}));
    EXPECT_TRUE(game->WaitForGame());
    EXPECT_TRUE(game->Close());
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0200u);
    ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    EXPECT_EQ(ReadFile(file), stored);
    EXPECT_EQ(log.Count("UserPreferences::Load: " + file.string() + " is there but cannot be opened or read"), 1)
        << log.Text();
}
