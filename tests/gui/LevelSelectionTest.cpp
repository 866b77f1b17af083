// The level selection on the game's own description over a levels folder of the test's own: which
// files it lists, the favourite level at load, browsing round both ends, the screenshot's pause,
// "Start" and a folder without levels.
#include "app/Application.h"
#include "app/UserPreferences.h"
#include "gui/GUIDirector.h"
#include "gui/GUILevelSelection.h"
#include "tests/gui/ScreenTestBase.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <physfs.h>

namespace gui_testing {
namespace {

using Ids = std::deque<int>;

class LevelSelectionTest : public ScreenTestBase {
protected:
    void SetUp() override {
        ScreenTestBase::SetUp();
        m_Duel = testing_support::ReadFile(GUI_TEST_DATA "/test_duel.xml");
        // The levels go; their pictures stay.
        for (const auto& entry : std::filesystem::directory_iterator(Levels())) {
            if (entry.path().extension() == ".xml") {
                std::filesystem::remove(entry.path());
            }
        }
    }
    void TearDown() override {
        ScreenTestBase::TearDown();
        preferences.favouriteLevel.clear();
    }

    std::filesystem::path Levels() const { return data->Path() / "data/levels"; }
    // A level file named so, with the duel's arena and screenshot.
    void AddLevel(const std::string& name) { testing_support::WriteFile(Levels() / name, m_Duel); }
    // The main menu, a stub selection of players and the level selection over them.
    GUILevelSelection& Open() {
        GUILevelSelection& selection = MakeDirectorWith<GUILevelSelection>(
            director, GUIDirector::kLevelSelection, {GUIDirector::kQuickMatchSelection, GUIDirector::kGame}, journal);
        director->PushScreen(GUIDirector::kMainMenu);
        director->PushScreen(GUIDirector::kQuickMatchSelection);
        director->PushScreen(GUIDirector::kLevelSelection);
        return selection;
    }
    std::vector<std::string> Files(const GUILevelSelection& screen) {
        std::vector<std::string> files;
        for (const auto& entry : screen.GetEntries()) {
            files.push_back(entry->file);
        }
        return files;
    }
    size_t IndexOf(const GUILevelSelection& screen, const std::string& file) {
        const std::vector<std::string> files = Files(screen);
        return static_cast<size_t>(std::find(files.begin(), files.end(), file) - files.begin());
    }

    std::string m_Duel;
};

TEST_F(LevelSelectionTest, only_xml_files_are_levels_and_the_favourite_is_selected_at_load) {
    for (const char* name : {"a.xml", "b.xml", "c.xml", "d.xml.bak", "e.xmlx", "notes.txt"}) {
        AddLevel(name);
    }
    preferences.favouriteLevel = "data/levels/b.xml";
    GUILevelSelection& screen = Open();
    std::vector<std::string> files = Files(screen);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"data/levels/a.xml", "data/levels/b.xml", "data/levels/c.xml"}));
    EXPECT_EQ(screen.GetSelected(), IndexOf(screen, "data/levels/b.xml"));
    for (const auto& entry : screen.GetEntries()) {
        EXPECT_EQ(entry->description.screenshot, "data/levels/5_biglagoon_shot.png");
        ASSERT_NE(entry->texture, nullptr);
        EXPECT_EQ(entry->sprite.getPosition(), sf::Vector2f(190, 100));
    }
    EXPECT_EQ(screen.GetCurrentFocusItem()->GetName(), "Start");
    // Each item, then its left, right, up and down links.
    const std::map<std::string, std::array<const char*, 4>> links = {
        {"Back", {"Right", "Left", "Right", "Right"}},
        {"Left", {"Back", "Start", "Back", "Back"}},
        {"Start", {"Left", "Right", "Back", "Back"}},
        {"Right", {"Start", "Back", "Back", "Back"}},
    };
    for (const auto& [name, expected] : links) {
        for (int direction = FocusItem::kLeft; direction <= FocusItem::kDown; ++direction) {
            const FocusItem* link = screen.FindFocusItem(name)->GetLink(direction);
            EXPECT_EQ(link != nullptr ? link->GetName() : "none", expected[direction]) << name << " " << direction;
        }
    }
}

TEST_F(LevelSelectionTest, browsing_wraps_both_ways_and_hides_the_screenshot_for_a_frame) {
    for (const char* name : {"a.xml", "b.xml", "c.xml"}) {
        AddLevel(name);
    }
    GUILevelSelection& screen = Open();
    const size_t count = screen.GetEntries().size();
    ASSERT_EQ(count, 3u);
    ASSERT_EQ(screen.GetSelected(), 0u);
    struct Step {
        const char* command;
        size_t selected;
    };
    const Step steps[] = {{"Left", 2}, {"Left", 1}, {"Right", 2}, {"Right", 0}, {"Right", 1}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.command);
        screen.OnFSCommand(step.command);
        EXPECT_EQ(screen.GetSelected(), step.selected);
        // Remembered in memory only.
        EXPECT_EQ(preferences.favouriteLevel, screen.GetEntries()[step.selected]->file);
        EXPECT_FLOAT_EQ(screen.GetScreenshotDelay(), GUILevelSelection::kScreenshotDelay);
        director->Update(0.01f);
        EXPECT_GT(screen.GetScreenshotDelay(), 0.0f);
        director->Update(0.011f);
        EXPECT_LE(screen.GetScreenshotDelay(), 0.0f);
    }
    EXPECT_FALSE(std::filesystem::exists(user->Path() / "preferences.xml"));
    // Other commands browse nothing.
    screen.OnFSCommand("Righter");
    screen.OnFSCommand("left");
    EXPECT_EQ(screen.GetSelected(), 1u);
}

TEST_F(LevelSelectionTest, start_plays_the_selected_level_and_saves_the_favourite) {
    for (const char* name : {"a.xml", "b.xml"}) {
        AddLevel(name);
    }
    GUILevelSelection& screen = Open();
    screen.OnFSCommand("Right");
    const std::string chosen = screen.GetEntries()[screen.GetSelected()]->file;
    journal.clear();
    screen.OnFSCommand("StartGame");
    EXPECT_EQ(Application::GetInstance().levelFile, chosen);
    EXPECT_EQ(director->GetIds(), (Ids{13, 4}));
    EXPECT_NE(std::find(journal.begin(), journal.end(), "13:StartMatch"), journal.end());
    EXPECT_NE(testing_support::ReadFile(user->Path() / "preferences.xml").find("favouriteLevel=\"" + chosen + "\""),
              std::string::npos);
}

TEST_F(LevelSelectionTest, without_levels_every_command_is_logged_and_ignored) {
    AddLevel("readme.txt");
    GUILevelSelection& screen = Open();
    EXPECT_TRUE(screen.GetEntries().empty());
    Application::GetInstance().levelFile = "data/levels/old.xml";
    for (const char* command : {"Start", "Left", "Right"}) {
        screen.OnFSCommand(command);
        EXPECT_NE(log->Text().find(std::string("ERROR: GUILevelSelection::OnFSCommand: no level for ") + command),
                  std::string::npos)
            << command;
    }
    EXPECT_EQ(screen.GetSelected(), 0u);
    EXPECT_EQ(Application::GetInstance().levelFile, "data/levels/old.xml");
    EXPECT_EQ(director->GetIds(), (Ids{7, 5, 4}));
    // Drawing an empty selection draws the movie alone.
    NullTarget target;
    screen.Render(target, sf::RenderStates());
}

}  // namespace
}  // namespace gui_testing
