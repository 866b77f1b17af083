#include "gui/GUIChampionshipGlobbos.h"

#include "app/Application.h"
#include "gui/GUIDirector.h"

GUIChampionshipGlobbos::GUIChampionshipGlobbos(GUIDirector& director)
    : m_Director(director), m_Grid(director.GetHint()) {}

void GUIChampionshipGlobbos::Activate() {
    FlashGUI::Activate();
    RemoveAllFocusItems();
    m_Grid.Clear(*this);
    AddFlashFocusItem("Back");
    AddFlashFocusItem("Start");
    SetFocus("Start");
    m_Grid.Build(*this, kPool, kSlotRow, kSlots, false);
    m_Grid.ConnectItem(*this, "Start", FocusItem::kDown, SelectionGrid::kBottomEdge);
    m_Grid.ConnectItem(*this, "Back", FocusItem::kUp, SelectionGrid::kTopEdge);
    m_Grid.ConnectItem(*this, "Start", FocusItem::kRight, SelectionGrid::kRightEdge);
    m_Grid.ConnectItem(*this, "Back", FocusItem::kLeft, SelectionGrid::kLeftEdge);
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
