// The championship's screens on the game's own data and a duel level where player 1 starts with
// the only ball: choosing the creatures, the level sets, the match table, claiming the creatures
// before a match, the match over's championship choices, and whole championships played through
// the screens.
#include "app/Application.h"
#include "app/InputStatusProvider.h"
#include "app/KeyCodes.h"
#include "app/UserPreferences.h"
#include "game/Globbo.h"
#include "game/SpitGame.h"
#include "game/StatisticsFile.h"
#include "gui/Championship.h"
#include "gui/GUIChampionshipGetReady.h"
#include "gui/GUIChampionshipGlobbos.h"
#include "gui/GUIChampionshipLevelSelection.h"
#include "gui/GUIChampionshipMatchTable.h"
#include "gui/GUIDirector.h"
#include "gui/GUIGame.h"
#include "gui/GUIMatchOver.h"
#include "gui/GameScreens.h"
#include "gui/MovieClips.h"
#include "tests/gui/ScreenTestBase.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace gui_testing {
namespace {

using Ids = std::deque<int>;
using Names = std::vector<std::string>;

constexpr float kStep = 0.02f;
const Names kPlayers = {"data/players/blossom.xml", "data/players/sprout.xml", "data/players/bubbles.xml",
                        "data/players/sunny.xml"};

// A level-set file of the levels.
std::string LevelSetFile(const Names& levels) {
    std::string xml =
        "<?xml version=\"1.0\" ?>\n<resource>\n<levelset screenshot=\"data/levelsets/first_dive.png\" "
        "name=\"data\">\n<array name=\"levels\">\n";
    for (const std::string& level : levels) {
        xml += "<element value=\"" + level + "\" />\n";
    }
    return xml + "</array>\n</levelset>\n</resource>\n";
}

class ChampionshipScreensTest : public ScreenTestBase {
protected:
    void SetUp() override {
        ScreenTestBase::SetUp();
        preferences.favouriteLevelSet.clear();
        director.emplace(RegisterGameScreens);
        director->RegisterScreen(GUIDirector::kChampionshipPodium, std::make_unique<StubScreen>(12, journal));
        FreshRecord();
        Record().mode = MatchSetup::Championship;
        director->PushScreen(GUIDirector::kMainMenu);
    }
    void TearDown() override {
        ScreenTestBase::TearDown();
        preferences.favouriteLevelSet.clear();
    }

    MatchSetup& Record() { return Application::GetInstance().matchSetup; }
    template <typename Screen>
    Screen& ScreenOf(int id) {
        return *dynamic_cast<Screen*>(director->GetScreen(id));
    }
    GUIGame& Match() { return ScreenOf<GUIGame>(GUIDirector::kGame); }
    GUIChampionshipGetReady& GetReady() {
        return ScreenOf<GUIChampionshipGetReady>(GUIDirector::kChampionshipGetReady);
    }
    GUIChampionshipMatchTable& Table() {
        return ScreenOf<GUIChampionshipMatchTable>(GUIDirector::kChampionshipMatchTable);
    }
    // A championship of the first count players on the duel, scheduled and ready for its table.
    void Schedule(size_t count, int matchIndex = 0) {
        Record().players.assign(kPlayers.begin(), kPlayers.begin() + static_cast<long>(count));
        Record().levels = {kDuel};
        Championship championship(Record(), Application::GetInstance());
        ASSERT_TRUE(championship.CreateSchedule());
        championship.AssignLevels();
        Record().matchIndex = matchIndex;
    }
    void Run(float seconds) {
        for (float t = 0; t < seconds - 1e-4f; t += kStep) {
            director->Update(kStep);
        }
    }
    bool TextShows(const FlashGUI& screen, const std::string& tag) {
        for (const TextElement& text : screen.GetTextElements()) {
            if (text.tag == tag) {
                return text.visible;
            }
        }
        ADD_FAILURE() << "no text " << tag;
        return false;
    }
    std::string TextOf(const FlashGUI& screen, const std::string& tag) {
        for (const TextElement& text : screen.GetTextElements()) {
            if (text.tag == tag) {
                return text.text.getString().toAnsiString();
            }
        }
        return "no text " + tag;
    }
    bool ClipShows(const FlashGUI& screen, const std::string& clip) {
        const swfplayer::character* character = screen.GetFirstMovie()->GetCharacter(clip);
        EXPECT_NE(character, nullptr) << clip;
        return character != nullptr && character->get_visible();
    }
    sf::Vector2f ClipPositionOf(const FlashGUI& screen, const std::string& clip) {
        return ClipPosition(screen.GetFirstMovie()->GetCharacter(clip));
    }
    // The frame of the photo frame movie's label.
    int FrameOfLabel(const char* label) {
        FlashMovie frame(GlobboSnapshot::kFrameMovie);
        frame.GotoLabel(label, false);
        return frame.GetRoot()->get_current_frame();
    }
    // The controller presses the item its cursor is on (its first command only makes the cursor).
    void Press(FlashGUI& screen, Controller* controller) {
        if (screen.GetCursor(controller) == nullptr) {
            screen.OnCommand(controller, Controller::kSpit);
        }
        screen.OnCommand(controller, Controller::kSpit);
    }
    // From the table to a running match: "Start", both claim, the second passes, "Go".
    void PlayFromTable() {
        ASSERT_EQ(director->GetIds().front(), GUIDirector::kChampionshipMatchTable);
        director->OnFSCommand("Start");
        ASSERT_EQ(director->GetIds().front(), GUIDirector::kChampionshipGetReady);
        Press(GetReady(), controllers[0]);
        GetReady().OnCommand(controllers[1], Controller::kRight);
        if (GetReady().GetCursor(controllers[1]) == nullptr ||
            GetReady().GetCursor(controllers[1])->GetItem()->GetName() != "Player2") {
            GetReady().OnCommand(controllers[1], Controller::kRight);
        }
        Press(GetReady(), controllers[1]);
        Run(1.1f);
        ASSERT_EQ(director->GetIds().front(), GUIDirector::kGame);
        director->OnFSCommand("Go");
    }
    // Player 1 spits every half second until the match over shows (at most a minute).
    void PlayToTheEnd() {
        for (int frame = 0; frame < 3000 && director->GetIds().front() == GUIDirector::kGame; ++frame) {
            if (frame % 25 == 10) {
                Match().GetGame()->GetGlobbo1()->Shoot();
            }
            director->Update(kStep);
        }
        ASSERT_EQ(director->GetIds().front(), GUIDirector::kMatchOver);
    }
    Names FocusNames(const FlashGUI& screen) {
        Names names;
        for (const auto& item : screen.GetFocusItems()) {
            names.push_back(item->GetName());
        }
        return names;
    }
    size_t StoredRecords() {
        StatisticsStore stored;
        LoadStatistics(stored);
        return stored.records.size();
    }
    // Rewrites the level-set folder with the files (name, contents).
    void LevelSets(const std::vector<std::pair<std::string, std::string>>& files) {
        const std::filesystem::path folder = data->Path() / "data/levelsets";
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() == ".xml") {
                std::filesystem::remove(entry.path());
            }
        }
        for (const auto& [name, text] : files) {
            testing_support::WriteFile(folder / name, text);
        }
    }
};

TEST_F(ChampionshipScreensTest, one_controller_chooses_up_to_four_and_start_needs_two) {
    director->PushScreen(GUIDirector::kChampionshipGlobbos);
    auto& screen = ScreenOf<GUIChampionshipGlobbos>(GUIDirector::kChampionshipGlobbos);
    ASSERT_EQ(screen.GetCurrentFocusItem()->GetName(), "Start");
    ASSERT_EQ(screen.GetGrid().GetSlots().size(), 4u);
    const auto& pool = screen.GetGrid().GetPoolItems();
    ASSERT_GE(pool.size(), 5u);
    screen.OnFocusItemEvent(controllers[0], pool[2].get(), FlashGUI::kPressed);
    director->OnFSCommand("Start");
    EXPECT_EQ(director->GetIds(), (Ids{8, 4}));
    for (size_t i : {0u, 4u, 1u, 3u}) {
        screen.OnFocusItemEvent(controllers[0], pool[i].get(), FlashGUI::kPressed);
    }
    // All four slots are full: the fifth creature stays in the pool.
    ASSERT_EQ(screen.GetGrid().GetChosen().size(), 4u);
    EXPECT_FALSE(screen.GetGrid().HasFreeSlot());
    const Names files = screen.GetGrid().GetPoolFiles();
    director->OnFSCommand("Start");
    EXPECT_EQ(director->GetIds(), (Ids{9, 8, 4}));
    EXPECT_EQ(Names(Record().players.begin(), Record().players.end()), (Names{files[2], files[0], files[4], files[1]}));
    // Coming back starts from empty slots.
    director->PopScreen();
    EXPECT_TRUE(screen.GetGrid().GetChosen().empty());
}

TEST_F(ChampionshipScreensTest, level_sets_wrap_both_ways_and_remember_the_favourite) {
    LevelSets({{"a.xml", LevelSetFile({"l1", "l2"})},
               {"b.xml", LevelSetFile({"l3"})},
               {"c.xml", LevelSetFile({"l4", "l5", "l6"})},
               {"d.xml.old", LevelSetFile({"x"})},
               {"e.xmlx", LevelSetFile({"x"})}});
    GUIChampionshipLevelSelection screen(*director);
    screen.Load("data/gui/championship_level_selection.xml");
    EXPECT_EQ(screen.GetCurrentFocusItem()->GetName(), "Start");
    Names paths = screen.GetPaths();
    std::sort(paths.begin(), paths.end());
    ASSERT_EQ(paths, (Names{"data/levelsets/a.xml", "data/levelsets/b.xml", "data/levelsets/c.xml"}));
    const size_t count = screen.GetLevelSets().size();
    ASSERT_EQ(screen.GetSelected(), 0u);
    screen.OnFSCommand("Left");
    EXPECT_EQ(screen.GetSelected(), count - 1);
    EXPECT_EQ(preferences.favouriteLevelSet, screen.GetPaths()[count - 1]);
    EXPECT_FLOAT_EQ(screen.GetPreviewDelay(), GUIChampionshipLevelSelection::kPreviewDelay);
    screen.Update(Application::GetInstance(), 0.03f);
    EXPECT_LE(screen.GetPreviewDelay(), 0.0f);
    screen.OnFSCommand("Right");
    EXPECT_EQ(screen.GetSelected(), 0u);
    screen.OnFSCommand("Right");
    EXPECT_EQ(screen.GetSelected(), 1u);
    EXPECT_EQ(preferences.favouriteLevelSet, screen.GetPaths()[1]);

    // The favourite is selected when the screen loads again.
    GUIChampionshipLevelSelection again(*director);
    again.Load("data/gui/championship_level_selection.xml");
    EXPECT_EQ(again.GetPaths()[again.GetSelected()], preferences.favouriteLevelSet);
    // A set's levels in play order.
    for (size_t i = 0; i < again.GetPaths().size(); ++i) {
        if (again.GetPaths()[i] == "data/levelsets/c.xml") {
            EXPECT_EQ(again.GetLevelSets()[i]->levels, (Names{"l4", "l5", "l6"}));
        }
    }

    // With the favourite gone and fewer sets, the selection falls back to the first.
    screen.OnFSCommand("Left");
    screen.OnFSCommand("Left");
    LevelSets({{"z.xml", LevelSetFile({"l9"})}});
    screen.Unload();
    screen.Load("data/gui/championship_level_selection.xml");
    EXPECT_EQ(screen.GetSelected(), 0u);
}

TEST_F(ChampionshipScreensTest, no_level_set_leaves_start_and_browsing_doing_nothing) {
    LevelSets({});
    GUIChampionshipLevelSelection screen(*director);
    screen.Load("data/gui/championship_level_selection.xml");
    EXPECT_TRUE(screen.GetLevelSets().empty());
    for (const char* command : {"Left", "Right", "Start"}) {
        screen.OnFSCommand(command);
    }
    EXPECT_EQ(screen.GetSelected(), 0u);
    EXPECT_EQ(director->GetIds(), (Ids{4}));
    EXPECT_NE(log->Text().find("no level set for Start"), std::string::npos);
}

TEST_F(ChampionshipScreensTest, starting_a_set_schedules_the_players_on_its_levels) {
    LevelSets({{"tour.xml", LevelSetFile({"l1", "l2"})}, {"broken.xml", "<resource><levelset"}});
    auto& screen = ScreenOf<GUIChampionshipLevelSelection>(GUIDirector::kChampionshipLevelSelection);
    screen.Unload();
    screen.Load("data/gui/championship_level_selection.xml");
    ASSERT_EQ(screen.GetLevelSets().size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(screen.GetPaths()[i]);
        const bool broken = screen.GetPaths()[i] == "data/levelsets/broken.xml";
        EXPECT_EQ(screen.GetLevelSets()[i]->levels.size(), broken ? 0u : 2u);
    }
    // One player makes no championship.
    Record().players = {kPlayers[0]};
    director->PushScreen(GUIDirector::kChampionshipGlobbos);
    director->PushScreen(GUIDirector::kChampionshipLevelSelection);
    director->OnFSCommand("Start");
    EXPECT_EQ(director->GetIds(), (Ids{9, 8, 4}));

    // Four players on the tour: its levels in turn, then the table.
    Record().players.assign(kPlayers.begin(), kPlayers.end());
    Record().matchIndex = 3;
    while (screen.GetPaths()[screen.GetSelected()] != "data/levelsets/tour.xml") {
        screen.OnFSCommand("Right");
    }
    director->OnFSCommand("Start");
    EXPECT_EQ(director->GetIds(), (Ids{10, 4}));
    EXPECT_EQ(Record().levels, (Names{"l1", "l2"}));
    ASSERT_EQ(Record().matches.size(), 4u);
    EXPECT_EQ(Record().matchIndex, 0);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Record().matches[i].levelFile, i % 2 == 0 ? "l1" : "l2");
    }
    // The broken set plays the default level everywhere.
    director->PopScreen();
    director->PushScreen(GUIDirector::kChampionshipGlobbos);
    director->PushScreen(GUIDirector::kChampionshipLevelSelection);
    screen.OnFSCommand("Right");
    director->OnFSCommand("Start");
    for (const MatchRecord& match : Record().matches) {
        EXPECT_EQ(match.levelFile, Championship::kFallbackLevel);
    }
}

TEST_F(ChampionshipScreensTest, the_three_player_table_shows_the_known_portraits_in_order) {
    Schedule(3);
    director->PushScreen(GUIDirector::kChampionshipMatchTable);
    GUIChampionshipMatchTable& table = Table();
    EXPECT_EQ(TextOf(table, "title2"), "MATCH 1 OF 3");
    for (const auto& [tag, shown] : std::vector<std::pair<const char*, bool>>{{"2match1", false},
                                                                              {"2match3", false},
                                                                              {"3match1", true},
                                                                              {"3match2", true},
                                                                              {"4match1", false},
                                                                              {"4match3", false}}) {
        EXPECT_EQ(TextShows(table, tag), shown) << tag;
    }
    const std::pair<const char*, bool> clips[] = {
        {"match1rect", true}, {"match2rect", false}, {"match3rect", false}, {"match1p1", false},
        {"match1p2", false},  {"match2p1", false},   {"match2p2", true},    {"match3p1", true},
    };
    for (const auto& [clip, shown] : clips) {
        EXPECT_EQ(ClipShows(table, clip), shown) << clip;
    }
    const auto& portraits = table.GetPortraits();
    ASSERT_EQ(portraits.size(), 3u);
    int k = 1;
    for (const GlobboSnapshot& portrait : portraits) {
        SCOPED_TRACE(k);
        EXPECT_EQ(portrait.GetFile(), kPlayers[static_cast<size_t>(k - 1)]);
        EXPECT_EQ(portrait.GetState(), GlobboSnapshot::kShowingUp);
        EXPECT_FLOAT_EQ(portrait.getScale().x, GUIChampionshipMatchTable::kPortraitScale);
        const int frame = const_cast<GlobboSnapshot&>(portrait).GetFrameMovie().GetRoot()->get_current_frame();
        EXPECT_EQ(frame, FrameOfLabel(("showup" + std::to_string(k)).c_str()));
        ++k;
    }
    // Player 3's portrait stands in match 2's first place.
    const sf::Vector2f place = ClipPositionOf(table, "match2p1");
    EXPECT_NEAR(std::next(portraits.begin(), 2)->getPosition().x, place.x, 0.5f);
    EXPECT_NEAR(std::next(portraits.begin(), 2)->getPosition().y, place.y, 0.5f);
}

TEST_F(ChampionshipScreensTest, the_two_player_table_shows_three_matches_without_showing_up) {
    Schedule(2);
    director->PushScreen(GUIDirector::kChampionshipMatchTable);
    GUIChampionshipMatchTable& table = Table();
    ASSERT_EQ(table.GetPortraits().size(), 6u);
    for (const char* clip : {"match1p1", "match1p2", "match2p1", "match2p2", "match3p1", "match3p2"}) {
        EXPECT_FALSE(ClipShows(table, clip)) << clip;
    }
    EXPECT_TRUE(TextShows(table, "2match3"));
    EXPECT_FALSE(TextShows(table, "3match2"));
    Run(0.1f);
    for (const GlobboSnapshot& portrait : table.GetPortraits()) {
        EXPECT_EQ(portrait.GetState(), GlobboSnapshot::kShown);
        EXPECT_EQ(const_cast<GlobboSnapshot&>(portrait).GetFrameMovie().GetRoot()->get_current_frame(),
                  FrameOfLabel(GUIChampionshipMatchTable::kShownLabel));
    }
}

TEST_F(ChampionshipScreensTest, the_table_counts_matches_and_is_shown_anew_after_a_pause) {
    Schedule(4, 2);
    Record().matches[2].player1File = kPlayers[1];
    Record().matches[2].matchFlags[0] = true;
    director->PushScreen(GUIDirector::kChampionshipMatchTable);
    GUIChampionshipMatchTable& table = Table();
    EXPECT_EQ(TextOf(table, "title2"), "MATCH 3 OF 4");
    EXPECT_TRUE(ClipShows(table, "match3rect"));
    EXPECT_FALSE(ClipShows(table, "match1rect"));
    EXPECT_TRUE(ClipShows(table, "match4p1"));
    EXPECT_TRUE(TextShows(table, "4match3"));
    ASSERT_EQ(table.GetPortraits().size(), 5u);
    // The highlight sits between match 3's places.
    const sf::Vector2f p1 = ClipPositionOf(table, "match3p1");
    const sf::Vector2f p2 = ClipPositionOf(table, "match3p2");
    EXPECT_NEAR(table.GetSelection().getPosition().x, (p1.x + p2.x) / 2, 0.5f);
    EXPECT_NEAR(table.GetSelection().getPosition().y, (p1.y + p2.y) / 2, 0.5f);

    director->HandleCommand(controllers[0], Controller::kBack);
    ASSERT_EQ(director->GetIds(), (Ids{14, 10, 4}));
    director->PopScreen();
    ASSERT_EQ(director->GetIds(), (Ids{10, 4}));
    EXPECT_EQ(table.GetPortraits().size(), 5u);
}

TEST_F(ChampionshipScreensTest, claiming_creatures_starts_the_match_a_second_after_the_second_claim) {
    Schedule(2);
    director->PushScreen(GUIDirector::kChampionshipMatchTable);
    director->OnFSCommand("Start");
    ASSERT_EQ(director->GetIds(), (Ids{11, 13, 4}));
    const MatchRecord& current = Application::GetInstance();
    EXPECT_EQ(current.levelFile, kDuel);
    SpitGame* game = Match().GetGame();
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(game->m_State, SpitGame::kWaiting);
    GUIChampionshipGetReady& ready = GetReady();
    GetReadyFocusItem* player1 = ready.GetPlayer(0);
    GetReadyFocusItem* player2 = ready.GetPlayer(1);
    ASSERT_NE(player1, nullptr);
    // The items reach 40 pixels about the creatures as drawn.
    const b2Vec2 c1 = game->GetGlobbo1()->m_ScreenCenter;
    const sf::Vector2f centre1 = Match().getTransform().transformPoint(c1.x, c1.y);
    EXPECT_NEAR(player1->GetRect().left, centre1.x - 40, 0.01f);
    EXPECT_NEAR(player1->GetRect().bottom, centre1.y + 40, 0.01f);
    EXPECT_EQ(ready.GetCurrentFocusItem(), player1);

    // Claim and release by the same controller; another controller cannot release.
    Press(ready, controllers[0]);
    EXPECT_EQ(player1->GetController(), controllers[0]);
    EXPECT_TRUE(TextShows(ready, "ready1"));
    Press(ready, controllers[1]);
    EXPECT_EQ(player1->GetController(), controllers[0]);
    Press(ready, controllers[0]);
    EXPECT_FALSE(player1->IsBound());
    EXPECT_FALSE(TextShows(ready, "ready1"));
    // A claimed creature holds its controller's cursor.
    Press(ready, controllers[0]);
    ready.OnCommand(controllers[0], Controller::kRight);
    EXPECT_EQ(ready.GetCursor(controllers[0])->GetItem(), player1);
    // The second claim, two seconds later, starts the delay.
    Run(2.0f);
    ready.OnCommand(controllers[1], Controller::kRight);
    ASSERT_EQ(ready.GetCursor(controllers[1])->GetItem(), player2);
    Press(ready, controllers[1]);
    EXPECT_TRUE(ready.IsBothReady());
    EXPECT_TRUE(TextShows(ready, "ready2"));
    // Nothing changes during the wait.
    Press(ready, controllers[1]);
    EXPECT_TRUE(player2->IsBound());
    Run(0.9f);
    EXPECT_EQ(director->GetIds(), (Ids{11, 13, 4}));
    EXPECT_EQ(game->m_State, SpitGame::kWaiting);
    Run(0.2f);
    EXPECT_EQ(director->GetIds(), (Ids{13, 4}));
    EXPECT_EQ(game->m_State, SpitGame::kCountdown);
    EXPECT_EQ(game->m_Controller1, controllers[0]);
    EXPECT_EQ(game->m_Controller2, controllers[1]);
    EXPECT_EQ(controllers[0]->GetCreature(), game->GetGlobbo1());
    EXPECT_EQ(controllers[1]->GetCreature(), game->GetGlobbo2());
}

TEST_F(ChampionshipScreensTest, one_controller_may_claim_both_and_an_unlisted_one_steers_nothing) {
    Schedule(2);
    director->PushScreen(GUIDirector::kChampionshipMatchTable);
    director->OnFSCommand("Start");
    GUIChampionshipGetReady& ready = GetReady();
    SpitGame* game = Match().GetGame();
    // Controller 1 claims the first creature; a controller the application no longer lists
    // claims the second.
    Press(ready, controllers[0]);
    const auto stranger = MakeController(9, sf::Color::White);
    ready.GetPlayer(1)->OnPress(stranger.get());
    ready.OnFocusItemEvent(stranger.get(), ready.GetPlayer(1), FlashGUI::kPressed);
    Run(1.1f);
    ASSERT_EQ(director->GetIds(), (Ids{13, 4}));
    EXPECT_EQ(game->m_Controller1, controllers[0]);
    EXPECT_EQ(game->m_Controller2, nullptr);
    EXPECT_EQ(stranger->GetCreature(), nullptr);

    // Both claimed by one controller: it is the controller of both sides.
    director->PopScreen();
    director->PushScreen(GUIDirector::kChampionshipMatchTable);
    director->OnFSCommand("Start");
    GUIChampionshipGetReady& again = GetReady();
    for (int side : {0, 1}) {
        again.GetPlayer(side)->OnPress(controllers[0]);
        again.OnFocusItemEvent(controllers[0], again.GetPlayer(side), FlashGUI::kPressed);
    }
    Run(1.1f);
    EXPECT_EQ(Match().GetGame()->m_Controller1, controllers[0]);
    EXPECT_EQ(Match().GetGame()->m_Controller2, controllers[0]);
    // It steers both at once, neither of them alone (how it moves them: the test below).
    const Steerable* steered = controllers[0]->GetCreature();
    EXPECT_NE(steered, nullptr);
    EXPECT_NE(steered, Match().GetGame()->GetGlobbo1());
    EXPECT_NE(steered, Match().GetGame()->GetGlobbo2());
}

// Up held on the controller's keys moves the creatures it steers.
class HeldUp : public InputStatusProvider {
public:
    float GetJoystickAxis(unsigned int, unsigned int) override { return 0.0f; }
    bool IsKeyDown(unsigned int key) override { return key == Key::Up || key == Key::W; }
};

// One controller claims both creatures with its keys as a player does: the second creature, the
// pause (Escape) and "Go on" there, after which its cursor is back on the first creature, which
// it claims too. Holding up then moves both creatures, each exactly as a controller of its own
// moves it (one push per step each): the same match with the arrows claiming the first creature
// and W A S D the second gives the same places, step for step.
TEST_F(ChampionshipScreensTest, one_controller_claims_both_with_its_keys_and_moves_each_as_its_own) {
    Controller::SetCommandHandler(&*director);
    Controller* arrows = controllers[0];
    auto key = [&](Controller* controller, uint32_t code) {
        InputEvent press;
        press.key = code;
        EXPECT_TRUE(controller->OnEvent(press));
    };
    // Holds up for a second of play from "Go" and gives both creatures' centres after each step.
    auto playUp = [&]() {
        director->OnFSCommand("Go");
        HeldUp held;
        SpitGame& game = *Match().GetGame();
        for (Controller* controller : {game.m_Controller1, game.m_Controller2}) {
            controller->Attach(controller->GetCreature(), &held);
        }
        std::vector<b2Vec2> centres;
        for (int step = 0; step < 50; ++step) {
            director->Update(kStep);
            centres.push_back(game.GetGlobbo1()->m_Center);
            centres.push_back(game.GetGlobbo2()->m_Center);
        }
        return centres;
    };

    Schedule(2);
    director->PushScreen(GUIDirector::kChampionshipMatchTable);
    director->OnFSCommand("Start");
    ASSERT_EQ(director->GetIds(), (Ids{11, 13, 4}));
    GUIChampionshipGetReady& ready = GetReady();
    // The items lie in the creatures' order from left to right.
    const bool secondRight = ready.GetPlayer(0)->GetLink(FocusItem::kRight) == ready.GetPlayer(1);
    // The first key shows the cursor on "Player1"; the way to "Player2", and the claim.
    key(arrows, Key::RControl);
    key(arrows, secondRight ? Key::Right : Key::Left);
    key(arrows, Key::RControl);
    ASSERT_EQ(ready.GetPlayer(1)->GetController(), arrows);
    // The pause, and "Go on" (its first item) pressed.
    key(arrows, Key::Escape);
    ASSERT_EQ(director->GetIds(), (Ids{14, 11, 13, 4}));
    key(arrows, Key::RControl);
    for (int frame = 0; frame < 200 && director->GetIds().front() == GUIDirector::kPaused; ++frame) {
        director->Update(kStep);
    }
    ASSERT_EQ(director->GetIds(), (Ids{11, 13, 4}));
    ASSERT_EQ(ready.GetCursor(arrows)->GetItem(), ready.GetPlayer(0));
    key(arrows, Key::RControl);
    ASSERT_TRUE(ready.IsBothReady());
    Run(1.1f);
    ASSERT_EQ(director->GetIds(), (Ids{13, 4}));
    const std::vector<b2Vec2> shared = playUp();

    // The same match, a controller for each creature.
    director->PopAll();
    director->PushScreen(GUIDirector::kMainMenu);
    Schedule(2);
    director->PushScreen(GUIDirector::kChampionshipMatchTable);
    director->OnFSCommand("Start");
    key(arrows, Key::RControl);
    key(arrows, Key::RControl);
    key(controllers[1], Key::LControl);
    key(controllers[1], secondRight ? Key::D : Key::A);
    key(controllers[1], Key::LControl);
    ASSERT_TRUE(GetReady().IsBothReady());
    Run(1.1f);
    ASSERT_EQ(director->GetIds(), (Ids{13, 4}));
    const std::vector<b2Vec2> own = playUp();
    Controller::SetCommandHandler(nullptr);

    ASSERT_EQ(shared.size(), own.size());
    for (size_t i = 0; i < shared.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(shared[i].x, own[i].x, 1e-4f);
        EXPECT_NEAR(shared[i].y, own[i].y, 1e-4f);
    }
    // Both went up.
    for (size_t creature : {0u, 1u}) {
        EXPECT_LT(shared[shared.size() - 2 + creature].y, shared[creature].y - 1.0f) << creature;
    }
}

// A championship match whose level cannot be read is still played, in an empty arena: the table
// starts it under the get-ready screen, whose claims start the countdown.
TEST_F(ChampionshipScreensTest, a_match_whose_level_cannot_load_is_still_got_ready_and_played) {
    Schedule(2);
    Record().matches[0].levelFile = "data/levels/missing.xml";
    director->PushScreen(GUIDirector::kChampionshipMatchTable);
    PlayFromTable();
    ASSERT_EQ(director->GetIds(), (Ids{13, 4}));
    SpitGame* game = Match().GetGame();
    ASSERT_NE(game, nullptr);
    EXPECT_FALSE(game->HasLevel());
    EXPECT_EQ(Application::GetInstance().currentGame, game);
    EXPECT_EQ(controllers[0]->GetCreature(), game->GetGlobbo1());
    EXPECT_EQ(controllers[1]->GetCreature(), game->GetGlobbo2());
    Run(1.0f);
    EXPECT_EQ(game->m_State, SpitGame::kPlaying);
    EXPECT_EQ(director->GetIds(), (Ids{13, 4}));
}

TEST_F(ChampionshipScreensTest, back_pauses_the_get_ready_and_without_a_match_it_goes) {
    Schedule(2);
    director->PushScreen(GUIDirector::kChampionshipMatchTable);
    director->OnFSCommand("Start");
    director->HandleCommand(controllers[0], Controller::kBack);
    EXPECT_EQ(director->GetIds(), (Ids{14, 11, 13, 4}));
    director->PopAll();
    director->PushScreen(GUIDirector::kMainMenu);
    director->PushScreen(GUIDirector::kChampionshipGetReady);
    ASSERT_EQ(director->GetIds(), (Ids{11, 4}));
    director->Update(kStep);
    EXPECT_EQ(director->GetIds(), (Ids{4}));
    EXPECT_NE(log->Text().find("GUIChampionshipGetReady: no match to get ready for"), std::string::npos);
}

TEST_F(ChampionshipScreensTest, the_match_over_offers_the_next_match_until_the_last_is_decided) {
    Schedule(3, 2);
    Record().matches[2].player1File = kPlayers[0];
    Record().matches[2].player2File = kPlayers[2];
    auto& over = ScreenOf<GUIMatchOver>(GUIDirector::kMatchOver);
    struct Case {
        int index;
        int winner;
        Names items;
        const char* focus;
        Names hidden;
    };
    const Case cases[] = {
        {0, 1, {"Stats", "NextMatch"}, "NextMatch", {"GetAwards", "PlayAgain", "MainMenu"}},
        {2, 0, {"Stats", "NextMatch"}, "NextMatch", {"GetAwards", "PlayAgain", "MainMenu"}},
        {2, 2, {"Stats", "GetAwards"}, "GetAwards", {"NextMatch", "PlayAgain", "MainMenu"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index * 10 + c.winner);
        Record().matchIndex = c.index;
        Record().results[static_cast<size_t>(c.index)].winner = c.winner;
        over.Unload();
        over.Load("data/gui/match_over.xml");
        over.Activate();
        EXPECT_EQ(FocusNames(over), c.items);
        EXPECT_EQ(over.GetCurrentFocusItem()->GetName(), c.focus);
        for (const std::string& clip : c.hidden) {
            EXPECT_FALSE(ClipShows(over, clip)) << clip;
        }
    }
    // "NextMatch" past the last decided match and "GetAwards" before it are ignored.
    over.OnFSCommand("NextMatch");
    EXPECT_EQ(Record().matchIndex, 2);
    EXPECT_NE(log->Text().find("GUIMatchOver: no next match"), std::string::npos);
    Record().matchIndex = 1;
    over.OnFSCommand("GetAwards");
    EXPECT_EQ(director->GetIds(), (Ids{4}));
}

TEST_F(ChampionshipScreensTest, a_three_player_championship_plays_through_to_the_podium) {
    Schedule(3);
    director->PushScreen(GUIDirector::kChampionshipMatchTable);
    for (int match = 0; match < 3; ++match) {
        SCOPED_TRACE(match);
        ASSERT_NO_FATAL_FAILURE(PlayFromTable());
        ASSERT_NO_FATAL_FAILURE(PlayToTheEnd());
        EXPECT_EQ(Record().results[static_cast<size_t>(match)].winner, GameStatistics::kPlayer1);
        director->OnFSCommand("ShowText");
        const char* next = match < 2 ? "NextMatch" : "GetAwards";
        EXPECT_EQ(ScreenOf<GUIMatchOver>(GUIDirector::kMatchOver).GetCurrentFocusItem()->GetName(), next);
        director->OnFSCommand(next);
    }
    EXPECT_EQ(director->GetIds(), (Ids{12, 4}));
    EXPECT_EQ(StoredRecords(), 3u);
    // Player 1 of each match won: P1 beat P2, P3 beat P2, P1 beat P3.
    EXPECT_EQ(Record().podium[0], kPlayers[0]);
    EXPECT_EQ(Record().podium[1], kPlayers[2]);
    EXPECT_EQ(Record().podium[2], kPlayers[1]);
}

TEST_F(ChampionshipScreensTest, ending_a_championship_from_the_pause_empties_its_record) {
    Schedule(2);
    director->PushScreen(GUIDirector::kChampionshipMatchTable);
    ASSERT_NO_FATAL_FAILURE(PlayFromTable());
    director->HandleCommand(controllers[0], Controller::kBack);
    ASSERT_EQ(director->GetIds(), (Ids{14, 13, 4}));
    director->OnFSCommand("EndGame");
    EXPECT_EQ(director->GetIds(), (Ids{4}));
    EXPECT_TRUE(Record().players.empty());
    EXPECT_TRUE(Record().matches.empty());
    EXPECT_EQ(Record().matchIndex, 0);
    EXPECT_EQ(Application::GetInstance().currentGame, nullptr);
}

}  // namespace
}  // namespace gui_testing
