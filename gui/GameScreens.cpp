#include "gui/GameScreens.h"

#include "gui/GUIDirector.h"
#include "gui/GUIGameTitle.h"
#include "gui/GUIStatistics.h"

#include <memory>

void RegisterGameScreens(GUIDirector& director) {
    director.RegisterTitle(std::make_unique<GUIGameTitle>(director));
    director.RegisterScreen(GUIDirector::kStatistics, std::make_unique<GUIStatistics>());
}
