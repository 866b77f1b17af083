#include "gui/GameScreens.h"

#include "gui/GUIDirector.h"
#include "gui/GUIStatistics.h"
#include "gui/GUITutorial.h"

#include <memory>

void RegisterGameScreens(GUIDirector& director) {
    director.RegisterTutorial(std::make_unique<GUITutorial>(director));
    director.RegisterScreen(GUIDirector::kStatistics, std::make_unique<GUIStatistics>());
}
