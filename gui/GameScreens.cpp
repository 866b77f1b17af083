#include "gui/GameScreens.h"

#include "gui/GUIChampionshipPodium.h"
#include "gui/GUIDirector.h"
#include "gui/GUIStatistics.h"

#include <memory>

void RegisterGameScreens(GUIDirector& director) {
    director.RegisterScreen(GUIDirector::kStatistics, std::make_unique<GUIStatistics>());
    director.RegisterScreen(GUIDirector::kChampionshipPodium, std::make_unique<GUIChampionshipPodium>(director));
}
