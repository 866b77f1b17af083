#include "gui/GUIChampionshipGlobbos.h"

#include "app/Application.h"
#include "gui/GUIDirector.h"

GUIChampionshipGlobbos::GUIChampionshipGlobbos(GUIDirector& director)
    : m_Director(director), m_Grid(director.GetHint()) {}

void GUIChampionshipGlobbos::Activate() {
    FlashGUI::Activate();
    m_Grid.BuildBetweenBackAndStart(*this, kPool, kSlotRow, kSlots, false);
}

void GUIChampionshipGlobbos::OnFocusItemEvent(Controller* controller, FocusItem* item, int kind) {
    m_Grid.OnItemPressed(*this, controller, item, kind);
}

void GUIChampionshipGlobbos::OnFSCommand(const std::string& command) {
    FlashGUI::OnFSCommand(command);
    const std::vector<SelectionGrid::Choice>& chosen = m_Grid.GetChosen();
    if (command != "Start" || chosen.size() < kFewestPlayers) {
        return;
    }
    std::list<std::string>& players = Application::GetInstance().matchSetup.players;
    players.clear();
    for (const SelectionGrid::Choice& choice : chosen) {
        players.push_back(choice.file);
    }
    m_Director.PushScreen(GUIDirector::kChampionshipLevelSelection);
}
