#include <gtest/gtest.h>

#include "app/KeyCodes.h"
#include "app/KeyboardController.h"
#include "serializeme/XmlStorageBuffer.h"
#include "tests/app/ControllerFakes.h"

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

const char* const kArrows =
    "m_KeyLeft='291' m_KeyRight='292' m_KeyUp='293' m_KeyDown='294' m_KeySuck='262' m_KeySpit='261' "
    "m_KeyStart='278' m_KeyBack='256'";

class KeyboardControllerTest : public ::testing::Test {
protected:
    void SetUp() override { Configure(controller, kArrows); }

    RecordingDirector director;
    RecordingGlobbo creature;
    FakeInput input;
    KeyboardController controller;
};

}  // namespace

TEST_F(KeyboardControllerTest, each_key_sends_its_command_to_the_director) {
    const std::pair<uint32_t, int> keys[] = {{Key::Left, 1}, {Key::Right, 2}, {Key::Up, 3}, {Key::Down, 4},
                                             {Key::RControl, 5}, {Key::Return, 6}, {Key::Escape, 7}};
    for (auto [key, command] : keys) {
        EXPECT_TRUE(controller.OnEvent(KeyEvent(key))) << key;
    }
    EXPECT_EQ(director.Commands(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
    for (const auto& entry : director.commands) {
        EXPECT_EQ(entry.first, &controller);
    }
}

TEST_F(KeyboardControllerTest, other_keys_and_releases_send_nothing) {
    EXPECT_FALSE(controller.OnEvent(KeyEvent(Key::A)));
    // The suck key drives nothing.
    EXPECT_FALSE(controller.OnEvent(KeyEvent(Key::RShift)));
    EXPECT_FALSE(controller.OnEvent(KeyEvent(Key::Left, InputEvent::KeyReleased)));
    EXPECT_FALSE(controller.OnEvent(KeyEvent(Key::RControl, InputEvent::KeyReleased)));
    EXPECT_FALSE(controller.OnEvent(ButtonEvent(0)));
    EXPECT_FALSE(controller.OnEvent(MoveEvent(Joy::AxisPOV, 90.0f)));
    EXPECT_TRUE(director.commands.empty());
}

TEST_F(KeyboardControllerTest, the_spit_key_shoots_only_with_a_creature_attached) {
    EXPECT_TRUE(controller.OnEvent(KeyEvent(Key::RControl)));
    EXPECT_EQ(creature.shots, 0);
    controller.Attach(&creature, &input);
    EXPECT_TRUE(controller.OnEvent(KeyEvent(Key::RControl)));
    EXPECT_EQ(creature.shots, 1);
    // Other keys never shoot.
    controller.OnEvent(KeyEvent(Key::Return));
    EXPECT_EQ(creature.shots, 1);
    controller.Attach(nullptr, &input);
    controller.OnEvent(KeyEvent(Key::RControl));
    EXPECT_EQ(creature.shots, 1);
    EXPECT_EQ(director.Commands(), (std::vector<int>{5, 5, 6, 5}));
}

TEST_F(KeyboardControllerTest, a_spit_key_shared_with_another_key_only_spits) {
    Configure(controller, "m_KeySpit='293'");
    controller.Attach(&creature, &input);
    EXPECT_TRUE(controller.OnEvent(KeyEvent(Key::Up)));
    EXPECT_EQ(director.Commands(), std::vector<int>{5});
    EXPECT_EQ(creature.shots, 1);
}

TEST_F(KeyboardControllerTest, held_keys_push_the_mouth_each_step_in_a_fixed_order) {
    controller.Attach(&creature, &input);
    controller.Update(0.02f);
    EXPECT_TRUE(creature.pushes.empty());

    // Two held keys give two pushes in the same step: up before left.
    input.keys[Key::Left] = true;
    input.keys[Key::Up] = true;
    controller.Update(0.02f);
    ASSERT_EQ(creature.pushes.size(), 2u);
    EXPECT_EQ(creature.pushes[0].direction, b2Vec2(0.0f, -1.0f));
    EXPECT_EQ(creature.pushes[1].direction, b2Vec2(-1.0f, 0.0f));
    EXPECT_EQ(creature.pushes[0].strength, 1.0f);
    EXPECT_EQ(creature.pushes[1].strength, 1.0f);

    creature.pushes.clear();
    input.keys = {{Key::Down, true}, {Key::Right, true}, {Key::RControl, true}};
    controller.Update(0.02f);
    ASSERT_EQ(creature.pushes.size(), 2u);
    EXPECT_EQ(creature.pushes[0].direction, b2Vec2(0.0f, 1.0f));
    EXPECT_EQ(creature.pushes[1].direction, b2Vec2(1.0f, 0.0f));
    // Steering sends no commands.
    EXPECT_TRUE(director.commands.empty());
}

TEST_F(KeyboardControllerTest, without_a_creature_update_does_nothing_and_keys_still_command) {
    input.keys[Key::Up] = true;
    controller.Attach(nullptr, &input);
    controller.Update(0.02f);
    EXPECT_TRUE(creature.pushes.empty());
    EXPECT_TRUE(controller.OnEvent(KeyEvent(Key::Up)));
    EXPECT_EQ(director.Commands(), std::vector<int>{3});
}

TEST(KeyboardController, keys_a_description_leaves_out_match_no_key) {
    RecordingDirector director;
    KeyboardController controller;
    Configure(controller, "m_KeyLeft='97'");
    EXPECT_EQ(controller.GetKeys().left, 97u);
    EXPECT_EQ(controller.GetKeys().spit, uint32_t(Key::None));
    for (int k = 0; k < sf::Keyboard::KeyCount; ++k) {
        controller.OnEvent(KeyEvent(*Key::FromSfml(static_cast<sf::Keyboard::Key>(k))));
    }
    // Not even an event that carries the code of no key.
    controller.OnEvent(KeyEvent(Key::None));
    EXPECT_EQ(director.Commands(), std::vector<int>{1});
}

TEST(KeyboardController, stores_its_keys_and_menu_look_in_order) {
    KeyboardController controller;
    Configure(controller, std::string("m_GUIIndex='2' m_GUIImage='pad.swf' ") + kArrows);
    sme::XmlStorageBuffer writer(true);
    writer.WriteObject("controller", controller);
    const TiXmlElement* element = writer.GetRoot()->FirstChildElement("keyboardcontroller");
    ASSERT_NE(element, nullptr);
    std::vector<std::string> names;
    for (const TiXmlAttribute* a = element->FirstAttribute(); a != nullptr; a = a->Next()) {
        names.push_back(a->Name());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"m_GUIIndex", "m_GUIImage", "m_KeyLeft", "m_KeyRight", "m_KeyUp",
                                               "m_KeyDown", "m_KeySuck", "m_KeySpit", "m_KeyStart", "m_KeyBack",
                                               "name"}));
    EXPECT_STREQ(element->Attribute("m_KeySuck"), "262");
    EXPECT_STREQ(element->Attribute("m_GUIImage"), "pad.swf");
    const TiXmlElement* color = element->FirstChildElement("color");
    ASSERT_NE(color, nullptr);
    EXPECT_STREQ(color->Attribute("name"), "m_GUIColor");
    EXPECT_STREQ(color->Attribute("a"), "255");
}
