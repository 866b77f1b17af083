#include "gui/GUIPlayerSelection.h"

#include "app/Application.h"
#include "gui/GUIDirector.h"

GUIPlayerSelection::GUIPlayerSelection(GUIDirector& director) : m_Director(director), m_Grid(director.GetHint()) {}

void GUIPlayerSelection::Activate() {
    FlashGUI::Activate();
    m_Grid.BuildBetweenBackAndStart(*this, kPool, kSlotRow, kPlayers, true);
}

void GUIPlayerSelection::OnFocusItemEvent(Controller* controller, FocusItem* item, int kind) {
    m_Grid.OnItemPressed(*this, controller, item, kind);
}

void GUIPlayerSelection::OnFSCommand(const std::string& command) {
    FlashGUI::OnFSCommand(command);
    if (command == "Start") {
        Start();
    }
}

void GUIPlayerSelection::Start() {
    const std::vector<SelectionGrid::Choice>& chosen = m_Grid.GetChosen();
    if (chosen.size() != kPlayers) {
        m_Director.GetHint().ShowHint("select two", 0);
        return;
    }
    Application& application = Application::GetInstance();
    MatchSetup& setup = application.matchSetup;
    // A quick match, whatever was played before: a training's mode left here would give the
    // second creature a bot as well as its controller.
    setup.mode = MatchSetup::QuickMatch;
    setup.players.clear();
    for (const SelectionGrid::Choice& choice : chosen) {
        setup.players.push_back(choice.file);
    }
    application.player1File = chosen.front().file;
    application.player1Controller = application.FindController(chosen.front().controller);
    application.player2File = chosen.back().file;
    application.player2Controller = application.FindController(chosen.back().controller);
    setup.results.resize(1);
    m_Director.PushScreen(GUIDirector::kLevelSelection);
}
