#include "gui/GameScreens.h"

#include "gui/GUIChampionshipGetReady.h"
#include "gui/GUIChampionshipGlobbos.h"
#include "gui/GUIChampionshipLevelSelection.h"
#include "gui/GUIChampionshipMatchTable.h"
#include "gui/GUIChampionshipPodium.h"
#include "gui/GUIDirector.h"
#include "gui/GUIGame.h"
#include "gui/GUIGameTitle.h"
#include "gui/GUILevelSelection.h"
#include "gui/GUIMatchOver.h"
#include "gui/GUIPaused.h"
#include "gui/GUIPlayerSelection.h"
#include "gui/GUIPlayerSelectionTraining.h"
#include "gui/GUIStatistics.h"
#include "gui/GUITutorial.h"

#include <memory>

void RegisterGameScreens(GUIDirector& director) {
    director.RegisterTitle(std::make_unique<GUIGameTitle>(director));
    director.RegisterTutorial(std::make_unique<GUITutorial>(director));
    director.RegisterScreen(GUIDirector::kStatistics, std::make_unique<GUIStatistics>());
    director.RegisterScreen(GUIDirector::kQuickMatchSelection, std::make_unique<GUIPlayerSelection>(director));
    director.RegisterScreen(GUIDirector::kTrainingSelection, std::make_unique<GUIPlayerSelectionTraining>(director));
    director.RegisterScreen(GUIDirector::kLevelSelection, std::make_unique<GUILevelSelection>(director));
    director.RegisterMatch(std::make_unique<GUIGame>(director));
    director.RegisterScreen(GUIDirector::kPaused, std::make_unique<GUIPaused>(director));
    director.RegisterScreen(GUIDirector::kMatchOver, std::make_unique<GUIMatchOver>(director));
    director.RegisterScreen(GUIDirector::kChampionshipPodium, std::make_unique<GUIChampionshipPodium>(director));
    director.RegisterScreen(GUIDirector::kChampionshipGlobbos, std::make_unique<GUIChampionshipGlobbos>(director));
    director.RegisterScreen(GUIDirector::kChampionshipLevelSelection,
                            std::make_unique<GUIChampionshipLevelSelection>(director));
    director.RegisterScreen(GUIDirector::kChampionshipMatchTable,
                            std::make_unique<GUIChampionshipMatchTable>(director));
    director.RegisterGetReady(std::make_unique<GUIChampionshipGetReady>(director));
}
