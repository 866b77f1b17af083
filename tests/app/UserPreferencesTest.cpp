#include "app/UserPreferences.h"

#include "VirtualFolders.h"
#include "serializeme/XmlStorageBuffer.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

class UserPreferencesTest : public VirtualFolders {};

void ExpectDefaults(const UserPreferences& p) {
    EXPECT_EQ(p.favouriteLevel, "");
    EXPECT_EQ(p.favouriteLevelSet, "");
    EXPECT_EQ(p.player1Char, "");
    EXPECT_EQ(p.player1Controls, "");
    EXPECT_EQ(p.player2Char, "");
    EXPECT_EQ(p.player2Controls, "");
    EXPECT_EQ(p.windowPosition.x, 0.0f);
    EXPECT_EQ(p.windowPosition.y, 0.0f);
    EXPECT_EQ(p.windowSize.x, 0.0f);
    EXPECT_EQ(p.windowSize.y, 0.0f);
    EXPECT_TRUE(p.enableBitmaps);
    EXPECT_TRUE(p.enableMeshes);
    EXPECT_FALSE(p.skipMenu);
    EXPECT_EQ(p.musicVolume, 0.6f);
    EXPECT_TRUE(p.hintMenuControls);
    EXPECT_TRUE(p.hintGameControls);
    EXPECT_FALSE(p.disableHints);
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

}  // namespace

TEST_F(UserPreferencesTest, without_a_file_every_default_holds) {
    UserPreferences p;
    p.Load();
    ExpectDefaults(p);
    EXPECT_STREQ(p.TypeName(), "userpreferences");
}

TEST_F(UserPreferencesTest, a_file_with_only_the_music_volume_keeps_every_other_default) {
    WriteFile(UserDir() / "preferences.xml", "<resource><anything name=\"PREFS\" musicVolume=\"0.25\"/></resource>");
    UserPreferences p;
    p.Load();
    EXPECT_EQ(p.musicVolume, 0.25f);
    p.musicVolume = 0.6f;
    ExpectDefaults(p);
}

TEST_F(UserPreferencesTest, the_saved_file_lists_the_members_in_order) {
    UserPreferences p;
    EXPECT_TRUE(p.Save());
    EXPECT_EQ(ReadFile(UserDir() / "preferences.xml"),
              "<resource>\n"
              "    <userpreferences favouriteLevel=\"\" favouriteLevelSet=\"\" player1Char=\"\" player1Controls=\"\" "
              "player2Char=\"\" player2Controls=\"\" enableBitmaps=\"true\" enableMeshes=\"true\" skipMenu=\"false\" "
              "musicVolume=\"0.6\" hintMenuControls=\"true\" hintGameControls=\"true\" disableHints=\"false\" name=\"prefs\">\n"
              "        <vec2 x=\"0\" y=\"0\" name=\"windowPosition\" />\n"
              "        <vec2 x=\"0\" y=\"0\" name=\"windowSize\" />\n"
              "    </userpreferences>\n"
              "</resource>\n");
}

TEST_F(UserPreferencesTest, a_saved_and_reloaded_record_reproduces_every_member) {
    UserPreferences original = Changed();
    ASSERT_TRUE(original.Save());
    UserPreferences loaded;
    loaded.Load();
    sme::XmlStorageBuffer a(true), b(true);
    original.Serialize(a);
    loaded.Serialize(b);
    TiXmlPrinter pa, pb;
    a.GetRoot()->Accept(&pa);
    b.GetRoot()->Accept(&pb);
    EXPECT_EQ(pa.Str(), pb.Str());
    EXPECT_EQ(loaded.windowSize.x, 1280.0f);
    EXPECT_EQ(loaded.player2Controls, "data/controls/gamepad_1.xml");
    EXPECT_TRUE(loaded.disableHints);
}

TEST_F(UserPreferencesTest, a_save_into_a_read_only_folder_fails_and_keeps_the_previous_file) {
    UserPreferences p = Changed();
    ASSERT_TRUE(p.Save());
    const std::string before = ReadFile(UserDir() / "preferences.xml");
    ASSERT_EQ(chmod(UserDir().c_str(), 0555), 0);
    if (access(UserDir().c_str(), W_OK) == 0) {
        chmod(UserDir().c_str(), 0755);
        GTEST_SKIP() << "this user may write into read-only folders";
    }
    p.musicVolume = 1.0f;
    EXPECT_FALSE(p.Save());
    chmod(UserDir().c_str(), 0755);
    EXPECT_EQ(ReadFile(UserDir() / "preferences.xml"), before);
}

TEST_F(UserPreferencesTest, a_save_whose_new_file_cannot_be_created_fails_and_keeps_the_previous_file) {
    UserPreferences p = Changed();
    ASSERT_TRUE(p.Save());
    const std::string before = ReadFile(UserDir() / "preferences.xml");
    // A folder where the new file would go blocks it, whoever runs the test.
    std::filesystem::create_directory(UserDir() / "preferences.xml.tmp");
    p.musicVolume = 1.0f;
    EXPECT_FALSE(p.Save());
    EXPECT_EQ(ReadFile(UserDir() / "preferences.xml"), before);
}

TEST_F(UserPreferencesTest, a_save_that_stops_short_keeps_the_previous_file) {
    UserPreferences p = Changed();
    ASSERT_TRUE(p.Save());
    const std::string before = ReadFile(UserDir() / "preferences.xml");

    // Every write reports one byte fewer than it was given.
    class ShortProxy : public TinyxmlPhysfsProxy {
    public:
        size_t Write(void* handle, const void* buffer, size_t size, size_t count) override {
            return TinyxmlPhysfsProxy::Write(handle, buffer, size, count) - 1;
        }
    } shortProxy;
    TiXmlIOProxy::SetCurrent(&shortProxy);
    p.musicVolume = 1.0f;
    EXPECT_FALSE(p.Save());
    EXPECT_EQ(ReadFile(UserDir() / "preferences.xml"), before);
}

TEST_F(UserPreferencesTest, the_one_instance_loads_the_user_folder_file_on_first_use) {
    WriteFile(UserDir() / "preferences.xml", "<resource><userpreferences name=\"prefs\" skipMenu=\"true\"/></resource>");
    // In a child process, so that the instance is certainly made here and nowhere earlier.
    EXPECT_EXIT(
        {
            UserPreferences& first = UserPreferences::GetInstance();
            const bool ok = first.skipMenu && &first == &UserPreferences::GetInstance();
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}
