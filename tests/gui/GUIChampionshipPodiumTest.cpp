// The championship's podium on the game's own description and movies: its items and ring, the
// scene's layer over the background, the places and names of three or two creatures, what the
// movie's commands show, and the screen among others in a director: the statistics over it, back,
// the main menu, another championship, and the screen's end.
#include "app/Application.h"
#include "app/EventPlayer.h"
#include "app/TinyxmlPhysfsProxy.h"
#include "game/CinematicGame.h"
#include "game/Globbo.h"
#include "gui/GUIChampionshipPodium.h"
#include "gui/GUIDirector.h"
#include "gui/GUIStatistics.h"
#include "gui/GameLayer.h"
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/WorldBodies.h"

#include <gtest/gtest.h>
#include <physfs.h>

#include <optional>

namespace gui_testing {
namespace {

const std::array<std::string, 3> kThree = {"data/players/bubbles.xml", "data/players/sprout.xml",
                                           "data/players/hooligan.xml"};

// The game's data, written to in its copy, with a podium script that makes the champion hop.
class PodiumTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Data.emplace();
        ASSERT_NE(PHYSFS_setWriteDir(m_Data->Path().c_str()), 0);
        TiXmlIOProxy::SetCurrent(&m_Proxy);
        {
            EventPlayer script(GUIChampionshipPodium::kScript, true);
            InputEvent up;
            up.type = InputEvent::JoyMoved;
            up.axis = Joy::AxisY;
            up.position = -100.0f;
            script.OnEvent(up);
            for (int i = 0; i < 200; ++i) {
                script.RecordFrame(0.02f, nullptr);
            }
        }
        application.matchSetup = MatchSetup();
    }
    void TearDown() override {
        application.matchSetup = MatchSetup();
        TiXmlIOProxy::SetCurrent(nullptr);
        m_Data.reset();
    }

    static std::string Text(const FlashGUI& screen, const std::string& tag) {
        for (const TextElement& element : screen.GetTextElements()) {
            if (element.tag == tag) {
                return element.text.getString().toAnsiString();
            }
        }
        return "<none>";
    }
    // The tags of the texts that show, in the description's order.
    static std::string Shown(const FlashGUI& screen) {
        std::string shown;
        for (const TextElement& element : screen.GetTextElements()) {
            shown += element.visible ? element.tag + " " : "";
        }
        return shown;
    }
    static std::vector<b2Vec2> Bodies(const GameLayer& layer) {
        return BodyPositions(*layer.GetGame()->GetLevel().GetPhysics().GetWorld());
    }

    std::optional<GameDataCopy> m_Data;
    TinyxmlPhysfsProxy m_Proxy;
    Application& application = Application::GetInstance();
    AppControllers controllers;
    GUIDirector m_Director;
};

TEST_F(PodiumTest, items_ring_right_and_left_and_the_scene_lies_just_over_the_background) {
    GUIChampionshipPodium screen(m_Director);
    screen.Load("data/gui/championship_podium.xml");
    const char* ring[] = {"Stats", "PlayAgain", "MainMenu"};
    ASSERT_EQ(screen.GetFocusItems().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        FocusItem* item = screen.FindFocusItem(ring[i]);
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->IsEnabled()) << ring[i];
        EXPECT_GT(item->GetRect().right - item->GetRect().left, 80.0f) << ring[i];
        EXPECT_EQ(item->GetLink(FocusItem::kRight), screen.FindFocusItem(ring[(i + 1) % 3])) << ring[i];
        EXPECT_EQ(item->GetLink(FocusItem::kLeft), screen.FindFocusItem(ring[(i + 2) % 3])) << ring[i];
        EXPECT_EQ(item->GetLink(FocusItem::kUp), nullptr);
    }
    EXPECT_EQ(screen.GetCurrentFocusItem(), screen.FindFocusItem("PlayAgain"));

    std::string layers;
    for (const auto& layer : screen.GetLayers()) {
        layers += layer->GetName() + " ";
    }
    EXPECT_EQ(layers, "podium data/gui/championship_podium_level.xml background ");
    EXPECT_EQ(screen.GetLayers()[1].get(), screen.GetSceneLayer());
}

TEST_F(PodiumTest, three_places_stand_named_and_hidden_until_the_movie_shows_them) {
    GUIChampionshipPodium screen(m_Director);
    screen.Load("data/gui/championship_podium.xml");
    application.matchSetup.podium = {kThree[2], kThree[0], kThree[1]};
    screen.Activate();
    const GameLayer& scene = *screen.GetSceneLayer();
    ASSERT_NE(scene.GetGame(), nullptr);
    ASSERT_EQ(scene.GetGame()->GetCreatures().size(), 3u);
    const b2Vec2 places[] = {{0.0f, -40.0f}, {40.0f, 20.0f}, {-40.0f, 20.0f}};
    const char* names[] = {"Hooligan", "Bubbles", "Sprout"};
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(scene.GetCreatureOfPlace(i), nullptr);
        EXPECT_LT((scene.GetCreatureOfPlace(i)->m_Center - places[i]).Length(), 1.0f);
        EXPECT_EQ(Text(screen, "globbo" + std::to_string(i + 1)), names[i]);
    }
    EXPECT_EQ(scene.GetController()->GetCreature(), scene.GetCreatureOfPlace(0));
    EXPECT_EQ(Shown(screen), "");
    EXPECT_FALSE(screen.IsNavigationEnabled());

    // Each command shows its own texts.
    const std::pair<const char*, const char*> steps[] = {{"globbo2in", "globbo2 "},
                                                         {"unknown", "globbo2 "},
                                                         {"showtext", "globbo2 allglory allshame "},
                                                         {"globbo3in", "globbo2 globbo3 allglory allshame "},
                                                         {"globbo1in", "globbo1 globbo2 globbo3 allglory allshame "}};
    for (const auto& [command, shown] : steps) {
        screen.OnFSCommand(command);
        EXPECT_EQ(Shown(screen), shown) << command;
    }
    EXPECT_FALSE(screen.IsNavigationEnabled());
}

TEST_F(PodiumTest, a_championship_of_two_has_no_third_place) {
    GUIChampionshipPodium screen(m_Director);
    screen.Load("data/gui/championship_podium.xml");
    struct Case {
        const char* what;
        std::array<std::string, 3> podium;
        size_t creatures;
        std::array<const char*, 3> names;
    };
    const Case cases[] = {
        {"two players", {kThree[1], kThree[0], ""}, 2, {"Sprout", "Bubbles", ""}},
        {"nothing played", {"", "", ""}, 0, {"", "", ""}},
        {"a file that is no creature: a nameless default creature",
         {kThree[0], "data/sounds.xml", kThree[2]},
         3,
         {"Bubbles", "", "Hooligan"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        application.matchSetup.podium = c.podium;
        screen.Activate();
        ASSERT_NE(screen.GetSceneLayer()->GetGame(), nullptr);
        EXPECT_EQ(screen.GetSceneLayer()->GetGame()->GetCreatures().size(), c.creatures);
        for (size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(Text(screen, "globbo" + std::to_string(i + 1)), c.names[i]);
        }
        for (int i = 0; i < 20; ++i) {
            screen.Update(application, 0.02f);
        }
    }
}

// The movie names the third, the runner-up and the champion, cheers, then lets the controllers
// move round the ring.
TEST_F(PodiumTest, the_movie_reveals_the_places_then_the_ring_turns) {
    GUIChampionshipPodium screen(m_Director);
    screen.Load("data/gui/championship_podium.xml");
    application.matchSetup.podium = kThree;
    CommandEar ear;
    ear.onCommand = [&](const std::string& command) {
        screen.OnFSCommand(command);
    };
    screen.Activate();
    screen.TakeHandOver(controllers[0]);
    // Commands before the navigation is on move nothing.
    screen.OnCommand(controllers[0], Controller::kRight);
    EXPECT_EQ(screen.GetCursor(controllers[0])->GetItem()->GetName(), "PlayAgain");
    for (int i = 0; i < 150 && !screen.IsNavigationEnabled(); ++i) {
        screen.Update(application, 1.0f / 30.0f);
    }
    EXPECT_EQ(ear.heard,
              (std::vector<std::string>{"globbo3in", "globbo2in", "globbo1in", "showtext", "EnableNavigation"}));
    EXPECT_EQ(Shown(screen), "globbo1 globbo2 globbo3 allglory allshame ");
    ASSERT_TRUE(screen.IsNavigationEnabled());

    const std::pair<int, const char*> moves[] = {{Controller::kRight, "MainMenu"},
                                                 {Controller::kRight, "Stats"},
                                                 {Controller::kRight, "PlayAgain"},
                                                 {Controller::kLeft, "Stats"},
                                                 {Controller::kLeft, "MainMenu"}};
    for (const auto& [command, item] : moves) {
        screen.OnCommand(controllers[0], command);
        EXPECT_EQ(screen.GetCursor(controllers[0])->GetItem()->GetName(), item) << command;
    }
}

// The screen in a director with the statistics: the scene stands still while the statistics lie
// over it and starts again when they go; the main menu and another championship leave it. Under
// the sanitizer this also checks that the scene, its controller and its script go once each.
TEST_F(PodiumTest, statistics_back_main_menu_and_play_again_in_the_director) {
    GUIDirector director([](GUIDirector& made) {
        made.RegisterScreen(GUIDirector::kChampionshipPodium, std::make_unique<GUIChampionshipPodium>(made));
        made.RegisterScreen(GUIDirector::kStatistics, std::make_unique<GUIStatistics>());
    });
    auto& podium = static_cast<GUIChampionshipPodium&>(*director.GetScreen(GUIDirector::kChampionshipPodium));
    application.matchSetup.mode = MatchSetup::Championship;
    application.matchSetup.podium = kThree;
    director.PushScreen(GUIDirector::kMainMenu);
    director.PushScreen(GUIDirector::kChampionshipPodium);
    GameLayer& scene = *podium.GetSceneLayer();
    const std::vector<b2Vec2> start = Bodies(scene);
    for (int i = 0; i < 40; ++i) {
        director.Update(0.02f);
    }
    const std::vector<b2Vec2> hopped = Bodies(scene);
    ASSERT_GT(FarthestMove(hopped, start), 1.0f);

    director.OnFSCommand("Stats");
    ASSERT_EQ(director.GetCurrentScreenId(), GUIDirector::kStatistics);
    const float accumulated = scene.GetAccumulator();
    for (int i = 0; i < 40; ++i) {
        director.Update(0.02f);
    }
    EXPECT_EQ(FarthestMove(Bodies(scene), hopped), 0.0f);
    EXPECT_EQ(scene.GetAccumulator(), accumulated);

    // Back: the podium shows again from its start.
    director.OnFSCommand("Back");
    ASSERT_EQ(director.GetCurrentScreenId(), GUIDirector::kChampionshipPodium);
    EXPECT_LT(FarthestMove(Bodies(scene), start), 0.01f);
    EXPECT_EQ(scene.GetAccumulator(), 0.0f);
    EXPECT_FALSE(podium.IsNavigationEnabled());

    director.OnFSCommand("MainMenu");
    EXPECT_EQ(director.GetCurrentScreenId(), GUIDirector::kMainMenu);

    // Another championship: a clean record of the same kind (its first screen is not there yet).
    director.PushScreen(GUIDirector::kChampionshipPodium);
    application.matchSetup.matchIndex = 4;
    director.OnFSCommand("PlayAgain");
    EXPECT_EQ(director.GetCurrentScreenId(), GUIDirector::kMainMenu);
    EXPECT_EQ(application.matchSetup.mode, MatchSetup::Championship);
    EXPECT_EQ(application.matchSetup.matchIndex, 0);
    EXPECT_EQ(application.matchSetup.podium, (std::array<std::string, 3>{}));
}

// "PlayAgain" starts a new championship on a clean set-up whatever was played before the podium
// showed (the developer key shows it over any game): mode 1, no players, levels, schedule,
// results or places, and no current match, so that its matches wait for their get-ready screen.
TEST_F(PodiumTest, play_again_starts_a_fresh_championship_whatever_was_played_before) {
    GUIDirector director([](GUIDirector& made) {
        made.RegisterScreen(GUIDirector::kChampionshipPodium, std::make_unique<GUIChampionshipPodium>(made));
    });
    for (int mode : {MatchSetup::QuickMatch, MatchSetup::Training}) {
        SCOPED_TRACE(mode);
        MatchSetup& setup = application.matchSetup;
        setup.mode = mode;
        setup.players = {kThree[0], kThree[1]};
        setup.levels = {"data/levels/1_nanomill.xml"};
        setup.matchIndex = 2;
        setup.matches.resize(3);
        setup.results.resize(1);
        setup.results[0].winner = GameStatistics::kPlayer1;
        application.levelFile = "data/levels/1_nanomill.xml";
        application.player1File = kThree[0];
        application.player1Controller = controllers[0];
        application.player2File = kThree[1];
        application.player2Controller = controllers[1];
        setup.podium = kThree;
        director.PushScreen(GUIDirector::kMainMenu);
        director.PushScreen(GUIDirector::kChampionshipPodium);
        director.OnFSCommand("PlayAgain");
        EXPECT_EQ(setup.mode, MatchSetup::Championship);
        EXPECT_TRUE(setup.players.empty());
        EXPECT_TRUE(setup.levels.empty());
        EXPECT_EQ(setup.matchIndex, 0);
        EXPECT_TRUE(setup.matches.empty());
        EXPECT_TRUE(setup.results.empty());
        EXPECT_EQ(setup.podium, (std::array<std::string, 3>{}));
        EXPECT_EQ(application.levelFile, "");
        EXPECT_EQ(application.player1File, "");
        EXPECT_EQ(application.player1Controller, nullptr);
        EXPECT_EQ(application.player2File, "");
        EXPECT_EQ(application.player2Controller, nullptr);
        director.PopAll();
    }
    application.TakeMatch(MatchRecord());
}

}  // namespace
}  // namespace gui_testing
