// The training's selection on the game's own movie, driven by presses and by the movie's
// FSCommands through the director: a creature into the slot, the slide to the bots, a bot's name
// and personality on focus, a bot chosen and the training set up; "GoBack" in both choices; what
// comes in the wrong state; no bots at all; a movie without the clips the grids follow.
#include "app/Application.h"
#include "app/UserPreferences.h"
#include "game/BotSettings.h"
#include "game/GlobboData.h"
#include "gui/GUIDirector.h"
#include "gui/GUIPlayerSelectionTraining.h"
#include "gui/GlobboSnapshot.h"
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/ScreenStubs.h"

#include <gtest/gtest.h>

#include <list>

namespace gui_testing {
namespace {

using State = GUIPlayerSelectionTraining::State;

class TrainingSelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Data.emplace();
        user.emplace();
        preferences.disableHints = true;
    }
    void TearDown() override {
        director.reset();
        user.reset();
        m_Data.reset();
        // The next test in this process finds the hints on, as they start.
        preferences.disableHints = false;
    }

    GUIPlayerSelectionTraining& Open() {
        GUIPlayerSelectionTraining& training = MakeDirectorWith<GUIPlayerSelectionTraining>(
            director, GUIDirector::kTrainingSelection, {GUIDirector::kLevelSelection}, journal);
        director->PushScreen(GUIDirector::kTrainingSelection);
        // The movie begins the creature choice a frame or two later.
        for (int frame = 0; frame < 30 && training.FindFocusItem("GoBack") == nullptr; ++frame) {
            director->Update(1.0f / 30.0f);
        }
        return training;
    }
    void Press(GUIPlayerSelectionTraining& screen, FocusItem* item) {
        screen.OnFocusItemEvent(controllers[0], item, FlashGUI::kPressed);
    }
    // Updates until the screen reaches the state (or three seconds pass); the states passed.
    std::vector<int> RunUntil(GUIPlayerSelectionTraining& screen, int state) {
        std::vector<int> seen;
        for (int frame = 0; frame < 90 && screen.GetState() != state; ++frame) {
            director->Update(1.0f / 30.0f);
            if (seen.empty() || seen.back() != screen.GetState()) {
                seen.push_back(screen.GetState());
            }
        }
        return seen;
    }
    // To the bots' choice with the first creature of the pool.
    void ToBots(GUIPlayerSelectionTraining& screen) {
        Press(screen, screen.GetGrid().GetPoolItems().front().get());
        RunUntil(screen, State::kChoosingBot);
        ASSERT_EQ(screen.GetState(), State::kChoosingBot);
    }
    static const TextElement* Text(const FlashGUI& screen, const std::string& tag) {
        for (const TextElement& text : screen.GetTextElements()) {
            if (text.tag == tag) {
                return &text;
            }
        }
        return nullptr;
    }
    // The item under the cursor that every controller moves; null without one.
    static const FocusItem* CursorItem(const FlashGUI& screen) {
        return screen.GetSharedCursor() == nullptr ? nullptr : screen.GetSharedCursor()->GetItem();
    }
    static std::string Name(const FocusItem* item) { return item == nullptr ? "none" : item->GetName(); }
    static std::string TextOf(const FlashGUI& screen, const std::string& tag) {
        const TextElement* text = Text(screen, tag);
        return text == nullptr ? "(none)" : text->text.getString().toAnsiString();
    }

    std::optional<GameDataCopy> m_Data;
    std::optional<UserFolder> user;
    UserPreferences& preferences = UserPreferences::GetInstance();
    AppControllers controllers;
    Journal journal;
    std::optional<GUIDirector> director;
};

TEST_F(TrainingSelectionTest, a_creature_then_a_bot_set_the_training_up) {
    GUIPlayerSelectionTraining& screen = Open();
    ASSERT_EQ(screen.GetState(), State::kChoosingPlayer);
    ASSERT_FALSE(screen.GetGrid().GetPoolItems().empty());
    ASSERT_FALSE(screen.GetBotGrid().GetItems().empty());
    SnapshotFocusItem* first = screen.GetGrid().GetPoolItems().front().get();
    EXPECT_EQ(CursorItem(screen), first);
    EXPECT_TRUE(Text(screen, "title1")->visible);
    EXPECT_FALSE(Text(screen, "title2")->visible);
    const std::string creature = first->GetFile();

    Press(screen, first);
    EXPECT_EQ(screen.GetState(), State::kPlayerPlaced);
    EXPECT_EQ(screen.GetChosenPlayer(), screen.GetGrid().GetSlots().front().get());
    EXPECT_EQ(screen.GetChosenController(), controllers[0]);
    EXPECT_EQ(screen.GetCursorCount(), 0u);
    EXPECT_EQ(RunUntil(screen, State::kChoosingBot),
              (std::vector<int>{State::kPlayerPlaced, State::kMovingToBots, State::kChoosingBot}));
    EXPECT_FALSE(Text(screen, "title1")->visible);
    EXPECT_TRUE(Text(screen, "title2")->visible);
    EXPECT_EQ(CursorItem(screen), screen.GetBotGrid().GetItems().front().get());
    // The pool followed the shelf off the screen to the left.
    EXPECT_LT(first->GetPosition().x, 0.0f);

    for (const auto& bot : screen.GetBotGrid().GetItems()) {
        screen.OnFocusItemEvent(controllers[0], bot.get(), FlashGUI::kFocusGained);
        EXPECT_EQ(TextOf(screen, "botdesc1"), bot->GetSnapshot()->GetData().m_CharacterName);
        EXPECT_EQ(TextOf(screen, "botdesc2"), bot->GetSnapshot()->GetBotSettings().m_Personality);
        EXPECT_FALSE(TextOf(screen, "botdesc2").empty()) << bot->GetFile();
    }
    SnapshotFocusItem* bot = screen.GetBotGrid().GetItems().back().get();
    Press(screen, bot);
    EXPECT_EQ(screen.GetState(), State::kBotChosen);
    EXPECT_EQ(screen.GetChosenBot(), bot);
    EXPECT_EQ(TextOf(screen, "botdesc1"), "");
    for (int frame = 0; frame < 90 && director->GetCurrentScreenId() != GUIDirector::kLevelSelection; ++frame) {
        director->Update(1.0f / 30.0f);
    }
    ASSERT_EQ(director->GetCurrentScreenId(), GUIDirector::kLevelSelection);
    Application& application = Application::GetInstance();
    EXPECT_EQ(application.matchSetup.players, (std::list<std::string>{creature, bot->GetFile()}));
    EXPECT_EQ(application.matchSetup.results.size(), 1u);
    EXPECT_EQ(application.player1File, creature);
    EXPECT_EQ(application.player1Controller, controllers[0]);
    EXPECT_EQ(application.player2File, bot->GetFile());
    EXPECT_EQ(application.player2Controller, nullptr);
}

// Each choice keeps "GoBack" as its current item while the cursor starts on the first creature or
// bot: a move with no usable neighbour and a controller handed over land on "GoBack".
TEST_F(TrainingSelectionTest, go_back_is_the_current_item_of_each_choice_and_the_cursor_starts_on_the_first) {
    Controller* c2 = controllers[1];
    GUIPlayerSelectionTraining& screen = Open();
    ASSERT_EQ(screen.GetState(), State::kChoosingPlayer);
    const SelectionGrid& grid = screen.GetGrid();
    EXPECT_EQ(Name(screen.GetCurrentFocusItem()), "GoBack");
    EXPECT_EQ(CursorItem(screen), grid.GetPoolItems().front().get());
    // Down from the last row finds the empty slot's row unusable: the cursor goes to "GoBack".
    screen.SetControllerFocus(c2, grid.GetPoolItems().back()->GetName());
    director->HandleCommand(c2, Controller::kDown);
    EXPECT_EQ(Name(CursorItem(screen)), "GoBack");
    // A controller handed over comes onto "GoBack" too.
    screen.SetControllerFocus(c2, grid.GetPoolItems().front()->GetName());
    screen.TakeHandOver(c2);
    EXPECT_EQ(Name(CursorItem(screen)), "GoBack");

    ToBots(screen);
    EXPECT_EQ(Name(screen.GetCurrentFocusItem()), "GoBack");
    EXPECT_EQ(CursorItem(screen), screen.GetBotGrid().GetItems().front().get());
    screen.TakeHandOver(c2);
    EXPECT_EQ(Name(CursorItem(screen)), "GoBack");
}

// Activation prepares the choice and sends the movie to it; the creature choice (state 1) begins
// with the movie's "EnteredPlayerSelection", which the game's movie sends on the way in, at the
// latest with its next frame.
TEST_F(TrainingSelectionTest, the_creature_choice_begins_with_the_movies_command_not_with_activation) {
    GUIPlayerSelectionTraining& screen = Open();
    ASSERT_EQ(screen.GetState(), State::kChoosingPlayer);
    ASSERT_NE(screen.FindFocusItem("GoBack"), nullptr);
    // Again from the main menu after leaving: the movie sends it again.
    director->PopScreen();
    director->PushScreen(GUIDirector::kMainMenu);
    screen.SetState(State::kBotChosen);
    director->PushScreen(GUIDirector::kTrainingSelection);
    RunUntil(screen, State::kChoosingPlayer);
    EXPECT_EQ(screen.GetState(), State::kChoosingPlayer);
    EXPECT_EQ(Name(screen.GetCurrentFocusItem()), "GoBack");
    EXPECT_EQ(CursorItem(screen), screen.GetGrid().GetPoolItems().front().get());

    // A movie that sends nothing: activation leaves the state and makes no "GoBack".
    testing_support::WriteFile(m_Data->Path() / "data/gui/globbo_selection_training.xml",
                               "<resource><flashgui name=\"data\"><array name=\"m_Layers\"><guilayer m_Name=\"x\" "
                               "m_FlashFile=\"data/empty.swf\"/></array></flashgui></resource>");
    GUIPlayerSelectionTraining& silent = Open();
    silent.SetState(State::kBotChosen);
    silent.Activate();
    EXPECT_EQ(silent.GetState(), State::kBotChosen);
    EXPECT_EQ(silent.FindFocusItem("GoBack"), nullptr);
    EXPECT_EQ(silent.GetCurrentFocusItem(), nullptr);
    silent.OnFSCommand("EnteredPlayerSelection");
    EXPECT_EQ(silent.GetState(), State::kChoosingPlayer);
    EXPECT_EQ(Name(silent.GetCurrentFocusItem()), "GoBack");
    EXPECT_EQ(CursorItem(silent), silent.GetGrid().GetPoolItems().front().get());
}

TEST_F(TrainingSelectionTest, go_back_leaves_the_creature_choice_and_returns_to_it_from_the_bots) {
    GUIPlayerSelectionTraining& screen = Open();
    const std::string creature = screen.GetGrid().GetPoolItems().front()->GetFile();
    ToBots(screen);
    Press(screen, screen.FindFocusItem("GoBack"));
    EXPECT_EQ(screen.GetState(), State::kGoingBack);
    EXPECT_TRUE(screen.GetGrid().GetSlots().front()->GetFile().empty());
    EXPECT_TRUE(screen.GetGrid().GetChosen().empty());
    EXPECT_EQ(screen.GetChosenPlayer(), nullptr);
    EXPECT_EQ(screen.GetGrid().GetPoolItems().front()->GetFile(), creature);
    RunUntil(screen, State::kChoosingPlayer);
    EXPECT_EQ(screen.GetState(), State::kChoosingPlayer);
    EXPECT_NEAR(screen.GetGrid().GetPoolItems().front()->GetPosition().x, GUIPlayerSelectionTraining::kPool.left, 1.0f);

    Press(screen, screen.FindFocusItem("GoBack"));
    EXPECT_TRUE(director->GetIds().empty());
}

TEST_F(TrainingSelectionTest, taking_the_creature_back_out_clears_the_choice) {
    GUIPlayerSelectionTraining& screen = Open();
    Press(screen, screen.GetGrid().GetPoolItems().front().get());
    ASSERT_EQ(screen.GetState(), State::kPlayerPlaced);
    Press(screen, screen.GetGrid().GetSlots().front().get());
    EXPECT_EQ(screen.GetChosenPlayer(), nullptr);
    EXPECT_EQ(screen.GetChosenController(), nullptr);
    EXPECT_EQ(screen.GetState(), State::kChoosingPlayer);
    EXPECT_GT(screen.GetCursorCount() + (screen.GetSharedCursor() != nullptr ? 1u : 0u), 0u);
    screen.OnFSCommand("EnteredAISelection");
    EXPECT_EQ(screen.GetState(), State::kChoosingPlayer);
}

TEST_F(TrainingSelectionTest, what_comes_in_the_wrong_state_is_ignored) {
    GUIPlayerSelectionTraining& screen = Open();
    SnapshotFocusItem* bot = screen.GetBotGrid().GetItems().front().get();
    const struct {
        const char* what;
        std::function<void()> act;
    } early[] = {{"StartGame before any choice",
                  [&] {
                      screen.OnFSCommand("StartGame");
                  }},
                 {"EnteredAISelection before a creature",
                  [&] {
                      screen.OnFSCommand("EnteredAISelection");
                  }},
                 {"a bot pressed during the creature choice", [&] {
                      Press(screen, bot);
                  }}};
    for (const auto& c : early) {
        c.act();
        EXPECT_EQ(screen.GetState(), State::kChoosingPlayer) << c.what;
        EXPECT_EQ(screen.GetChosenBot(), nullptr) << c.what;
        EXPECT_EQ(director->GetCurrentScreenId(), GUIDirector::kTrainingSelection) << c.what;
    }
    ToBots(screen);
    screen.OnFSCommand("StartGame");
    EXPECT_EQ(director->GetCurrentScreenId(), GUIDirector::kTrainingSelection);
    const std::string inSlot = screen.GetGrid().GetSlots().front()->GetFile();
    Press(screen, screen.GetGrid().GetPoolItems().back().get());
    Press(screen, screen.GetGrid().GetSlots().front().get());
    EXPECT_EQ(screen.GetState(), State::kChoosingBot);
    EXPECT_EQ(screen.GetGrid().GetSlots().front()->GetFile(), inSlot);

    screen.Activate();
    RunUntil(screen, State::kChoosingPlayer);
    EXPECT_EQ(screen.GetState(), State::kChoosingPlayer);
    EXPECT_EQ(screen.GetChosenPlayer(), nullptr);
    EXPECT_TRUE(screen.GetGrid().GetSlots().front()->GetFile().empty());
}

TEST_F(TrainingSelectionTest, without_bots_only_go_back_is_left) {
    std::filesystem::remove_all(m_Data->Path() / "data/ais");
    std::filesystem::create_directory(m_Data->Path() / "data/ais");
    GUIPlayerSelectionTraining& screen = Open();
    EXPECT_TRUE(screen.GetBotGrid().GetItems().empty());
    ToBots(screen);
    ASSERT_NE(screen.GetCurrentFocusItem(), nullptr);
    EXPECT_EQ(screen.GetCurrentFocusItem()->GetName(), "GoBack");
    for (int direction : {FocusItem::kLeft, FocusItem::kRight, FocusItem::kUp, FocusItem::kDown}) {
        EXPECT_EQ(screen.GetCurrentFocusItem()->GetLink(direction), nullptr) << direction;
    }
}

TEST_F(TrainingSelectionTest, without_the_clips_the_grids_stay_where_they_are) {
    testing_support::WriteFile(m_Data->Path() / "data/gui/globbo_selection_training.xml",
                               "<resource><flashgui name=\"data\"><array name=\"m_Layers\"><guilayer m_Name=\"x\" "
                               "m_FlashFile=\"data/empty.swf\"/></array></flashgui></resource>");
    GUIPlayerSelectionTraining& screen = Open();
    SnapshotFocusItem* first = screen.GetGrid().GetPoolItems().front().get();
    const sf::Vector2f before = first->GetPosition();
    Press(screen, first);
    for (int frame = 0; frame < 30; ++frame) {
        director->Update(1.0f / 30.0f);
    }
    EXPECT_EQ(screen.GetState(), State::kMovingToBots);
    EXPECT_EQ(first->GetPosition(), before);
    EXPECT_EQ(screen.GetGrid().GetSlots().front()->GetPosition(),
              sf::Vector2f(GUIPlayerSelectionTraining::kSlotRow.left, GUIPlayerSelectionTraining::kSlotRow.top));
}

}  // namespace
}  // namespace gui_testing
