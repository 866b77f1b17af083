#include "gui/GameScreens.h"

#include "gui/GUIDirector.h"
#include "gui/GUIStatistics.h"

#include <memory>

void RegisterGameScreens(GUIDirector& director) {
    director.RegisterScreen(GUIDirector::kStatistics, std::make_unique<GUIStatistics>());
}
