// The quick match's creature selection on the game's own description, over pools of copies of a
// shipped creature: where the grid puts the portraits, how its rows, slots and the screen's
// "Back" and "Start" are linked, who may fill which slot, and what "Start" sets up.
#include "app/Application.h"
#include "app/UserPreferences.h"
#include "gui/BotSelectionGrid.h"
#include "gui/GUIDirector.h"
#include "gui/GUIPlayerSelection.h"
#include "gui/GameScreens.h"
#include "gui/SelectionGrid.h"
#include "tests/gui/ScreenTestBase.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <physfs.h>

#include <list>
#include <set>

namespace gui_testing {
namespace {

using Ids = std::deque<int>;

// The pool's first and last cell centres and the columns' step (four columns).
constexpr float kX0 = GUIPlayerSelection::kPool.left;
constexpr float kX1 = GUIPlayerSelection::kPool.right;
constexpr float kY0 = GUIPlayerSelection::kPool.top;
constexpr float kY1 = GUIPlayerSelection::kPool.bottom;
constexpr float kStep = (kX1 - kX0) / 3.0f;

class SelectionGridTest : public ScreenTestBase {
protected:
    // The pool becomes count copies of the sprout, "c0.xml"..., those listed not selectable.
    void MakePool(int count, const std::set<int>& unselectable = {}) {
        const std::filesystem::path folder = data->Path() / "data/players";
        const std::string sprout = testing_support::ReadFile(PONDORIX_GAME_DIR "/data/players/sprout.xml");
        std::filesystem::remove_all(folder);
        std::filesystem::create_directory(folder);
        for (int i = 0; i < count; ++i) {
            std::string text = sprout;
            if (unselectable.count(i) != 0) {
                text.replace(text.find("selectable=\"true\""), 17, "selectable=\"false\"");
            }
            testing_support::WriteFile(folder / ("c" + std::to_string(i) + ".xml"), text);
        }
    }
    // The director over the real selection, with stubs for the level selection.
    GUIPlayerSelection& Open() {
        GUIPlayerSelection& selection = MakeDirectorWith<GUIPlayerSelection>(
            director, GUIDirector::kQuickMatchSelection, {GUIDirector::kLevelSelection}, journal);
        director->PushScreen(GUIDirector::kQuickMatchSelection);
        return selection;
    }
    // The pool's item of "c<index>.xml".
    SnapshotFocusItem* Pool(const GUIPlayerSelection& screen, int index) {
        return screen.GetGrid().FindPoolItem("data/players/c" + std::to_string(index) + ".xml");
    }
    std::string Name(const FocusItem* item) { return item == nullptr ? "none" : item->GetName(); }
    // The item under the cursor that every controller moves.
    static const FocusItem* CursorItem(const GUIPlayerSelection& screen) {
        return screen.GetSharedCursor() == nullptr ? nullptr : screen.GetSharedCursor()->GetItem();
    }
    void Press(GUIPlayerSelection& screen, Controller* controller, const std::string& item) {
        screen.SetControllerFocus(controller, item);
        director->HandleCommand(controller, Controller::kSpit);
    }
    void Run(float seconds) {
        for (float t = 0; t < seconds; t += 1.0f / 30.0f) {
            director->Update(1.0f / 30.0f);
        }
    }
};

TEST_F(SelectionGridTest, the_pool_lies_in_rows_of_four_with_a_short_last_row_centred) {
    struct Case {
        int creatures;
        std::vector<size_t> rowLengths;
    };
    const Case cases[] = {{5, {4, 1}}, {1, {1}}, {8, {4, 4}}, {0, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.creatures);
        MakePool(c.creatures);
        GUIPlayerSelection& screen = Open();
        const SelectionGrid& grid = screen.GetGrid();
        ASSERT_EQ(grid.GetPoolItems().size(), static_cast<size_t>(c.creatures));
        ASSERT_EQ(grid.GetRows().size(), c.rowLengths.size());
        size_t index = 0;
        for (size_t row = 0; row < c.rowLengths.size(); ++row) {
            const size_t length = c.rowLengths[row];
            const float y = c.rowLengths.size() == 1 ? kY0 : kY0 + (kY1 - kY0) * row / (c.rowLengths.size() - 1);
            const float first = (kX0 + kX1) / 2 - kStep * (length - 1) / 2;
            EXPECT_EQ(grid.GetRows()[row]->GetName(), "row" + std::to_string(row));
            for (size_t i = 0; i < length; ++i, ++index) {
                const SnapshotFocusItem& item = *grid.GetPoolItems()[index];
                EXPECT_NEAR(item.GetPosition().x, first + kStep * i, 0.01f) << row << "," << i;
                EXPECT_NEAR(item.GetPosition().y, y, 0.01f) << row << "," << i;
                EXPECT_FLOAT_EQ(item.GetScale(), SelectionGrid::kBaseScale);
                EXPECT_NEAR(item.GetRect().right - item.GetRect().left, 120 * SelectionGrid::kBaseScale, 0.01f);
                EXPECT_TRUE(item.IsEnabled());
                // Round the row, left and right; the last creature leads on to the first slot.
                const size_t start = index - i;
                const bool last = row + 1 == c.rowLengths.size() && i + 1 == length;
                EXPECT_EQ(item.GetLink(FocusItem::kRight),
                          last ? grid.GetSlots()[0].get() : grid.GetPoolItems()[start + (i + 1) % length].get());
            }
        }
        // The two slots stand at the ends of their row and lead up to the last row.
        ASSERT_EQ(grid.GetSlots().size(), 2u);
        EXPECT_EQ(grid.GetSlots()[0]->GetPosition(), sf::Vector2f(170, 495));
        EXPECT_EQ(grid.GetSlots()[1]->GetPosition(), sf::Vector2f(620, 495));
        EXPECT_EQ(grid.GetSlots()[0]->GetTubeOffset(), sf::Vector2f(130, 50));
        EXPECT_EQ(grid.GetSlots()[1]->GetTubeOffset(), sf::Vector2f(-30, 50));
        EXPECT_EQ(Name(grid.GetSlots()[0]->GetLink(FocusItem::kRight)), "player2");
        EXPECT_EQ(Name(grid.GetSlots()[1]->GetLink(FocusItem::kRight)), "Start");
        EXPECT_EQ(Name(grid.GetSlots()[1]->GetLink(FocusItem::kDown)), "Start");
        EXPECT_EQ(Name(screen.FindFocusItem("Start")->GetLink(FocusItem::kUp)), "players");
        const std::string lastRow = c.rowLengths.empty() ? "none" : "row" + std::to_string(c.rowLengths.size() - 1);
        EXPECT_EQ(Name(grid.GetSlots()[0]->GetLink(FocusItem::kUp)), lastRow);
        EXPECT_EQ(screen.GetCurrentFocusItem()->GetName(), "Start");
        EXPECT_EQ(log->Text().find("ERROR"), std::string::npos) << log->Text();
        director.reset();
    }
}

TEST_F(SelectionGridTest, back_leads_into_the_first_row_and_rows_lead_down_to_the_slots) {
    MakePool(5);
    GUIPlayerSelection& screen = Open();
    const SelectionGrid& grid = screen.GetGrid();
    FocusItem* back = screen.FindFocusItem("Back");
    // Each item, then its left, right, up and down links.
    const std::map<std::string, std::array<const char*, 4>> links = {
        {"Back", {"none", "data/players/c0.xml", "none", "data/players/c0.xml"}},
        {"data/players/c0.xml", {"Back", "data/players/c1.xml", "Back", "row1"}},
        {"data/players/c3.xml", {"data/players/c2.xml", "data/players/c0.xml", "Back", "row1"}},
        // A row of one wraps onto itself; its right leads to the first slot and back.
        {"data/players/c4.xml", {"data/players/c4.xml", "player1", "row0", "players"}},
        {"row0", {"none", "none", "none", "row1"}},
        {"row1", {"none", "none", "row0", "players"}},
        {"player1", {"data/players/c4.xml", "player2", "row1", "Start"}},
        {"player2", {"player1", "Start", "row1", "Start"}},
    };
    ASSERT_NE(back, nullptr);
    for (const auto& [name, expected] : links) {
        const FocusItem* item = screen.FindFocusItem(name);
        ASSERT_NE(item, nullptr) << name;
        for (int direction = FocusItem::kLeft; direction <= FocusItem::kDown; ++direction) {
            EXPECT_EQ(Name(item->GetLink(direction)), expected[direction]) << name << " " << direction;
        }
    }
    // A move up from "Start" passes the empty slots' row and lands in the last row; from there
    // up again, on the first row's first creature.
    screen.SetControllerFocus(controllers[0], "Start");
    director->HandleCommand(controllers[0], Controller::kUp);
    EXPECT_EQ(CursorItem(screen), Pool(screen, 4));
    director->HandleCommand(controllers[0], Controller::kUp);
    EXPECT_EQ(CursorItem(screen), grid.GetPoolItems().front().get());
}

TEST_F(SelectionGridTest, each_controller_fills_one_slot_and_a_pressed_slot_returns_its_creature) {
    MakePool(5, {2});
    GUIPlayerSelection& screen = Open();
    const SelectionGrid& grid = screen.GetGrid();
    Controller* c1 = controllers[0];
    Controller* c2 = controllers[1];
    std::vector<std::unique_ptr<Controller>>& list = Application::GetInstance().controllers;
    list.push_back(MakeController(3, sf::Color(80, 190, 70), "data/gui/controller_gamepad.swf"));
    Controller* c3 = list.back().get();

    // The unselectable creature shows, but no press takes it and the cursor passes it by.
    EXPECT_FALSE(Pool(screen, 2)->IsEnabled());
    EXPECT_NE(Pool(screen, 2)->GetSnapshot(), nullptr);
    screen.SetControllerFocus(c1, "data/players/c1.xml");
    director->HandleCommand(c1, Controller::kRight);
    EXPECT_EQ(CursorItem(screen), Pool(screen, 3));
    Press(screen, c1, "data/players/c2.xml");
    EXPECT_TRUE(grid.GetChosen().empty());

    struct Step {
        Controller* controller;
        const char* item;
        std::vector<std::string> slots;
        const char* hint;
    };
    const Step steps[] = {
        {c1, "data/players/c0.xml", {"data/players/c0.xml", ""}, ""},
        // A second choice with the same controller: the hint, nothing moves.
        {c1, "data/players/c1.xml", {"data/players/c0.xml", ""}, "use other controls"},
        {c2, "data/players/c4.xml", {"data/players/c0.xml", "data/players/c4.xml"}, ""},
        // Both slots full: a third controller's choice finds no place.
        {c3, "data/players/c1.xml", {"data/players/c0.xml", "data/players/c4.xml"}, ""},
        // A pressed slot gives its creature back and is free again.
        {c3, "player1", {"", "data/players/c4.xml"}, ""},
        {c3, "data/players/c3.xml", {"data/players/c3.xml", "data/players/c4.xml"}, ""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.item);
        director->GetHint().ShowHint("", 0);
        Press(screen, step.controller, step.item);
        EXPECT_EQ(grid.GetSlots()[0]->GetFile(), step.slots[0]);
        EXPECT_EQ(grid.GetSlots()[1]->GetFile(), step.slots[1]);
        EXPECT_EQ(director->GetHint().GetHintName(), step.hint);
        Run(0.5f);
    }
    // The creature back in the pool is in its own place, enabled, and c1 may choose again.
    EXPECT_EQ(Pool(screen, 0)->GetFile(), "data/players/c0.xml");
    EXPECT_TRUE(Pool(screen, 0)->IsEnabled());
    EXPECT_EQ(Pool(screen, 0)->GetPosition(), sf::Vector2f(kX0, kY0));
    EXPECT_FALSE(grid.ControllerHasSlot(c1));
    ASSERT_EQ(grid.GetChosen().size(), 2u);
    EXPECT_EQ(grid.GetChosen()[0].controller, c2);
    EXPECT_EQ(grid.GetChosen()[1].controller, c3);
    // The slot shows the picture of the controller that chose it.
    EXPECT_NE(grid.GetSlots()[0]->GetDecoration().GetRoot(), nullptr);
    EXPECT_EQ(grid.GetSlots()[0]->GetDecoration().getPosition(), sf::Vector2f(170 - 70, 495 + 50));
    EXPECT_EQ(Pool(screen, 3)->GetFile(), "");
    EXPECT_FALSE(Pool(screen, 3)->IsEnabled());
    // A filled item loads nothing more.
    EXPECT_FALSE(grid.GetSlots()[1]->Load("data/players/c1.xml"));
}

TEST_F(SelectionGridTest, start_needs_two_creatures_and_sets_up_a_quick_match) {
    MakePool(3);
    GUIPlayerSelection& screen = Open();
    Application& application = Application::GetInstance();
    application.matchSetup.mode = MatchSetup::Training;
    Press(screen, controllers[1], "data/players/c2.xml");
    screen.OnFSCommand("Start");
    EXPECT_EQ(director->GetHint().GetHintName(), "select two");
    EXPECT_EQ(director->GetIds(), (Ids{5}));

    Press(screen, controllers[0], "data/players/c0.xml");
    screen.OnFSCommand("Started");
    EXPECT_EQ(director->GetIds(), (Ids{5}));
    screen.OnFSCommand("Start");
    EXPECT_EQ(director->GetIds(), (Ids{7, 5}));
    EXPECT_EQ(application.matchSetup.mode, MatchSetup::QuickMatch);
    EXPECT_EQ(application.matchSetup.players, (std::list<std::string>{"data/players/c2.xml", "data/players/c0.xml"}));
    EXPECT_EQ(application.player1File, "data/players/c2.xml");
    EXPECT_EQ(application.player1Controller, controllers[1]);
    EXPECT_EQ(application.player2File, "data/players/c0.xml");
    EXPECT_EQ(application.player2Controller, controllers[0]);
    EXPECT_EQ(application.matchSetup.results.size(), 1u);
}

// One cursor, in the first controller's colour, for every controller: the one that chose the
// quick match on the menu finds it on "Start", and each moves the same cursor. Who presses
// chooses: each pick is kept with the controller that pressed.
TEST_F(SelectionGridTest, every_controller_moves_the_one_cursor_and_each_pick_is_the_pressers) {
    MakePool(4);
    director.emplace(RegisterGameScreens);
    director->PushScreen(GUIDirector::kMainMenu);
    Controller* c1 = controllers[0];
    Controller* c2 = controllers[1];
    director->HandleCommand(c2, Controller::kRight);
    director->PushScreen(GUIDirector::kQuickMatchSelection);
    auto& screen = dynamic_cast<GUIPlayerSelection&>(*director->GetScreen(GUIDirector::kQuickMatchSelection));
    const SelectionGrid& grid = screen.GetGrid();
    const FocusInstance* cursor = screen.GetSharedCursor();
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(Name(cursor->GetItem()), "Start");
    EXPECT_EQ(cursor->GetController(), c1);
    EXPECT_EQ(cursor->GetColor(), sf::Color(c1->GetGUIColor()));
    // A single ring, as wide as one cursor's on its item.
    ASSERT_TRUE(cursor->GetRing());
    const FocusRect start = cursor->GetItem()->GetRect();
    EXPECT_NEAR(cursor->GetRing()->getRadius(), 0.47f * (start.right - start.left), 0.01f);

    // Up from "Start" passes the empty slots by to the pool's first creature; each controller's
    // move goes on from where the other's left it, and nobody gets a cursor of their own.
    const std::pair<Controller*, const char*> moves[] = {{c2, "data/players/c0.xml"},
                                                         {c1, "data/players/c1.xml"},
                                                         {c2, "data/players/c2.xml"},
                                                         {c1, "data/players/c1.xml"}};
    const int commands[] = {Controller::kUp, Controller::kRight, Controller::kRight, Controller::kLeft};
    for (size_t i = 0; i < std::size(moves); ++i) {
        SCOPED_TRACE(i);
        director->HandleCommand(moves[i].first, commands[i]);
        EXPECT_EQ(screen.GetSharedCursor(), cursor);
        EXPECT_EQ(Name(cursor->GetItem()), moves[i].second);
        EXPECT_EQ(screen.GetCursorCount(), 0u);
        EXPECT_EQ(screen.GetCursor(moves[i].first), nullptr);
    }

    // c2 picks the creature under the cursor, which then stands on its slot; c1 moves it back
    // up and picks another; a second pick of c2's is refused with the hint.
    director->HandleCommand(c2, Controller::kSpit);
    EXPECT_EQ(Name(cursor->GetItem()), "player1");
    director->HandleCommand(c1, Controller::kUp);
    director->HandleCommand(c1, Controller::kRight);
    EXPECT_EQ(Name(cursor->GetItem()), "data/players/c2.xml");
    director->GetHint().ShowHint("", 0);
    director->HandleCommand(c2, Controller::kSpit);
    EXPECT_EQ(director->GetHint().GetHintName(), "use other controls");
    director->HandleCommand(c1, Controller::kStart);
    EXPECT_EQ(Name(cursor->GetItem()), "player2");
    ASSERT_EQ(grid.GetChosen().size(), 2u);
    EXPECT_EQ(grid.GetChosen()[0].file, "data/players/c1.xml");
    EXPECT_EQ(grid.GetChosen()[0].controller, c2);
    EXPECT_EQ(grid.GetChosen()[1].file, "data/players/c2.xml");
    EXPECT_EQ(grid.GetChosen()[1].controller, c1);
    // "Start" sets the pressers up as the players.
    screen.OnFSCommand("Start");
    EXPECT_EQ(Application::GetInstance().player1Controller, c2);
    EXPECT_EQ(Application::GetInstance().player2Controller, c1);
}

// The action presses whatever the cursor is on. On a place the pool has given up, and on an empty
// slot, the grid finds no creature to move and logs it; nothing moves.
TEST_F(SelectionGridTest, a_press_on_an_emptied_place_or_an_empty_slot_moves_nothing_and_says_so) {
    MakePool(3);
    GUIPlayerSelection& screen = Open();
    const SelectionGrid& grid = screen.GetGrid();
    Press(screen, controllers[0], "data/players/c0.xml");
    ASSERT_EQ(grid.GetSlots()[0]->GetFile(), "data/players/c0.xml");
    ASSERT_FALSE(Pool(screen, 0)->IsEnabled());
    ASSERT_FALSE(grid.GetSlots()[1]->IsEnabled());
    const std::string toSlot = "ERROR: GUIChampionshipGlobbos: Failed moving globbo to the player list.\n";
    const std::string toPool = "ERROR: GUIChampionshipGlobbos: Failed moving globbo back to the pool.\n";
    ASSERT_EQ(log->Count(toSlot) + log->Count(toPool), 0) << log->Text();

    Press(screen, controllers[1], "data/players/c0.xml");
    EXPECT_EQ(log->Count(toSlot), 1) << log->Text();
    Press(screen, controllers[1], "player2");
    EXPECT_EQ(log->Count(toPool), 1) << log->Text();
    EXPECT_EQ(grid.GetSlots()[0]->GetFile(), "data/players/c0.xml");
    EXPECT_EQ(grid.GetSlots()[1]->GetFile(), "");
    EXPECT_EQ(Pool(screen, 0)->GetFile(), "");
    ASSERT_EQ(grid.GetChosen().size(), 1u);
    EXPECT_EQ(grid.GetChosen()[0].controller, controllers[0]);
    EXPECT_FALSE(grid.ControllerHasSlot(controllers[1]));
}

// Left and right along the row of the players go to the item next to it on the screen, "Start"
// included: with both slots filled, right from the first slot is the second, right from the
// second is "Start", and left goes back the same way.
TEST_F(SelectionGridTest, left_and_right_go_along_the_slots_and_start_in_their_order_on_the_screen) {
    MakePool(4);
    GUIPlayerSelection& screen = Open();
    Controller* c1 = controllers[0];
    Press(screen, c1, "data/players/c0.xml");
    Press(screen, controllers[1], "data/players/c1.xml");
    screen.SetControllerFocus(c1, "player1");
    auto centre = [](const FocusItem* item) {
        return (item->GetRect().left + item->GetRect().right) / 2.0f;
    };
    const std::pair<int, const char*> moves[] = {{Controller::kRight, "player2"},
                                                 {Controller::kRight, "Start"},
                                                 {Controller::kLeft, "player2"},
                                                 {Controller::kLeft, "player1"},
                                                 {Controller::kRight, "player2"}};
    for (const auto& [command, item] : moves) {
        SCOPED_TRACE(item);
        const FocusItem* from = CursorItem(screen);
        director->HandleCommand(c1, command);
        const FocusItem* to = CursorItem(screen);
        EXPECT_EQ(Name(to), item);
        if (command == Controller::kRight) {
            EXPECT_GT(centre(to), centre(from) + 60.0f);
        } else {
            EXPECT_LT(centre(to), centre(from) - 60.0f);
        }
    }
}

// One slot stands at the left end of its row (no step to divide), with the tube above.
TEST_F(SelectionGridTest, a_single_slot_stands_at_the_row_start) {
    MakePool(2);
    GUIPlayerSelection& screen = Open();
    SelectionGrid grid(director->GetHint());
    screen.RemoveAllFocusItems();
    screen.AddFlashFocusItem("Start");
    grid.Build(screen, {300, 100, 300, 100}, {250, 467, 600, 467}, 1, true);
    ASSERT_EQ(grid.GetSlots().size(), 1u);
    EXPECT_EQ(grid.GetSlots()[0]->GetPosition(), sf::Vector2f(250, 467));
    EXPECT_EQ(grid.GetSlots()[0]->GetTubeOffset(), sf::Vector2f(50, 10));
    // A pool rectangle without width puts every column on its left edge.
    for (const auto& item : grid.GetPoolItems()) {
        EXPECT_EQ(item->GetPosition(), sf::Vector2f(300, 100));
    }
    // Everything goes ahead of "Start", which stays last.
    EXPECT_EQ(screen.GetFocusItems().back()->GetName(), "Start");
    grid.Clear(screen);
    EXPECT_EQ(screen.GetFocusItems().size(), 1u);
}

// A portrait pops up, shows, and once given up hides and is empty; its tube and name show only
// while it is there.
TEST_F(SelectionGridTest, a_portrait_goes_through_showing_up_shown_hiding_and_empty) {
    MakePool(1);
    GUIPlayerSelection& screen = Open();
    SnapshotFocusItem& item = *Pool(screen, 0);
    ASSERT_NE(item.GetSnapshot(), nullptr);
    EXPECT_EQ(item.GetSnapshot()->GetState(), GlobboSnapshot::kShowingUp);
    EXPECT_EQ(item.GetSnapshot()->GetFlags(), SelectionGrid::kPoolFlags);
    EXPECT_EQ(item.GetSnapshot()->GetName()->text.getString().toAnsiString(), "Sprout");
    Run(1.0f);
    EXPECT_EQ(item.GetSnapshot()->GetState(), GlobboSnapshot::kShown);
    EXPECT_EQ(item.TakeOut(), "data/players/c0.xml");
    EXPECT_EQ(item.GetSnapshot()->GetState(), GlobboSnapshot::kHiding);
    EXPECT_EQ(item.TakeOut(), "");
    Run(1.0f);
    EXPECT_EQ(item.GetSnapshot()->GetState(), GlobboSnapshot::kEmpty);
    EXPECT_TRUE(item.Load("data/players/c0.xml"));
    EXPECT_EQ(item.GetSnapshot()->GetState(), GlobboSnapshot::kShowingUp);
}

// The computer opponents' faces: one short row centred in the rectangle, or nothing at all.
TEST_F(SelectionGridTest, the_bot_grid_centres_a_short_row_and_takes_an_empty_folder) {
    MakePool(1);
    GUIPlayerSelection& screen = Open();
    // Three opponents: copies of a shipped one.
    const std::filesystem::path folder = data->Path() / "data/ais";
    const std::string blaze = testing_support::ReadFile(PONDORIX_GAME_DIR "/data/ais/1_blaze.xml");
    std::filesystem::remove_all(folder);
    std::filesystem::create_directory(folder);
    for (const char* name : {"a.xml", "b.xml", "c.xml"}) {
        testing_support::WriteFile(folder / name, blaze);
    }
    const size_t bots = 3;
    BotSelectionGrid grid;
    grid.Build(screen, {0, 0, 300, 110}, 1.0f);
    ASSERT_EQ(grid.GetItems().size(), bots);
    ASSERT_EQ(grid.GetRows().size(), 1u);
    for (size_t i = 0; i < bots; ++i) {
        const SnapshotFocusItem& item = *grid.GetItems()[i];
        EXPECT_NEAR(item.GetPosition().x, 150 - 100.0f * (bots - 1) / 2 + 100.0f * i, 0.01f);
        EXPECT_EQ(item.GetPosition().y, 0.0f);
        EXPECT_EQ(item.GetFlags(), GlobboSnapshot::kFace);
        EXPECT_EQ(item.GetLink(FocusItem::kRight), grid.GetItems()[(i + 1) % bots].get());
        // A bot's file holds its settings beside its creature.
        EXPECT_FALSE(item.GetSnapshot()->GetData().m_CharacterName.empty());
    }

    std::filesystem::remove_all(folder);
    BotSelectionGrid empty;
    empty.Build(screen, {0, 0, 300, 110}, 1.0f);
    empty.Layout();
    EXPECT_TRUE(empty.GetItems().empty());
    EXPECT_TRUE(empty.GetRows().empty());
}

}  // namespace
}  // namespace gui_testing
