#include "app/Application.h"
#include "app/ControllerFactory.h"
#include "app/EventPlayer.h"
#include "app/GamepadController.h"
#include "app/KeyCodes.h"
#include "app/KeyboardController.h"
#include "app/ResourceXml.h"
#include "app/ScriptedController.h"
#include "app/Steerable.h"
#include "serializeme/XmlStorageBuffer.h"
#include "tests/app/VirtualFolders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <span>

namespace {

// An input event by its type, its key, button or axis, and the axis position and joystick.
struct Event {
    InputEvent::Type type;
    uint32_t code;
    float position = 0.0f;
    uint32_t joystick = 0;

    operator InputEvent() const {
        InputEvent event{.type = type, .joystick = joystick, .position = position};
        (type == InputEvent::JoyMoved           ? event.axis
         : type == InputEvent::JoyButtonPressed ? event.button
                                                : event.key) = code;
        return event;
    }
};
constexpr InputEvent::Type kPress = InputEvent::KeyPressed, kRelease = InputEvent::KeyReleased,
                           kButton = InputEvent::JoyButtonPressed, kMove = InputEvent::JoyMoved;

// A keyboard controller read from a description, as the factory reads one.
void Configure(KeyboardController& controller, const std::string& attributes) {
    TiXmlDocument document;
    document.Parse(("<keyboardcontroller " + attributes + "/>").c_str());
    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(document.RootElement());
    controller.Serialize(reader);
}

// The arrows layout: arrows, right Shift to suck, right Control to spit, Return and Escape.
const char* const kArrows =
    "m_KeyLeft='291' m_KeyRight='292' m_KeyUp='293' m_KeyDown='294' m_KeySuck='262' m_KeySpit='261' "
    "m_KeyStart='278' m_KeyBack='256'";

struct Push {
    b2Vec2 direction;
    float strength;
};

class RecordingGlobbo : public Steerable {
public:
    void Shoot() override { ++shots; }
    void MoveMouth(const b2Vec2& direction, float strength) override { pushes.push_back({direction, strength}); }

    int shots = 0;
    std::vector<Push> pushes;
};

// The controllers' command handler, keeping every command, and their input, with key and axis
// states set by hand; a creature that keeps what it is asked to do.
class ControllerTest : public VirtualFolders, public CommandHandler, public InputStatusProvider {
protected:
    void SetUp() override {
        VirtualFolders::SetUp();
        Controller::SetCommandHandler(this);
    }
    void TearDown() override {
        Controller::SetCommandHandler(nullptr);
        VirtualFolders::TearDown();
    }
    void HandleCommand(Controller* controller, int command) override { commands.emplace_back(controller, command); }
    float GetJoystickAxis(unsigned int joystick, unsigned int axis) override { return axes[{joystick, axis}]; }
    bool IsKeyDown(unsigned int key) override { return keys[key]; }

    std::vector<int> Commands() const {
        std::vector<int> only;
        for (const auto& entry : commands) {
            only.push_back(entry.second);
        }
        return only;
    }

    std::vector<std::pair<Controller*, int>> commands;
    std::map<std::pair<unsigned int, unsigned int>, float> axes;
    std::map<unsigned int, bool> keys;
    RecordingGlobbo creature;
};

// The keys of a keyboard layout, in the order of its description.
std::vector<uint32_t> AllKeys(const KeyboardController& controller) {
    const KeyboardController::Keys& k = controller.GetKeys();
    return {k.left, k.right, k.up, k.down, k.suck, k.spit, k.start, k.back};
}

}  // namespace

// Keyboard: presses of the layout's keys send their commands; the suck key, other keys, releases
// and joystick events send nothing. Gamepad: button 0 spits, button 7 starts, and joystick 0's hat
// pushed straight moves the focus; other buttons, diagonals, the centred hat, stick axes, keys and
// other joysticks send nothing, and there is no back command. Only the spit commands shoot.
TEST_F(ControllerTest, each_event_sends_its_command_and_nothing_else_does) {
    KeyboardController keyboard;
    Configure(keyboard, kArrows);
    GamepadController gamepad;
    keyboard.Attach(&creature, this);
    gamepad.Attach(&creature, this);
    struct Row {
        int command;  // 0: none, and the event is not used
        InputEvent::Type type;
        uint32_t code;
        float position;
        uint32_t joystick;
    };
    const uint32_t kHat = Joy::AxisPOV;
    const Row keyboardRows[] = {
        {1, kPress, Key::Left, 0, 0},   {2, kPress, Key::Right, 0, 0},      {3, kPress, Key::Up, 0, 0},
        {4, kPress, Key::Down, 0, 0},   {5, kPress, Key::RControl, 0, 0},   {6, kPress, Key::Return, 0, 0},
        {7, kPress, Key::Escape, 0, 0}, {0, kPress, Key::A, 0, 0},          {0, kPress, Key::RShift, 0, 0},
        {0, kRelease, Key::Left, 0, 0}, {0, kRelease, Key::RControl, 0, 0}, {0, kButton, 0, 0, 0},
        {0, kMove, kHat, 90, 0}};
    const Row gamepadRows[] = {{5, kButton, 0, 0, 0},           {6, kButton, 7, 0, 0},
                               {3, kMove, kHat, 0, 0},          {2, kMove, kHat, 90, 0},
                               {4, kMove, kHat, 180, 0},        {1, kMove, kHat, 270, 0},
                               {0, kButton, 1, 0, 0},           {0, kButton, 8, 0, 0},
                               {0, kButton, 31, 0, 0},          {0, kMove, kHat, 45, 0},
                               {0, kMove, kHat, 315, 0},        {0, kMove, kHat, 89, 0},
                               {0, kMove, kHat, 360, 0},        {0, kMove, kHat, Joy::kPovCentred, 0},
                               {0, kMove, Joy::AxisX, 90, 0},   {0, kButton, 0, 0, 1},
                               {0, kMove, kHat, 90, 1},         {0, kPress, Key::Escape, 0, 0},
                               {0, kPress, Key::RControl, 0, 0}};
    using Sent = std::vector<std::pair<Controller*, int>>;
    for (auto [controller, rows] : {std::pair{(Controller*)&keyboard, std::span<const Row>(keyboardRows)},
                                    std::pair{(Controller*)&gamepad, std::span<const Row>(gamepadRows)}}) {
        for (const Row& row : rows) {
            commands.clear();
            EXPECT_EQ(controller->OnEvent(Event{row.type, row.code, row.position, row.joystick}), row.command != 0)
                << controller->TypeName() << " " << row.type << " " << row.code;
            EXPECT_EQ(commands, (row.command != 0 ? Sent{{controller, row.command}} : Sent{}))
                << controller->TypeName() << " " << row.type << " " << row.code;
        }
    }
    EXPECT_EQ(creature.shots, 2);
}

// The spit command is sent with or without a creature. Keys a description leaves out match no
// key, not even an event carrying the code of no key; a spit key that is also the up key only spits.
TEST_F(ControllerTest, spitting_shoots_only_with_a_creature_and_left_out_keys_match_nothing) {
    KeyboardController keyboard;
    Configure(keyboard, kArrows);
    GamepadController gamepad;
    for (auto [controller, spit] : {std::pair<Controller*, Event>{&keyboard, {kPress, Key::RControl}},
                                    std::pair<Controller*, Event>{&gamepad, {kButton, 0}}}) {
        EXPECT_TRUE(controller->OnEvent(spit));
        EXPECT_EQ(creature.shots, 0);
        controller->Attach(&creature, this);
        EXPECT_TRUE(controller->OnEvent(spit));
        EXPECT_EQ(creature.shots, 1);
        controller->Attach(nullptr, this);
        controller->OnEvent(spit);
        creature.shots = 0;
    }
    EXPECT_EQ(Commands(), std::vector<int>(6, Controller::kSpit));

    KeyboardController partial;
    Configure(partial, "m_KeyLeft='97' m_KeyUp='293' m_KeySpit='293'");
    EXPECT_EQ(partial.GetKeys().right, uint32_t(Key::None));
    partial.Attach(&creature, this);
    commands.clear();
    for (int k = 0; k < sf::Keyboard::KeyCount; ++k) {
        partial.OnEvent(Event{kPress, *Key::FromSfml(static_cast<sf::Keyboard::Key>(k))});
    }
    partial.OnEvent(Event{kPress, Key::None});
    EXPECT_TRUE(partial.OnEvent(Event{kPress, Key::Up}));
    EXPECT_EQ(Commands(), (std::vector<int>{1, 5, 5}));
    EXPECT_EQ(creature.shots, 2);
}

// Each held arrow key pushes the mouth once per step with full strength, up, down, left, right
// in that order; steering sends no commands, and without a creature nothing is pushed.
TEST_F(ControllerTest, held_keys_push_the_mouth_each_step_in_a_fixed_order) {
    KeyboardController controller;
    Configure(controller, kArrows);
    keys[Key::Up] = true;
    controller.Attach(nullptr, this);
    controller.Update(0.02f);
    EXPECT_TRUE(creature.pushes.empty());

    controller.Attach(&creature, this);
    keys = {{Key::Left, true}, {Key::Up, true}};
    controller.Update(0.02f);
    keys = {{Key::Down, true}, {Key::Right, true}, {Key::RControl, true}};
    controller.Update(0.02f);
    const b2Vec2 expected[] = {{0.0f, -1.0f}, {-1.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 0.0f}};
    ASSERT_EQ(creature.pushes.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(creature.pushes[i].direction, expected[i]) << i;
        EXPECT_EQ(creature.pushes[i].strength, 1.0f);
    }
    EXPECT_TRUE(commands.empty());
}

// Joystick 0's stick (in percent) steers past the dead zone of 30% with 1.3 times the
// deflection as strength, at most 1; the direction is the stick's, made unit length. Values that
// are no number give no push, and huge ones count as full deflection. Without a creature or
// input, or on another joystick, nothing steers.
TEST_F(ControllerTest, the_stick_steers_past_the_dead_zone_with_gained_strength) {
    GamepadController controller;
    controller.Attach(&creature, this);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float d = std::sqrt(0.5f);  // a diagonal's component
    const struct {
        float x, y;
        float strength;  // 0: no push
        float dx, dy;    // the direction
    } rows[] = {
        {0, 0, 0, 0, 0},  {25, 0, 0, 0, 0},    {0, 30, 0, 0, 0},  {0, 50, 0.65f, 0, 1},  {-30, 40, 0.65f, -0.6f, 0.8f},
        {80, 0, 1, 1, 0}, {100, 100, 1, d, d}, {nan, 0, 0, 0, 0}, {inf, -inf, 1, d, -d}, {1e30f, -1e30f, 1, d, -d}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "stick at (" << row.x << ", " << row.y << ")");
        axes = {{{0, Joy::AxisX}, row.x}, {{0, Joy::AxisY}, row.y}};
        creature.pushes.clear();
        controller.Update(0.02f);
        ASSERT_EQ(creature.pushes.size(), row.strength == 0 ? 0u : 1u);
        if (row.strength != 0) {
            EXPECT_FLOAT_EQ(creature.pushes[0].strength, row.strength);
            EXPECT_FLOAT_EQ(creature.pushes[0].direction.x, row.dx);
            EXPECT_FLOAT_EQ(creature.pushes[0].direction.y, row.dy);
        }
    }
    creature.pushes.clear();
    axes = {{{1, Joy::AxisX}, 100.0f}};
    controller.Update(0.02f);
    axes = {{{0, Joy::AxisX}, 100.0f}};
    controller.Attach(&creature, nullptr);
    controller.Update(0.02f);
    controller.Attach(nullptr, this);
    controller.Update(0.02f);
    EXPECT_TRUE(creature.pushes.empty());
}

// A recording of two frames. Frame 1: right Control and Up pressed, the stick pushed right,
// button 0. Frame 2: Up released, the stick back in the middle.
class ScriptedControllerTest : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        testing_support::WriteFile(GameDir() / "demo.xml", R"(<resource>
            <event type="2" code="261"/><event type="2" code="293"/><event type="4" code="0" value="80"/>
            <event type="5" code="0"/><event type="1" value="0.02"/>
            <event type="3" code="293"/><event type="4" code="0" value="0"/><event type="1" value="0.02"/>
        </resource>)");
        player = std::make_unique<EventPlayer>("demo.xml", false);
    }

    std::unique_ptr<EventPlayer> player;
};

// In keyboard mode right Control spits and the arrow keys steer; in gamepad mode button 0
// spits and the stick steers. What the recording releases stops steering; nothing is a command.
TEST_F(ScriptedControllerTest, each_mode_replays_its_own_devices_events) {
    for (const auto& [gamepad, direction] :
         {std::pair{false, b2Vec2(0.0f, -1.0f)}, std::pair{true, b2Vec2(1.0f, 0.0f)}}) {
        SCOPED_TRACE(gamepad ? "gamepad" : "keyboard");
        player = std::make_unique<EventPlayer>("demo.xml", false);
        RecordingGlobbo globbo;
        ScriptedController controller(player.get(), gamepad);
        controller.Attach(&globbo, this);
        for (int frame = 0; frame < 2; ++frame) {
            player->PlayFrame(nullptr);
            controller.Update(0.02f);
            EXPECT_EQ(globbo.shots, 1);
            ASSERT_EQ(globbo.pushes.size(), 1u);
        }
        EXPECT_EQ(globbo.pushes[0].direction, direction);
        EXPECT_EQ(globbo.pushes[0].strength, 1.0f);
    }
    EXPECT_TRUE(commands.empty());
}

// Live input is ignored; replay without a creature or without a player is harmless; a controller
// destroyed before its player is no longer called.
TEST_F(ScriptedControllerTest, only_the_replay_of_a_living_controller_steers) {
    ScriptedController keyboard(player.get(), false);
    ScriptedController gamepad(player.get(), true);
    keyboard.Attach(&creature, this);
    gamepad.Attach(&creature, this);
    keys[Key::Left] = true;
    axes[{0, Joy::AxisY}] = 100.0f;
    EXPECT_FALSE(keyboard.OnEvent(Event{kPress, Key::RControl}));
    EXPECT_FALSE(gamepad.OnEvent(Event{kButton, 0}));
    keyboard.Update(0.02f);
    gamepad.Update(0.02f);
    EXPECT_EQ(creature.shots, 0);
    EXPECT_TRUE(creature.pushes.empty());
    EXPECT_TRUE(commands.empty());

    ScriptedController unattached(player.get(), false);
    ScriptedController orphan(nullptr, true);
    orphan.Attach(&creature, this);
    orphan.Update(0.02f);
    {
        ScriptedController doomed(player.get(), false);
        doomed.Attach(&creature, this);
    }
    keyboard.Attach(nullptr, this);
    player->PlayFrame(nullptr);
    unattached.Update(0.02f);
    EXPECT_EQ(creature.shots, 1) << "the gamepad's button 0, and no one else's";
    EXPECT_TRUE(creature.pushes.empty());
}

class ControllerFactoryTest : public ControllerTest {
protected:
    std::unique_ptr<Controller> Create(const std::string& text) {
        testing_support::WriteFile(GameDir() / "data/controls/test.xml", text);
        return std::unique_ptr<Controller>(CreateController("data/controls/test.xml"));
    }
};

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
        {"", None}};
    for (const auto& [element, kind] : rows) {
        std::unique_ptr<Controller> controller = Create("<resource>" + element + "</resource>");
        EXPECT_EQ(controller != nullptr, kind != None) << element;
        EXPECT_EQ(dynamic_cast<KeyboardController*>(controller.get()) != nullptr, kind == Keyboard) << element;
        EXPECT_EQ(dynamic_cast<GamepadController*>(controller.get()) != nullptr, kind == Gamepad) << element;
    }
    // An empty file, and one that ends inside a start tag.
    for (const char* broken : {"", R"(<resource><keyboardcontroller name="controller")"}) {
        EXPECT_EQ(Create(broken), nullptr) << broken;
    }
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
