// The main menu on the game's own movies and descriptions: its items and links, navigation by
// controller commands, the choices its movie sends when an item is pressed or a bubble clicked,
// the first-time hint, new game set-ups and the manual.
#include "app/Application.h"
#include "app/UserPreferences.h"
#include "gui/GUIDirector.h"
#include "gui/MovieClips.h"
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/ScreenStubs.h"
#include "tests/support/FileTail.h"

#include <gtest/gtest.h>
#include <physfs.h>

namespace gui_testing {
namespace {

using Ids = std::deque<int>;

// A choice of the menu: its clip, the screens on the stack once it is made, and the mode of the
// game set-up it makes (-1: the set-up stays as it was, with the test's mode 7).
struct Choice {
    const char* clip;
    Ids ids;
    int mode;
};

// A copy of the game's data folder mounted as the game mounts it, a director over it with stub screens
// for the ids the menu pushes, and two controllers.
class GUIMainMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Data.emplace();
        ASSERT_NE(PHYSFS_mount(m_User.Path().c_str(), "/userfolder", 0), 0);
        ASSERT_NE(PHYSFS_setWriteDir(m_User.Path().c_str()), 0);
        log.emplace(VirtualFoldersAccess::LogFile());
        preferences.hintMenuControls = true;
        preferences.disableHints = false;
        director.emplace();
        for (int id : {5, 6, 8, 16}) {
            director->RegisterScreen(id, std::make_unique<StubScreen>(id, journal));
        }
        director->RegisterTutorial(std::make_unique<StubTutorial>(journal));
        journal.clear();
    }
    void TearDown() override {
        director.reset();
        preferences.hintMenuControls = true;
        preferences.disableHints = false;
        m_Data.reset();
    }

    GUIMainMenu& Menu() { return director->GetMainMenu(); }
    std::string CursorItem() { return Menu().GetSharedCursor()->GetItem()->GetName(); }
    // Runs the director for the seconds in steps of a frame at 30 a second.
    void Run(float seconds) {
        for (float t = 0; t < seconds; t += 1.0f / 30.0f) {
            director->Update(1.0f / 30.0f);
        }
    }
    // The menu alone on the stack again, the set-up's mode 7 (no game's).
    void ShowMenuAgain() {
        director->PopAll();
        ShowMenu();
        Application::GetInstance().matchSetup.mode = 7;
    }
    // The menu's screens and the set-up after the choice.
    void ExpectChosen(const Choice& choice) {
        EXPECT_EQ(director->GetIds(), choice.ids);
        EXPECT_EQ(Application::GetInstance().matchSetup.mode, choice.mode == -1 ? 7 : choice.mode);
    }
    // The menu on its own, the hint out of the way.
    void ShowMenu() {
        preferences.hintMenuControls = false;
        director->PushScreen(GUIDirector::kMainMenu);
        journal.clear();
    }

    struct VirtualFoldersAccess : VirtualFolders {
        using VirtualFolders::LogFile;
    };
    std::optional<GameDataCopy> m_Data;
    testing_support::TempDir m_User;
    UserPreferences& preferences = UserPreferences::GetInstance();
    AppControllers controllers;
    Journal journal;
    std::optional<testing_support::FileTail> log;
    std::optional<GUIDirector> director;
};

TEST_F(GUIMainMenuTest, every_direction_from_every_item_lands_where_the_links_or_the_default_say) {
    ShowMenu();
    // Five items; the championship and the tutorial have none.
    ASSERT_EQ(Menu().GetFocusItems().size(), 5u);
    EXPECT_EQ(Menu().FindFocusItem("newgamechampionship"), nullptr);
    EXPECT_EQ(Menu().FindFocusItem("tutorial"), nullptr);
    // The five clips' items, from each: left, right, up, down. Without a link the cursor goes to
    // the current item, "newgamepvp".
    const std::map<std::string, std::array<const char*, 4>> moves = {
        {"newgamepvp", {"quit", "newgamepvc", "newgamepvp", "newgamepvp"}},
        {"newgamepvc", {"newgamepvp", "stats", "newgamepvp", "stats"}},
        {"stats", {"newgamepvc", "howto", "newgamepvc", "quit"}},
        {"howto", {"stats", "quit", "stats", "newgamepvp"}},
        {"quit", {"howto", "newgamepvp", "stats", "newgamepvp"}},
    };
    for (const auto& [from, to] : moves) {
        for (int command = Controller::kLeft; command <= Controller::kDown; ++command) {
            Menu().MoveAllFocus(from);
            director->HandleCommand(controllers[command % 2], command);
            EXPECT_EQ(CursorItem(), to[command - 1]) << from << " command " << command;
        }
    }
    // The links are the menu's own: "newgamepvp" has none up or down.
    EXPECT_EQ(Menu().FindFocusItem("newgamepvp")->GetLink(FocusItem::kDown), nullptr);
    EXPECT_EQ(Menu().FindFocusItem("newgamepvp")->GetLink(FocusItem::kUp), nullptr);
    // The ring goes round each clip: the item is a square about the clip's centre.
    for (const auto& item : Menu().GetFocusItems()) {
        const FocusRect rect = item->GetRect();
        const sf::Vector2f centre = ClipPosition(Menu().GetFirstMovie()->GetCharacter(item->GetName()));
        EXPECT_GT(rect.right - rect.left, 60.0f) << item->GetName();
        EXPECT_NEAR(rect.right - rect.left, rect.bottom - rect.top, 2.0f) << item->GetName();
        EXPECT_NEAR((rect.left + rect.right) / 2, centre.x, 1.0f) << item->GetName();
        EXPECT_NEAR((rect.top + rect.bottom) / 2, centre.y, 1.0f) << item->GetName();
    }
    EXPECT_EQ(log->Text().find("ERROR"), std::string::npos) << log->Text();
    // Every controller moves the one shared cursor, of the first controller's colour.
    EXPECT_EQ(Menu().GetCursorCount(), 0u);
    EXPECT_EQ(Menu().GetSharedCursor()->GetColor(), sf::Color(230, 70, 60));
}

// Pressing an item plays its clip, whose script sends the choice a moment later.
TEST_F(GUIMainMenuTest, pressed_items_send_their_choices_and_the_menu_opens_the_next_screen) {
    const Choice choices[] = {
        {"newgamepvp", {5, 4}, MatchSetup::QuickMatch},
        {"newgamepvc", {6, 4}, MatchSetup::Training},
        {"stats", {16, 4}, -1},
        {"quit", {17, 4}, -1},
    };
    for (const Choice& choice : choices) {
        SCOPED_TRACE(choice.clip);
        ShowMenuAgain();
        Menu().MoveAllFocus(choice.clip);
        director->HandleCommand(controllers[1], Controller::kStart);
        EXPECT_EQ(director->GetIds(), (Ids{4})) << "the choice comes with the end of the clip's squash";
        Run(0.3f);
        if (choice.ids.front() == GUIDirector::kExit) {
            // The exit closes the program at the end of the update that pushed it.
            EXPECT_TRUE(director->GetIds().empty());
            continue;
        }
        ExpectChosen(choice);
        // The controller that chose hands over to the next screen.
        const std::string handOver = std::to_string(choice.ids.front()) + ":TakeHandOver c2";
        EXPECT_NE(std::find(journal.begin(), journal.end(), handOver), journal.end());
    }
}

// Every bubble is a button of the mouse: the pointer coming onto it wobbles it, and a click on it
// (the button held over it, then let go) plays its press, which sends its choice. The
// championship and the tutorial, which have no item, start so.
TEST_F(GUIMainMenuTest, a_click_on_a_bubble_sends_its_choice) {
    const Choice clicks[] = {
        {"newgamechampionship", {8, 4}, MatchSetup::Championship},
        {"tutorial", {3, 4}, -1},
        {"newgamepvp", {5, 4}, MatchSetup::QuickMatch},
        {"newgamepvc", {6, 4}, MatchSetup::Training},
        {"stats", {16, 4}, -1},
    };
    for (const Choice& click : clicks) {
        SCOPED_TRACE(click.clip);
        ShowMenuAgain();
        Run(0.1f);
        FlashMovie& movie = *Menu().GetFirstMovie();
        swfplayer::character* bubble = movie.GetCharacter(click.clip);
        ASSERT_NE(bubble, nullptr);
        const sf::Vector2f at = ClipPosition(bubble);
        const auto mouse = [&](int buttons) {
            movie.GetRoot()->notify_mouse_state(static_cast<int>(at.x), static_cast<int>(at.y), buttons);
            movie.Advance(1.0f / 30.0f);
        };
        mouse(0);
        EXPECT_NE(bubble->get_current_frame(), 0) << "the bubble wobbles under the pointer";
        mouse(1);
        EXPECT_EQ(director->GetIds(), (Ids{4}));
        mouse(0);
        for (int frame = 0; frame < 10 && director->GetIds().size() == 1; ++frame) {
            mouse(0);
        }
        ExpectChosen(click);
        if (click.ids.front() == GUIDirector::kTutorialWithButtons) {
            // The tutorial starts from its first lesson with its buttons on.
            EXPECT_EQ(journal, (Journal{"2:Reset", "2:EnableButtons 1", "2:Activate"}));
        }
    }
    // A click beside the bubbles sends nothing.
    ShowMenuAgain();
    Run(0.1f);
    FlashMovie& movie = *Menu().GetFirstMovie();
    for (int buttons : {0, 1, 0, 0, 0, 0, 0, 0}) {
        movie.GetRoot()->notify_mouse_state(400, 20, buttons);
        movie.Advance(1.0f / 30.0f);
    }
    EXPECT_EQ(director->GetIds(), (Ids{4}));
}

TEST_F(GUIMainMenuTest, a_new_game_starts_from_an_empty_set_up) {
    ShowMenu();
    Application& application = Application::GetInstance();
    application.matchSetup.players = {"data/players/a.xml", "data/players/b.xml"};
    application.matchSetup.matchIndex = 2;
    application.matchSetup.matches.resize(3);
    application.levelFile = "data/levels/old.xml";
    application.player1File = "data/players/a.xml";
    application.player2Controller = controllers[1];
    application.matchFlags = {true, true};
    Menu().OnFSCommand("newgamepvc");
    EXPECT_TRUE(application.matchSetup.players.empty());
    EXPECT_EQ(application.matchSetup.matchIndex, 0);
    EXPECT_TRUE(application.matchSetup.matches.empty());
    EXPECT_EQ(application.matchSetup.mode, MatchSetup::Training);
    EXPECT_TRUE(application.levelFile.empty());
    EXPECT_TRUE(application.player1File.empty());
    EXPECT_EQ(application.player2Controller, nullptr);
    EXPECT_EQ(application.matchFlags, (std::array<bool, 2>{false, false}));
    // Commands the menu does not know change nothing, navigation included.
    Menu().OnFSCommand("EnableNavigation");
    Menu().OnFSCommand("NewGamePvP");
    EXPECT_EQ(director->GetIds(), (Ids{6, 4}));
}

TEST_F(GUIMainMenuTest, the_menu_controls_hint_shows_on_the_first_activation_only) {
    director->PushScreen(GUIDirector::kMainMenu);
    EXPECT_FALSE(preferences.hintMenuControls);
    EXPECT_EQ(director->GetHint().GetHintName(), "gui controls");
    EXPECT_TRUE(director->GetHint().IsPlaying());
    EXPECT_TRUE(director->GetHint().NeedsMove());
    // The menu's hint waits at its checkpoint until a move and a press, which the menu hears too.
    Run(1.0f);
    EXPECT_TRUE(director->GetHint().IsWaiting());
    director->HandleCommand(controllers[0], Controller::kRight);
    EXPECT_EQ(CursorItem(), "newgamepvc");
    director->HandleCommand(controllers[0], Controller::kSpit);
    EXPECT_FALSE(director->GetHint().IsWaiting());
    Run(0.3f);
    EXPECT_EQ(director->GetIds(), (Ids{6, 4}));
    // Back on the menu: no hint again.
    director->HandleCommand(controllers[0], Controller::kBack);
    EXPECT_EQ(director->GetIds(), (Ids{4}));
    Run(4.0f);
    EXPECT_FALSE(director->GetHint().IsPlaying());
    // The activation puts the shared cursor back on "newgamepvp".
    EXPECT_EQ(CursorItem(), "newgamepvp");
}

TEST_F(GUIMainMenuTest, with_hints_disabled_the_first_activation_still_uses_up_the_hint) {
    preferences.disableHints = true;
    director->PushScreen(GUIDirector::kMainMenu);
    EXPECT_FALSE(preferences.hintMenuControls);
    Run(0.1f);
    EXPECT_FALSE(director->GetHint().IsPlaying());
    EXPECT_TRUE(director->GetHint().GetHintName().empty());
}

TEST_F(GUIMainMenuTest, a_manual_that_is_not_on_the_disk_is_logged) {
    PHYSFS_deinit();
    ASSERT_NE(PHYSFS_init(nullptr), 0);
    Menu().OnFSCommand("howto");
    EXPECT_NE(log->Text().find("ERROR: GUIMainMenu::OnFSCommand: the manual data/manual/index.html is not a file"),
              std::string::npos)
        << log->Text();
}

}  // namespace
}  // namespace gui_testing
