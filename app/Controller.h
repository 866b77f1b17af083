#pragma once

#include "app/ColorData.h"
#include "app/InputEvent.h"
#include "app/InputStatusProvider.h"
#include "app/Steerable.h"
#include "flash/sigslot.h"
#include "serializeme/Serializable.h"

#include <cstdint>
#include <string>

class Controller;

// Where the controllers send their menu commands: the screen director.
class CommandHandler {
public:
    virtual ~CommandHandler() = default;
    // A command (Controller::Command) that the controller's device gave.
    virtual void HandleCommand(Controller* controller, int command) = 0;
};

// A player's input device. It turns the device's events into menu commands for the screens and
// steers the creature it is attached to: the mouth moves in Update, spitting happens on the event
// itself. Controllers are described by files under "data/controls" (ControllerFactory) and stored
// with their menu number, picture and cursor colour.
class Controller : public sme::Serializable, public sigslot::has_slots<> {
public:
    // The menu commands.
    enum Command { kLeft = 1, kRight = 2, kUp = 3, kDown = 4, kSpit = 5, kStart = 6, kBack = 7 };

    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "controller"; }

    // Binds the controller to the creature (null detaches it); key and axis states are then
    // polled from the window's live input.
    virtual void Attach(Steerable* creature);
    // Binds the controller to the creature, polling key and axis states from the input.
    void Attach(Steerable* creature, InputStatusProvider* input);

    // True when the controller used the event.
    virtual bool OnEvent(const InputEvent& event) = 0;
    // Steers the attached creature for one update step of dt seconds.
    virtual void Update(float dt) = 0;

    // The controller's number in the menus, counted from 1 (frames of its pictures).
    uint32_t GetGUIIndex() const { return m_GUIIndex; }
    // The movie that shows the device in the menus.
    const std::string& GetGUIImage() const { return m_GUIImage; }
    // The colour of the controller's focus cursor in the menus.
    const ColorData& GetGUIColor() const { return m_GUIColor; }
    Steerable* GetCreature() const { return m_Creature; }
    InputStatusProvider* GetInput() const { return m_Input; }

    // Makes the handler the receiver of every controller's commands; null drops them.
    static void SetCommandHandler(CommandHandler* handler);

protected:
    // How a stick steers: which joystick, the deflection (0 to 1) below which it does nothing,
    // and the factor from deflection to strength.
    struct StickSettings {
        uint32_t joystick = 0;
        float deadZone = 0.3f;
        float gain = 1.3f;
    };

    // Hands the command to the command handler.
    void SendCommand(Command command);
    // Shoots with the attached creature, if there is one.
    void Shoot();
    // Moves the mouth one way with full strength for each of the four keys held down.
    void SteerByKeys(InputStatusProvider& input, uint32_t up, uint32_t down, uint32_t left, uint32_t right);
    // Moves the mouth along the stick's X and Y axes, with a strength that grows with the
    // deflection past the dead zone.
    void SteerByStick(InputStatusProvider& input, const StickSettings& stick);

private:
    uint32_t m_GUIIndex = 0;
    std::string m_GUIImage;
    ColorData m_GUIColor{0, 0, 0, 255};
    Steerable* m_Creature = nullptr;
    InputStatusProvider* m_Input = nullptr;
};
