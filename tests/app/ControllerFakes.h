#pragma once

#include "app/Controller.h"
#include "app/InputStatusProvider.h"
#include "game/standin/Globbo.h"

#include <cmath>
#include <map>
#include <utility>
#include <vector>

// Test doubles around the controllers: a screen director that keeps the commands it is given, a
// creature that keeps what it was asked to do, and input states set by hand.
namespace controller_fakes {

// Installs itself as the controllers' command handler for its lifetime.
class RecordingDirector : public CommandHandler {
public:
    RecordingDirector() { Controller::SetCommandHandler(this); }
    ~RecordingDirector() override { Controller::SetCommandHandler(nullptr); }

    void HandleCommand(Controller* controller, int command) override { commands.emplace_back(controller, command); }

    // The commands alone, in order.
    std::vector<int> Commands() const {
        std::vector<int> only;
        for (const auto& entry : commands) {
            only.push_back(entry.second);
        }
        return only;
    }

    std::vector<std::pair<Controller*, int>> commands;
};

struct Push {
    b2Vec2 direction;
    float strength;
};

class RecordingGlobbo : public standin::Globbo {
public:
    void Shoot() override { ++shots; }
    void MoveMouth(const b2Vec2& direction, float strength) override { pushes.push_back({direction, strength}); }

    int shots = 0;
    std::vector<Push> pushes;
};

class FakeInput : public InputStatusProvider {
public:
    float GetJoystickAxis(unsigned int joystick, unsigned int axis) override {
        auto found = axes.find({joystick, axis});
        return found != axes.end() ? found->second : 0.0f;
    }
    bool IsKeyDown(unsigned int key) override {
        auto found = keys.find(key);
        return found != keys.end() && found->second;
    }

    std::map<std::pair<unsigned int, unsigned int>, float> axes;
    std::map<unsigned int, bool> keys;
};

inline InputEvent KeyEvent(uint32_t key, InputEvent::Type type = InputEvent::KeyPressed) {
    InputEvent event;
    event.type = type;
    event.key = key;
    return event;
}

inline InputEvent ButtonEvent(uint32_t button, uint32_t joystick = 0) {
    InputEvent event;
    event.type = InputEvent::JoyButtonPressed;
    event.button = button;
    event.joystick = joystick;
    return event;
}

inline InputEvent MoveEvent(uint32_t axis, float position, uint32_t joystick = 0) {
    InputEvent event;
    event.type = InputEvent::JoyMoved;
    event.axis = axis;
    event.position = position;
    event.joystick = joystick;
    return event;
}

}  // namespace controller_fakes
