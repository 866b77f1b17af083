#include "app/KeyCodes.h"
#include "app/KeyboardController.h"
#include "serializeme/XmlStorageBuffer.h"
#include "tests/app/ControllerFakes.h"

#include <gtest/gtest.h>

using namespace controller_fakes;

namespace {

// A keyboard controller read from a description, as the factory reads one.
void Configure(KeyboardController& controller, const std::string& attributes) {
    TiXmlDocument document;
    document.Parse(("<keyboardcontroller " + attributes + "/>").c_str());
    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(document.RootElement());
    controller.Serialize(reader);
}

// The arrows layout: arrows, right Shift to suck, right Control to spit, Return and Escape.
class KeyboardControllerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Configure(controller,
                  "m_KeyLeft='291' m_KeyRight='292' m_KeyUp='293' m_KeyDown='294' m_KeySuck='262' "
                  "m_KeySpit='261' m_KeyStart='278' m_KeyBack='256'");
    }

    RecordingDirector director;
    RecordingGlobbo creature;
    FakeInput input;
    KeyboardController controller;
};

}  // namespace

// Presses of the layout's keys send their commands to the director; the suck key, other keys,
// releases and joystick events send nothing.
TEST_F(KeyboardControllerTest, each_key_press_sends_its_command_and_nothing_else_does) {
    const std::pair<InputEvent, int> rows[] = {// the command, 0 for none (the event is not used)
                                               {KeyEvent(Key::Left), 1},
                                               {KeyEvent(Key::Right), 2},
                                               {KeyEvent(Key::Up), 3},
                                               {KeyEvent(Key::Down), 4},
                                               {KeyEvent(Key::RControl), 5},
                                               {KeyEvent(Key::Return), 6},
                                               {KeyEvent(Key::Escape), 7},
                                               {KeyEvent(Key::A), 0},
                                               {KeyEvent(Key::RShift), 0},
                                               {KeyEvent(Key::Left, InputEvent::KeyReleased), 0},
                                               {KeyEvent(Key::RControl, InputEvent::KeyReleased), 0},
                                               {ButtonEvent(0), 0},
                                               {MoveEvent(Joy::AxisPOV, 90.0f), 0}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        const auto& [event, command] = rows[i];
        director.commands.clear();
        EXPECT_EQ(controller.OnEvent(event), command != 0) << "row " << i;
        using Sent = std::vector<std::pair<Controller*, int>>;
        EXPECT_EQ(director.commands, (command != 0 ? Sent{{&controller, command}} : Sent{})) << "row " << i;
    }
}

TEST_F(KeyboardControllerTest, the_spit_key_shoots_only_with_a_creature_attached) {
    EXPECT_TRUE(controller.OnEvent(KeyEvent(Key::RControl)));
    EXPECT_EQ(creature.shots, 0);
    controller.Attach(&creature, &input);
    EXPECT_TRUE(controller.OnEvent(KeyEvent(Key::RControl)));
    EXPECT_EQ(creature.shots, 1);
    controller.OnEvent(KeyEvent(Key::Return));
    EXPECT_EQ(creature.shots, 1) << "other keys never shoot";
    controller.Attach(nullptr, &input);
    controller.OnEvent(KeyEvent(Key::RControl));
    EXPECT_EQ(creature.shots, 1);
    EXPECT_EQ(director.Commands(), (std::vector<int>{5, 5, 6, 5}));

    // A spit key that is also the up key only spits.
    Configure(controller, "m_KeySpit='293'");
    controller.Attach(&creature, &input);
    director.commands.clear();
    EXPECT_TRUE(controller.OnEvent(KeyEvent(Key::Up)));
    EXPECT_EQ(director.Commands(), std::vector<int>{5});
    EXPECT_EQ(creature.shots, 2);
}

// Each held arrow key pushes the mouth once per step with full strength, up, down, left, right
// in that order; steering sends no commands, and without a creature nothing is pushed.
TEST_F(KeyboardControllerTest, held_keys_push_the_mouth_each_step_in_a_fixed_order) {
    input.keys[Key::Up] = true;
    controller.Attach(nullptr, &input);
    controller.Update(0.02f);
    EXPECT_TRUE(creature.pushes.empty());

    controller.Attach(&creature, &input);
    input.keys = {{Key::Left, true}, {Key::Up, true}};
    controller.Update(0.02f);
    ASSERT_EQ(creature.pushes.size(), 2u);
    EXPECT_EQ(creature.pushes[0].direction, b2Vec2(0.0f, -1.0f));
    EXPECT_EQ(creature.pushes[1].direction, b2Vec2(-1.0f, 0.0f));

    input.keys = {{Key::Down, true}, {Key::Right, true}, {Key::RControl, true}};
    controller.Update(0.02f);
    ASSERT_EQ(creature.pushes.size(), 4u);
    EXPECT_EQ(creature.pushes[2].direction, b2Vec2(0.0f, 1.0f));
    EXPECT_EQ(creature.pushes[3].direction, b2Vec2(1.0f, 0.0f));
    for (const Push& push : creature.pushes) {
        EXPECT_EQ(push.strength, 1.0f);
    }
    EXPECT_TRUE(director.commands.empty());
}

TEST(KeyboardController, keys_a_description_leaves_out_match_no_key) {
    RecordingDirector director;
    KeyboardController controller;
    Configure(controller, "m_KeyLeft='97'");
    EXPECT_EQ(controller.GetKeys().spit, uint32_t(Key::None));
    for (int k = 0; k < sf::Keyboard::KeyCount; ++k) {
        controller.OnEvent(KeyEvent(*Key::FromSfml(static_cast<sf::Keyboard::Key>(k))));
    }
    // Not even an event that carries the code of no key.
    controller.OnEvent(KeyEvent(Key::None));
    EXPECT_EQ(director.Commands(), std::vector<int>{1});
}
