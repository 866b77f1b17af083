#include "app/EventPlayer.h"
#include "app/KeyCodes.h"
#include "tests/app/VirtualFolders.h"
#include "tests/support/FileTail.h"

#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_world.h>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

using testing_support::WriteFile;

namespace {

InputEvent Press(uint32_t code, InputEvent::Type type = InputEvent::KeyPressed, bool alt = false) {
    return {.type = type, .key = code, .alt = alt};
}

// Keeps what a player's signal sends, as "type key joystick button axis position".
class Listener : public sigslot::has_slots<> {
public:
    explicit Listener(EventPlayer& player) { player.signal.connect(this, &Listener::OnEvent); }
    void OnEvent(const InputEvent& e) {
        std::ostringstream text;
        text << e.type << " " << e.key << " " << e.joystick << " " << e.button << " " << e.axis << " " << e.position;
        events.push_back(text.str());
    }

    std::vector<std::string> events;
};

// A world without gravity of n moving balls, the i-th made at (i, 2i) with velocity (i, -i) and
// angle 0.1 i. The world lists its bodies newest first.
std::unique_ptr<b2World> MakeWorld(int bodies) {
    auto world = std::make_unique<b2World>(b2Vec2(0.0f, 0.0f));
    b2CircleShape circle;
    circle.m_radius = 0.25f;
    for (int i = 0; i < bodies; ++i) {
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.position.Set(static_cast<float>(i), 2.0f * i);
        def.linearVelocity.Set(static_cast<float>(i), -static_cast<float>(i));
        def.angle = 0.1f * i;
        world->CreateBody(&def)->CreateFixture(&circle, 1.0f);
    }
    return world;
}

std::vector<b2Body*> Bodies(b2World& world) {
    std::vector<b2Body*> bodies;
    for (b2Body* body = world.GetBodyList(); body != nullptr; body = body->GetNext()) {
        bodies.push_back(body);
    }
    return bodies;
}

// Moves every body to (100, 100) at rest, so that a restored snapshot shows.
void Scatter(b2World& world) {
    for (b2Body* body : Bodies(world)) {
        body->SetTransform(b2Vec2(100.0f, 100.0f), body->GetAngle());
        body->SetLinearVelocity(b2Vec2(0.0f, 0.0f));
    }
}

std::vector<uint32_t> Types(const EventPlayer& player) {
    std::vector<uint32_t> types;
    for (const StoredEvent& event : player.GetEvents()) {
        types.push_back(event.type);
    }
    return types;
}

// Recordings are written into the write directory, the user folder.
class EventPlayerTest : public VirtualFolders {};

}  // namespace

// Each playback call replays one recorded step, whatever its stored length: a three-step
// recording with input in the second step gives that input on the second call. Replayed events
// carry no joystick number; the player then answers with the replayed key and axis states.
TEST_F(EventPlayerTest, three_recorded_frames_play_back_in_three_calls_with_the_input_in_the_second) {
    {
        EventPlayer recorder("rec.xml", true);
        recorder.RecordFrame(0.02f, nullptr);
        recorder.OnEvent(Press(Key::Up));
        recorder.OnEvent({.type = InputEvent::JoyMoved, .joystick = 2, .axis = Joy::AxisY, .position = -75.0f});
        recorder.OnEvent({.type = InputEvent::JoyButtonPressed, .button = 3});
        recorder.RecordFrame(0.05f, nullptr);
        recorder.OnEvent(Press(Key::Up, InputEvent::KeyReleased));
        recorder.RecordFrame(0.02f, nullptr);
    }
    EventPlayer player("/userfolder/rec.xml", false);
    Listener listener(player);
    EXPECT_FLOAT_EQ(player.NextFrameTime(), 0.02f);
    player.PlayFrame(nullptr);
    EXPECT_TRUE(listener.events.empty());
    EXPECT_FALSE(player.IsKeyDown(Key::Up));
    EXPECT_FLOAT_EQ(player.NextFrameTime(), 0.05f);

    player.PlayFrame(nullptr);
    const std::string up = std::to_string(Key::Up), axisY = std::to_string(Joy::AxisY);
    EXPECT_EQ(listener.events,
              (std::vector<std::string>{"0 " + up + " 0 0 0 0", "3 0 0 0 " + axisY + " -75", "2 0 0 3 0 0"}));
    EXPECT_TRUE(player.IsKeyDown(Key::Up));
    // Any joystick number reads the replayed axis; axes never replayed read 0.
    EXPECT_EQ(player.GetJoystickAxis(5, Joy::AxisY), -75.0f);
    EXPECT_EQ(player.GetJoystickAxis(0, Joy::AxisX), 0.0f);

    player.PlayFrame(nullptr);
    ASSERT_EQ(listener.events.size(), 4u);
    EXPECT_EQ(listener.events[3], "1 " + up + " 0 0 0 0");
    EXPECT_FALSE(player.IsKeyDown(Key::Up));
    EXPECT_EQ(player.NextFrameTime(), EventPlayer::kNoFrameLeft);
    // Past the end nothing more happens, and the last states stay.
    player.PlayFrame(nullptr);
    EXPECT_EQ(listener.events.size(), 4u);
    EXPECT_EQ(player.GetJoystickAxis(0, Joy::AxisY), -75.0f);
}

// A recorder replays nothing and an empty one writes no file; a player records nothing, and a
// missing recording replays nothing and reads every key up.
TEST_F(EventPlayerTest, recorders_only_record_and_players_only_play) {
    {
        EventPlayer recorder("rec.xml", true);
        recorder.PlayFrame(nullptr);
        EXPECT_EQ(recorder.NextFrameTime(), EventPlayer::kNoFrameLeft);
        EXPECT_TRUE(recorder.GetEvents().empty());
    }
    EXPECT_FALSE(std::filesystem::exists(UserDir() / "rec.xml"));

    EventPlayer player("missing.xml", false);
    Listener listener(player);
    player.OnEvent(Press(Key::A));
    player.RecordFrame(0.02f, nullptr);
    player.PlayFrame(nullptr);
    EXPECT_TRUE(player.GetEvents().empty());
    EXPECT_TRUE(listener.events.empty());
    EXPECT_FALSE(player.IsKeyDown(Key::A));
    EXPECT_EQ(player.GetJoystickAxis(0, Joy::AxisX), 0.0f);
    EXPECT_EQ(player.NextFrameTime(), EventPlayer::kNoFrameLeft);
}

// A snapshot (type 6) comes with the first step and then with every fifth step of 0.02 s; steps
// without a world let the timer run all the same.
TEST_F(EventPlayerTest, snapshots_are_taken_at_once_then_every_fifth_step_of_20_ms) {
    std::unique_ptr<b2World> world = MakeWorld(3);
    EventPlayer recorder("rec.xml", true);
    for (int i = 0; i < 11; ++i) {
        recorder.RecordFrame(0.02f, world.get());
    }
    EXPECT_EQ(Types(recorder), (std::vector<uint32_t>{6, 1, 1, 1, 1, 1, 6, 1, 1, 1, 1, 1, 6, 1}));
    // Recordings hold positions in "data" and velocities in "data2", newest body first.
    const StoredEvent& snapshot = recorder.GetEvents()[0];
    EXPECT_EQ(snapshot.data.at(0), b2Vec2(2.0f, 4.0f));
    EXPECT_EQ(snapshot.data2.at(0), b2Vec2(2.0f, -2.0f));

    EventPlayer worldless("other.xml", true);
    for (int i = 0; i < 6; ++i) {
        worldless.RecordFrame(0.02f, nullptr);
    }
    worldless.RecordFrame(0.02f, world.get());
    EXPECT_EQ(Types(worldless), std::vector<uint32_t>(7, 1)) << "the sixth step had the snapshot; the seventh has none";
}

// Playback puts each body back in list order where the stored entry says, keeping its angle.
// Bodies beyond the stored ones stay put, with a desync message; stored entries beyond the world's
// bodies are ignored.
TEST_F(EventPlayerTest, snapshots_put_as_many_bodies_back_as_both_sides_have) {
    const std::filesystem::path log = LogFile();
    const struct { int recorded, played; } rows[] = {{4, 4}, {10, 12}, {5, 2}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.recorded << " bodies recorded, " << row.played << " played");
        EventPlayer("rec.xml", true).RecordFrame(0.02f, MakeWorld(row.recorded).get());
        std::unique_ptr<b2World> world = MakeWorld(row.played);
        Scatter(*world);
        std::vector<b2Body*> bodies = Bodies(*world);
        bodies[1]->SetTransform(bodies[1]->GetPosition(), 2.5f);
        testing_support::FileTail messages(log);

        EventPlayer player("/userfolder/rec.xml", false);
        player.PlayFrame(world.get());
        for (int i = 0; i < row.played; ++i) {
            // The i-th stored entry is that of the recorded world's i-th newest body.
            const float n = static_cast<float>(row.recorded - 1 - i);
            const bool restored = i < row.recorded;
            EXPECT_EQ(bodies[i]->GetPosition(), restored ? b2Vec2(n, 2.0f * n) : b2Vec2(100.0f, 100.0f)) << i;
            EXPECT_EQ(bodies[i]->GetLinearVelocity(), restored ? b2Vec2(n, -n) : b2Vec2(0.0f, 0.0f)) << i;
        }
        EXPECT_FLOAT_EQ(bodies[1]->GetAngle(), 2.5f);
        EXPECT_FLOAT_EQ(bodies[0]->GetAngle(), 0.1f * static_cast<float>(row.played - 1));
        EXPECT_EQ(messages.Count(" ERROR: EventPlayer: desync during playback. Stored body count is " +
                                 std::to_string(row.recorded) + ", but there are more bodies in the scene."),
                  row.played > row.recorded ? 1 : 0)
            << messages.Text();
    }
}

// Snapshot entries that are no finite numbers leave their bodies alone, and stored step lengths
// that are no sane lengths count as no time.
TEST_F(EventPlayerTest, broken_recorded_values_are_ignored) {
    WriteFile(GameDir() / "broken.xml", R"(<resource><event type="6">
        <array name="data"><vec2 x="nan" y="1"/><vec2 x="1e30" y="0"/><vec2 x="5" y="6"/></array>
        <array name="data2"><vec2 x="0" y="0"/><vec2 x="0" y="0"/><vec2 x="inf" y="0"/></array>
    </event><event type="1" value="nan"/><event type="1" value="-1"/><event type="1" value="0.5"/></resource>)");
    std::unique_ptr<b2World> world = MakeWorld(3);
    Scatter(*world);
    EventPlayer player("broken.xml", false);
    EXPECT_EQ(player.NextFrameTime(), 0.0f);
    player.PlayFrame(world.get());
    for (b2Body* body : Bodies(*world)) {
        EXPECT_EQ(body->GetPosition(), b2Vec2(100.0f, 100.0f));
    }
    world->Step(0.02f, 8, 3);
    EXPECT_EQ(player.NextFrameTime(), 0.0f);
    player.PlayFrame(nullptr);
    EXPECT_EQ(player.NextFrameTime(), 0.5f);
}

// Alt+Z saves what was recorded before the press; a later save writes the whole recording as a
// new file, each event once.
TEST_F(EventPlayerTest, alt_z_saves_before_the_press_and_each_save_writes_every_event_once) {
    EventPlayer recorder("rec.xml", true);
    recorder.RecordFrame(0.02f, nullptr);
    recorder.OnEvent(Press(Key::Z));
    EXPECT_FALSE(std::filesystem::exists(UserDir() / "rec.xml"));
    recorder.OnEvent(Press(Key::Z, InputEvent::KeyPressed, true));
    EXPECT_EQ(Types(EventPlayer("/userfolder/rec.xml", false)), (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(Types(recorder), (std::vector<uint32_t>{1, 2, 2}));
    ASSERT_TRUE(recorder.Save());
    ASSERT_TRUE(recorder.Save());
    EXPECT_EQ(Types(EventPlayer("/userfolder/rec.xml", false)), (std::vector<uint32_t>{1, 2, 2}));
}
