// The in-match screen, the match over and the pause on the game's own data and a duel level
// where player 1 starts with the only ball and player 2 right below: the set-up of each mode, the
// zoom, a level that cannot start, one statistics record per match, the winner's flight, the
// choices after a match and ending a match from the pause.
#include "app/Application.h"
#include "app/UserPreferences.h"
#include "game/FlashBody.h"
#include "game/Globbo.h"
#include "game/Level.h"
#include "game/SpitGame.h"
#include "game/StatisticsFile.h"
#include "gui/GUIDirector.h"
#include "gui/GUIGame.h"
#include "gui/GUIMatchOver.h"
#include "gui/GUIPaused.h"
#include "gui/MovieClips.h"
#include "tests/gui/ScreenTestBase.h"
#include "tests/support/TempDir.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <box2d/b2_body.h>
#include <gtest/gtest.h>
#include <physfs.h>

#include <cmath>

namespace gui_testing {
namespace {

using Ids = std::deque<int>;

constexpr float kStep = 0.02f;

class MatchScreensTest : public ScreenTestBase {
protected:
    void SetUp() override {
        ScreenTestBase::SetUp();
        preferences.hintGameControls = true;
        director.emplace([this](GUIDirector& made) {
            auto game = std::make_unique<GUIGame>(made);
            match = game.get();
            made.RegisterMatch(std::move(game));
            auto over = std::make_unique<GUIMatchOver>(made);
            matchOver = over.get();
            made.RegisterScreen(GUIDirector::kMatchOver, std::move(over));
            auto pause = std::make_unique<GUIPaused>(made);
            paused = pause.get();
            made.RegisterScreen(GUIDirector::kPaused, std::move(pause));
            for (int id : {5, 7, 16}) {
                made.RegisterScreen(id, std::make_unique<StubScreen>(id, journal));
            }
        });
        FreshDuel();
        director->PushScreen(GUIDirector::kMainMenu);
    }
    void TearDown() override {
        ScreenTestBase::TearDown();
        preferences.hintGameControls = true;
    }

    // Starts a match of the mode from the main menu.
    void Start(int mode) {
        Application::GetInstance().matchSetup.mode = mode;
        director->PushScreen(GUIDirector::kGame);
    }
    // Player 1 spits every half second until the match over shows (at most a minute).
    void PlayToTheEnd() {
        ASSERT_NE(match->GetGame(), nullptr);
        director->OnFSCommand("Go");
        for (int frame = 0; frame < 3000 && director->GetIds().front() == GUIDirector::kGame; ++frame) {
            if (frame % 25 == 10) {
                match->GetGame()->GetGlobbo1()->Shoot();
            }
            director->Update(kStep);
        }
        ASSERT_EQ(director->GetIds().front(), GUIDirector::kMatchOver);
    }
    void Run(float seconds) {
        for (float t = 0; t < seconds - 1e-4f; t += kStep) {
            director->Update(kStep);
        }
    }
    size_t StoredRecords() {
        StatisticsStore stored;
        LoadStatistics(stored);
        return stored.records.size();
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

    GUIGame* match = nullptr;
    GUIMatchOver* matchOver = nullptr;
    GUIPaused* paused = nullptr;
};

TEST_F(MatchScreensTest, each_mode_sets_up_its_bot_controllers_and_hint) {
    struct Case {
        int mode;
        bool bot;
        bool attached;
        const char* hint;
    };
    const Case cases[] = {
        {MatchSetup::QuickMatch, false, true, "quickmatch controls"},
        {MatchSetup::Training, true, true, "training controls"},
        {MatchSetup::Championship, false, false, ""},
    };
    bool first = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        director->GetHint().ShowHint("", 0);
        Start(c.mode);
        ASSERT_EQ(director->GetIds(), (Ids{13, 4}));
        SpitGame* game = match->GetGame();
        ASSERT_NE(game, nullptr);
        EXPECT_EQ(Application::GetInstance().currentGame, game);
        EXPECT_EQ(game->HasBot(), c.bot);
        EXPECT_EQ(controllers[0]->GetCreature(), c.attached ? game->GetGlobbo1() : nullptr);
        EXPECT_EQ(controllers[1]->GetCreature(), c.attached ? game->GetGlobbo2() : nullptr);
        EXPECT_EQ(director->GetHint().GetHintName(), c.hint);
        // Only the first match's hint waits for the player to move and spit.
        EXPECT_EQ(director->GetHint().NeedsMove(), first && *c.hint != '\0');
        first = first && *c.hint == '\0';
        EXPECT_FALSE(preferences.hintGameControls);
        director->PopScreen();
        // The controllers let go before the creatures went.
        EXPECT_EQ(controllers[0]->GetCreature(), nullptr);
        EXPECT_EQ(Application::GetInstance().currentGame, nullptr);
        EXPECT_EQ(match->GetGame(), nullptr);
    }
}

TEST_F(MatchScreensTest, the_level_zoom_scales_the_match_about_the_screen_centre) {
    const std::string duel = testing_support::ReadFile(data->Path() / kDuel);
    const std::pair<const char*, sf::Vector2f> cases[] = {{"0.8", {80, 60}}, {"1.0", {0, 0}}, {"nan", {0, 0}},
                                                          {"-2", {0, 0}},    {"0", {0, 0}},   {"0.5", {200, 150}}};
    for (const auto& [zoom, position] : cases) {
        SCOPED_TRACE(zoom);
        std::string level = duel;
        level.replace(level.find("m_ViewZoom=\"0.8\""), 16, std::string("m_ViewZoom=\"") + zoom + "\"");
        testing_support::WriteFile(data->Path() / "data/levels/zoomed.xml", level);
        Application::GetInstance().levelFile = "data/levels/zoomed.xml";
        Start(MatchSetup::QuickMatch);
        ASSERT_NE(match->GetGame(), nullptr);
        EXPECT_NEAR(match->getPosition().x, position.x, 1e-3f);
        EXPECT_NEAR(match->getPosition().y, position.y, 1e-3f);
        EXPECT_TRUE(std::isfinite(match->getScale().x) && match->getScale().x > 0);
        director->PopScreen();
    }
}

// A match whose level cannot be read still runs, in an empty arena: it shows with its creatures
// steered and its hint, plays on, pauses and ends as any other.
TEST_F(MatchScreensTest, a_match_whose_level_cannot_load_still_runs_in_an_empty_arena) {
    Application& application = Application::GetInstance();
    application.levelFile = "data/levels/missing.xml";
    Start(MatchSetup::QuickMatch);
    ASSERT_EQ(director->GetIds(), (Ids{13, 4}));
    SpitGame* game = match->GetGame();
    ASSERT_NE(game, nullptr);
    EXPECT_FALSE(game->HasLevel());
    EXPECT_EQ(application.currentGame, game);
    EXPECT_EQ(controllers[0]->GetCreature(), game->GetGlobbo1());
    EXPECT_EQ(controllers[1]->GetCreature(), game->GetGlobbo2());
    EXPECT_EQ(director->GetHint().GetHintName(), "quickmatch controls");
    EXPECT_EQ(match->getPosition(), sf::Vector2f(0, 0));

    director->OnFSCommand("Go");
    Run(3.0f);
    EXPECT_EQ(director->GetIds(), (Ids{13, 4}));
    EXPECT_EQ(game->m_State, SpitGame::kPlaying);
    director->HandleCommand(controllers[0], Controller::kBack);
    EXPECT_EQ(director->GetIds(), (Ids{14, 13, 4}));
    director->OnFSCommand("EndGame");
    EXPECT_EQ(director->GetIds(), (Ids{4}));
    EXPECT_EQ(match->GetGame(), nullptr);
    EXPECT_EQ(application.currentGame, nullptr);
    EXPECT_EQ(controllers[0]->GetCreature(), nullptr);
}

TEST_F(MatchScreensTest, a_finished_match_keeps_one_record_and_opens_the_match_over_once) {
    Start(MatchSetup::QuickMatch);
    PlayToTheEnd();
    EXPECT_EQ(director->GetIds(), (Ids{15, 13, 4}));
    EXPECT_EQ(StoredRecords(), 1u);
    const GameStatistics& result = match->GetGame()->GetStatistics();
    EXPECT_EQ(result.winner, GameStatistics::kPlayer1);
    // The controllers let go when the match ended.
    EXPECT_EQ(controllers[0]->GetCreature(), nullptr);
    // The match is uncovered again and again (the statistics come and go): still one record.
    for (int i = 0; i < 3; ++i) {
        director->PushScreen(GUIDirector::kStatistics);
        director->PopScreen();
        director->PopScreen();
        EXPECT_EQ(director->GetIds(), (Ids{13, 4}));
        Run(0.5f);
        EXPECT_EQ(director->GetIds(), (Ids{13, 4}));
        director->PushScreen(GUIDirector::kMatchOver);
    }
    EXPECT_EQ(StoredRecords(), 1u);
    EXPECT_EQ(Application::GetInstance().statistics.records.size(), 1u);
}

TEST_F(MatchScreensTest, the_winner_flies_to_the_middle_and_the_match_over_offers_its_choices) {
    Start(MatchSetup::QuickMatch);
    PlayToTheEnd();
    GUIMatchOver& over = *matchOver;
    // Until the movie has run past its first frame nobody can choose.
    EXPECT_FALSE(over.IsNavigationEnabled());
    EXPECT_EQ(over.GetCurrentFocusItem()->GetName(), "PlayAgain");
    for (const char* clip : {"GetAwards", "NextMatch"}) {
        EXPECT_FALSE(over.GetFirstMovie()->GetCharacter(clip)->get_visible()) << clip;
    }
    for (const char* clip : {"Stats", "PlayAgain", "MainMenu"}) {
        EXPECT_TRUE(over.GetFirstMovie()->GetCharacter(clip)->get_visible()) << clip;
    }
    const std::pair<const char*, const char*> ring[] = {
        {"Stats", "PlayAgain"}, {"PlayAgain", "MainMenu"}, {"MainMenu", "Stats"}};
    for (const auto& [from, to] : ring) {
        EXPECT_EQ(over.FindFocusItem(from)->GetLink(FocusItem::kRight), over.FindFocusItem(to)) << from;
        EXPECT_EQ(over.FindFocusItem(to)->GetLink(FocusItem::kLeft), over.FindFocusItem(from)) << to;
    }
    EXPECT_FALSE(TextShows(over, "matchover"));

    // The flight, sent by the screen itself so that its timing is the test's.
    Globbo* winner = match->GetGame()->GetGlobbo1();
    over.OnFSCommand("GoWinner");
    ASSERT_NE(over.GetCopy(), nullptr);
    const Globbo* copy = over.GetCopy();
    EXPECT_FALSE(winner->m_Visible);
    EXPECT_EQ(winner->GetJoint(), nullptr);
    // Again: nothing new.
    over.OnFSCommand("GoWinner");
    EXPECT_EQ(over.GetCopy(), copy);
    const sf::Vector2f start = over.GetDrawableCopy()->GetPosition();
    EXPECT_EQ(start, sf::Vector2f(winner->m_ScreenCenter.x, winner->m_ScreenCenter.y));
    Run(1.5f);
    const sf::Vector2f half = over.GetDrawableCopy()->GetPosition();
    EXPECT_NEAR(half.x, (start.x + GUIMatchOver::kCentreX) / 2, 2.0f);
    EXPECT_NEAR(half.y, (start.y + GUIMatchOver::kCentreY) / 2, 2.0f);
    Run(1.5f);
    EXPECT_NEAR(over.GetDrawableCopy()->GetPosition().x, GUIMatchOver::kCentreX, 0.5f);
    EXPECT_NEAR(over.GetDrawableCopy()->GetPosition().y, GUIMatchOver::kCentreY, 0.5f);
    EXPECT_GT(over.GetDrawableCopy()->GetScale(), 1.2);
    EXPECT_LT(over.GetDrawableCopy()->GetScale(), GUIMatchOver::kWinnerScale - 0.05);
    Run(2.0f);
    EXPECT_NEAR(over.GetDrawableCopy()->GetScale(), GUIMatchOver::kWinnerScale, 1e-3);

    over.OnFSCommand("ShowText");
    EXPECT_TRUE(over.IsNavigationEnabled());
    for (const char* tag : {"matchover", "congrats", "thewinner"}) {
        EXPECT_TRUE(TextShows(over, tag)) << tag;
    }
    EXPECT_EQ(over.GetCaption().getString().toAnsiString(), "Blossom");
    EXPECT_NEAR(over.GetCaption().getPosition().x + over.GetCaption().getLocalBounds().width / 2,
                GUIMatchOver::kCentreX, 0.5f);

    // "PlayAgain": the match and this screen go, the selections come back.
    over.OnFSCommand("PlayAgain");
    EXPECT_EQ(director->GetIds(), (Ids{7, 5, 4}));
    EXPECT_EQ(over.GetCopy(), nullptr);
    EXPECT_EQ(match->GetGame(), nullptr);
}

TEST_F(MatchScreensTest, commands_out_of_order_leave_the_match_over_usable) {
    Start(MatchSetup::QuickMatch);
    PlayToTheEnd();
    GUIMatchOver& over = *matchOver;
    // The text before the flight: "matchover" alone, and the choices open.
    over.OnFSCommand("ShowText");
    EXPECT_TRUE(TextShows(over, "matchover"));
    EXPECT_FALSE(TextShows(over, "congrats"));
    EXPECT_FALSE(TextShows(over, "thewinner"));
    EXPECT_TRUE(over.IsNavigationEnabled());
    // No match any more: no flight.
    Game* running = Application::GetInstance().currentGame;
    Application::GetInstance().currentGame = nullptr;
    over.OnFSCommand("GoWinner");
    EXPECT_EQ(over.GetCopy(), nullptr);
    Application::GetInstance().currentGame = running;
    // "MainMenu": back to the menu, the menu music again.
    over.OnFSCommand("MainMenu");
    EXPECT_EQ(director->GetIds(), (Ids{4}));
    EXPECT_EQ(StoredRecords(), 1u);
}

TEST_F(MatchScreensTest, a_draw_flies_nobody) {
    Start(MatchSetup::QuickMatch);
    // The match over comes while nobody has won yet, as after a draw.
    director->OnFSCommand("Go");
    Run(0.2f);
    const int winner = match->GetGame()->GetStatistics().winner;
    ASSERT_TRUE(winner != GameStatistics::kPlayer1 && winner != GameStatistics::kPlayer2) << winner;
    director->PushScreen(GUIDirector::kMatchOver);
    matchOver->OnFSCommand("GoWinner");
    EXPECT_EQ(matchOver->GetCopy(), nullptr);
    matchOver->OnFSCommand("ShowText");
    EXPECT_TRUE(matchOver->IsNavigationEnabled());
    EXPECT_TRUE(match->GetGame()->GetGlobbo1()->m_Visible);
}

TEST_F(MatchScreensTest, end_game_from_the_pause_leaves_the_menu_alone) {
    Application& application = Application::GetInstance();
    application.matchSetup.players = {"data/players/blossom.xml", "data/players/sprout.xml"};
    application.matchSetup.matchIndex = 2;
    application.matchSetup.results.resize(3);
    Start(MatchSetup::QuickMatch);
    director->OnFSCommand("Go");
    Run(0.5f);
    // The back key pauses; the paused match stands still.
    director->HandleCommand(controllers[0], Controller::kBack);
    ASSERT_EQ(director->GetIds(), (Ids{14, 13, 4}));
    EXPECT_EQ(paused->GetCurrentFocusItem()->GetName(), "Back");
    const b2Vec2 before = match->GetGame()->GetGlobbo1()->m_Center;
    Run(0.5f);
    EXPECT_EQ(match->GetGame()->GetGlobbo1()->m_Center, before);
    // The cursor stays where it was between pauses.
    director->HandleCommand(controllers[0], Controller::kRight);
    EXPECT_EQ(paused->GetSharedCursor()->GetItem()->GetName(), "EndGame");
    director->HandleCommand(controllers[0], Controller::kBack);
    ASSERT_EQ(director->GetIds(), (Ids{13, 4}));
    director->HandleCommand(controllers[0], Controller::kBack);
    ASSERT_EQ(director->GetIds(), (Ids{14, 13, 4}));
    EXPECT_EQ(paused->GetSharedCursor()->GetItem()->GetName(), "EndGame");

    paused->OnFSCommand("EndGame");
    EXPECT_EQ(director->GetIds(), (Ids{4}));
    EXPECT_EQ(match->GetGame(), nullptr);
    EXPECT_EQ(controllers[0]->GetCreature(), nullptr);
    EXPECT_TRUE(application.matchSetup.players.empty());
    EXPECT_TRUE(application.matchSetup.results.empty());
    EXPECT_EQ(application.matchSetup.matchIndex, 0);
    EXPECT_EQ(StoredRecords(), 0u);
}

// How closely the brightness of the pictures goes together over the pixels (Pearson's
// correlation, -1 to 1; 0 when either is flat there).
double Correlation(const sf::Image& a, const sf::Image& b, const std::vector<sf::Vector2u>& pixels) {
    const auto bright = [](const sf::Color& c) {
        return 0.2126 * c.r + 0.7152 * c.g + 0.0722 * c.b;
    };
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    for (const sf::Vector2u& p : pixels) {
        const double x = bright(a.getPixel(p.x, p.y));
        const double y = bright(b.getPixel(p.x, p.y));
        sa += x;
        sb += y;
        saa += x * x;
        sbb += y * y;
        sab += x * y;
    }
    const double n = static_cast<double>(pixels.size());
    const double va = saa - sa * sa / n;
    const double vb = sbb - sb * sb / n;
    return va <= 1e-9 || vb <= 1e-9 ? 0.0 : (sab - sa * sb / n) / std::sqrt(va * vb);
}

// The pause shows the match as it stood: in every shipped arena the middle, where the arena has
// its showpiece (a windmill, a star, a stone), and every moving body of the level stay in sight
// under the pause, only dimmed.
TEST_F(MatchScreensTest, the_pause_leaves_the_middle_and_the_moving_bodies_of_every_arena_in_sight) {
    sf::RenderTexture target;
    ASSERT_TRUE(target.create(800, 600));
    const auto draw = [&] {
        target.clear(sf::Color::Black);
        director->Draw(target);
        target.display();
        return target.getTexture().copyToImage();
    };
    preferences.hintGameControls = false;
    int levels = 0;
    for (const auto& entry : std::filesystem::directory_iterator(data->Path() / "data/levels")) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".xml" || name == std::filesystem::path(kDuel).filename()) {
            continue;
        }
        SCOPED_TRACE(name);
        ++levels;
        Application::GetInstance().levelFile = "data/levels/" + name;
        Start(MatchSetup::QuickMatch);
        ASSERT_NE(match->GetGame(), nullptr);
        director->OnFSCommand("Go");
        Run(0.3f);
        // Every pixel of the middle, and of a box round each moving body.
        std::vector<sf::Vector2u> pixels;
        const auto addBox = [&](const sf::Vector2f& centre, int half) {
            for (int y = -half; y < half; ++y) {
                for (int x = -half; x < half; ++x) {
                    const int px = static_cast<int>(centre.x) + x;
                    const int py = static_cast<int>(centre.y) + y;
                    if (px >= 0 && px < 800 && py >= 0 && py < 600) {
                        pixels.emplace_back(px, py);
                    }
                }
            }
        };
        addBox({400.0f, 300.0f}, 80);
        int movers = 0;
        Level& level = match->GetGame()->GetLevel();
        for (const auto& element : level.GetElements()) {
            const auto* body = dynamic_cast<const FlashBody*>(element.get());
            if (body != nullptr && body->GetBody()->GetType() != b2_staticBody) {
                const sf::Vector2f at = level.GetPhysics().ToPixels(body->GetBody()->GetPosition());
                addBox(match->getTransform().transformPoint(at), 30);
                ++movers;
            }
        }
        const sf::Image playing = draw();
        director->HandleCommand(controllers[0], Controller::kBack);
        ASSERT_EQ(director->GetIds(), (Ids{14, 13, 4}));
        Run(0.5f);
        const sf::Image pausedPicture = draw();
        EXPECT_GT(Correlation(playing, pausedPicture, pixels), 0.9) << movers << " moving bodies";
        paused->OnFSCommand("EndGame");
    }
    EXPECT_GE(levels, 5);
}

// The controls hint is drawn over whatever screen is on top: the first match's hint, waiting for
// a move and a press, still waits over the pause, over the match over and over the menu once the
// match has gone.
TEST_F(MatchScreensTest, the_controls_hint_waits_over_the_pause_and_after_the_match) {
    struct Case {
        int mode;
        const char* hint;
        bool finish;
    };
    const Case cases[] = {
        {MatchSetup::Training, "training controls", true},
        {MatchSetup::Training, "training controls", false},
        {MatchSetup::QuickMatch, "quickmatch controls", true},
        {MatchSetup::QuickMatch, "quickmatch controls", false},
    };
    GUIHint& hint = director->GetHint();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.hint) + (c.finish ? " finished" : " ended from the pause"));
        preferences.hintGameControls = true;
        Start(c.mode);
        Run(1.0f);
        ASSERT_EQ(hint.GetHintName(), c.hint);
        ASSERT_TRUE(hint.IsWaiting());
        if (c.finish) {
            ASSERT_NO_FATAL_FAILURE(PlayToTheEnd());
            EXPECT_TRUE(hint.IsWaiting());
            matchOver->OnFSCommand("MainMenu");
        } else {
            director->HandleCommand(controllers[0], Controller::kBack);
            ASSERT_EQ(director->GetIds(), (Ids{14, 13, 4}));
            Run(0.5f);
            EXPECT_TRUE(hint.IsWaiting());
            paused->OnFSCommand("EndGame");
        }
        EXPECT_EQ(director->GetIds(), (Ids{4}));
        Run(0.5f);
        EXPECT_TRUE(hint.IsWaiting());
        EXPECT_TRUE(hint.IsShown());
        EXPECT_EQ(hint.GetHintName(), c.hint);
    }
}

// Over the pause the hint hears the commands the pause is given: a move and a press there let it
// play out.
TEST_F(MatchScreensTest, a_move_and_a_press_in_the_pause_let_the_waiting_hint_go) {
    GUIHint& hint = director->GetHint();
    Start(MatchSetup::QuickMatch);
    Run(1.0f);
    ASSERT_TRUE(hint.IsWaiting());
    director->HandleCommand(controllers[0], Controller::kBack);
    ASSERT_EQ(director->GetIds(), (Ids{14, 13, 4}));
    director->HandleCommand(controllers[1], Controller::kRight);
    EXPECT_EQ(paused->GetSharedCursor()->GetItem()->GetName(), "EndGame");
    EXPECT_TRUE(hint.IsWaiting());
    EXPECT_FALSE(hint.NeedsMove());
    director->HandleCommand(controllers[0], Controller::kLeft);
    director->HandleCommand(controllers[0], Controller::kSpit);
    EXPECT_FALSE(hint.IsWaiting());
    EXPECT_TRUE(hint.IsPlaying());
    // The press went to "Back" as well: the match goes on, the hint plays out over it.
    Run(0.5f);
    EXPECT_EQ(director->GetIds(), (Ids{13, 4}));
    Run(3.0f);
    EXPECT_FALSE(hint.IsShown());
}

// Copying a set-up's match record never takes over another's running match.
TEST(MatchRecordCopy, the_running_match_stays) {
    Game* const running = reinterpret_cast<Game*>(0x1000);
    MatchRecord record;
    record.currentGame = running;
    MatchRecord other;
    other.levelFile = "data/levels/a.xml";
    other.player2File = "data/players/b.xml";
    other.matchFlags = {true, false};
    other.currentGame = reinterpret_cast<Game*>(0x2000);
    record.TakeMatch(other);
    EXPECT_EQ(record.currentGame, running);
    EXPECT_EQ(record.levelFile, other.levelFile);
    EXPECT_EQ(record.player2File, other.player2File);
    EXPECT_EQ(record.matchFlags, other.matchFlags);
}

}  // namespace
}  // namespace gui_testing
