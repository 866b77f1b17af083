#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_world.h>

#include "app/EventPlayer.h"
#include "app/KeyCodes.h"
#include "app/Logger.h"
#include "serializeme/BinaryStorageBuffer.h"
#include "tests/app/VirtualFolders.h"

using testing_support::ReadFile;
using testing_support::WriteFile;

namespace {

InputEvent Press(uint32_t code, InputEvent::Type type = InputEvent::KeyPressed, bool alt = false) {
    InputEvent event;
    event.type = type;
    event.key = code;
    event.alt = alt;
    return event;
}

// Keeps what a player's signal sends.
class Listener : public sigslot::has_slots<> {
public:
    explicit Listener(EventPlayer& player) { player.signal.connect(this, &Listener::OnEvent); }
    void OnEvent(const InputEvent& event) { events.push_back(event); }

    std::vector<InputEvent> events;
};

// A world without gravity of n moving balls, the i-th at (i, 2i) with velocity (i, -i).
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

// The game's log, in a user folder of this process's own when the logger is made here: CTest runs
// the tests as parallel processes, which would otherwise share one log file and empty it at each
// start.
std::filesystem::path LogFile() {
    static const testing_support::TempDir dataHome;
    if (!Logger::IsAlive()) {
        setenv("XDG_DATA_HOME", dataHome.Path().c_str(), 1);
    }
    return Logger::GetInstance().GetLogFile();
}

class EventPlayerTest : public VirtualFolders {};

}  // namespace

TEST_F(EventPlayerTest, three_recorded_frames_play_back_in_three_calls_with_the_press_in_the_second) {
    {
        EventPlayer recorder("rec.xml", true);
        recorder.RecordFrame(0.02f, nullptr);
        recorder.OnEvent(Press(Key::Up));
        recorder.RecordFrame(0.02f, nullptr);
        recorder.RecordFrame(0.02f, nullptr);
    }
    ASSERT_TRUE(std::filesystem::exists(UserDir() / "rec.xml"));

    // The recording is written into the write directory, the user folder.
    EventPlayer player("/userfolder/rec.xml", false);
    Listener listener(player);
    EXPECT_FLOAT_EQ(player.NextFrameTime(), 0.02f);
    player.PlayFrame(nullptr);
    EXPECT_TRUE(listener.events.empty());
    EXPECT_FALSE(player.IsKeyDown(Key::Up));
    player.PlayFrame(nullptr);
    ASSERT_EQ(listener.events.size(), 1u);
    EXPECT_EQ(listener.events[0].type, InputEvent::KeyPressed);
    EXPECT_EQ(listener.events[0].key, uint32_t(Key::Up));
    EXPECT_TRUE(player.IsKeyDown(Key::Up));
    player.PlayFrame(nullptr);
    EXPECT_EQ(listener.events.size(), 1u);
    EXPECT_EQ(player.NextFrameTime(), EventPlayer::kNoFrameLeft);
    // Past the end nothing more happens, and the last states stay.
    player.PlayFrame(nullptr);
    EXPECT_EQ(listener.events.size(), 1u);
    EXPECT_TRUE(player.IsKeyDown(Key::Up));
}

TEST_F(EventPlayerTest, input_events_are_recorded_and_replayed_with_their_states) {
    EventPlayer recorder("rec.xml", true);
    InputEvent move;
    move.type = InputEvent::JoyMoved;
    move.axis = Joy::AxisY;
    move.position = -75.0f;
    move.joystick = 2;
    InputEvent button;
    button.type = InputEvent::JoyButtonPressed;
    button.button = 3;
    recorder.OnEvent(Press(Key::A));
    recorder.OnEvent(move);
    recorder.OnEvent(button);
    recorder.OnEvent(Press(Key::A, InputEvent::KeyReleased));
    recorder.RecordFrame(0.05f, nullptr);
    ASSERT_TRUE(recorder.Save());

    EventPlayer player("/userfolder/rec.xml", false);
    Listener listener(player);
    EXPECT_EQ(player.GetJoystickAxis(0, Joy::AxisY), 0.0f);
    EXPECT_FLOAT_EQ(player.NextFrameTime(), 0.05f);
    player.PlayFrame(nullptr);
    ASSERT_EQ(listener.events.size(), 4u);
    EXPECT_EQ(listener.events[0].type, InputEvent::KeyPressed);
    EXPECT_EQ(listener.events[1].type, InputEvent::JoyMoved);
    EXPECT_EQ(listener.events[1].axis, uint32_t(Joy::AxisY));
    EXPECT_EQ(listener.events[1].position, -75.0f);
    // Replayed events carry no joystick number.
    EXPECT_EQ(listener.events[1].joystick, 0u);
    EXPECT_EQ(listener.events[2].type, InputEvent::JoyButtonPressed);
    EXPECT_EQ(listener.events[2].button, 3u);
    EXPECT_EQ(listener.events[3].type, InputEvent::KeyReleased);
    // Any joystick number reads the replayed axis; axes never replayed read 0.
    EXPECT_EQ(player.GetJoystickAxis(5, Joy::AxisY), -75.0f);
    EXPECT_EQ(player.GetJoystickAxis(0, Joy::AxisX), 0.0f);
    EXPECT_FALSE(player.IsKeyDown(Key::A));
}

TEST_F(EventPlayerTest, other_events_and_playback_calls_do_not_record) {
    EventPlayer recorder("rec.xml", true);
    recorder.PlayFrame(nullptr);
    EXPECT_EQ(recorder.NextFrameTime(), EventPlayer::kNoFrameLeft);
    EXPECT_TRUE(recorder.GetEvents().empty());

    EventPlayer player("missing.xml", false);
    player.OnEvent(Press(Key::A));
    player.RecordFrame(0.02f, nullptr);
    EXPECT_TRUE(player.GetEvents().empty());
}

TEST_F(EventPlayerTest, snapshots_are_taken_at_once_then_every_fifth_step_of_20_ms) {
    std::unique_ptr<b2World> world = MakeWorld(3);
    EventPlayer recorder("rec.xml", true);
    for (int i = 0; i < 11; ++i) {
        recorder.RecordFrame(0.02f, world.get());
    }
    const std::vector<uint32_t> expected = {6, 1, 1, 1, 1, 1, 6, 1, 1, 1, 1, 1, 6, 1};
    EXPECT_EQ(Types(recorder), expected);
    const StoredEvent& snapshot = recorder.GetEvents()[0];
    ASSERT_EQ(snapshot.data.size(), 3u);
    ASSERT_EQ(snapshot.data2.size(), 3u);
    std::vector<b2Body*> bodies = Bodies(*world);
    for (size_t i = 0; i < bodies.size(); ++i) {
        EXPECT_EQ(snapshot.data[i], bodies[i]->GetPosition());
        EXPECT_EQ(snapshot.data2[i], bodies[i]->GetLinearVelocity());
    }
}

TEST_F(EventPlayerTest, without_a_world_the_snapshot_timer_still_runs) {
    EventPlayer recorder("rec.xml", true);
    for (int i = 0; i < 6; ++i) {
        recorder.RecordFrame(0.02f, nullptr);
    }
    std::unique_ptr<b2World> world = MakeWorld(1);
    recorder.RecordFrame(0.02f, world.get());
    // The sixth step would have had a snapshot; the seventh has none.
    EXPECT_EQ(Types(recorder), std::vector<uint32_t>(7, 1));
}

TEST_F(EventPlayerTest, snapshots_put_the_bodies_back_keeping_their_angles) {
    std::unique_ptr<b2World> world = MakeWorld(4);
    {
        EventPlayer recorder("rec.xml", true);
        recorder.RecordFrame(0.02f, world.get());
    }
    Scatter(*world);
    std::vector<b2Body*> bodies = Bodies(*world);
    bodies[1]->SetTransform(bodies[1]->GetPosition(), 2.5f);

    EventPlayer player("/userfolder/rec.xml", false);
    player.PlayFrame(world.get());
    for (size_t i = 0; i < bodies.size(); ++i) {
        // Bodies are listed newest first.
        const float n = static_cast<float>(bodies.size() - 1 - i);
        EXPECT_EQ(bodies[i]->GetPosition(), b2Vec2(n, 2.0f * n)) << i;
        EXPECT_EQ(bodies[i]->GetLinearVelocity(), b2Vec2(n, -n)) << i;
    }
    EXPECT_FLOAT_EQ(bodies[1]->GetAngle(), 2.5f);
    EXPECT_FLOAT_EQ(bodies[0]->GetAngle(), 0.3f);
}

TEST_F(EventPlayerTest, a_world_with_more_bodies_than_stored_gets_the_stored_ones_and_a_desync_message) {
    const std::filesystem::path log = LogFile();
    std::unique_ptr<b2World> small = MakeWorld(10);
    {
        EventPlayer recorder("rec.xml", true);
        recorder.RecordFrame(0.02f, small.get());
    }
    std::unique_ptr<b2World> large = MakeWorld(12);
    Scatter(*large);
    EventPlayer player("/userfolder/rec.xml", false);
    player.PlayFrame(large.get());
    std::vector<b2Body*> bodies = Bodies(*large);
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_NE(bodies[i]->GetPosition(), b2Vec2(100.0f, 100.0f)) << i;
    }
    EXPECT_EQ(bodies[10]->GetPosition(), b2Vec2(100.0f, 100.0f));
    EXPECT_EQ(bodies[11]->GetPosition(), b2Vec2(100.0f, 100.0f));
    EXPECT_NE(ReadFile(log).find(" ERROR: EventPlayer: desync during playback. Stored body count is 10, but there are more "
                       "bodies in the scene."),
              std::string::npos);
}

TEST_F(EventPlayerTest, a_world_with_fewer_bodies_than_stored_ignores_the_extra_entries) {
    std::unique_ptr<b2World> large = MakeWorld(5);
    {
        EventPlayer recorder("rec.xml", true);
        recorder.RecordFrame(0.02f, large.get());
    }
    std::unique_ptr<b2World> small = MakeWorld(2);
    Scatter(*small);
    EventPlayer player("/userfolder/rec.xml", false);
    player.PlayFrame(small.get());
    // The first two stored entries are those of the large world's newest bodies.
    std::vector<b2Body*> bodies = Bodies(*small);
    EXPECT_EQ(bodies[0]->GetPosition(), b2Vec2(4.0f, 8.0f));
    EXPECT_EQ(bodies[1]->GetPosition(), b2Vec2(3.0f, 6.0f));
}

TEST_F(EventPlayerTest, broken_snapshot_entries_leave_their_bodies_alone) {
    WriteFile(GameDir() / "broken.xml", R"(<resource><event type="6">
        <array name="data"><vec2 x="nan" y="1"/><vec2 x="1e30" y="0"/><vec2 x="5" y="6"/></array>
        <array name="data2"><vec2 x="0" y="0"/><vec2 x="0" y="0"/><vec2 x="inf" y="0"/></array>
    </event><event type="1" value="0.02"/></resource>)");
    std::unique_ptr<b2World> world = MakeWorld(3);
    Scatter(*world);
    EventPlayer player("broken.xml", false);
    player.PlayFrame(world.get());
    for (b2Body* body : Bodies(*world)) {
        EXPECT_EQ(body->GetPosition(), b2Vec2(100.0f, 100.0f));
    }
    world->Step(0.02f, 8, 3);
}

TEST_F(EventPlayerTest, saving_twice_writes_each_event_once) {
    EventPlayer recorder("rec.xml", true);
    recorder.OnEvent(Press(Key::B));
    recorder.RecordFrame(0.02f, nullptr);
    ASSERT_TRUE(recorder.Save());
    recorder.RecordFrame(0.02f, nullptr);
    ASSERT_TRUE(recorder.Save());
    EventPlayer player("/userfolder/rec.xml", false);
    EXPECT_EQ(Types(player), (std::vector<uint32_t>{2, 1, 1}));
}

TEST_F(EventPlayerTest, alt_z_saves_before_recording_the_press) {
    EventPlayer recorder("rec.xml", true);
    recorder.RecordFrame(0.02f, nullptr);
    recorder.OnEvent(Press(Key::Z));
    EXPECT_FALSE(std::filesystem::exists(UserDir() / "rec.xml"));
    recorder.OnEvent(Press(Key::Z, InputEvent::KeyPressed, true));
    ASSERT_TRUE(std::filesystem::exists(UserDir() / "rec.xml"));
    EventPlayer saved("/userfolder/rec.xml", false);
    EXPECT_EQ(Types(saved), (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(Types(recorder), (std::vector<uint32_t>{1, 2, 2}));
}

TEST_F(EventPlayerTest, an_empty_recording_writes_no_file) {
    { EventPlayer recorder("rec.xml", true); }
    EXPECT_FALSE(std::filesystem::exists(UserDir() / "rec.xml"));
}

TEST_F(EventPlayerTest, a_missing_recording_replays_nothing_and_reads_every_key_up) {
    EventPlayer player("nothing.xml", false);
    Listener listener(player);
    player.PlayFrame(nullptr);
    EXPECT_TRUE(player.GetEvents().empty());
    EXPECT_TRUE(listener.events.empty());
    EXPECT_FALSE(player.IsKeyDown(Key::Up));
    EXPECT_EQ(player.GetJoystickAxis(0, Joy::AxisX), 0.0f);
    EXPECT_EQ(player.NextFrameTime(), EventPlayer::kNoFrameLeft);
}

TEST_F(EventPlayerTest, the_binary_image_is_preferred_and_a_truncated_one_ends_at_the_cut) {
    std::unique_ptr<b2World> world = MakeWorld(2);
    EventPlayer recorder("unused.xml", true);
    recorder.RecordFrame(0.02f, world.get());
    recorder.OnEvent(Press(Key::Left));
    recorder.RecordFrame(0.03f, world.get());
    sme::BinaryStorageBuffer binary(true);
    for (StoredEvent event : recorder.GetEvents()) {
        binary.WriteObject(nullptr, event);
    }
    WriteFile(GameDir() / "demo.xml", "<resource><event type='2' code='97'/></resource>");
    WriteFile(GameDir() / "demo.xml.bin", binary.GetData());

    EventPlayer player("demo.xml", false);
    ASSERT_EQ(Types(player), (std::vector<uint32_t>{6, 1, 2, 1}));
    EXPECT_EQ(player.GetEvents()[0].data[1], world->GetBodyList()->GetNext()->GetPosition());
    EXPECT_FLOAT_EQ(player.GetEvents()[3].value, 0.03f);

    std::string cut = binary.GetData();
    cut.resize(cut.size() - 3);
    WriteFile(GameDir() / "demo.xml.bin", cut);
    EventPlayer truncated("demo.xml", false);
    EXPECT_EQ(Types(truncated), (std::vector<uint32_t>{6, 1, 2}));
    Listener listener(truncated);
    truncated.PlayFrame(world.get());
    truncated.PlayFrame(world.get());
    truncated.PlayFrame(world.get());
    EXPECT_EQ(listener.events.size(), 1u);
    EXPECT_EQ(truncated.NextFrameTime(), EventPlayer::kNoFrameLeft);
}

TEST_F(EventPlayerTest, frame_times_that_are_not_sane_lengths_take_no_time) {
    WriteFile(GameDir() / "odd.xml",
              "<resource><event type='1' value='nan'/><event type='1' value='-1'/><event type='1' value='0.5'/></resource>");
    EventPlayer player("odd.xml", false);
    EXPECT_EQ(player.NextFrameTime(), 0.0f);
    player.PlayFrame(nullptr);
    EXPECT_EQ(player.NextFrameTime(), 0.0f);
    player.PlayFrame(nullptr);
    EXPECT_EQ(player.NextFrameTime(), 0.5f);
}
