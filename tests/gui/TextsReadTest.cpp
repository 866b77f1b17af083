// Every text the game's screens show reads against what is behind it, at a contrast of at least
// 4.5 to 1 (3 to 1 for the statistics' names and large red texts), measured on pictures of the
// real screens over the game's own data: the texts of the screens' descriptions, the texts inside
// their movies, and the texts the screens draw themselves (the creatures' names on their
// portraits, the statistics, the winner's name). Texts in frames (the buttons' labels, the
// statistics' name band, the winner's ribbon) have room in them.
#include "app/Application.h"
#include "app/UserPreferences.h"
#include "game/Globbo.h"
#include "game/SpitGame.h"
#include "game/StatisticsFile.h"
#include "gui/Championship.h"
#include "gui/GUIChampionshipGlobbos.h"
#include "gui/GUIChampionshipMatchTable.h"
#include "gui/GUIDirector.h"
#include "gui/GUIGame.h"
#include "gui/GUIMatchOver.h"
#include "gui/GUIPlayerSelection.h"
#include "gui/GUIPlayerSelectionTraining.h"
#include "gui/GUIStatistics.h"
#include "gui/GUITutorial.h"
#include "gui/GameScreens.h"
#include "gui/GlobboSnapshot.h"
#include "gui/SnapshotFocusItem.h"
#include "tests/gui/ScreenTestBase.h"
#include "tests/gui/ShownTexts.h"
#include "tests/gui/TextContrast.h"

#include <gtest/gtest.h>

namespace gui_testing {
namespace {

using Ids = std::deque<int>;

constexpr float kStep = 0.02f;
// The least contrast of a text against what is behind it, and of the statistics' large texts.
constexpr double kReadable = 4.5;
constexpr double kLargeReadable = 3.0;
// The name of the statistics' second creature, longer than any the game ships.
constexpr const char* kLongName = "Bartholomew";
// Pixels a framed text keeps from each end of its frame.
constexpr int kRoom = 6;

GameStatistics Result(int32_t winner, const std::string& id1, int32_t score1, const std::string& id2, int32_t score2) {
    GameStatistics record;
    record.winner = winner;
    record.player1.playerId = id1;
    record.player1.score = score1;
    record.player1.numShots = score1 + 2;
    record.player2.playerId = id2;
    record.player2.score = score2;
    record.player2.numShots = score2 + 1;
    return record;
}

class TextsReadTest : public ScreenTestBase {
protected:
    void SetUp() override {
        ScreenTestBase::SetUp();
        preferences.hintGameControls = false;
        preferences.hintMenuControls = false;
        director.emplace(RegisterGameScreens);
        FreshDuel();
        director->PushScreen(GUIDirector::kMainMenu);
    }

    template <typename Screen>
    Screen& ScreenOf(int id) {
        return *dynamic_cast<Screen*>(director->GetScreen(id));
    }
    void Run(float seconds) {
        for (float t = 0; t < seconds - 1e-4f; t += kStep) {
            director->Update(kStep);
        }
    }
    sf::Image Screen() {
        return pictures.Draw([&](sf::RenderTarget& target) { director->Draw(target); });
    }
    std::function<sf::Image()> DrawScreen() {
        return [this] {
            return Screen();
        };
    }
    // The description's and the movies' texts of the screen.
    std::vector<ShownText> TextsOf(FlashGUI& screen) {
        std::vector<ShownText> texts = DescriptionTexts(screen, pictures, DrawScreen());
        for (ShownText& text : MovieTexts(screen, DrawScreen())) {
            texts.push_back(std::move(text));
        }
        return texts;
    }
    // The name under a portrait, while it shows.
    void AddName(std::vector<ShownText>& texts, GlobboSnapshot& snapshot) {
        if (snapshot.GetName() != nullptr && snapshot.GetState() == GlobboSnapshot::kShown) {
            texts.push_back(SfmlText("the name of " + snapshot.GetFile(), snapshot.GetName()->text,
                                     snapshot.getTransform(), pictures, DrawScreen(),
                                     [&snapshot](bool shown) { snapshot.SetNameVisible(shown); }));
        }
    }
    void AddNames(std::vector<ShownText>& texts, const std::vector<SnapshotFocusItem*>& items) {
        for (SnapshotFocusItem* item : items) {
            if (item->GetSnapshot() != nullptr) {
                AddName(texts, *item->GetSnapshot());
            }
        }
    }
    void ExpectReadable(const std::vector<ShownText>& texts, double least = kReadable) {
        EXPECT_FALSE(texts.empty());
        EXPECT_EQ(PoorlyReadTexts(texts, Screen(), least), "");
    }
    // The labels inside the named button clips of the screen's first movie have room in them.
    void ExpectLabelsHaveRoom(FlashGUI& screen, const std::vector<std::string>& clips) {
        const std::string layer = screen.GetLayers().front()->GetName();
        const std::vector<ShownText> texts = MovieTexts(screen, DrawScreen());
        const sf::Image shown = Screen();
        for (const std::string& clip : clips) {
            SCOPED_TRACE(clip);
            const swfplayer::character* button = screen.GetFirstMovie()->GetCharacter(clip);
            ASSERT_NE(button, nullptr);
            const std::string inside = "movie " + layer + "/" + std::to_string(button->get_depth()) + "/";
            int labels = 0;
            for (const ShownText& text : texts) {
                if (text.name.starts_with(inside)) {
                    ++labels;
                    EXPECT_TRUE(HasRoom(Behind(text), Read(text, shown).where, kRoom));
                }
            }
            EXPECT_EQ(labels, 1);
        }
    }
    // Plays the duel to its end: player 1 spits the only ball into player 2.
    void PlayToTheEnd() {
        director->PushScreen(GUIDirector::kGame);
        GUIGame& match = ScreenOf<GUIGame>(GUIDirector::kGame);
        ASSERT_NE(match.GetGame(), nullptr);
        director->OnFSCommand("Go");
        for (int frame = 0; frame < 3000 && director->GetIds().front() == GUIDirector::kGame; ++frame) {
            if (frame % 25 == 10) {
                match.GetGame()->GetGlobbo1()->Shoot();
            }
            director->Update(kStep);
        }
        ASSERT_EQ(director->GetIds().front(), GUIDirector::kMatchOver);
    }

    // The screen's movies and description texts, without the texts the screen draws itself.
    sf::Image MovieOnly(const FlashGUI& screen) {
        return pictures.Draw([&](sf::RenderTarget& target) { screen.FlashGUI::Render(target, {}); });
    }

    Pictures pictures;
};

std::vector<SnapshotFocusItem*> Items(const std::vector<std::shared_ptr<SnapshotFocusItem>>& items) {
    std::vector<SnapshotFocusItem*> raw;
    for (const auto& item : items) {
        raw.push_back(item.get());
    }
    return raw;
}

TEST_F(TextsReadTest, the_menus_read) {
    Run(2.0f);
    {
        SCOPED_TRACE("main menu");
        ExpectReadable(TextsOf(director->GetMainMenu()));
    }
    director->PushScreen(GUIDirector::kQuickMatchSelection);
    Run(2.0f);
    {
        SCOPED_TRACE("quick match");
        auto& screen = ScreenOf<GUIPlayerSelection>(GUIDirector::kQuickMatchSelection);
        std::vector<ShownText> texts = TextsOf(screen);
        AddNames(texts, Items(screen.GetGrid().GetPoolItems()));
        ExpectReadable(texts);
    }
    director->PushScreen(GUIDirector::kLevelSelection);
    Run(2.0f);
    {
        SCOPED_TRACE("level selection");
        ExpectReadable(TextsOf(ScreenOf<FlashGUI>(GUIDirector::kLevelSelection)));
    }
}

// The training's two choices: the creatures on their shelf, then the bots on the monitor's dark
// glass with the focused bot's name and way of playing.
TEST_F(TextsReadTest, the_training_selection_reads) {
    director->PushScreen(GUIDirector::kTrainingSelection);
    Run(2.0f);
    auto& screen = ScreenOf<GUIPlayerSelectionTraining>(GUIDirector::kTrainingSelection);
    {
        SCOPED_TRACE("the creatures");
        std::vector<ShownText> texts = TextsOf(screen);
        AddNames(texts, Items(screen.GetGrid().GetPoolItems()));
        ExpectReadable(texts);
    }
    screen.OnFocusItemEvent(controllers[0], screen.GetGrid().GetPoolItems().front().get(), FlashGUI::kPressed);
    Run(2.0f);
    ASSERT_EQ(screen.GetState(), GUIPlayerSelectionTraining::State::kChoosingBot);
    screen.OnFocusItemEvent(controllers[0], screen.GetBotGrid().GetItems().front().get(), FlashGUI::kFocusGained);
    Run(1.0f);
    {
        SCOPED_TRACE("the bots");
        std::vector<ShownText> texts = TextsOf(screen);
        std::vector<SnapshotFocusItem*> bots;
        for (const auto& bot : screen.GetBotGrid().GetItems()) {
            bots.push_back(bot.get());
        }
        ASSERT_FALSE(bots.empty());
        AddNames(texts, bots);
        ExpectReadable(texts);
    }
}

// The match over once the winner is named, then the statistics of the match (its second creature
// with a long name) and the overall table of the results so far.
TEST_F(TextsReadTest, the_match_over_and_the_statistics_read) {
    // Player 2 is Sprout under a long name.
    std::string sprout = testing_support::ReadFile(data->Path() / "data/players/sprout.xml");
    const std::string name = "characterName=\"Sprout\"";
    ASSERT_NE(sprout.find(name), std::string::npos);
    sprout.replace(sprout.find(name), name.size(), std::string("characterName=\"") + kLongName + "\"");
    testing_support::WriteFile(data->Path() / "data/players/long_named.xml", sprout);
    Application::GetInstance().player2File = "data/players/long_named.xml";
    StatisticsStore results;
    results.records = {Result(1, "Hooligan", 9, "Blossom", 4), Result(2, "Sunny", 3, "Bubbles", 12),
                       Result(0, "Plum", 5, "Sprout", 5)};
    ASSERT_TRUE(SaveStatistics(results));
    ASSERT_NO_FATAL_FAILURE(PlayToTheEnd());
    Run(6.0f);
    auto& over = ScreenOf<GUIMatchOver>(GUIDirector::kMatchOver);
    ASSERT_TRUE(over.IsNavigationEnabled());
    {
        SCOPED_TRACE("match over");
        std::vector<ShownText> texts = TextsOf(over);
        const sf::Text caption = over.GetCaption();
        // The winner's name drawn over the screen without it.
        texts.push_back(
            SfmlText("the winner's name", caption, sf::Transform::Identity, pictures, DrawScreen(), [](bool) {}));
        texts.back().draw = [&] {
            return pictures.Draw([&](sf::RenderTarget& target) {
                for (size_t depth = director->GetScreens().size(); depth-- > 1;) {
                    target.draw(*director->GetScreens()[depth]);
                }
                target.draw(*over.GetDrawableCopy());
                over.FlashGUI::Render(target, sf::RenderStates::Default);
            });
        };
        ExpectReadable(texts);
        EXPECT_TRUE(HasRoom(Behind(texts.back()), Read(texts.back(), Screen()).where, kRoom));
        ExpectLabelsHaveRoom(over, {"Stats", "PlayAgain", "MainMenu"});
    }

    over.OnFSCommand("Stats");
    ASSERT_EQ(director->GetIds().front(), GUIDirector::kStatistics);
    Run(1.0f);
    auto& statistics = ScreenOf<GUIStatistics>(GUIDirector::kStatistics);
    // The texts the screen draws itself, each measured against the screen drawn without any of them.
    const auto drawnTexts = [&](const std::vector<sf::Text>& drawn) {
        std::vector<ShownText> texts;
        for (const sf::Text& text : drawn) {
            if (text.getString().isEmpty()) {
                continue;
            }
            texts.push_back(SfmlText("\"" + text.getString().toAnsiString() + "\"", text, sf::Transform::Identity,
                                     pictures, DrawScreen(), [](bool) {}));
            texts.back().draw = [&] {
                return pictures.Draw(
                    [&](sf::RenderTarget& target) { statistics.FlashGUI::Render(target, sf::RenderStates::Default); });
            };
        }
        return texts;
    };
    // The large texts (the names, and the scores, ranks and points in their half see-through red)
    // read at 3 to 1; the others, and the movie's own, at 4.5 to 1.
    const auto expectReadable = [&](const std::vector<sf::Text>& large, const std::vector<sf::Text>& others) {
        ExpectReadable(drawnTexts(large), kLargeReadable);
        std::vector<ShownText> texts = TextsOf(statistics);
        for (ShownText& text : drawnTexts(others)) {
            texts.push_back(std::move(text));
        }
        ExpectReadable(texts);
    };
    {
        SCOPED_TRACE("the match's statistics");
        ASSERT_TRUE(statistics.ShowsCurrentMatch());
        const auto& names = statistics.GetNames();
        const auto& columns = statistics.GetColumns();
        ASSERT_EQ(names[1].getString().toAnsiString(), kLongName);
        expectReadable({names[0], names[1], columns[1][0], columns[2][0]},
                       {columns[0][0], columns[0][1], columns[1][1], columns[2][1]});
        // The names, the long one at its full size, lie on their band with room.
        const sf::Image shown = Screen();
        for (const ShownText& text : drawnTexts({names[0], names[1]})) {
            EXPECT_TRUE(HasRoom(Behind(text), Read(text, shown).where, kRoom)) << text.name;
        }
        ExpectLabelsHaveRoom(statistics, {"Back", "CurrentMatchLink", "OverallLink"});
        // No stripe of the overall table shows on the board below the match.
        const sf::Image board = MovieOnly(statistics);
        const sf::Color below = board.getPixel(400, 330);
        for (unsigned int y = 330; y < 570; y += 5) {
            EXPECT_EQ(board.getPixel(400, y), below) << y;
        }
    }
    // The link pressed as a player presses it: its movie shows the table's look and tells the game.
    statistics.SetControllerFocus(controllers[0], "OverallLink");
    director->HandleCommand(controllers[0], Controller::kSpit);
    Run(1.0f);
    ASSERT_FALSE(statistics.ShowsCurrentMatch());
    {
        SCOPED_TRACE("the overall table");
        std::vector<sf::Text> others(statistics.GetHeader().begin(), statistics.GetHeader().end());
        std::vector<sf::Text> large;
        ASSERT_EQ(statistics.GetRows().size(), 7u);
        for (const GUIStatistics::Row& row : statistics.GetRows()) {
            large.insert(large.end(), row.begin(), row.begin() + 2);
            others.insert(others.end(), row.begin() + 2, row.end());
        }
        expectReadable(large, others);
        // Every row lies on a stripe of its own, the stripes light and dark in turn, all apart
        // from the board round them.
        const sf::Image board = MovieOnly(statistics);
        for (size_t k = 0; k < statistics.GetRows().size(); ++k) {
            SCOPED_TRACE(k);
            const auto middle = static_cast<unsigned int>(statistics.GetRows()[k][0].getPosition().y + 15.0f);
            const sf::Color stripe = board.getPixel(720, middle);
            EXPECT_NE(stripe, board.getPixel(50, middle));
            EXPECT_NE(stripe, board.getPixel(720, middle + 30));
        }
    }
}

// The pause over a match of the first pond, with the first match's controls hint waiting over
// it: the pause's title and its buttons' labels read beside the hint and have room in their
// buttons, and the hint's texts read over the pause.
TEST_F(TextsReadTest, the_pause_reads_beside_the_waiting_controls_hint) {
    preferences.hintGameControls = true;
    Application::GetInstance().levelFile = "data/levels/1_nanomill.xml";
    director->PushScreen(GUIDirector::kGame);
    director->OnFSCommand("Go");
    Run(1.0f);
    director->HandleCommand(controllers[0], Controller::kBack);
    ASSERT_EQ(director->GetIds(), (Ids{14, 13, 4}));
    Run(0.5f);
    ASSERT_TRUE(director->GetHint().IsWaiting());
    auto& pause = ScreenOf<FlashGUI>(GUIDirector::kPaused);
    ExpectReadable(TextsOf(pause));
    ExpectLabelsHaveRoom(pause, {"Back", "EndGame"});
    ExpectReadable(TextsOf(director->GetHint()));
}

// Each control hint, resting on the screen over the main menu.
TEST_F(TextsReadTest, the_control_hints_read) {
    preferences.disableHints = false;
    for (const char* hint :
         {"gui controls", "quickmatch controls", "training controls", "use other controls", "select two"}) {
        SCOPED_TRACE(hint);
        director->GetHint().ShowHint(hint, 0);
        Run(0.6f);
        ASSERT_TRUE(director->GetHint().IsShown());
        ExpectReadable(TextsOf(director->GetHint()));
    }
}

// The title over its demonstration, then every lesson of the tutorial.
TEST_F(TextsReadTest, the_title_and_the_tutorial_read) {
    director->PushScreen(GUIDirector::kTitle);
    Run(3.0f);
    {
        SCOPED_TRACE("title");
        ExpectReadable(TextsOf(ScreenOf<FlashGUI>(GUIDirector::kTitle)));
    }
    director->PopAll();
    director->PushScreen(GUIDirector::kMainMenu);
    director->PushScreen(GUIDirector::kTutorialWithButtons);
    auto& tutorial = ScreenOf<GUITutorial>(GUIDirector::kTutorialWithButtons);
    Run(1.0f);
    director->HandleCommand(controllers[0], Controller::kRight);
    ASSERT_EQ(tutorial.GetSharedCursor()->GetItem()->GetName(), "nextbutton");
    for (int lesson = 0; lesson < 13 && director->GetCurrentScreenId() == GUIDirector::kTutorialWithButtons; ++lesson) {
        SCOPED_TRACE(lesson);
        ExpectReadable(TextsOf(tutorial));
        director->HandleCommand(controllers[0], Controller::kSpit);
        Run(1.0f);
    }
}

// A championship: the choice of its creatures and of its level set, the match table, the claims
// before a match and the podium.
TEST_F(TextsReadTest, the_championship_screens_read) {
    MatchSetup& setup = Application::GetInstance().matchSetup;
    setup.mode = MatchSetup::Championship;
    director->PushScreen(GUIDirector::kChampionshipGlobbos);
    Run(2.0f);
    {
        SCOPED_TRACE("creatures");
        auto& screen = ScreenOf<GUIChampionshipGlobbos>(GUIDirector::kChampionshipGlobbos);
        std::vector<ShownText> texts = TextsOf(screen);
        AddNames(texts, Items(screen.GetGrid().GetPoolItems()));
        ExpectReadable(texts);
    }
    director->PushScreen(GUIDirector::kChampionshipLevelSelection);
    Run(2.0f);
    {
        SCOPED_TRACE("level sets");
        ExpectReadable(TextsOf(ScreenOf<FlashGUI>(GUIDirector::kChampionshipLevelSelection)));
    }
    director->PopAll();
    director->PushScreen(GUIDirector::kMainMenu);
    setup.players = {"data/players/blossom.xml", "data/players/sprout.xml", "data/players/hooligan.xml"};
    setup.levels = {kDuel};
    Championship championship(setup, Application::GetInstance());
    ASSERT_TRUE(championship.CreateSchedule());
    championship.AssignLevels();
    director->PushScreen(GUIDirector::kChampionshipMatchTable);
    Run(3.0f);
    {
        SCOPED_TRACE("match table");
        auto& table = ScreenOf<GUIChampionshipMatchTable>(GUIDirector::kChampionshipMatchTable);
        std::vector<ShownText> texts = TextsOf(table);
        for (const GlobboSnapshot& portrait : table.GetPortraits()) {
            AddName(texts, const_cast<GlobboSnapshot&>(portrait));
        }
        ExpectReadable(texts);
    }
    director->OnFSCommand("Start");
    ASSERT_EQ(director->GetCurrentScreenId(), GUIDirector::kChampionshipGetReady);
    Run(1.0f);
    {
        SCOPED_TRACE("get ready");
        ExpectReadable(TextsOf(ScreenOf<FlashGUI>(GUIDirector::kChampionshipGetReady)));
    }
    director->PopAll();
    director->PushScreen(GUIDirector::kMainMenu);
    setup.podium = {"data/players/hooligan.xml", "data/players/blossom.xml", "data/players/sprout.xml"};
    director->PushScreen(GUIDirector::kChampionshipPodium);
    auto& podium = ScreenOf<FlashGUI>(GUIDirector::kChampionshipPodium);
    for (int frame = 0; frame < 600 && !podium.IsNavigationEnabled(); ++frame) {
        director->Update(kStep);
    }
    ASSERT_TRUE(podium.IsNavigationEnabled());
    {
        SCOPED_TRACE("podium");
        ExpectReadable(TextsOf(podium));
    }
}

}  // namespace
}  // namespace gui_testing
