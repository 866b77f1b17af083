// The title screen on the game's own movie and levels with recordings of the test's own: the
// replay follows the recorded steps whatever the length of the updates, a recording without steps
// never moves anything, tiny steps replay their input without a match step, no update replays
// more than a bounded number of steps, "bottleready" (re)starts the bottle scene, and a command
// or "stopped" leaves for the main menu.
#include "app/Application.h"
#include "app/EventPlayer.h"
#include "app/GameRandom.h"
#include "app/TiXmlIOProxy.h"
#include "app/TinyxmlPhysfsProxy.h"
#include "game/Globbo.h"
#include "game/Level.h"
#include "gui/GUIDirector.h"
#include "gui/GUIGameTitle.h"
#include "tests/gui/GuiTestKit.h"
#include "tests/support/TempDir.h"

#include <box2d/b2_body.h>
#include <box2d/b2_world.h>
#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace gui_testing {
namespace {

constexpr const char* kTitleDescription = "data/gui/gametitle.xml";

std::string Frames(int count, const char* step) {
    std::string events;
    for (int i = 0; i < count; ++i) {
        events += std::string("<event type=\"1\" value=\"") + step + "\"/>";
    }
    return events;
}

// Every body's position in the world, in the world's order.
std::vector<b2Vec2> Bodies(Level& level) {
    std::vector<b2Vec2> positions;
    for (b2Body* body = level.GetPhysics().GetWorld()->GetBodyList(); body != nullptr; body = body->GetNext()) {
        positions.push_back(body->GetPosition());
    }
    return positions;
}

bool Same(const std::vector<b2Vec2>& a, const std::vector<b2Vec2>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].x != b[i].x || a[i].y != b[i].y) {
            return false;
        }
    }
    return true;
}

class GUIGameTitleTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Data.emplace();
        ASSERT_NE(PHYSFS_setWriteDir(m_User.Path().c_str()), 0);
        TiXmlIOProxy::SetCurrent(&m_Proxy);
    }
    void TearDown() override {
        title.reset();
        TiXmlIOProxy::SetCurrent(nullptr);
        m_Data.reset();
    }

    // Replaces a shipped recording by one of the test's own.
    void WriteRecording(const char* name, const std::string& events) {
        testing_support::WriteFile(m_Data->Path() / name, "<resource>" + events + "</resource>");
    }
    // The title loaded as the director loads it, its match built from the seed.
    void LoadTitle() {
        GameRandom::GetInstance().SetSeed(5);
        title = std::make_unique<GUIGameTitle>(director);
        title->Load(kTitleDescription);
        ASSERT_NE(title->GetMatch(), nullptr);
    }
    Level& TitleLevel() { return title->GetMatch()->GetLevel(); }
    // Where the bodies of scene 1 are after the steps of 0.02 s, from a match of the scene built
    // and stepped here, without the title.
    std::vector<b2Vec2> SceneOneAfter(int steps) {
        GameRandom::GetInstance().SetSeed(5);
        Level level;
        std::unique_ptr<SpitGame> match = StartDemonstrationMatch(kTitleScene1, level, nullptr, nullptr);
        ThrowInCreatures(kTitleScene1, *match);
        for (int i = 0; i < steps; ++i) {
            match->Update(application, 0.02f);
        }
        return Bodies(level);
    }

    std::optional<GameDataCopy> m_Data;
    testing_support::TempDir m_User;
    TinyxmlPhysfsProxy m_Proxy;
    Application& application = Application::GetInstance();
    AppControllers controllers;
    GUIDirector director;
    std::unique_ptr<GUIGameTitle> title;
};

TEST_F(GUIGameTitleTest, three_recorded_steps_give_three_match_steps_whatever_the_update_lengths) {
    WriteRecording(kTitleScene1.recordingFile, Frames(3, "0.02"));
    const std::vector<b2Vec2> threeSteps = SceneOneAfter(3);
    ASSERT_FALSE(Same(threeSteps, SceneOneAfter(0)));
    ASSERT_FALSE(Same(threeSteps, SceneOneAfter(2)));
    const struct {
        const char* what;
        int updates;
        float dt;
    } cases[] = {{"one long update", 1, 1.0f},
                 {"ten updates of 0.1 s", 10, 0.1f},
                 {"two hundred updates of 0.005 s", 200, 0.005f},
                 {"updates of the recorded length, and more", 40, 0.02f}};
    for (const auto& c : cases) {
        LoadTitle();
        for (int i = 0; i < c.updates; ++i) {
            title->Update(application, c.dt);
        }
        EXPECT_TRUE(Same(Bodies(TitleLevel()), threeSteps)) << c.what;
        EXPECT_EQ(title->GetRecording()->NextFrameTime(), EventPlayer::kNoFrameLeft) << c.what;
    }
}

TEST_F(GUIGameTitleTest, an_update_shorter_than_the_next_step_waits_for_it) {
    WriteRecording(kTitleScene1.recordingFile, Frames(2, "0.05"));
    LoadTitle();
    const std::vector<b2Vec2> start = Bodies(TitleLevel());
    title->Update(application, 0.03f);
    EXPECT_TRUE(Same(Bodies(TitleLevel()), start));
    EXPECT_FLOAT_EQ(title->GetReplayClock(), 0.03f);
    title->Update(application, 0.03f);
    EXPECT_FALSE(Same(Bodies(TitleLevel()), start));
    EXPECT_NEAR(title->GetReplayClock(), 0.01f, 1e-6f);
}

TEST_F(GUIGameTitleTest, without_recorded_steps_nothing_ever_moves) {
    const struct {
        const char* what;
        std::string events;
    } cases[] = {{"input but no steps", "<event type=\"2\" code=\"291\"/><event type=\"4\" code=\"0\" value=\"100\"/>"},
                 {"an empty recording", ""},
                 {"steps that are not numbers", Frames(3, "nan")}};
    for (const auto& c : cases) {
        WriteRecording(kTitleScene1.recordingFile, c.events);
        LoadTitle();
        const std::vector<b2Vec2> start = Bodies(TitleLevel());
        for (int i = 0; i < 50; ++i) {
            title->Update(application, 0.1f);
        }
        EXPECT_TRUE(Same(Bodies(TitleLevel()), start)) << c.what;
    }
}

TEST_F(GUIGameTitleTest, tiny_steps_replay_their_input_without_a_match_step) {
    WriteRecording(kTitleScene1.recordingFile,
                   "<event type=\"2\" code=\"291\"/>" + Frames(3, "0.001") + "<event type=\"3\" code=\"291\"/>");
    LoadTitle();
    const std::vector<b2Vec2> start = Bodies(TitleLevel());
    title->Update(application, 0.02f);
    EXPECT_EQ(title->GetRecording()->NextFrameTime(), EventPlayer::kNoFrameLeft);
    EXPECT_TRUE(title->GetRecording()->IsKeyDown(291));
    EXPECT_TRUE(Same(Bodies(TitleLevel()), start));
}

TEST_F(GUIGameTitleTest, one_update_replays_a_bounded_number_of_steps_and_the_rest_waits) {
    const int steps = 5 * GUIGameTitle::kMaxFramesPerUpdate + 3;
    WriteRecording(kTitleScene1.recordingFile, Frames(steps, "0"));
    LoadTitle();
    int updates = 0;
    while (title->GetRecording()->NextFrameTime() < EventPlayer::kNoFrameLeft && updates < 100) {
        title->Update(application, 0.02f);
        ++updates;
    }
    EXPECT_EQ(updates, 6);
}

TEST_F(GUIGameTitleTest, bottleready_starts_the_bottle_scene_and_again_restarts_it) {
    WriteRecording(kTitleScene1.recordingFile, Frames(200, "0.02"));
    WriteRecording(kTitleScene2.recordingFile, Frames(200, "0.02"));
    LoadTitle();
    const size_t emptyBalls = TitleLevel().GetBalls().size();
    for (int i = 0; i < 10; ++i) {
        title->Update(application, 0.02f);
    }
    GameRandom::GetInstance().SetSeed(9);
    title->OnFSCommand("bottleready");
    const std::vector<b2Vec2> bottleStart = Bodies(TitleLevel());
    EXPECT_NE(TitleLevel().GetBalls().size(), emptyBalls);
    const b2Vec2 first = title->GetMatch()->GetGlobbo1()->GetMouthBody()->GetPosition();
    EXPECT_NEAR(first.y, kTitleScene2.position1.y, 3.0f);
    EXPECT_GT(title->GetMatch()->GetGlobbo1()->GetMouthBody()->GetLinearVelocity().y, 0.0f);
    for (int i = 0; i < 20; ++i) {
        title->Update(application, 0.02f);
    }
    ASSERT_FALSE(Same(Bodies(TitleLevel()), bottleStart));
    GameRandom::GetInstance().SetSeed(9);
    title->OnFSCommand("bottleready");
    EXPECT_TRUE(Same(Bodies(TitleLevel()), bottleStart));
    EXPECT_FLOAT_EQ(title->GetRecording()->NextFrameTime(), 0.02f);
    EXPECT_FALSE(title->GetMatch()->m_AutoEnd);
}

TEST_F(GUIGameTitleTest, a_command_or_stopped_leaves_for_the_main_menu_at_the_next_update) {
    WriteRecording(kTitleScene1.recordingFile, Frames(200, "0.02"));
    auto owned = std::make_unique<GUIGameTitle>(director);
    GUIGameTitle& screen = *owned;
    director.RegisterTitle(std::move(owned));
    ASSERT_EQ(director.GetScreen(GUIDirector::kTitle), &screen);
    const struct {
        const char* what;
        std::function<void()> leave;
    } cases[] = {{"a controller's command",
                  [&] {
                      screen.OnCommand(controllers[1], Controller::kSpit);
                  }},
                 {"the movie's \"stopped\"", [&] {
                      screen.OnFSCommand("stopped");
                  }}};
    for (const auto& c : cases) {
        director.PopAll();
        screen.Load(kTitleDescription);
        director.PushScreen(GUIDirector::kTitle);
        director.Update(0.02f);
        const SpitGame* scene = screen.GetMatch();
        screen.OnFSCommand("EnableNavigation");
        screen.OnFSCommand("somethingelse");
        director.Update(0.02f);
        EXPECT_EQ(director.GetCurrentScreenId(), GUIDirector::kTitle) << c.what;
        EXPECT_EQ(screen.GetMatch(), scene) << c.what;
        c.leave();
        EXPECT_EQ(director.GetCurrentScreenId(), GUIDirector::kTitle) << c.what;
        director.Update(0.02f);
        EXPECT_EQ(director.GetIds(), std::deque<int>{GUIDirector::kMainMenu}) << c.what;
        ASSERT_NE(director.GetMainMenu().GetCurrentFocusItem(), nullptr) << c.what;
        EXPECT_EQ(director.GetMainMenu().GetCurrentFocusItem()->GetName(), "newgamepvp") << c.what;
    }
}

}  // namespace
}  // namespace gui_testing
