// The screen director with stub screens: what pushes and pops do to the two stacks and which
// screens hear of it, in which order; the back command and "Back"; FSCommands; the end of a
// match; overlays; screens that change the stack from their own handlers; the exit.
#include "app/Application.h"
#include "app/Steerable.h"
#include "gui/GUIDirector.h"
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/ScreenStubs.h"
#include "tests/support/FileTail.h"

#include <gtest/gtest.h>

namespace gui_testing {
namespace {

using Ids = std::deque<int>;

// A director (its own main menu and hint, without their files) with a stub screen under every
// id the rest of the game brings, and two controllers c1 and c2.
class GUIDirectorTest : public VirtualFolders {
protected:
    void SetUp() override {
        VirtualFolders::SetUp();
        m_Log.emplace(LogFile());
        director.emplace();
        auto title = std::make_unique<StubScreen>(GUIDirector::kTitle, journal);
        screens[GUIDirector::kTitle] = title.get();
        director->RegisterTitle(std::move(title));
        director->RegisterTutorial(std::make_unique<StubTutorial>(journal));
        for (int id : {5, 6, 7, 8, 9, 10, 12, 14, 15, 16}) {
            auto screen = std::make_unique<StubScreen>(id, journal);
            screens[id] = screen.get();
            director->RegisterScreen(id, std::move(screen));
        }
        director->RegisterGetReady(std::make_unique<StubGetReady>(journal));
        director->RegisterMatch(std::make_unique<StubMatch>(journal));
        journal.clear();
        Application::GetInstance().frameSkip = false;
    }
    void TearDown() override {
        director.reset();
        VirtualFolders::TearDown();
    }

    // Pushes the ids in order and forgets what they did.
    void Stack(std::initializer_list<int> ids) {
        for (int id : ids) {
            director->PushScreen(id);
        }
        journal.clear();
    }
    std::string Log() const { return m_Log->Text(); }

    AppControllers controllers;
    Journal journal;
    std::optional<GUIDirector> director;
    std::map<int, StubScreen*> screens;
    std::optional<testing_support::FileTail> m_Log;
};

// Plain Flash GUI screens stand for those with descriptions: this folder holds none, so each logs
// the description it could not read, in the order they were read.
TEST_F(GUIDirectorTest, construction_loads_each_description_once_in_order_and_later_screens_load_none) {
    const testing_support::FileTail log(LogFile());
    Journal loads;
    GUIDirector fresh([&](GUIDirector& made) {
        made.RegisterTitle(std::make_unique<FlashGUI>());
        made.RegisterTutorial(std::make_unique<StubTutorial>(loads));
        for (int id : {5, 6, 7, 8, 9, 10, 12, 14, 15, 16}) {
            made.RegisterScreen(id, std::make_unique<FlashGUI>());
        }
        made.RegisterGetReady(std::make_unique<StubGetReady>(loads));
        made.RegisterMatch(std::make_unique<StubMatch>(loads));
    });
    std::vector<std::string> read;
    const std::string marker = "FlashGUI::Load: cannot read ";
    const std::string text = log.Text();
    for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + 1)) {
        const size_t from = at + marker.size();
        read.push_back(text.substr(from, text.find('\n', from) - from));
    }
    EXPECT_EQ(read,
              (std::vector<std::string>{
                  "data/gui/gametitle.xml", "data/gui/mainmenu.xml", "data/gui/globbo_selection_quickmatch.xml",
                  "data/gui/globbo_selection_training.xml", "data/gui/level_selection.xml", "data/gui/statistics.xml",
                  "data/gui/paused.xml", "data/gui/hint.xml", "data/gui/championship_globbo_selection.xml",
                  "data/gui/championship_level_selection.xml", "data/gui/championship_podium.xml"}));
    EXPECT_EQ(loads, (Journal{"2:Load data/gui/tutorial.xml"}));
    // Pushes reload only their own ids' descriptions.
    loads.clear();
    fresh.PushScreen(GUIDirector::kQuickMatchSelection);
    fresh.PushScreen(GUIDirector::kChampionshipGlobbos);
    EXPECT_EQ(log.Count(marker), static_cast<int>(read.size()));

    // A screen registered once the director is made loads nothing.
    GUIDirector later;
    later.RegisterScreen(5, std::make_unique<StubScreen>(5, loads));
    EXPECT_TRUE(loads.empty()) << testing::PrintToString(loads);
}

TEST_F(GUIDirectorTest, wrong_ids_and_second_screens_are_refused) {
    Journal deleted;
    GUIDirector fresh([&](GUIDirector& made) {
        made.RegisterTutorial(std::make_unique<StubTutorial>(deleted));
        made.RegisterScreen(5, std::make_unique<StubScreen>(5, deleted));
        // Ids that take other kinds of screen, ids out of range and a second screen for an id.
        for (int id : {0, 1, 2, 3, 4, 11, 13, 17, 18, -1, 5}) {
            made.RegisterScreen(id, std::make_unique<StubScreen>(id, deleted));
        }
        made.RegisterTutorial(std::make_unique<StubTutorial>(deleted));
    });
    EXPECT_EQ(
        std::count_if(deleted.begin(), deleted.end(), [](const std::string& e) { return e.ends_with("deleted"); }), 11);
    EXPECT_EQ(fresh.GetScreen(5)->IsOverlay(), false);
    EXPECT_EQ(fresh.GetScreen(2), fresh.GetScreen(3));
    EXPECT_EQ(fresh.GetScreen(4), &fresh.GetMainMenu());
    EXPECT_EQ(fresh.GetScreen(17), nullptr);
}

// Each row starts from an empty stack, pushes and pops in order (0 pops), and ends with the
// stack and the journal of what the screens were asked.
struct StackCase {
    const char* name;
    std::vector<int> steps;
    Ids ids;
    Journal journal;
};

TEST_F(GUIDirectorTest, pushes_and_pops_activate_the_new_top_and_hand_over_in_order) {
    screens[5]->hooks.handOver = controllers[0];
    screens[16]->hooks.handOver = controllers[1];
    const StackCase cases[] = {
        {"a push activates", {5}, {5}, {"5:Activate"}},
        {"the new top gets the old top's hand-over", {5, 6}, {6, 5}, {"5:Activate", "6:Activate", "6:TakeHandOver c1"}},
        {"no hand-over from a screen without one", {6, 5}, {5, 6}, {"6:Activate", "5:Activate"}},
        {"a pop activates the screen below with the hand-over",
         {5, 16, 0},
         {5},
         {"5:Activate", "16:Activate", "16:TakeHandOver c1", "5:Activate", "5:TakeHandOver c2"}},
        {"the screen already on top again: no activation, no hand-over", {5, 5}, {5, 5}, {"5:Activate"}},
        {"a screen deeper in the stack is refused",
         {5, 6, 5},
         {6, 5},
         {"5:Activate", "6:Activate", "6:TakeHandOver c1"}},
        {"an id without a screen changes nothing", {5, 18, 0, 0}, {}, {"5:Activate"}},
        {"tables and match over load anew before their push",
         {10, 15},
         {15, 10},
         {"10:Unload", "10:Load data/gui/championship_match_table.xml", "10:Activate", "15:Unload",
          "15:Load data/gui/match_over.xml", "15:Activate"}},
        {"a match starts and runs one still step before it shows",
         {13},
         {13},
         {"13:StartMatch", "13:Update 0.000000", "13:Activate"}},
        {"the get-ready screen loads with the match below",
         {13, 11},
         {11, 13},
         {"13:StartMatch", "13:Update 0.000000", "13:Activate", "11:Unload",
          "11:Load data/gui/championship_get_ready.xml with match", "11:Activate"}},
        {"the tutorial without buttons, then reset with them",
         {2, 3},
         {3, 2},
         {"2:EnableButtons 0", "2:Activate", "2:Reset", "2:EnableButtons 1"}},
        {"popping the match ends it",
         {13, 0},
         {},
         {"13:StartMatch", "13:Update 0.000000", "13:Activate", "13:EndMatch"}},
        {"the exit id has no screen", {5, 17}, {17, 5}, {"5:Activate"}},
        {"popping the exit id leaves the screen below it", {5, 17, 0}, {5}, {"5:Activate"}},
    };
    for (const StackCase& c : cases) {
        SCOPED_TRACE(c.name);
        director->PopAll();
        journal.clear();
        for (int step : c.steps) {
            if (step == 0) {
                director->PopScreen();
            } else {
                director->PushScreen(step);
            }
        }
        EXPECT_EQ(director->GetIds(), c.ids);
        EXPECT_EQ(journal, c.journal);
        // The screen stack holds the ids' screens, the exit id none.
        std::deque<GUIBase*> expected;
        for (int id : c.ids) {
            if (id != GUIDirector::kExit) {
                expected.push_back(director->GetScreen(id));
            }
        }
        EXPECT_EQ(director->GetScreens(), expected);
        EXPECT_EQ(director->GetCurrentScreenId(), c.ids.empty() ? 0 : c.ids.front());
    }
    director->PopAll();
    EXPECT_FALSE(director->PopScreen());
    EXPECT_NE(Log().find(" ERROR: GUIDirector::PushScreen: no screen 18\n"), std::string::npos) << Log();
    EXPECT_NE(Log().find(" ERROR: GUIDirector::PushScreen: screen 5 is already in the stack\n"), std::string::npos);
    EXPECT_NE(Log().find(" INFO: GUIDirector::PushScreen: 13\n"), std::string::npos);
    EXPECT_NE(Log().find(" INFO: GUIDirector::PopScreen: 13\n"), std::string::npos);
}

TEST_F(GUIDirectorTest, pushes_set_the_frame_skip_flag_and_pops_and_refusals_do_not) {
    Application& application = Application::GetInstance();
    director->PushScreen(5);
    EXPECT_TRUE(application.frameSkip);
    application.frameSkip = false;
    director->PushScreen(18);
    director->PushScreen(6);
    application.frameSkip = false;
    director->PushScreen(5);
    director->PopScreen();
    EXPECT_FALSE(application.frameSkip);
    director->PushScreen(17);
    EXPECT_TRUE(application.frameSkip);
}

TEST_F(GUIDirectorTest, the_title_plays_the_menu_music_and_the_main_menu_takes_focus_on_newgamepvp) {
    director->PushScreen(1);
    EXPECT_NE(Log().find("PlayMusic: failed loading stream: data/music/acoustic/track01.ogg"), std::string::npos)
        << Log();
    director->PushScreen(4);
    EXPECT_EQ(director->GetIds(), (Ids{4, 1}));
    // The main menu has no movie here, so no item: its shared cursor rests on nothing.
    ASSERT_NE(director->GetMainMenu().GetSharedCursor(), nullptr);
    EXPECT_EQ(director->GetMainMenu().GetSharedCursor()->GetController(), controllers[0]);
}

// The back command on each id, on top of a stack that ends in a stub screen: where it leaves
// the menu, pauses the match or does nothing, and who hears the command after that.
TEST_F(GUIDirectorTest, the_back_command_pops_menus_pauses_matches_and_always_reaches_the_new_top) {
    struct BackCase {
        int id;
        Ids after;
        const char* hears;
    };
    const BackCase cases[] = {
        {1, {1, 12}, "1:OnCommand c2 7"},
        {2, {2, 12}, ""},
        {3, {3, 12}, ""},
        {5, {12}, "12:OnCommand c2 7"},
        {6, {12}, "12:OnCommand c2 7"},
        {7, {12}, "12:OnCommand c2 7"},
        {8, {12}, "12:OnCommand c2 7"},
        {9, {12}, "12:OnCommand c2 7"},
        {10, {14, 10, 12}, "14:OnCommand c2 7"},
        {11, {14, 11, 12}, "14:OnCommand c2 7"},
        {13, {14, 13, 12}, "14:OnCommand c2 7"},
        {14, {12}, "12:OnCommand c2 7"},
        {15, {15, 12}, "15:OnCommand c2 7"},
        {16, {12}, "12:OnCommand c2 7"},
        {17, {17, 12}, "12:OnCommand c2 7"},
    };
    for (const BackCase& c : cases) {
        SCOPED_TRACE(c.id);
        director->PopAll();
        Stack({12, c.id});
        director->HandleCommand(controllers[1], Controller::kBack);
        EXPECT_EQ(director->GetIds(), c.after);
        const std::string heard = *c.hears ? c.hears : "";
        const auto commands = std::count_if(journal.begin(), journal.end(),
                                            [](const std::string& e) { return e.find(":OnCommand") != e.npos; });
        if (!heard.empty()) {
            EXPECT_NE(std::find(journal.begin(), journal.end(), heard), journal.end())
                << testing::PrintToString(journal);
            EXPECT_EQ(commands, 1);
        }
    }
    // On the main menu (the bottom of every stack of the game) nothing is popped.
    director->PopAll();
    Stack({4});
    director->HandleCommand(controllers[0], Controller::kBack);
    EXPECT_EQ(director->GetIds(), (Ids{4}));
}

// "Back" from a movie takes off whatever screen is on top (ending a match first); the top screen
// never sees it. The last screen stays, so the stack is never emptied.
TEST_F(GUIDirectorTest, the_back_fscommand_pops_any_top_but_the_last_and_never_reaches_the_top) {
    for (int id = 1; id <= 17; ++id) {
        SCOPED_TRACE(id);
        director->PopAll();
        Stack({4, id});
        Ids expected = director->GetIds();
        expected.pop_front();
        director->OnFSCommand("Back");
        EXPECT_EQ(director->GetIds(), expected);
        EXPECT_EQ(std::count(journal.begin(), journal.end(), "13:EndMatch"), id == GUIDirector::kGame ? 1 : 0);
        for (const std::string& entry : journal) {
            EXPECT_EQ(entry.find("OnFSCommand"), std::string::npos) << entry;
        }
    }
    for (int id :
         {GUIDirector::kTitle, GUIDirector::kMainMenu, GUIDirector::kChampionshipPodium, GUIDirector::kMatchOver}) {
        SCOPED_TRACE(id);
        director->PopAll();
        Stack({id});
        director->OnFSCommand("Back");
        EXPECT_EQ(director->GetIds(), (Ids{id}));
        EXPECT_TRUE(journal.empty()) << testing::PrintToString(journal);
    }
}

TEST_F(GUIDirectorTest, fscommands_reach_the_top_and_the_hint_but_sounds_reach_no_screen) {
    Stack({5, 6});
    director->ShowHint("gui controls", 1);
    director->OnFSCommand("playsound data/sounds/nothing.wav");
    EXPECT_TRUE(journal.empty()) << testing::PrintToString(journal);
    EXPECT_NE(Log().find("PlaySound: failed loading sound file: data/sounds/nothing.wav"), std::string::npos);

    // The hint waits at its checkpoint; the top screen hears the command too.
    director->OnFSCommand("checkpoint");
    EXPECT_EQ(journal, (Journal{"6:OnFSCommand checkpoint"}));
    EXPECT_TRUE(director->GetHint().IsWaiting());
    director->OnFSCommand(nullptr);
    EXPECT_EQ(journal.back(), "6:OnFSCommand ");

    // With nothing stacked only the hint hears.
    director->PopAll();
    journal.clear();
    director->ShowHint("gui controls", 1);
    director->OnFSCommand("checkpoint");
    EXPECT_TRUE(journal.empty());
    EXPECT_TRUE(director->GetHint().IsWaiting());
}

TEST_F(GUIDirectorTest, commands_reach_the_top_and_then_the_hint) {
    Stack({5});
    director->ShowHint("gui controls", 2);
    director->OnFSCommand("checkpoint");
    director->HandleCommand(controllers[0], Controller::kUp);
    director->HandleCommand(controllers[1], Controller::kSpit);
    EXPECT_EQ(journal, (Journal{"5:OnFSCommand checkpoint", "5:OnCommand c1 3", "5:OnCommand c2 5"}));
    EXPECT_FALSE(director->GetHint().NeedsMove());
    EXPECT_FALSE(director->GetHint().NeedsPress());
    EXPECT_FALSE(director->GetHint().IsWaiting());
}

TEST_F(GUIDirectorTest, the_match_ends_with_its_controllers_detached_on_pop_pop_all_and_shutdown) {
    struct Creature : Steerable {
        void MoveMouth(const b2Vec2&, float) override {}
        void Shoot() override {}
    } creature;
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        Stack({4, 13, 15});
        controllers[0]->Attach(&creature);
        if (way == 0) {
            director->PopScreen();
            director->PopScreen();
        } else if (way == 1) {
            director->PopAll();
        } else {
            director->Shutdown();
        }
        EXPECT_NE(std::find(journal.begin(), journal.end(), "13:EndMatch"), journal.end())
            << testing::PrintToString(journal);
        EXPECT_EQ(controllers[0]->GetCreature(), nullptr);
        director->PopAll();
    }
}

TEST_F(GUIDirectorTest, overlays_show_the_screens_below_and_only_the_get_ready_screen_runs_the_match) {
    struct WalkCase {
        std::initializer_list<int> stack;
        Journal updates;
        Journal renders;
    };
    screens[14]->hooks.overlay = true;
    screens[15]->hooks.overlay = true;
    const WalkCase cases[] = {
        {{4, 5}, {"5:Update 0.020000"}, {"5:Render"}},
        {{4, 13, 14}, {"14:Update 0.020000"}, {"13:Render", "14:Render"}},
        {{4, 13, 11}, {"11:Update", "13:Update 0.020000"}, {"13:Render"}},
        {{4, 13, 15, 16}, {"16:Update 0.020000"}, {"16:Render"}},
        {{4, 13, 15, 14}, {"14:Update 0.020000"}, {"13:Render", "15:Render", "14:Render"}},
    };
    for (const WalkCase& c : cases) {
        director->PopAll();
        Stack(c.stack);
        director->Update(0.02f);
        EXPECT_EQ(journal, c.updates);
        journal.clear();
        NullTarget target;
        director->Draw(target);
        EXPECT_EQ(journal, c.renders);
    }
    // Window events go to the top screen alone.
    journal.clear();
    sf::Event event{};
    event.type = sf::Event::KeyPressed;
    director->OnEvent(event);
    EXPECT_TRUE(journal.empty());
    director->PopAll();
    director->OnEvent(event);
}

// Screens push and pop from inside their own handlers: the update walk is fixed before the first
// screen runs, and a screen taken off the stack meanwhile is not updated. Under the sanitizers
// this also shows that nothing reads a screen or a stack entry that is gone.
TEST_F(GUIDirectorTest, screens_change_the_stack_from_their_own_handlers) {
    // The get-ready screen removes itself, as it does once both players are ready: the match
    // below still runs this step.
    screens[7]->hooks.updatesBelow = true;
    screens[7]->hooks.onUpdate = [&] {
        director->PopScreen();
    };
    Stack({4, 13, 7});
    director->Update(0.5f);
    EXPECT_EQ(journal, (Journal{"7:Update 0.500000", "13:Activate", "13:Update 0.500000"}));
    // ...and when it takes the match off too, the match is not updated.
    screens[7]->hooks.onUpdate = [&] {
        director->PopScreen();
        director->PopScreen();
        director->PushScreen(16);
    };
    director->PopAll();
    Stack({4, 13, 7});
    director->Update(0.5f);
    EXPECT_EQ(director->GetIds(), (Ids{16, 4}));
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "13:Update 0.500000"), 0);

    // A command that replaces the screen; the next command goes to the new top.
    screens[5]->hooks.onCommand = [&](int) {
        director->PopScreen();
        director->PushScreen(6);
    };
    director->PopAll();
    Stack({4, 5});
    director->HandleCommand(controllers[0], Controller::kSpit);
    director->HandleCommand(controllers[0], Controller::kSpit);
    EXPECT_EQ(director->GetIds(), (Ids{6, 4}));
    EXPECT_EQ(journal.back(), "6:OnCommand c1 5");

    // An FSCommand that empties the stack (as "EndGame" does) and starts over.
    screens[14]->hooks.onFSCommand = [&](const std::string&) {
        director->PopAll();
        director->PushScreen(16);
    };
    director->PopAll();
    Stack({4, 13, 14});
    director->OnFSCommand("EndGame");
    EXPECT_EQ(director->GetIds(), (Ids{16}));
}

// "exit" from a movie arrives during the screen's own update: the same update still runs the
// hint, then closes the window, deletes the title and empties the stacks.
TEST_F(GUIDirectorTest, the_exit_id_ends_the_program_at_the_end_of_the_update) {
    screens[5]->hooks.onUpdate = [&] {
        director->PushScreen(GUIDirector::kExit);
    };
    Stack({1, 5});
    director->Update(0.02f);
    EXPECT_EQ(journal, (Journal{"5:Update 0.020000", "1:deleted"}));
    EXPECT_TRUE(director->GetIds().empty());
    EXPECT_TRUE(director->GetScreens().empty());
    EXPECT_EQ(director->GetScreen(GUIDirector::kTitle), nullptr);
    // Nothing is left to update or draw; the title is gone for good.
    director->Update(0.02f);
    NullTarget target;
    director->Draw(target);
    director->PushScreen(GUIDirector::kTitle);
    EXPECT_TRUE(director->GetIds().empty());

    // The shutdown does the same.
    GUIDirector other;
    Journal titles;
    other.RegisterTitle(std::make_unique<StubScreen>(GUIDirector::kTitle, titles));
    other.PushScreen(GUIDirector::kTitle);
    other.Shutdown();
    EXPECT_EQ(titles.back(), "1:deleted");
    EXPECT_TRUE(other.GetIds().empty());
    EXPECT_TRUE(other.GetScreens().empty());
}

}  // namespace
}  // namespace gui_testing
