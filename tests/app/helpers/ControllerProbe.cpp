// The game as main runs it, with two listeners added that print, one line each on standard
// output, what reaches the controllers from the window:
//   "ready <n>"                  once the n controllers of application.xml are built;
//   "key <code>"                 for every key press the controllers are given (the stored code);
//   "command <index> <command>"  for every menu command a controller sends (its menu number).
// The controller end-to-end test drives its window with real key presses.
#include "app/Application.h"
#include "app/Controller.h"
#include "app/Logger.h"

#include <cstdio>

namespace {

// Stands where the screen director takes the controllers' commands.
class PrintingDirector : public CommandHandler {
public:
    void HandleCommand(Controller* controller, int command) override {
        std::printf("command %u %d\n", controller->GetGUIIndex(), command);
        std::fflush(stdout);
    }
};

// One more controller, after the game's own, that sees the same input events they do.
class KeySpy : public Controller {
public:
    bool OnEvent(const InputEvent& event) override {
        if (event.type == InputEvent::KeyPressed) {
            std::printf("key %u\n", event.key);
            std::fflush(stdout);
        }
        return false;
    }
    void Update(float) override {}
};

}  // namespace

int main() {
    Logger::GetInstance();
    Application& application = Application::GetInstance();
    application.Init();
    PrintingDirector director;
    Controller::SetCommandHandler(&director);
    std::printf("ready %zu\n", application.controllers.size());
    std::fflush(stdout);
    application.controllers.push_back(std::make_unique<KeySpy>());
    application.Run();
    Controller::SetCommandHandler(nullptr);
    application.Shutdown();
    return 0;
}
