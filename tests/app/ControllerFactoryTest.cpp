#include "app/Application.h"
#include "app/ControllerFactory.h"
#include "app/GamepadController.h"
#include "app/KeyCodes.h"
#include "app/KeyboardController.h"
#include "app/ResourceXml.h"
#include "tests/app/VirtualFolders.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

class ControllerFactoryTest : public VirtualFolders {
protected:
    std::unique_ptr<Controller> Create(const std::string& text) {
        testing_support::WriteFile(GameDir() / "data/controls/test.xml", text);
        return std::unique_ptr<Controller>(CreateController("data/controls/test.xml"));
    }
};

// The keys of a keyboard layout, in the order of its description.
std::vector<uint32_t> AllKeys(const KeyboardController& controller) {
    const KeyboardController::Keys& k = controller.GetKeys();
    return {k.left, k.right, k.up, k.down, k.suck, k.spit, k.start, k.back};
}

}  // namespace

TEST_F(ControllerFactoryTest, a_keyboard_description_gives_a_keyboard_controller_with_its_values) {
    std::unique_ptr<Controller> controller = Create(R"(<resource><gamepadcontroller name="other"/>
        <keyboardcontroller name="controller" m_GUIIndex="2" m_GUIImage="data/gui/keys.swf"
            m_KeyLeft="97" m_KeyRight="100" m_KeyUp="119" m_KeyDown="115" m_KeySuck="258" m_KeySpit="257"
            m_KeyStart="280" m_KeyBack="113"><color name="m_GUIColor" r="10" g="20" b="30" a="40"/>
        </keyboardcontroller></resource>)");
    auto* keyboard = dynamic_cast<KeyboardController*>(controller.get());
    ASSERT_NE(keyboard, nullptr);
    EXPECT_EQ(keyboard->GetGUIIndex(), 2u);
    EXPECT_EQ(keyboard->GetGUIImage(), "data/gui/keys.swf");
    EXPECT_EQ(keyboard->GetGUIColor(), sf::Color(10, 20, 30, 40));
    EXPECT_EQ(AllKeys(*keyboard), (std::vector<uint32_t>{97, 100, 119, 115, 258, 257, 280, 113}));
}

// The tag names the controller's class exactly; the element named "controller" is found in any
// letter case. Empty, broken and missing files give none.
TEST_F(ControllerFactoryTest, the_exact_tag_of_the_element_named_controller_picks_the_class) {
    enum Kind { None, Keyboard, Gamepad };
    const std::pair<std::string, Kind> rows[] = {
        {R"(<gamepadcontroller name="controller"/>)", Gamepad},
        {R"(<gamepadcontroller name="CONTROLLER"/>)", Gamepad},
        {R"(<keyboardcontroller name="Controller" m_KeyLeft="97"/>)", Keyboard},
        {R"(<KeyboardController name="controller"/>)", None},
        {R"(<GAMEPADCONTROLLER name="controller"/>)", None},
        {R"(<scriptedcontroller name="controller"/>)", None},
        {R"(<mousecontroller name="controller"/>)", None},
        {R"(<keyboardcontroller m_KeyLeft="97"/>)", None},
        {"", None},
        {R"(<keyboardcontroller name="controller")", None}};
    for (const auto& [element, kind] : rows) {
        std::unique_ptr<Controller> controller = Create("<resource>" + element + "</resource>");
        EXPECT_EQ(controller != nullptr, kind != None) << element;
        EXPECT_EQ(dynamic_cast<KeyboardController*>(controller.get()) != nullptr, kind == Keyboard) << element;
        EXPECT_EQ(dynamic_cast<GamepadController*>(controller.get()) != nullptr, kind == Gamepad) << element;
    }
    EXPECT_EQ(Create(""), nullptr);
    EXPECT_EQ(CreateController("data/controls/missing.xml"), nullptr);
}

// The game's own application.xml and control files, as the build ships them: two keyboard
// layouts without shared keys and a gamepad, with different menu numbers counted from 1.
TEST_F(ControllerFactoryTest, the_shipped_files_give_two_keyboards_without_shared_keys_and_a_gamepad) {
    std::filesystem::copy(PONDORIX_GAME_DIR "/application.xml", GameDir() / "application.xml");
    std::filesystem::create_directories(GameDir() / "data");
    std::filesystem::copy(PONDORIX_GAME_DIR "/data/controls", GameDir() / "data/controls");
    Application::Data data;
    LoadXmlObject(data, "application.xml", nullptr);
    ASSERT_EQ(data.m_Controllers,
              (std::vector<std::string>{"data/controls/keyboard_arrows.xml", "data/controls/keyboard_wasd.xml",
                                        "data/controls/gamepad_1.xml"}));
    std::vector<std::unique_ptr<Controller>> controllers;
    std::set<uint32_t> keys, indices;
    for (const std::string& file : data.m_Controllers) {
        controllers.emplace_back(CreateController(file));
        ASSERT_NE(controllers.back(), nullptr) << file;
        EXPECT_GE(controllers.back()->GetGUIIndex(), 1u);
        EXPECT_TRUE(indices.insert(controllers.back()->GetGUIIndex()).second);
        EXPECT_FALSE(controllers.back()->GetGUIImage().empty());
    }
    auto* arrows = dynamic_cast<KeyboardController*>(controllers[0].get());
    auto* wasd = dynamic_cast<KeyboardController*>(controllers[1].get());
    ASSERT_TRUE(arrows && wasd);
    EXPECT_NE(dynamic_cast<GamepadController*>(controllers[2].get()), nullptr);
    for (const KeyboardController* layout : {arrows, wasd}) {
        for (uint32_t key : AllKeys(*layout)) {
            EXPECT_NE(Key::ToSfml(key), sf::Keyboard::Unknown) << key;
            EXPECT_TRUE(keys.insert(key).second) << "key " << key << " is given twice";
        }
    }
    EXPECT_EQ(arrows->GetKeys().left, uint32_t(Key::Left));
    EXPECT_EQ(arrows->GetKeys().up, uint32_t(Key::Up));
}
