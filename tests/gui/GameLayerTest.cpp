// The game layer on the podium's level with shipped creatures: a script replays in its recorded
// steps whatever the length of the updates, steps too short for the physics only replay their
// input, a script without steps leaves the scene still, one update replays a bounded number of
// steps, N moves the controller from creature to creature, and recording stores the scene's
// steps and input.
#include "app/Application.h"
#include "app/EventPlayer.h"
#include "app/TinyxmlPhysfsProxy.h"
#include "game/CinematicGame.h"
#include "game/Globbo.h"
#include "gui/GameLayer.h"
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/WorldBodies.h"

#include <gtest/gtest.h>
#include <physfs.h>

#include <optional>

namespace gui_testing {
namespace {

constexpr const char* kLevel = "data/championship_podium_level.xml";
const std::array<std::string, 3> kCreatures = {"data/players/bubbles.xml", "data/players/sprout.xml",
                                               "data/players/hooligan.xml"};

// One recorded step: its length and the stick moves replayed before it (axis, position).
struct ScriptStep {
    float length;
    std::vector<std::pair<uint32_t, float>> moves;
};

class GameLayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Data.emplace();
        ASSERT_NE(PHYSFS_setWriteDir(m_Data->Path().c_str()), 0);
        TiXmlIOProxy::SetCurrent(&m_Proxy);
    }
    void TearDown() override {
        TiXmlIOProxy::SetCurrent(nullptr);
        m_Data.reset();
    }

    // Writes a script of the steps under the name.
    static void WriteScript(const std::string& file, const std::vector<ScriptStep>& steps) {
        EventPlayer script(file, true);
        for (const ScriptStep& step : steps) {
            for (const auto& [axis, position] : step.moves) {
                InputEvent move;
                move.type = InputEvent::JoyMoved;
                move.axis = axis;
                move.position = position;
                script.OnEvent(move);
            }
            script.RecordFrame(step.length, nullptr);
        }
        ASSERT_TRUE(script.Save());
    }
    static std::array<GameLayer::Place, 3> Places(const std::array<std::string, 3>& files) {
        return {GameLayer::Place{files[0], {0.0f, -40.0f}}, GameLayer::Place{files[1], {40.0f, 20.0f}},
                GameLayer::Place{files[2], {-40.0f, 20.0f}}};
    }
    // Every body of the scene's world where it is.
    static std::vector<b2Vec2> Bodies(const GameLayer& layer) {
        return BodyPositions(*layer.GetGame()->GetLevel().GetPhysics().GetWorld());
    }
    static bool Same(const std::vector<b2Vec2>& a, const std::vector<b2Vec2>& b) { return FarthestMove(a, b) == 0.0f; }
    static sf::Event KeyPress(sf::Keyboard::Key key, bool pressed = true) {
        sf::Event event;
        event.type = pressed ? sf::Event::KeyPressed : sf::Event::KeyReleased;
        event.key = {key, false, false, false, false};
        return event;
    }

    std::optional<GameDataCopy> m_Data;
    TinyxmlPhysfsProxy m_Proxy;
    Application& application = Application::GetInstance();
};

// The champion hops up, drops and sidles across its step in 60 steps of 0.02 s.
std::vector<ScriptStep> HopScript() {
    std::vector<ScriptStep> steps(60, ScriptStep{0.02f, {}});
    steps[0].moves = {{Joy::AxisY, -100.0f}};
    steps[12].moves = {{Joy::AxisY, 100.0f}};
    steps[24].moves = {{Joy::AxisY, 0.0f}, {Joy::AxisX, 80.0f}};
    steps[40].moves = {{Joy::AxisX, 0.0f}};
    return steps;
}

TEST_F(GameLayerTest, recorded_steps_replay_alike_at_any_update_length) {
    WriteScript("data/hop_script.txt", HopScript());
    WriteScript("data/still_script.txt", std::vector<ScriptStep>(60, ScriptStep{0.02f, {}}));

    // Each run updates until the script is over; the scene stepped by the recorded steps only.
    auto run = [&](const std::string& script, float update) {
        GameLayer layer("scene");
        layer.Start(Places(kCreatures), kLevel, script);
        EXPECT_NE(layer.GetScript()->NextFrameTime(), EventPlayer::kNoFrameLeft);
        for (float time = 0.0f; time < 1.5f; time += update) {
            layer.Update(application, update);
        }
        EXPECT_EQ(layer.GetScript()->NextFrameTime(), EventPlayer::kNoFrameLeft) << script << " " << update;
        return std::make_pair(Bodies(layer), layer.GetCreatureOfPlace(0)->m_Center);
    };
    const auto reference = run("data/hop_script.txt", 0.02f);
    for (float update : {0.005f, 0.05f, 0.013f}) {
        SCOPED_TRACE(update);
        const auto replayed = run("data/hop_script.txt", update);
        EXPECT_TRUE(Same(replayed.first, reference.first));
    }
    // The stick moved the champion: without it the scene ends elsewhere.
    const auto still = run("data/still_script.txt", 0.02f);
    EXPECT_FALSE(Same(still.first, reference.first));
    EXPECT_GT((still.second - reference.second).Length(), 0.5f);
}

TEST_F(GameLayerTest, steps_of_a_millisecond_or_less_replay_their_input_without_a_step) {
    struct Case {
        float length;
        bool steps;
    };
    for (const Case& c : {Case{0.0005f, false}, Case{0.001f, false}, Case{0.0f, false}, Case{0.002f, true}}) {
        SCOPED_TRACE(c.length);
        std::vector<ScriptStep> steps(10, ScriptStep{c.length, {}});
        for (size_t i = 0; i < steps.size(); ++i) {
            steps[i].moves = {{Joy::AxisX, static_cast<float>(i + 1) * 10.0f}};
        }
        WriteScript("data/short_script.txt", steps);
        GameLayer layer("scene");
        layer.Start(Places(kCreatures), kLevel, "data/short_script.txt");
        const std::vector<b2Vec2> before = Bodies(layer);
        layer.Update(application, 0.05f);
        EXPECT_EQ(layer.GetScript()->NextFrameTime(), EventPlayer::kNoFrameLeft);
        EXPECT_EQ(layer.GetScript()->GetJoystickAxis(0, Joy::AxisX), 100.0f);
        EXPECT_EQ(Same(Bodies(layer), before), !c.steps);
    }
}

TEST_F(GameLayerTest, a_script_without_steps_leaves_the_scene_still) {
    WriteScript("data/moves_only.txt", {});
    for (const char* script : {"data/missing_script.txt", "data/moves_only.txt"}) {
        SCOPED_TRACE(script);
        GameLayer layer("scene");
        layer.Start(Places(kCreatures), kLevel, script);
        ASSERT_NE(layer.GetGame(), nullptr);
        const std::vector<b2Vec2> before = Bodies(layer);
        for (int i = 0; i < 100; ++i) {
            layer.Update(application, 0.02f);
        }
        EXPECT_TRUE(Same(Bodies(layer), before));
    }
}

// Steps of no length: a long update replays at most kMaxStepsPerUpdate of them and drops the
// rest of its time.
TEST_F(GameLayerTest, one_update_replays_a_bounded_number_of_steps) {
    std::vector<ScriptStep> steps(200, ScriptStep{0.0f, {}});
    for (size_t i = 0; i < steps.size(); ++i) {
        steps[i].moves = {{Joy::AxisY, static_cast<float>(i)}};
    }
    WriteScript("data/burst_script.txt", steps);
    GameLayer layer("scene");
    layer.Start(Places(kCreatures), kLevel, "data/burst_script.txt");
    for (int update = 1; update <= 3; ++update) {
        layer.Update(application, 5.0f);
        EXPECT_EQ(layer.GetScript()->GetJoystickAxis(0, Joy::AxisY),
                  static_cast<float>(update * GameLayer::kMaxStepsPerUpdate - 1));
        EXPECT_EQ(layer.GetAccumulator(), 0.0f);
    }
}

TEST_F(GameLayerTest, n_moves_the_controller_to_the_next_creature_and_no_further) {
    struct Case {
        const char* what;
        std::array<std::string, 3> files;
        std::vector<std::pair<sf::Event, size_t>> presses;  // the key and the creature driven after it
    };
    const Case cases[] = {
        {"three creatures",
         kCreatures,
         {{KeyPress(sf::Keyboard::N), 1},
          {KeyPress(sf::Keyboard::M), 1},
          {KeyPress(sf::Keyboard::N, false), 1},
          {KeyPress(sf::Keyboard::N), 2},
          {KeyPress(sf::Keyboard::N), 2}}},
        {"two creatures",
         {kCreatures[0], kCreatures[1], ""},
         {{KeyPress(sf::Keyboard::N), 1}, {KeyPress(sf::Keyboard::N), 1}}},
        {"one creature", {kCreatures[0], "", ""}, {{KeyPress(sf::Keyboard::N), 0}}},
    };
    WriteScript("data/hop_script.txt", HopScript());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GameLayer layer("scene");
        layer.Start(Places(c.files), kLevel, "data/hop_script.txt");
        Controller* controller = layer.GetController();
        ASSERT_NE(controller, nullptr);
        const auto& creatures = layer.GetGame()->GetCreatures();
        EXPECT_EQ(controller->GetCreature(), creatures[0].get());
        EXPECT_EQ(controller->GetInput(), layer.GetScript());
        for (const auto& [event, driven] : c.presses) {
            layer.OnEvent(event);
            EXPECT_EQ(layer.GetDrivenIndex(), driven);
            EXPECT_EQ(controller->GetCreature(), creatures[driven].get());
            EXPECT_EQ(controller->GetInput(), layer.GetScript());
        }
        // The controller steers the creature it drives now, and only that one.
        const b2Vec2 first = creatures[0]->m_Center;
        for (int i = 0; i < 30; ++i) {
            layer.Update(application, 0.02f);
        }
        if (c.files[1].empty()) {
            EXPECT_GT((creatures[0]->m_Center - first).Length(), 0.5f);
        } else {
            EXPECT_LT((creatures[0]->m_Center - first).Length(), 0.5f);
        }
    }
}

TEST_F(GameLayerTest, places_without_a_file_add_no_creature_and_the_others_keep_their_places) {
    GameLayer layer("scene");
    layer.Start(Places({"", kCreatures[1], kCreatures[2]}), kLevel, "data/missing_script.txt");
    ASSERT_NE(layer.GetGame(), nullptr);
    EXPECT_EQ(layer.GetGame()->GetCreatures().size(), 2u);
    EXPECT_EQ(layer.GetCreatureOfPlace(0), nullptr);
    EXPECT_EQ(layer.GetController(), nullptr);
    ASSERT_NE(layer.GetCreatureOfPlace(2), nullptr);
    EXPECT_EQ(layer.GetCreatureOfPlace(2)->m_Name, "Hooligan");
    EXPECT_LT((layer.GetCreatureOfPlace(2)->m_Center - b2Vec2(-40.0f, 20.0f)).Length(), 1.0f);

    // A level that cannot be read plays no scene.
    layer.Start(Places(kCreatures), "data/no_such_level.xml", "data/missing_script.txt");
    EXPECT_EQ(layer.GetGame(), nullptr);
    EXPECT_EQ(layer.GetCreatureOfPlace(0), nullptr);
    layer.Update(application, 0.02f);
    layer.OnEvent(KeyPress(sf::Keyboard::N));
    NullTarget target;
    layer.Render(target, sf::RenderStates::Default);
}

TEST_F(GameLayerTest, recording_steps_the_scene_by_each_update_and_stores_steps_and_input) {
    {
        GameLayer layer("scene");
        layer.SetRecording(true);
        layer.Start(Places(kCreatures), kLevel, "data/recorded_script.txt");
        ASSERT_TRUE(layer.GetScript()->IsRecording());
        EXPECT_EQ(layer.GetController()->GetInput(), &application);
        const std::vector<b2Vec2> before = Bodies(layer);
        layer.Update(application, 0.02f);
        EXPECT_FALSE(Same(Bodies(layer), before));
        sf::Event move;
        move.type = sf::Event::JoystickMoved;
        move.joystickMove = {0, sf::Joystick::Y, -100.0f};
        layer.OnEvent(move);
        layer.OnEvent(KeyPress(sf::Keyboard::N));
        EXPECT_EQ(layer.GetController()->GetInput(), &application);
        for (int i = 0; i < 9; ++i) {
            layer.Update(application, 0.015f);
        }
        int frames = 0;
        int moves = 0;
        int keys = 0;
        int snapshots = 0;
        for (const StoredEvent& event : layer.GetScript()->GetEvents()) {
            frames += event.type == StoredEvent::kFrame ? 1 : 0;
            moves += event.type == StoredEvent::kJoyMoved ? 1 : 0;
            keys += event.type == StoredEvent::kKeyPressed ? 1 : 0;
            snapshots += event.type == StoredEvent::kSnapshot ? 1 : 0;
        }
        EXPECT_EQ(frames, 10);
        EXPECT_EQ(moves, 1);
        EXPECT_EQ(keys, 1);
        EXPECT_EQ(snapshots, 2);
    }
    // The recording went to the file as the layer went; it plays back in the recorded steps.
    GameLayer layer("scene");
    layer.Start(Places(kCreatures), kLevel, "data/recorded_script.txt");
    EXPECT_FLOAT_EQ(layer.GetScript()->NextFrameTime(), 0.02f);
    layer.Update(application, 0.02f);
    EXPECT_FLOAT_EQ(layer.GetScript()->NextFrameTime(), 0.015f);
}

}  // namespace
}  // namespace gui_testing
