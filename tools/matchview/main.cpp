// match_view <level file> [creature file] [creature file]: opens the game's window and plays
// whole matches between two creatures (by default the first two the game ships), steered by the
// first two controllers: first on the level given (a name of the virtual file system, such as
// "data/levels/1_nanomill.xml"), then on each shipped level in turn, until the window is closed.
// Each match's result is appended to the statistics file in the user's folder. When the second
// creature's file lies under "data/ais/", the matches are training matches: that computer
// opponent steers it (Alt+D shows the path grid and the bot's condition, goal and path). Escape
// ends the view as closing its window does.
#include "app/Application.h"
#include "app/Controller.h"
#include "app/ErrorLogBuffer.h"
#include "app/Logger.h"
#include "app/StartupChecks.h"
#include "gui/GUIDirector.h"
#include "platform/CrashReporter.h"
#include "platform/DisplayConnection.h"
#include "tools/creatures/CreatureDesign.h"
#include "tools/levels/Arena.h"
#include "tools/levels/ArenaWriter.h"
#include "tools/matchview/MatchViewScreen.h"

#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* kBotFolder = "data/ais/";

// The controllers' commands go to the director, but the back command (Escape) ends the view as
// closing its window does: the view has no pause screen to go back to.
class ViewCommands : public CommandHandler {
public:
    explicit ViewCommands(CommandHandler& director) : m_Director(director) {}

    void HandleCommand(Controller* controller, int command) override {
        if (command != Controller::kBack) {
            m_Director.HandleCommand(controller, command);
            return;
        }
        // Another controller's back command of the same frame finds the window closed.
        Application::GetInstance().CloseWindow();
    }

private:
    CommandHandler& m_Director;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: match_view <level file> [creature file] [creature file]\n");
        return 2;
    }
    const std::vector<CreatureDesign> shipped = ShippedCreatures();
    std::array<std::string, 2> creatures = {CreatureFile(shipped[0]), CreatureFile(shipped[1])};
    for (int i = 2; i < argc; ++i) {
        creatures[i - 2] = argv[i];
    }
    std::vector<std::string> levels;
    for (const Arena& arena : ShippedArenas()) {
        levels.push_back(LevelFile(arena));
    }
    Logger& logger = Logger::GetInstance();
    ErrorLogBuffer::InstallForSfml();
    platform::InstallCrashReporter(logger.GetLogFile());
    // Held until the program ends, so that the X server keeps a client of this program's
    // throughout (DisplayConnection).
    const platform::DisplayConnection display;
    if (!CheckStartup("match_view", display)) {
        return 1;
    }

    Application& application = Application::GetInstance();
    if (creatures[1].starts_with(kBotFolder)) {
        application.matchSetup.mode = MatchSetup::Training;
    }
    // The view's one director: the matches take the in-match screen's place, and the director
    // shows them from the start in place of the game's first screen (the push starts the first
    // match). It takes the controllers' commands and goes at the end of main, before the services
    // made before it.
    const MatchViewScreen* screen = nullptr;
    std::optional<GUIDirector> director;
    application.Init([&]() -> ScreenDirector& {
        director.emplace([&](GUIDirector& made) {
            auto owned = std::make_unique<MatchViewScreen>(levels, argv[1], creatures);
            screen = owned.get();
            made.RegisterMatch(std::move(owned));
        });
        director->PushScreen(GUIDirector::kGame);
        return *director;
    });
    if (!screen->IsPlayable()) {
        std::fprintf(stderr, "match_view: cannot play the level %s (see the log)\n", argv[1]);
        application.Shutdown();
        return 1;
    }
    ViewCommands commands(*director);
    Controller::SetCommandHandler(&commands);
    application.Run();
    application.Shutdown();
    return 0;
}
