// Matches without a real set-up: a match recorded from live controllers and replayed from its
// recording by scripted controllers, the scene of the podium, and the special levels' scenes.
#include "app/Application.h"
#include "app/ControllerFactory.h"
#include "app/EventPlayer.h"
#include "app/GameRandom.h"
#include "app/KeyCodes.h"
#include "app/ScriptedController.h"
#include "game/BodyRegistry.h"
#include "game/CinematicGame.h"
#include "game/Globbo.h"
#include "game/b2ConstantVolumeJoint.h"
#include "tests/game/window/MatchHarness.h"
#include "tools/recordings/HeldInput.h"

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_world.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

namespace match_testing {
namespace {

// A player's random input of one step: stick moves and button 0 for the gamepad, the arrows and
// right Control for the keyboard.
std::vector<InputEvent> RandomInput(std::mt19937& random) {
    std::vector<InputEvent> events;
    std::uniform_real_distribution<float> chance(0.0f, 1.0f);
    for (uint32_t axis : {Joy::AxisX, Joy::AxisY}) {
        if (chance(random) < 0.08f) {
            InputEvent move;
            move.type = InputEvent::JoyMoved;
            move.axis = axis;
            // Whole numbers, which the recording's XML file keeps exactly.
            move.position = static_cast<float>(std::uniform_int_distribution<int>(-100, 100)(random));
            events.push_back(move);
        }
    }
    if (chance(random) < 0.03f) {
        InputEvent button;
        button.type = InputEvent::JoyButtonPressed;
        button.button = 0;
        events.push_back(button);
    }
    for (uint32_t key : {Key::Left, Key::Right, Key::Up, Key::Down, Key::RControl}) {
        if (chance(random) < 0.05f) {
            InputEvent press;
            press.type = chance(random) < 0.5f ? InputEvent::KeyPressed : InputEvent::KeyReleased;
            press.key = key;
            events.push_back(press);
        }
    }
    return events;
}

class ScriptedMatch : public GameFolder {
protected:
    std::unique_ptr<SpitGame> Scripted(Level& level, const std::string& file, const b2Vec2& at1, Controller* one,
                                       const b2Vec2& at2, Controller* two) {
        const std::vector<std::string> creatures = ShippedCreatureFiles();
        auto game = std::make_unique<SpitGame>(file, &level, creatures[0], at1, one, creatures[1], at2, two);
        EXPECT_TRUE(game->HasLevel()) << file;
        return game;
    }
};

constexpr int kRecordedSteps = 1500;

// Live gamepad and keyboard controllers play a match on the windmill level while its input is
// recorded (each step: the input's events, the recorded frame, the update); scripted controllers
// replaying the saved recording in a fresh match reach the same state at every step. The
// recording holds no body snapshots: a replay of the same input is exact without them, and
// putting a body back where it already is moves its broad-phase box, which changes the order in
// which the next step meets its contacts.
TEST_F(ScriptedMatch, a_recorded_match_replays_to_the_same_state) {
    const std::string levelFile = Level::kWindmillLevel;
    std::vector<uint64_t> recorded;
    {
        GameRandom::GetInstance().SetSeed(3);
        std::unique_ptr<Level> level = NewLevel(levelFile);
        std::unique_ptr<Controller> gamepad(CreateController("data/controls/gamepad_1.xml"));
        std::unique_ptr<Controller> keyboard(CreateController("data/controls/keyboard_arrows.xml"));
        ASSERT_TRUE(gamepad && keyboard);
        EventPlayer recording("demo.xml", true);
        HeldInput input;
        std::unique_ptr<SpitGame> game =
            Scripted(*level, levelFile, {-30.0f, 2.0f}, gamepad.get(), {30.0f, 2.0f}, keyboard.get());
        gamepad->Attach(game->GetGlobbo1(), &input);
        keyboard->Attach(game->GetGlobbo2(), &input);
        std::mt19937 random(17);
        for (int step = 0; step < kRecordedSteps; ++step) {
            for (const InputEvent& event : RandomInput(random)) {
                recording.OnEvent(event);
                input.Apply(event);
                gamepad->OnEvent(event);
                keyboard->OnEvent(event);
            }
            recording.RecordFrame(kStep, nullptr);
            game->Update(Application::GetInstance(), kStep);
            recorded.push_back(StateHash(*game));
        }
        EXPECT_GT(game->GetStatistics().player1.numShots + game->GetStatistics().player2.numShots, 0);
        ASSERT_TRUE(recording.Save());
    }
    std::filesystem::copy_file(UserDir() / "demo.xml", OwnDir() / "demo.xml");

    GameRandom::GetInstance().SetSeed(3);
    std::unique_ptr<Level> level = NewLevel(levelFile);
    EventPlayer player("demo.xml", false);
    ScriptedController gamepad(&player, true);
    ScriptedController keyboard(&player, false);
    std::unique_ptr<SpitGame> game = Scripted(*level, levelFile, {-30.0f, 2.0f}, &gamepad, {30.0f, 2.0f}, &keyboard);
    gamepad.Attach(game->GetGlobbo1(), &player);
    keyboard.Attach(game->GetGlobbo2(), &player);
    std::vector<uint64_t> replayed;
    while (player.NextFrameTime() < EventPlayer::kNoFrameLeft) {
        const float step = player.NextFrameTime();
        player.PlayFrame(level->GetPhysics().GetWorld());
        game->Update(Application::GetInstance(), step);
        replayed.push_back(StateHash(*game));
    }
    ASSERT_EQ(replayed.size(), recorded.size());
    for (size_t i = 0; i < recorded.size(); ++i) {
        ASSERT_EQ(replayed[i], recorded[i]) << "step " << i;
    }
}

// A replayed match keeps no championship result and lets go only of its own controllers; it
// shows no life bars and names no players.
TEST_F(ScriptedMatch, a_scripted_match_keeps_no_result_and_detaches_only_its_own_controllers) {
    Application& application = Application::GetInstance();
    application.matchSetup.mode = MatchSetup::Championship;
    Level level;
    RandomController one(1);
    RandomController two(2);
    std::unique_ptr<SpitGame> game =
        Scripted(level, "data/tutorial_level.xml", {15.0f, 15.0f}, &one, {-15.0f, 15.0f}, &two);
    EXPECT_EQ(game->m_State, SpitGame::kPlaying);
    EXPECT_EQ(game->GetScoreMovie().GetRoot(), nullptr);
    EXPECT_EQ(game->GetCountdownMovie().GetRoot(), nullptr);
    EXPECT_FALSE(game->HasBot());
    one.Attach(game->GetGlobbo1(), nullptr);
    two.Attach(game->GetGlobbo2(), nullptr);
    application.controllers.push_back(std::make_unique<RandomController>(3));
    Globbo* elsewhere = game->GetGlobbo1();
    application.controllers.back()->Attach(elsewhere, nullptr);
    game->EndMatch();
    EXPECT_EQ(game->m_State, SpitGame::kOver);
    EXPECT_EQ(one.GetCreature(), nullptr);
    EXPECT_EQ(two.GetCreature(), nullptr);
    EXPECT_EQ(application.controllers.back()->GetCreature(), elsewhere);
    EXPECT_TRUE(application.matchSetup.results.empty());
    EXPECT_TRUE(game->GetStatistics().player1.playerId.empty());
    game.reset();
    // Its creatures are gone: nothing may steer them any more.
    EXPECT_EQ(application.controllers.back()->GetCreature(), nullptr);
    application.controllers.pop_back();
}

// A controller that counts its updates and its destructions.
class CountingController : public RandomController {
public:
    CountingController(int& destroyed, std::vector<int>& updates, int number)
        : RandomController(static_cast<uint32_t>(number)),
          m_Destroyed(destroyed),
          m_Updates(updates),
          m_Number(number) {}
    ~CountingController() override { ++m_Destroyed; }
    void Update(float dt) override {
        m_Updates.push_back(m_Number);
        RandomController::Update(dt);
    }

private:
    int& m_Destroyed;
    std::vector<int>& m_Updates;
    int m_Number;
};

constexpr const char* kPodiumLevel = "data/championship_podium_level.xml";

// The bodies of the scene's world in the registry: the level's balls and the creatures' parts.
size_t Registered(CinematicGame& scene) {
    return RegisteredBodies(scene.GetLevel().GetPhysics().GetWorld()).size();
}

TEST_F(ScriptedMatch, a_cinematic_owns_its_creatures_and_controllers_and_deletes_them_once) {
    const std::vector<std::string> creatures = ShippedCreatureFiles();
    int destroyed = 0;
    std::vector<int> updates;
    {
        CinematicGame scene(kPodiumLevel);
        ASSERT_TRUE(scene.HasLevel());
        const size_t before = Registered(scene);
        Globbo* first =
            scene.AddGlobbo(creatures[0], {0.0f, -40.0f}, std::make_unique<CountingController>(destroyed, updates, 1));
        Globbo* second = scene.AddGlobbo(creatures[1], {40.0f, 20.0f}, nullptr);
        Globbo* third =
            scene.AddGlobbo(creatures[2], {-40.0f, 20.0f}, std::make_unique<CountingController>(destroyed, updates, 3));
        ASSERT_TRUE(first && second && third);
        EXPECT_EQ(scene.GetGlobbo1(), first);
        EXPECT_EQ(scene.GetGlobbo2(), second);
        EXPECT_EQ(scene.GetCreatures().size(), 3u);
        EXPECT_EQ(Registered(scene), before + 3 * (Globbo::kRingBodyCount + 2));
        scene.GetController(0)->Attach(first, nullptr);
        for (int step = 0; step < 3; ++step) {
            EXPECT_TRUE(scene.Update(Application::GetInstance(), kStep));
        }
        EXPECT_EQ(updates, (std::vector<int>{1, 3, 1, 3, 1, 3}));
        scene.EndMatch();
        scene.OnFSCommand("Go");
        EXPECT_TRUE(scene.Update(Application::GetInstance(), kStep));
        EXPECT_EQ(scene.GetStatistics().winner, GameStatistics::kUndecided);
        EXPECT_NEAR(first->GetJoint()->GetTargetVolume() / second->GetJoint()->GetTargetVolume(), 1.0f, 0.02f);
    }
    EXPECT_EQ(destroyed, 2);
}

// A file that names no creature - none at all, a missing file, a file without a "globbo" element -
// still adds a creature, built whole from the defaults (black, nameless, inflated as the others),
// and the scene keeps its controller: updated with it, and deleted only with the scene.
TEST_F(ScriptedMatch, a_cinematic_builds_a_default_creature_from_a_file_without_one_and_keeps_its_controller) {
    const std::filesystem::path plain = OwnDir() / "data/players/plain.xml";
    std::filesystem::create_directories(plain.parent_path());
    std::ofstream(plain) << "<resource><botsettings name=\"m_Settings\" /></resource>";
    const std::vector<std::string> files = {"", "data/players/none.xml", "data/players/plain.xml"};
    int destroyed = 0;
    std::vector<int> updates;
    {
        CinematicGame scene(kPodiumLevel);
        ASSERT_TRUE(scene.HasLevel());
        const size_t before = Registered(scene);
        const Globbo* shipped = scene.AddGlobbo(ShippedCreatureFiles()[0], {0.0f, -40.0f}, nullptr);
        for (size_t i = 0; i < files.size(); ++i) {
            SCOPED_TRACE(files[i]);
            const int number = static_cast<int>(i) + 1;
            auto owned = std::make_unique<CountingController>(destroyed, updates, number);
            const Controller* controller = owned.get();
            const Globbo* added = scene.AddGlobbo(files[i], {-40.0f + 40.0f * i, 20.0f}, std::move(owned));
            ASSERT_NE(added, nullptr);
            EXPECT_EQ(scene.GetCreatures().back().get(), added);
            EXPECT_EQ(scene.GetController(i + 1), controller);
            EXPECT_EQ(added->m_Name, "");
            EXPECT_EQ(added->m_BodyColor, sf::Color(0, 0, 0, 255));
            ASSERT_NE(added->GetJoint(), nullptr);
            EXPECT_NEAR(added->GetJoint()->GetTargetVolume() / shipped->GetJoint()->GetTargetVolume(), 1.0f, 0.02f);
        }
        EXPECT_EQ(scene.GetCreatures().size(), 4u);
        EXPECT_EQ(Registered(scene), before + 4 * (Globbo::kRingBodyCount + 2));
        EXPECT_TRUE(scene.Update(Application::GetInstance(), kStep));
        EXPECT_EQ(updates, (std::vector<int>{1, 2, 3}));
        EXPECT_EQ(destroyed, 0);
    }
    EXPECT_EQ(destroyed, 3);
    EXPECT_EQ(m_Log->Count("Globbo::Load: cannot read the creature "), 3);
}

// The scene's balls change colour without scores: taken in, held; let go, free but still its
// owner's, and - as the let-go rule makes a spat ball free at once - taken back in by the creature
// that spat it before its timer frees it. A ball just spat by another creature is not taken.
TEST_F(ScriptedMatch, a_cinematic_takes_only_free_balls_and_colours_them_by_owner) {
    const std::vector<std::string> creatures = ShippedCreatureFiles();
    CinematicGame scene("data/tutorial_level.xml");
    Globbo* one = scene.AddGlobbo(creatures[0], {15.0f, 15.0f}, nullptr);
    Globbo* two = scene.AddGlobbo(creatures[1], {-15.0f, 15.0f}, nullptr);
    Level& level = scene.GetLevel();
    Ball* ball = level.AddBall({40.0f, -20.0f});
    ASSERT_TRUE(one && two && ball);
    BodyRecord* record = FindBodyRecord(ball->GetBody());
    auto step = [&](int steps) {
        for (int i = 0; i < steps; ++i) {
            scene.Update(Application::GetInstance(), kStep);
        }
    };
    // Thrown onto a creature's skin: queued, taken in, held.
    auto throwAt = [&](const Globbo* creature) {
        const b2Vec2 side = creature->GetRingBodies()[0]->GetPosition();
        ball->GetBody()->SetTransform(side + b2Vec2(4.0f, 0.0f), 0.0f);
        ball->GetBody()->SetLinearVelocity(b2Vec2(-30.0f, 0.0f));
    };
    throwAt(one);
    step(15);
    EXPECT_EQ(record->state, kBallHeld);
    EXPECT_EQ(record->owner, one);
    // Out again: free, one's, on its timer; thrown back at one, taken again before the timer ends.
    ball->GetBody()->SetTransform({40.0f, -20.0f}, 0.0f);
    ball->GetBody()->SetLinearVelocity(b2Vec2_zero);
    step(1);
    EXPECT_EQ(record->state, kBallFree);
    EXPECT_EQ(record->owner, one);
    EXPECT_GT(record->neutralTimer, 4.0f);
    throwAt(one);
    step(15);
    EXPECT_EQ(record->state, kBallHeld);
    EXPECT_LT(record->neutralTimer, 0.0f);
    // Just spat by one and thrown at two: two's skin does not take it.
    ball->GetBody()->SetTransform({40.0f, -20.0f}, 0.0f);
    step(1);
    record->state = kBallSpat;
    throwAt(two);
    step(15);
    EXPECT_EQ(record->state, kBallSpat);
    EXPECT_EQ(record->owner, one);
    const b2Vec2 p = ball->GetBody()->GetPosition();
    EXPECT_FALSE(two->IsPointInside(p.x, p.y));
}

// Each scene outside matches builds and plays as its screen sets it up.
TEST_F(ScriptedMatch, the_special_levels_build_their_scenes) {
    struct Scene {
        std::string file;
        b2Vec2 at1;
        b2Vec2 at2;
        float inflation;
        b2Vec2 velocity;
        // Where both creatures' centres are after 6 s: left, top, right, bottom.
        b2Vec2 low;
        b2Vec2 high;
    };
    const Scene scenes[] = {
        {"data/gametitle_level_empty.xml",
         {80.0f, -30.0f},
         {60.0f, -20.0f},
         1.3f,
         {-70.0f, 20.0f},
         {-50.0f, -37.5f},
         {50.0f, 37.5f}},
        {"data/gametitle_level_bottle.xml",
         {5.0f, -80.0f},
         {5.0f, -60.0f},
         1.2f,
         {0.0f, 50.0f},
         {-19.0f, -24.0f},
         {29.0f, 30.0f}},
        {"data/tutorial_level.xml",
         {15.0f, 15.0f},
         {-15.0f, 15.0f},
         1.0f,
         {0.0f, 0.0f},
         {-50.0f, -37.5f},
         {50.0f, 37.5f}},
        {"data/tutorial_level_fun.xml",
         {15.0f, 5.0f},
         {-15.0f, 5.0f},
         1.0f,
         {0.0f, 0.0f},
         {-50.0f, -37.5f},
         {50.0f, 37.5f}},
    };
    for (const Scene& scene : scenes) {
        SCOPED_TRACE(scene.file);
        Level level;
        std::unique_ptr<SpitGame> game = Scripted(level, scene.file, scene.at1, nullptr, scene.at2, nullptr);
        game->m_AutoEnd = false;
        if (scene.file == "data/tutorial_level.xml") {
            for (b2Vec2 at : {b2Vec2(-20.0f, 15.0f), b2Vec2(-20.0f, 0.0f), b2Vec2(0.0f, 5.0f)}) {
                EXPECT_NE(level.AddBall(at), nullptr);
            }
        }
        if (scene.file == "data/tutorial_level_fun.xml") {
            b2Body* plank = level.GetBodyByName("Plank");
            ASSERT_NE(plank, nullptr);
            EXPECT_EQ(plank->GetType(), b2_dynamicBody);
        }
        for (Globbo* creature : {game->GetGlobbo1(), game->GetGlobbo2()}) {
            creature->GetJoint()->Inflate(scene.inflation);
            creature->SetLinearVelocity(scene.velocity);
        }
        // Creatures thrown or dropped in start outside the arena: checked once they are in.
        MatchChecks checks(*game);
        for (int step = 0; step < 300; ++step) {
            game->Update(Application::GetInstance(), kStep);
            if (step >= 200) {
                ASSERT_EQ(checks.Check(*game), "") << "step " << step;
            }
        }
        for (const Globbo* creature : {game->GetGlobbo1(), game->GetGlobbo2()}) {
            EXPECT_GT(creature->m_Center.x, scene.low.x);
            EXPECT_GT(creature->m_Center.y, scene.low.y);
            EXPECT_LT(creature->m_Center.x, scene.high.x);
            EXPECT_LT(creature->m_Center.y, scene.high.y);
        }
    }

    // The podium: each creature stands still on a step just below it.
    CinematicGame podium(kPodiumLevel);
    const std::vector<std::string> creatures = ShippedCreatureFiles();
    const b2Vec2 places[] = {{0.0f, -40.0f}, {40.0f, 20.0f}, {-40.0f, 20.0f}};
    for (size_t i = 0; i < 3; ++i) {
        ASSERT_NE(podium.AddGlobbo(creatures[i], places[i], nullptr), nullptr);
    }
    for (int step = 0; step < 150; ++step) {
        podium.Update(Application::GetInstance(), kStep);
    }
    b2World* world = podium.GetLevel().GetPhysics().GetWorld();
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_LT((podium.GetCreatures()[i]->m_Center - places[i]).Length(), 1.0f) << i;
        struct Below : b2RayCastCallback {
            float ReportFixture(b2Fixture* fixture, const b2Vec2&, const b2Vec2&, float fraction) override {
                if (FindBodyRecord(fixture->GetBody()) == nullptr) {
                    nearest = std::min(nearest, fraction);
                }
                return 1.0f;
            }
            float nearest = 2.0f;
        } below;
        world->RayCast(&below, places[i], places[i] + b2Vec2(0.0f, 10.0f));
        EXPECT_GT(below.nearest, 0.45f) << "step under creature " << i;
        EXPECT_LT(below.nearest, 0.75f) << "step under creature " << i;
    }
    EXPECT_EQ(m_Log->Count("Level::Load"), 0) << m_Log->Text();
    EXPECT_EQ(m_Log->Count("Globbo::"), 0) << m_Log->Text();
}

}  // namespace
}  // namespace match_testing
