#include "VirtualFolders.h"
#include "app/UserPreferences.h"
#include "serializeme/XmlStorageBuffer.h"
#include "tests/support/BoundedRun.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/FileTail.h"
#include "tests/support/OrdinaryUser.h"
#include "tests/support/SpecialFiles.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

// Every member of the record, as XML text.
std::string Xml(UserPreferences preferences) {
    sme::XmlStorageBuffer buffer(true);
    preferences.Serialize(buffer);
    TiXmlPrinter printer;
    buffer.GetRoot()->Accept(&printer);
    return printer.Str();
}

UserPreferences Changed() {
    UserPreferences p;
    p.favouriteLevel = "data/levels/1_nanomill.xml";
    p.favouriteLevelSet = "data/levelsets/easy.xml";
    p.player1Char = "data/players/hooligan.xml";
    p.player1Controls = "data/controls/keyboard_arrows.xml";
    p.player2Char = "data/players/b.xml";
    p.player2Controls = "data/controls/gamepad_1.xml";
    p.windowPosition = Vec2Data(10.0f, 20.0f);
    p.windowSize = Vec2Data(1280.0f, 720.0f);
    p.enableBitmaps = false;
    p.enableMeshes = false;
    p.skipMenu = true;
    p.musicVolume = 0.25f;
    p.hintMenuControls = false;
    p.hintGameControls = false;
    p.disableHints = true;
    return p;
}

class UserPreferencesTest : public VirtualFolders {
protected:
    // Saves preferences with every member changed and returns the file's text.
    std::string SaveChanged() {
        EXPECT_TRUE(Changed().Save());
        return ReadFile(UserDir() / "preferences.xml");
    }
};

}  // namespace

// The saved file lists the members in their order with their defaults.
TEST_F(UserPreferencesTest, the_saved_file_lists_the_members_in_order) {
    UserPreferences p;
    EXPECT_TRUE(p.Save());
    EXPECT_EQ(ReadFile(UserDir() / "preferences.xml"),
              "<resource>\n"
              "    <userpreferences favouriteLevel=\"\" favouriteLevelSet=\"\" player1Char=\"\" player1Controls=\"\" "
              "player2Char=\"\" player2Controls=\"\" enableBitmaps=\"true\" enableMeshes=\"true\" skipMenu=\"false\" "
              "musicVolume=\"0.6\" hintMenuControls=\"true\" hintGameControls=\"true\" disableHints=\"false\" "
              "name=\"prefs\">\n"
              "        <vec2 x=\"0\" y=\"0\" name=\"windowPosition\" />\n"
              "        <vec2 x=\"0\" y=\"0\" name=\"windowSize\" />\n"
              "    </userpreferences>\n"
              "</resource>\n");
}

// Members the file leaves out keep their defaults; a saved and reloaded record reproduces every
// member.
TEST_F(UserPreferencesTest, load_reads_the_members_the_file_has_and_keeps_the_others) {
    UserPreferences missing;
    missing.Load();
    EXPECT_EQ(Xml(missing), Xml(UserPreferences())) << "no file keeps every default";

    WriteFile(UserDir() / "preferences.xml", "<resource><anything name=\"PREFS\" musicVolume=\"0.25\"/></resource>");
    UserPreferences p;
    p.Load();
    EXPECT_EQ(p.musicVolume, 0.25f);
    p.musicVolume = UserPreferences().musicVolume;
    EXPECT_EQ(Xml(p), Xml(UserPreferences()));

    SaveChanged();
    UserPreferences loaded;
    loaded.Load();
    EXPECT_EQ(Xml(loaded), Xml(Changed()));
    EXPECT_NE(Xml(loaded), Xml(UserPreferences()));
}

TEST_F(UserPreferencesTest, a_save_whose_writing_fails_fails_and_keeps_the_previous_file) {
    const std::string before = SaveChanged();
    // The disk refuses the new bytes: a file size limit below the new file.
    bool saved_ok = true;
    {
        testing_support::FileSizeLimit limit(16);
        ASSERT_TRUE(limit.IsSet());
        saved_ok = UserPreferences().Save();
    }
    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(ReadFile(UserDir() / "preferences.xml"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(UserDir()), {}), 1) << "no temporary file is left";
}

// A preferences file that is not a regular file, or a link to one (as to /dev/null, to keep
// none), is never opened: the load keeps every default and says so at once (a pipe's waiting
// writer is never let through, and nothing waits on it), and the save fails, saying why in one
// line, and leaves it as it was.
TEST_F(UserPreferencesTest, a_file_that_is_not_a_regular_file_is_never_opened_nor_replaced) {
    const std::filesystem::path place = UserDir() / "preferences.xml";
    testing_support::ForEachSpecialPlace(
        place, m_Temp / "elsewhere",
        [&](testing_support::SpecialKind kind, const std::filesystem::path& made, const std::string& description) {
            SCOPED_TRACE(description);
            const testing_support::FileTail log(LogFile());
            EXPECT_TRUE(testing_support::WorksWithoutTouching(kind, made, [] {
                UserPreferences preferences;
                preferences.Load();
                testing_support::Require(Xml(preferences) == Xml(UserPreferences()), "the defaults are kept");
                testing_support::Require(!Changed().Save(), "the save fails");
            }));
            EXPECT_EQ(testing_support::NamesIn(UserDir()), std::vector<std::string>{"preferences.xml"});
            EXPECT_EQ(log.Count("ResourceXml::ResourceXml: /userfolder/preferences.xml is not read: it is not a "
                                "regular file"),
                      1)
                << log.Text();
            EXPECT_EQ(log.Count("TinyxmlPhysfsProxy::OpenWrite: cannot replace " + made.string() + ": " +
                                testing_support::RefusalOf(kind)),
                      1)
                << log.Text();
            EXPECT_EQ(log.Count("\n"), 2) << "one line for the load, one for the save: " << log.Text();
        });
}

// A preferences file the game may not read (no read permission) holds the player's settings all
// the same: the load keeps every default and says so in one line that names the file where it is
// on the disk, and no save writes over it, so its bytes and its mode stay. Run as an ordinary
// user, as the game is: root reads every file.
TEST_F(UserPreferencesTest, a_file_that_cannot_be_read_loads_the_defaults_and_is_never_written_over) {
    const std::filesystem::path file = UserDir() / "preferences.xml";
    const std::string stored = SaveChanged();
    ASSERT_EQ(chmod(file.c_str(), 0200), 0);
    const testing_support::FileTail log(LogFile());
    const testing_support::BoundedRun run = testing_support::RunBounded(
        [&] {
            testing_support::BecomeOrdinaryUser(m_Temp.Path());
            UserPreferences preferences;
            preferences.Load();
            testing_support::Require(Xml(preferences) == Xml(UserPreferences()), "the defaults are kept");
            preferences.windowSize = Vec2Data(800.0f, 600.0f);
            testing_support::Require(!preferences.Save() && !preferences.Save(), "every save is refused");
        },
        std::chrono::seconds(10), 256 * 1024 * 1024);
    EXPECT_TRUE(run.finished) << run.Describe();
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0200u);
    ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    EXPECT_EQ(ReadFile(file), stored);
    EXPECT_EQ(testing_support::NamesIn(UserDir()), std::vector<std::string>{"preferences.xml"});
    EXPECT_EQ(log.Count("UserPreferences::Load: " + file.string() +
                        " is there but cannot be opened or read; the game runs on the default preferences and saves "
                        "none over it\n"),
              1)
        << log.Text();
    EXPECT_EQ(log.Count("\n"), 1) << "one line, for the load: " << log.Text();
}

// An empty or unparsable file holds no settings to keep: the load keeps every default, and a save
// replaces the file.
TEST_F(UserPreferencesTest, an_empty_or_unparsable_file_loads_the_defaults_and_is_replaced_by_a_save) {
    for (const std::string text : {"", "<resource><userpreferences"}) {
        SCOPED_TRACE(text);
        WriteFile(UserDir() / "preferences.xml", text);
        UserPreferences preferences;
        preferences.Load();
        EXPECT_EQ(Xml(preferences), Xml(UserPreferences()));
        preferences.musicVolume = 0.25f;
        EXPECT_TRUE(preferences.Save());
        UserPreferences saved;
        saved.Load();
        EXPECT_EQ(saved.musicVolume, 0.25f);
    }
}
